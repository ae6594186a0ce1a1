// The ".ldtx" data file: reader and writer. Layout in core/LdtxFormat.h.

#include "platform/Coding.h"
#include "files/Crc16.h"
#include "files/DataFiles.h"
#include "files/LdtxFormat.h"
#include "platform/AtomicFileWriter.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

using namespace coding;

namespace {

// Where a block lies in its section.
struct Extent {
    std::uint64_t at;     // its header
    std::uint64_t dataAt; // its bytes
    std::uint64_t bytes;
    std::size_t index; // in block order
};

// The bytes of one section of the open file. The first kHeadBytes are read
// at once, so that the block headers of a small section cost no further reads;
// the rest is read where it is asked for.
class SectionSource {
public:
    static constexpr std::uint64_t kHeadBytes = 64 * 1024;

    SectionSource(platform::DenyWriteFile& file, std::uint64_t offset, std::uint64_t length)
        : m_file(file)
        , m_offset(offset)
        , m_length(length)
    {
    }

    bool Load()
    {
        m_head.resize(static_cast<std::size_t>(std::min(m_length, kHeadBytes)));
        return m_file.Seek(m_offset) && m_file.Read(m_head.data(), m_head.size()) == m_head.size();
    }

    std::uint64_t Length() const { return m_length; }

    // Bytes [at, at + size) of the section; the caller keeps them inside it.
    bool Fetch(std::uint64_t at, std::size_t size, std::uint8_t* into)
    {
        if (at < m_head.size()) {
            const std::size_t part = static_cast<std::size_t>(std::min<std::uint64_t>(size, m_head.size() - at));
            std::copy_n(m_head.data() + at, part, into);
            at += part;
            into += part;
            size -= part;
        }
        return size == 0 || (m_file.Seek(m_offset + at) && m_file.Read(into, size) == size);
    }

private:
    platform::DenyWriteFile& m_file;
    std::uint64_t m_offset;
    std::uint64_t m_length;
    std::vector<std::uint8_t> m_head;
};

// The blocks of a section's first `body` bytes (the CRC excluded), all but
// their bytes, and where they lie. Returns 0 or the detail code shown with
// `IDS_FILE_DAMAGED`; -1 when the file cannot be read.
//
// A block counts only when its header and bytes lie inside the section after
// the offset table and no two blocks share bytes; so a hostile file cannot
// make the reader allocate more than a few times its own size.
int ParseBlockHeaders(SectionSource& source, std::uint64_t body, EditDataArray& blocks, std::vector<Extent>& extents)
{
    if (body < ldtx::kCountSize)
        return ldtx::kDamagedBlockOffset;
    std::uint8_t countBytes[ldtx::kCountSize];
    if (!source.Fetch(0, sizeof countBytes, countBytes))
        return -1;
    const std::uint64_t count = GetU32LE(countBytes);
    if (count > (body - ldtx::kCountSize) / ldtx::kBlockOffsetSize)
        return ldtx::kDamagedBlockOffset;
    const std::uint64_t blocksStart = ldtx::kCountSize + count * ldtx::kBlockOffsetSize;
    const std::uint64_t room = body - blocksStart;
    std::vector<std::uint8_t> offsets(static_cast<std::size_t>(count * ldtx::kBlockOffsetSize));
    if (!source.Fetch(ldtx::kCountSize, offsets.size(), offsets.data()))
        return -1;
    std::uint64_t claimed = 0;

    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t at = GetU64LE(offsets.data() + i * ldtx::kBlockOffsetSize);
        if (at < blocksStart || at >= body)
            return ldtx::kDamagedBlockOffset;
        if (!Fits(at, ldtx::kBlockHeaderSize, body))
            return ldtx::kDamagedBlockData;
        std::uint8_t header[ldtx::kBlockHeaderSize];
        if (!source.Fetch(at, sizeof header, header))
            return -1;
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

// Reads bytes [from, to) of the section in cache-sized pieces, into `into`
// when given (else into scratch), and extends crc over them while they are
// still in the cache.
bool ReadAndCheck(SectionSource& source, std::uint64_t from, std::uint64_t to, std::uint8_t* into,
                  std::vector<std::uint8_t>& scratch, std::uint16_t& crc)
{
    constexpr std::uint64_t kPiece = 256 * 1024;
    while (from < to) {
        const auto piece = static_cast<std::size_t>(std::min(kPiece, to - from));
        std::uint8_t* target = into;
        if (!target) {
            scratch.resize(std::max<std::size_t>(scratch.size(), piece));
            target = scratch.data();
        }
        if (!source.Fetch(from, piece, target))
            return false;
        crc = crc16::Extend(crc, target, piece);
        from += piece;
        if (into)
            into += piece;
    }
    return true;
}

// The device data section, CRC included, into blocks appended to `out`, in
// one pass over the file: each block's bytes are read straight into the block
// and the CRC is taken on the way. Returns 0 or the detail code shown with
// `IDS_FILE_DAMAGED`.
int ReadDeviceSectionFrom(SectionSource& source, EditDataArray& out)
{
    const std::uint64_t length = source.Length();
    if (length < ldtx::kCrcSize)
        return ldtx::kDamagedSectionPastEnd;
    const std::uint64_t body = length - ldtx::kCrcSize;
    std::uint8_t storedBytes[ldtx::kCrcSize];
    if (!source.Load() || !source.Fetch(body, sizeof storedBytes, storedBytes))
        return ldtx::kDamagedSectionPastEnd;
    const std::uint16_t stored = GetU16LE(storedBytes);

    // A wrong CRC is what gets reported when the damage also breaks the
    // structure; the blocks are handed out only after both have passed.
    EditDataArray blocks;
    std::vector<Extent> extents;
    int fault = ParseBlockHeaders(source, body, blocks, extents);
    if (fault < 0)
        return ldtx::kDamagedSectionPastEnd;
    if (fault != 0)
        extents.clear(); // the CRC over the section as it is
    std::vector<std::uint8_t> scratch;
    std::uint16_t crc = crc16::kInit;
    std::uint64_t pos = 0;
    for (const Extent& extent : extents) {
        CEditData& block = blocks[extent.index];
        block.Data.resize(static_cast<std::size_t>(extent.bytes));
        if (!ReadAndCheck(source, pos, extent.dataAt, nullptr, scratch, crc)
            || !ReadAndCheck(source, extent.dataAt, extent.dataAt + extent.bytes, block.Data.data(), scratch, crc))
            return ldtx::kDamagedSectionPastEnd;
        pos = extent.dataAt + extent.bytes;
    }
    if (!ReadAndCheck(source, pos, body, nullptr, scratch, crc))
        return ldtx::kDamagedSectionPastEnd;
    if (crc != stored)
        return ldtx::kDamagedCrc;
    if (fault != 0)
        return fault;
    out.insert(out.end(), std::make_move_iterator(blocks.begin()), std::make_move_iterator(blocks.end()));
    return 0;
}

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

FileError WriteFile(const std::string& path, const LdtxHeader& plc, const EditDataArray& blocks, unsigned sections,
                    std::string& reason)
{
    const bool deviceData = (sections & LDTX_SECTION_DEVICE_DATA) != 0;
    const std::uint16_t entryCount = deviceData ? 1 : 0;
    if (blocks.size() > std::numeric_limits<std::uint32_t>::max())
        return FileError::Write;
    for (const CEditData& block : blocks) {
        if (!IsConsistent(block))
            return FileError::Write;
    }

    // Header, section table and the start of the device data section (block
    // count and offsets) go out as one piece; each block follows as its
    // header and its bytes, straight from the document.
    const std::uint64_t sectionOffset = ldtx::kHeaderSize + entryCount * ldtx::kEntrySize;
    std::vector<std::uint8_t> head(sectionOffset, 0);
    std::uint8_t* header = head.data();
    PutU16LE(header + ldtx::kMarkerOffset, ldtx::kMarker);
    PutU16BE(header + ldtx::kVersionOffset, ldtx::kVersion);
    PutU16LE(header + ldtx::kSeriesOffset, static_cast<std::uint16_t>(plc.seriesNo));
    PutU16LE(header + ldtx::kModelOffset, static_cast<std::uint16_t>(plc.modelId));
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
    const auto failed = [&file, &reason] {
        reason = file.TargetAtFault() ? file.ErrorText() : std::string();
        return FileError::Write;
    };
    if (!file.Begin(path) || !file.Write(head.data(), head.size()))
        return failed();
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
                return failed();
        }
        std::uint8_t tail[ldtx::kCrcSize];
        PutU16LE(tail, crc);
        if (!file.Write(tail, sizeof tail))
            return failed();
    }
    return file.Commit() ? FileError::None : failed();
}

} // namespace

LdtxReader::LdtxReader(std::string path)
    : m_path(std::move(path))
{
}

LdtxReader::~LdtxReader() = default;

LdtxResult LdtxReader::ReadHeader(LdtxHeader& plc)
{
    m_file.Close();
    if (!m_file.Open(m_path, platform::DenyWriteFile::Access::Read))
        return {LdtxFault::OpenFailed, 0, m_file.ErrorText()};
    m_length = m_file.Length().value_or(0);
    if (m_length == 0) {
        m_file.Close();
        return {LdtxFault::Empty};
    }
    std::uint8_t header[ldtx::kHeaderSize];
    if (m_file.Read(header, sizeof header) != sizeof header || GetU32LE(header + ldtx::kZeroOffset) != 0
        || GetU16LE(header + ldtx::kMarkerOffset) != ldtx::kMarker
        || GetU16BE(header + ldtx::kVersionOffset) > ldtx::kVersion) {
        m_file.Close();
        return {LdtxFault::NotDataFile};
    }
    plc.seriesNo = GetU16LE(header + ldtx::kSeriesOffset);
    plc.modelId = GetU16LE(header + ldtx::kModelOffset);
    m_tableOffset = GetU64LE(header + ldtx::kTableOffsetOffset);
    m_entryCount = GetU16LE(header + ldtx::kTableCountOffset);
    return {};
}

LdtxResult LdtxReader::ReadBlocks(EditDataArray& blocks)
{
    blocks.clear();
    LdtxResult result;
    try {
        // The file stays open from ReadHeader on; a reader used without it opens it here.
        if (!m_file.IsOpen() && !m_file.Open(m_path, platform::DenyWriteFile::Access::Read))
            result = {LdtxFault::OpenFailed, 0, m_file.ErrorText()};
        else
            result = ReadSections(blocks);
    } catch (const std::exception&) { // out of memory, in practice
        result = {LdtxFault::OutOfMemory};
    }
    m_file.Close();
    if (!result.ok())
        blocks.clear();
    return result;
}

LdtxResult LdtxReader::ReadSections(EditDataArray& blocks)
{
    const std::uint64_t tableSize = m_entryCount * ldtx::kEntrySize;
    if (!Fits(m_tableOffset, tableSize, m_length))
        return {LdtxFault::Damaged, ldtx::kDamagedTable};
    std::vector<std::uint8_t> table(tableSize);
    if (!m_file.Seek(m_tableOffset) || m_file.Read(table.data(), table.size()) != table.size())
        return {LdtxFault::Damaged, ldtx::kDamagedTable};

    // Sections may not share bytes: a table that names the same section
    // over and over would otherwise multiply the blocks read.
    std::uint64_t deviceBytes = 0;
    for (std::uint64_t i = 0; i < m_entryCount; ++i) {
        const std::uint8_t* entry = table.data() + i * ldtx::kEntrySize;
        const std::uint16_t type = GetU16LE(entry + ldtx::kEntryTypeOffset);
        const std::uint64_t offset = GetU64LE(entry + ldtx::kEntryOffsetOffset);
        const std::uint64_t length = GetU64LE(entry + ldtx::kEntryLengthOffset);
        if (!Fits(offset, length, m_length))
            return {LdtxFault::Damaged, ldtx::kDamagedSectionPastEnd};
        if (type != ldtx::kDeviceDataSection)
            continue; // a kind of section this version does not know
        deviceBytes += length;
        if (deviceBytes > m_length)
            return {LdtxFault::Damaged, ldtx::kDamagedSectionsShared};
        const int result = ReadDeviceSection(offset, length, blocks);
        if (result != 0)
            return {LdtxFault::Damaged, result};
    }
    return {};
}

int LdtxReader::ReadDeviceSection(std::uint64_t offset, std::uint64_t length, EditDataArray& blocks)
{
    if (length > std::numeric_limits<std::size_t>::max())
        return ldtx::kDamagedSectionPastEnd;
    SectionSource source(m_file, offset, length);
    return ReadDeviceSectionFrom(source, blocks);
}

FileError WriteLdtx(const std::string& path, const LdtxHeader& header, const EditDataArray& blocks, unsigned sections,
                    std::string* reason)
{
    std::string why;
    try {
        const FileError error = WriteFile(path, header, blocks, sections, why);
        if (reason)
            *reason = std::move(why);
        return error;
    } catch (const std::exception&) {
        return FileError::Write; // the writer's destructor has dropped the unfinished file
    }
}
