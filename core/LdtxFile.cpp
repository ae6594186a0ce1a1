// The ".ldtx" data file: reader and writer. Layout in core/LdtxFormat.h.

#include "app/CMemorixApp.h"
#include "catalogue/CPlcDatabase.h"
#include "core/Coding.h"
#include "core/Crc16.h"
#include "core/DataFiles.h"
#include "core/FormatText.h"
#include "core/LdtxFormat.h"
#include "platform/AtomicFileWriter.h"
#include "platform/DenyWriteFile.h"
#include "platform/MessageBox.h"
#include "resources/IStringTable.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <limits>
#include <memory>

using namespace coding;
using namespace res;

namespace {

// Where a block lies in its section.
struct Extent {
    std::uint64_t at;     // its header
    std::uint64_t dataAt; // its bytes
    std::uint64_t bytes;
    std::size_t index; // in block order
};

// The blocks of a section's first `body` bytes (the CRC excluded), all but
// their bytes, and where they lie. Returns 0 or the detail code shown with
// string 901.
//
// A block counts only when its header and bytes lie inside the section after
// the offset table and no two blocks share bytes; so a hostile file cannot
// make the reader allocate more than a few times its own size.
int ParseBlockHeaders(const std::uint8_t* section, std::uint64_t body, EditDataArray& blocks,
                      std::vector<Extent>& extents)
{
    if (body < ldtx::kCountSize)
        return ldtx::kDamagedBlockOffset;
    const std::uint64_t count = GetU32LE(section);
    if (count > (body - ldtx::kCountSize) / ldtx::kBlockOffsetSize)
        return ldtx::kDamagedBlockOffset;
    const std::uint64_t blocksStart = ldtx::kCountSize + count * ldtx::kBlockOffsetSize;
    const std::uint64_t room = body - blocksStart;
    std::uint64_t claimed = 0;

    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t at = GetU64LE(section + ldtx::kCountSize + i * ldtx::kBlockOffsetSize);
        if (at < blocksStart || at >= body)
            return ldtx::kDamagedBlockOffset;
        if (!Fits(at, ldtx::kBlockHeaderSize, body))
            return ldtx::kDamagedBlockData;
        const std::uint8_t* header = section + at;
        CEditData block;
        block.Id = header[ldtx::kBlockIdOffset];
        block.StartAddr = GetI32LE(header + ldtx::kBlockStartOffset);
        block.EndAddr = GetI32LE(header + ldtx::kBlockEndOffset);
        block.DataSize = GetI32LE(header + ldtx::kBlockDataSizeOffset);
        block.BankNo = header[ldtx::kBlockBankOffset];
        if (block.EndAddr < block.StartAddr || block.DataSize <= 0)
            return ldtx::kDamagedBlockSizes;
        // At most 2^32 addresses times less than 2^31 words: fits 64 bits.
        const std::uint64_t addresses =
            static_cast<std::uint64_t>(static_cast<std::int64_t>(block.EndAddr) - block.StartAddr + 1);
        const std::uint64_t words = addresses * static_cast<std::uint64_t>(block.DataSize);
        const std::uint64_t dataAt = at + ldtx::kBlockHeaderSize;
        if (words > (body - dataAt) / 2)
            return ldtx::kDamagedBlockData;
        const std::uint64_t bytes = words * 2;
        claimed += ldtx::kBlockHeaderSize + bytes;
        if (claimed > room)
            return ldtx::kDamagedBlockSizes;
        extents.push_back({at, dataAt, bytes, blocks.size()});
        blocks.push_back(std::move(block));
    }

    std::sort(extents.begin(), extents.end(), [](const Extent& a, const Extent& b) { return a.at < b.at; });
    for (std::size_t i = 1; i < extents.size(); ++i) {
        if (extents[i - 1].dataAt + extents[i - 1].bytes > extents[i].at)
            return ldtx::kDamagedBlockSizes;
    }
    return 0;
}

// The device data section's bytes, CRC included, into blocks appended to
// `out`. Returns 0 or the detail code shown with string 901.
int ParseDeviceSection(const std::uint8_t* section, std::uint64_t length, EditDataArray& out)
{
    if (length < ldtx::kCrcSize)
        return ldtx::kDamagedSectionPastEnd;
    const std::uint64_t body = length - ldtx::kCrcSize;
    const std::uint16_t stored = GetU16LE(section + body);

    // A wrong CRC is what gets reported when the damage also breaks the
    // structure; no block's bytes are copied before both have passed.
    EditDataArray blocks;
    std::vector<Extent> extents;
    const int fault = ParseBlockHeaders(section, body, blocks, extents);
    if (crc16::Value(section, body) != stored)
        return ldtx::kDamagedCrc;
    if (fault != 0)
        return fault;
    for (const Extent& extent : extents)
        blocks[extent.index].Data.assign(section + extent.dataAt, section + extent.dataAt + extent.bytes);
    out.insert(out.end(), std::make_move_iterator(blocks.begin()), std::make_move_iterator(blocks.end()));
    return 0;
}

class LdtxReader {
public:
    LdtxReader(CMemorixApp& app, const std::string& path, EditDataArray& blocks)
        : m_app(app)
        , m_path(path)
        , m_blocks(blocks)
    {
    }

    bool Read()
    {
        m_blocks.clear();
        try {
            const bool ok = ReadFile();
            m_file.Close();
            return ok;
        } catch (const std::exception&) { // out of memory, in practice
            m_file.Close();
            Report(IDS_FILE_READ_ERROR, 0);
            return false;
        }
    }

private:
    bool ReadFile()
    {
        if (!m_file.Open(m_path, platform::DenyWriteFile::Access::Read)) {
            std::string reason = m_file.ErrorText();
            if (reason.size() > 255)
                reason.resize(255);
            ShowOnce(0, m_path + "\n\n" + reason);
            return false;
        }
        const std::uint64_t fileLength = m_file.Length().value_or(0);
        if (fileLength == 0) {
            ShowOnce(IDS_FILE_EMPTY, m_path + "\n\n" + m_app.Strings().LoadString(IDS_FILE_EMPTY));
            return false;
        }

        std::uint8_t header[ldtx::kHeaderSize];
        if (m_file.Read(header, sizeof header) != sizeof header || GetU32LE(header + ldtx::kZeroOffset) != 0
            || GetU16LE(header + ldtx::kMarkerOffset) != ldtx::kMarker
            || GetU16BE(header + ldtx::kVersionOffset) > ldtx::kVersion) {
            return Report(IDS_FILE_NOT_DATA_FILE, 0);
        }

        const int seriesNo = GetU16LE(header + ldtx::kSeriesOffset);
        const int modelId = GetU16LE(header + ldtx::kModelOffset);
        {
            CPlcDatabase db(m_app.Messages(), m_app.CataloguePath());
            stPLC model;
            if (!db.FindPlcById(modelId, model))
                return Report(IDS_FILE_UNKNOWN_MODEL, 0);
        }
        m_app.m_nPLCSeriesNo = seriesNo;
        m_app.m_nPLCId = modelId;
        m_app.SetPlcNameFromCatalogue(seriesNo, modelId);

        const std::uint64_t tableOffset = GetU64LE(header + ldtx::kTableOffsetOffset);
        const std::uint64_t entryCount = GetU16LE(header + ldtx::kTableCountOffset);
        const std::uint64_t tableSize = entryCount * ldtx::kEntrySize;
        if (!Fits(tableOffset, tableSize, fileLength))
            return Report(IDS_FILE_DAMAGED, ldtx::kDamagedTable);
        std::vector<std::uint8_t> table(tableSize);
        if (!m_file.Seek(tableOffset) || m_file.Read(table.data(), table.size()) != table.size())
            return Report(IDS_FILE_DAMAGED, ldtx::kDamagedTable);

        // Sections may not share bytes: a table that names the same section
        // over and over would otherwise multiply the blocks read.
        std::uint64_t deviceBytes = 0;
        for (std::uint64_t i = 0; i < entryCount; ++i) {
            const std::uint8_t* entry = table.data() + i * ldtx::kEntrySize;
            const std::uint16_t type = GetU16LE(entry + ldtx::kEntryTypeOffset);
            const std::uint64_t offset = GetU64LE(entry + ldtx::kEntryOffsetOffset);
            const std::uint64_t length = GetU64LE(entry + ldtx::kEntryLengthOffset);
            if (!Fits(offset, length, fileLength))
                return Report(IDS_FILE_DAMAGED, ldtx::kDamagedSectionPastEnd);
            if (type != ldtx::kDeviceDataSection)
                continue; // a kind of section this version does not know
            deviceBytes += length;
            if (deviceBytes > fileLength)
                return Report(IDS_FILE_DAMAGED, ldtx::kDamagedSectionsShared);
            const int result = ReadDeviceSection(offset, length);
            if (result != 0)
                return Report(IDS_FILE_DAMAGED, result);
        }

        m_app.RefreshLdtFormat();
        return true;
    }

    int ReadDeviceSection(std::uint64_t offset, std::uint64_t length)
    {
        if (length > std::numeric_limits<std::size_t>::max())
            return ldtx::kDamagedSectionPastEnd;
        // Left uninitialised: the read fills it, and a section can be large.
        const auto section = std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(length));
        if (!m_file.Seek(offset) || m_file.Read(section.get(), static_cast<std::size_t>(length)) != length)
            return ldtx::kDamagedSectionPastEnd;
        return ParseDeviceSection(section.get(), length, m_blocks);
    }

    // String resource stringId, followed by " (code)" when code is non-zero; stop icon.
    bool Report(int stringId, int code)
    {
        std::string text = m_app.Strings().LoadString(stringId);
        if (code != 0)
            text = FormatText(text + " (%d)", {code});
        Show(stringId, text);
        return false;
    }

    void ShowOnce(int stringId, const std::string& text)
    {
        if (!m_shown)
            Show(stringId, text);
        m_shown = true;
    }

    void Show(int stringId, const std::string& text)
    {
        platform::MessageRequest request;
        request.stringId = stringId;
        request.text = text;
        request.icon = platform::MsgIcon::Stop;
        m_app.Messages().Show(request);
    }

    CMemorixApp& m_app;
    const std::string& m_path;
    EditDataArray& m_blocks;
    platform::DenyWriteFile m_file;
    bool m_shown = false;
};

// Whether a block's bytes agree with its range; the reader derives the byte
// count from the range, so a block that disagrees could not be read back.
bool IsConsistent(const CEditData& block)
{
    if (block.EndAddr < block.StartAddr || block.DataSize <= 0)
        return false;
    const std::uint64_t addresses =
        static_cast<std::uint64_t>(static_cast<std::int64_t>(block.EndAddr) - block.StartAddr + 1);
    return addresses * static_cast<std::uint64_t>(block.DataSize) * 2 == block.Data.size();
}

int WriteFile(CMemorixApp& app, const std::string& path, const EditDataArray& blocks, unsigned sections)
{
    const bool deviceData = (sections & LDTX_SECTION_DEVICE_DATA) != 0;
    const std::uint16_t entryCount = deviceData ? 1 : 0;
    if (blocks.size() > std::numeric_limits<std::uint32_t>::max())
        return FILE_ERR_WRITE;
    for (const CEditData& block : blocks) {
        if (!IsConsistent(block))
            return FILE_ERR_WRITE;
    }

    // Header, section table and the start of the device data section (block
    // count and offsets) go out as one piece; each block follows as its
    // header and its bytes, straight from the document.
    const std::uint64_t sectionOffset = ldtx::kHeaderSize + entryCount * ldtx::kEntrySize;
    std::vector<std::uint8_t> head(sectionOffset, 0);
    std::uint8_t* header = head.data();
    PutU16LE(header + ldtx::kMarkerOffset, ldtx::kMarker);
    PutU16BE(header + ldtx::kVersionOffset, ldtx::kVersion);
    PutU16LE(header + ldtx::kSeriesOffset, static_cast<std::uint16_t>(app.m_nPLCSeriesNo));
    PutU16LE(header + ldtx::kModelOffset, static_cast<std::uint16_t>(app.m_nPLCId));
    PutU64LE(header + ldtx::kTableOffsetOffset, ldtx::kHeaderSize);
    PutU16LE(header + ldtx::kTableCountOffset, entryCount);
    std::fill_n(header + ldtx::kFillerOffset, ldtx::kFillerSize, ldtx::kFillerByte);

    std::size_t sectionStart = head.size();
    if (deviceData) {
        std::uint64_t blockAt = ldtx::kCountSize + blocks.size() * ldtx::kBlockOffsetSize;
        AppendU32LE(head, static_cast<std::uint32_t>(blocks.size()));
        for (const CEditData& block : blocks) {
            AppendU64LE(head, blockAt);
            blockAt += ldtx::kBlockHeaderSize + block.Data.size();
        }
        const std::uint64_t sectionLength = blockAt + ldtx::kCrcSize;
        std::uint8_t* entry = head.data() + ldtx::kHeaderSize;
        PutU16LE(entry + ldtx::kEntryTypeOffset, ldtx::kDeviceDataSection);
        PutU16LE(entry + ldtx::kEntryAttributeOffset, ldtx::kDeviceDataAttribute);
        PutU64LE(entry + ldtx::kEntryOffsetOffset, sectionOffset);
        PutU64LE(entry + ldtx::kEntryLengthOffset, sectionLength);
    }

    platform::AtomicFileWriter file;
    if (!file.Begin(path) || !file.Write(head.data(), head.size()))
        return FILE_ERR_WRITE;
    if (deviceData) {
        std::uint16_t crc = crc16::Value(head.data() + sectionStart, head.size() - sectionStart);
        for (const CEditData& block : blocks) {
            std::uint8_t blockHeader[ldtx::kBlockHeaderSize] = {};
            blockHeader[ldtx::kBlockIdOffset] = block.Id;
            PutU32LE(blockHeader + ldtx::kBlockStartOffset, static_cast<std::uint32_t>(block.StartAddr));
            PutU32LE(blockHeader + ldtx::kBlockEndOffset, static_cast<std::uint32_t>(block.EndAddr));
            PutU32LE(blockHeader + ldtx::kBlockDataSizeOffset, static_cast<std::uint32_t>(block.DataSize));
            blockHeader[ldtx::kBlockBankOffset] = static_cast<std::uint8_t>(block.BankNo & 0xFF);
            crc = crc16::Extend(crc, blockHeader, sizeof blockHeader);
            crc = crc16::Extend(crc, block.Data.data(), block.Data.size());
            if (!file.Write(blockHeader, sizeof blockHeader) || !file.Write(block.Data.data(), block.Data.size()))
                return FILE_ERR_WRITE;
        }
        std::uint8_t tail[ldtx::kCrcSize];
        PutU16LE(tail, crc);
        if (!file.Write(tail, sizeof tail))
            return FILE_ERR_WRITE;
    }
    return file.Commit() ? FILE_ERR_NONE : FILE_ERR_WRITE;
}

} // namespace

bool ReadLdtxFile(CMemorixApp& app, const std::string& path, EditDataArray& blocks)
{
    LdtxReader reader(app, path, blocks);
    return reader.Read();
}

int WriteLdtxFile(CMemorixApp& app, const std::string& path, const EditDataArray& blocks, unsigned sections)
{
    try {
        return WriteFile(app, path, blocks, sections);
    } catch (const std::exception&) {
        return FILE_ERR_WRITE; // the writer's destructor has dropped the unfinished file
    }
}
