#pragma once

// Reading and writing the data files, ".ldtx" and the legacy ".ldt", as
// codecs: a path in, the file's PLC and blocks out, or a typed error. They know
// nothing of the catalogue, message boxes or the application: the document
// checks the model and turns the errors into messages.
//
// Readers take the whole file or section into memory and check every offset
// and size against it, so a damaged file fails with an error, never more.
// Writers replace the file as a whole (platform/AtomicFileWriter.h): when a
// save fails at any point, or the program dies during it, the previous file
// is still there unchanged.

#include "model/DeviceModel.h"
#include "platform/DenyWriteFile.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Error codes of both formats; the numbers are the ones the program shows.
enum class FileError : int {
    None = 0,
    UnknownModel = 1, // the model is not in the catalogue
    NotDataFile = 3,  // not a data file of a known format or version
    Open = 10000,     // cannot be opened or replaced
    Write = 10001,    // cannot be written
    Damaged = 10002,  // damaged or cut short
};

// ".ldtx" ------------------------------------------------------------------

// Why an ".ldtx" file could not be read.
enum class LdtxFault {
    None,
    OpenFailed,  // reason: the system's text
    Empty,       // the file has no bytes
    NotDataFile, // no data file header, or a newer version
    Damaged,     // detail: the code shown with it (see LdtxFormat.h)
    OutOfMemory,
};

struct LdtxResult {
    LdtxResult() = default;
    LdtxResult(LdtxFault f, int d = 0, std::string r = {})
        : fault(f)
        , detail(d)
        , reason(std::move(r))
    {
    }

    LdtxFault fault = LdtxFault::None;
    int detail = 0;
    std::string reason;
    bool ok() const { return fault == LdtxFault::None; }
};

// The PLC a ".ldtx" file was written for.
struct LdtxHeader {
    int seriesNo = 0;
    int modelId = 0;
};

// Reads one ".ldtx" file in two steps, so that a caller can check the file's
// model before the blocks are read. The file is open only within the calls.
class LdtxReader {
public:
    explicit LdtxReader(std::string path);
    ~LdtxReader();
    LdtxReader(const LdtxReader&) = delete;
    LdtxReader& operator=(const LdtxReader&) = delete;

    LdtxResult ReadHeader(LdtxHeader& header);
    // After a successful ReadHeader; on failure blocks is empty.
    LdtxResult ReadBlocks(EditDataArray& blocks);

private:
    LdtxResult ReadSections(EditDataArray& blocks);
    int ReadDeviceSection(std::uint64_t offset, std::uint64_t length, EditDataArray& blocks);

    std::string m_path;
    platform::DenyWriteFile m_file;
    std::uint64_t m_length = 0;
    std::uint64_t m_tableOffset = 0;
    std::uint64_t m_entryCount = 0;
};

// Section kinds of the ".ldtx" writer; bit 0 is the device data section.
inline constexpr unsigned LDTX_SECTION_DEVICE_DATA = 1u;
inline constexpr unsigned LDTX_ALL_SECTIONS = 0xFFFFFFFFu;

// Writes an ".ldtx" file: None, or Write. A block whose Data does not hold
// (EndAddr - StartAddr + 1) * DataSize * 2 bytes could not be read back, so it
// fails the save before anything is written. reason, when given, gets the
// file system's side of a failure ("The file is read-only, ..."), or stays
// empty when the blocks themselves were at fault.
FileError WriteLdtx(const std::string& path, const LdtxHeader& header, const EditDataArray& blocks,
                    unsigned sections = LDTX_ALL_SECTIONS, std::string* reason = nullptr);

// ".ldt" -------------------------------------------------------------------

// What the header of a legacy file says.
struct LdtHeader {
    std::uint16_t format = 0; // 16, 32 or 2048
    int modelId = 0;
    bool magicOk = false; // a file without the magic number is refused after its areas were read
    std::string text1;    // program text (UTF-8)
    std::string text2;
};

// Reads one legacy file in two steps, as LdtxReader. The file is opened in
// `kept`, which a caller keeps open (writers kept out) while the file is its
// document; the reader closes it again when it fails.
class LdtReader {
public:
    LdtReader(platform::DenyWriteFile& kept, std::string path);

    // Open (cannot be opened), NotDataFile (too short, unknown format) or None.
    FileError ReadHeader(LdtHeader& header);
    // After a successful ReadHeader: Damaged or None; on failure blocks is empty.
    FileError ReadBlocks(EditDataArray& blocks);
    // Closes the kept file, as after a failure that the caller found.
    void Fail();

private:
    platform::DenyWriteFile& m_kept;
    std::string m_path;
    std::vector<std::uint8_t> m_bytes;
    std::uint16_t m_format = 0;
};

// Writes a legacy file in the layout of header.format: None; Open when the
// file cannot be replaced (missing folder, no access, or another program has
// it open); Write for a format code this file cannot hold (0) or a failed
// write. On success the new file is opened in `kept`. reason as for WriteLdtx.
FileError WriteLdt(platform::DenyWriteFile& kept, const std::string& path, const LdtHeader& header,
                   const EditDataArray& blocks, std::string* reason = nullptr);

// The blocks a legacy file of this format code (16, 32, 2048; 0 holds nothing)
// cannot hold: devices outside the format, a second block of a device (layouts
// 16 and 32 take the first block of a device whatever its bank), FL banks after
// the third, and blocks that would not read back as they are: more than one
// word per address, addresses below 0 or beyond the layout's fields (16 bits
// except in layout 32), and in layout 2048 the single address 0xFFFF, which
// reads back as an absent area. Saving them to ".ldt" would lose them.
std::vector<const CEditData*> BlocksLostInLdtFile(std::uint16_t formatCode, const EditDataArray& blocks);
