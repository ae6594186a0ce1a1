#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace platform {

// Replaces a file as a whole or not at all. The new contents go to a hidden
// temporary file in the target's folder; Commit() flushes it to disk and
// renames it over the target, so a crash, a full disk or a failed write at
// any point leaves the previous file as it was (at worst a stray temporary
// file ".<name>.<random>" stays behind). Without Commit() the destructor
// removes the temporary file.
//
// An existing target keeps its permission bits (and its owner where the
// system allows); a new one gets 0666 less the umask. A target that another
// open file description holds a lock on (a DenyWriteFile of this or another
// process) is refused as in use, and so is one the caller may not write; a
// target this process holds for a change (DenyWriteFile::Modify) is its own.
// A symbolic link is followed: the file it points to is replaced, or created
// when it does not exist yet, as a save through a live link would replace it.
// A failure's text says what stood in the way: a path that is no regular file,
// a read-only file, a folder one may not create files in, a loop of links.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Starts a new version of target. False with ErrorText() when refused.
    bool Begin(const std::string& target);
    bool IsOpen() const { return m_fd >= 0; }

    bool Write(const void* data, std::size_t size);
    bool Seek(std::uint64_t offset);
    // Bytes written since Begin (what the fault hook is told).
    std::uint64_t BytesWritten() const { return m_written; }

    // Makes the new contents the target. False (and the target untouched)
    // when anything fails; the writer is closed afterwards either way.
    bool Commit();
    // Drops the new contents; the target stays as it was.
    void Abort();

    const std::string& TempPath() const { return m_temp; }
    const std::string& ErrorText() const { return m_error; }
    int ErrorNumber() const { return m_errno; }
    // Whether the failure lies with the target itself (no regular file, read
    // only, in use, a loop of links, a read-only file system) rather than with
    // the folder or the disk, so that ErrorText says more than a general word
    // about disk space and folder permissions would.
    bool TargetAtFault() const { return m_targetAtFault; }

    // Tests only: called after every successful Write with the running total
    // of bytes written, so a test can end the process in the middle of a save.
    using FaultHook = std::function<void(std::uint64_t bytesWritten)>;
    static void SetFaultHook(FaultHook hook);

private:
    bool Fail(int number);
    bool Fail(int number, std::string text);
    bool FailOnTarget(int number, std::string text);
    bool TargetInUse();

    int m_fd = -1;
    std::string m_target;
    std::string m_temp;
    std::uint64_t m_written = 0;
    std::string m_error;
    int m_errno = 0;
    bool m_targetAtFault = false;
};

} // namespace platform
