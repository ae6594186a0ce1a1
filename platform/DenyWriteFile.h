#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>

namespace platform {

// A file opened so that other writers are kept out while it is open.
// Reading takes a shared advisory lock (other readers may come in, writers may
// not); creating for reading and writing takes an exclusive one and empties the
// file only after the lock is held. The locks are open-file-description locks:
// they belong to this object, also against other objects of the same process.
//
// Only regular files are opened: a named pipe, a device or a folder is refused
// with a text that says what the path is, and the open never waits on one.
//
// Modify is for a change made from reading to saving: the existing file is
// opened for reading and writing with an exclusive lock, so that no other
// program reads it for a change of its own or replaces it until this one is
// done. A holder that is at it already is waited for, briefly; a file that a
// save replaced during the wait is opened anew. While a file is held so, this
// process reads it with Read without a lock of its own, and AtomicFileWriter
// replaces it (see IsHeldHere).
class DenyWriteFile {
public:
    enum class Access { Read, CreateReadWrite, Modify };

    DenyWriteFile() = default;
    ~DenyWriteFile();
    DenyWriteFile(const DenyWriteFile&) = delete;
    DenyWriteFile& operator=(const DenyWriteFile&) = delete;
    DenyWriteFile(DenyWriteFile&& other) noexcept;
    DenyWriteFile& operator=(DenyWriteFile&& other) noexcept;

    bool Open(const std::string& path, Access access);
    // How long Modify waits for another holder before it gives up.
    static void SetModifyWait(int milliseconds);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    const std::string& Path() const { return m_path; }

    // Bytes read; fewer than asked at the end of the file or on an error.
    std::size_t Read(void* buffer, std::size_t size);
    bool Write(const void* data, std::size_t size);
    bool Seek(std::uint64_t offset);
    std::optional<std::uint64_t> Length() const;

    // The system's text for the last failure, e.g. "No such file or directory".
    const std::string& ErrorText() const { return m_error; }
    int ErrorNumber() const { return m_errno; }

    // Whether an object of this process holds the file (device, inode) with Modify.
    static bool IsHeldHere(dev_t device, ino_t inode);

private:
    void SetError(int number);
    bool OpenForModify(const std::string& path);

    int m_fd = -1;
    bool m_held = false;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    std::string m_path;
    std::string m_error;
    int m_errno = 0;
};

} // namespace platform
