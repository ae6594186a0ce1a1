#pragma once

// Reading and writing the data files: ".ldtx" and the legacy ".ldt".
// Readers store the file's PLC in the application object; on failure the
// destination may be partly filled (callers read into a temporary array).
// Readers take the whole file or section into memory and check every offset
// and size against it, so a damaged file fails with an error, never more.
// Writers replace the file as a whole (platform/AtomicFileWriter.h): when a
// save fails at any point, or the program dies during it, the previous file
// is still there unchanged.

#include "core/DeviceModel.h"

#include <cstdint>
#include <string>
#include <vector>

class CMemorixApp;

// Error codes shared by both formats.
inline constexpr int FILE_ERR_NONE = 0;
inline constexpr int FILE_ERR_MODEL = 1;         // model not in the catalogue
inline constexpr int FILE_ERR_FORMAT = 3;        // not a data file of a known format or version
inline constexpr int FILE_ERR_OPEN = 10000;      // cannot be opened
inline constexpr int FILE_ERR_WRITE = 10001;     // cannot be written
inline constexpr int FILE_ERR_READ = 10002;      // damaged or cut short

// ".ldtx": the reader shows its own messages (stop icon); returns true on
// success. A damaged file shows string 901 with a detail code: 2 wrong CRC,
// 4 a section past the end of the file, 5 block count or offset outside the
// section, 6 block header or bytes past the section's end, 7 impossible
// range or words per address, or blocks sharing bytes, 8 device data
// sections sharing bytes, 254 section table cut short. On success the application's legacy format code is recomputed from
// its current CPU flag and bank count, which the reader does not set.
bool ReadLdtxFile(CMemorixApp& app, const std::string& path, EditDataArray& blocks);

// Section kinds of the ".ldtx" writer; bit 0 is the device data section.
inline constexpr unsigned LDTX_SECTION_DEVICE_DATA = 1u;
inline constexpr unsigned LDTX_ALL_SECTIONS = 0xFFFFFFFFu;

// ".ldtx": returns an error code (0 on success, else 10001); shows no message.
// A block whose Data does not hold (EndAddr - StartAddr + 1) * DataSize * 2
// bytes could not be read back, so it fails the save before anything is written.
int WriteLdtxFile(CMemorixApp& app, const std::string& path, const EditDataArray& blocks,
                  unsigned sections = LDTX_ALL_SECTIONS);

// ".ldt": returns an error code; shows no message. On success the file stays
// open in the application's kept legacy file; after a failure it is closed.
int ReadLdtFile(CMemorixApp& app, const std::string& path, EditDataArray& blocks);

// The blocks a legacy file of this format code (16, 32, 2048; 0 holds nothing)
// cannot hold: devices outside the format, a second block of a device (layouts
// 16 and 32 take the first block of a device whatever its bank), FL banks after
// the third, and blocks that would not read back as they are: more than one
// word per address, addresses below 0 or beyond the layout's fields (16 bits
// except in layout 32), and in layout 2048 the single address 0xFFFF, which
// reads back as an absent area. Saving them to ".ldt" would lose them.
std::vector<const CEditData*> BlocksLostInLdtFile(std::uint16_t formatCode, const EditDataArray& blocks);

// ".ldt": returns an error code; shows no message. Writes in the layout of
// the format code RefreshLdtFormat gives now; on success the file stays open.
// 10000 when the file cannot be replaced (missing folder, no access, or
// another program has it open); 10001 for format code 0 or a failed write.
int WriteLdtFile(CMemorixApp& app, const std::string& path, const EditDataArray& blocks);

// Closes the kept legacy file if it is open.
void ReleaseLdtFile(CMemorixApp& app);

// Shows the message of a reader's or writer's error code with the exclamation
// icon: 1 -> 904, 10000 -> 908, 10001 -> 907, 10002 -> 901, other non-zero -> 903.
void ReportFileError(CMemorixApp& app, int errorCode);
