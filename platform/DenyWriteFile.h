#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// A file opened so that other writers are kept out while it is open.
// Reading takes a shared advisory lock (other readers may come in, writers may
// not); creating for reading and writing takes an exclusive one and empties the
// file only after the lock is held. The locks are open-file-description locks:
// they belong to this object, also against other objects of the same process.
class DenyWriteFile {
public:
    enum class Access { Read, CreateReadWrite };

    DenyWriteFile() = default;
    ~DenyWriteFile();
    DenyWriteFile(const DenyWriteFile&) = delete;
    DenyWriteFile& operator=(const DenyWriteFile&) = delete;
    DenyWriteFile(DenyWriteFile&& other) noexcept;
    DenyWriteFile& operator=(DenyWriteFile&& other) noexcept;

    bool Open(const std::string& path, Access access);
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

private:
    void SetError(int number);

    int m_fd = -1;
    std::string m_path;
    std::string m_error;
    int m_errno = 0;
};

} // namespace platform
