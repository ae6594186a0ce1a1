// The legacy ".ldt" data file: reader and writer. Layout in core/LdtFormat.h.

#include "platform/Coding.h"
#include "files/DataFiles.h"
#include "files/LdtFormat.h"
#include "platform/AtomicFileWriter.h"
#include "platform/CodePage.h"
#include "platform/DenyWriteFile.h"

#include <cstring>
#include <exception>
#include <limits>
#include <string_view>
#include <utility>

using namespace coding;

namespace {

// One entry of the area table as the reader needs it.
struct Area {
    bool present = false;
    std::uint32_t firstAddr = 0;
    std::uint32_t lastAddr = 0;
};

// One entry as the writer fills it in.
struct AreaEntry {
    const CEditData* block = nullptr; // null: absent
    std::uint32_t count = 1;
    std::uint32_t firstIndex = 0;
    std::uint32_t lastIndex = 0;
};

// The block an entry of the layout stores: the first with the entry's device
// code, and in layout 2048 also its bank. Index into blocks, or -1.
std::ptrdiff_t MatchingBlock(std::uint16_t format, const ldt::LegacyDevice& device, const EditDataArray& blocks)
{
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (blocks[i].Id == device.id && (format != ldt::kFormat2048 || blocks[i].BankNo == device.bankNo))
            return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
}

// Text area bytes up to the first zero, as program text.
std::string ReadText(const std::uint8_t* field, std::size_t size)
{
    const auto* chars = reinterpret_cast<const char*>(field);
    return platform::AnsiCodePage().ToUtf8(std::string_view(chars, strnlen(chars, size)));
}

void WriteText(std::uint8_t* field, std::size_t size, const std::string& text)
{
    const std::string bytes = platform::AnsiCodePage().FromUtf8(text);
    if (!bytes.empty() && bytes.size() <= size)
        std::memcpy(field, bytes.data(), bytes.size());
}

// The area table of a layout from the table bytes.
std::vector<Area> ParseAreaTable(std::uint16_t format, const std::uint8_t* table)
{
    std::vector<Area> areas(ldt::EntryCount(format));
    if (format == ldt::kFormat2048) {
        for (std::size_t e = 0; e < areas.size(); ++e) {
            const std::uint8_t* entry = table + ldt::kEntries2048Offset + e * ldt::kEntry2048Size;
            const std::uint16_t count = GetU16LE(entry);
            areas[e].firstAddr = GetU16LE(entry + 10);
            areas[e].lastAddr = GetU16LE(entry + 12);
            areas[e].present = !(count == 1 && areas[e].firstAddr == ldt::kAbsentAddress2048
                                 && areas[e].lastAddr == ldt::kAbsentAddress2048);
        }
        return areas;
    }
    const bool wide = format == ldt::kFormat32;
    const std::size_t entrySize = wide ? ldt::kEntry32Size : ldt::kEntry16Size;
    const std::uint16_t flags = GetU16LE(table + (wide ? ldt::kTable32Size : ldt::kTable16Size) - 2);
    for (std::size_t e = 0; e < areas.size(); ++e) {
        const std::uint8_t* entry = table + e * entrySize;
        areas[e].present = (flags & (1u << (ldt::kAbsentFlagFirstBit + e))) == 0;
        areas[e].firstAddr = wide ? GetU32LE(entry + 12) : GetU16LE(entry + 6);
        areas[e].lastAddr = wide ? GetU32LE(entry + 16) : GetU16LE(entry + 8);
    }
    return areas;
}

// The blocks of the areas that start at `pos`. Returns false when an area is
// impossible (last address below the first, addresses beyond what a block
// can hold) or runs past the end of the file.
bool ReadAreas(const std::vector<Area>& areas, const std::vector<std::uint8_t>& file, std::uint64_t pos,
               EditDataArray& blocks)
{
    for (std::size_t e = 0; e < areas.size(); ++e) {
        const Area& area = areas[e];
        if (!area.present) {
            pos += 2; // the placeholder word; nothing to read
            continue;
        }
        constexpr auto kMaxAddr = static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max());
        if (area.lastAddr < area.firstAddr || area.lastAddr > kMaxAddr)
            return false;
        const std::uint64_t bytes = (static_cast<std::uint64_t>(area.lastAddr) - area.firstAddr) * 2 + 2;
        if (!Fits(pos, bytes, file.size()))
            return false;
        CEditData block;
        block.Id = ldt::kDevices[e].id;
        block.BankNo = ldt::kDevices[e].bankNo;
        block.StartAddr = static_cast<std::int32_t>(area.firstAddr);
        block.EndAddr = static_cast<std::int32_t>(area.lastAddr);
        block.DataSize = 1;
        block.Data.assign(file.begin() + static_cast<std::ptrdiff_t>(pos),
                          file.begin() + static_cast<std::ptrdiff_t>(pos + bytes));
        blocks.push_back(std::move(block));
        pos += bytes;
    }
    return true;
}

FileError WriteFile(platform::DenyWriteFile& kept, const std::string& path, std::string& reason, const LdtHeader& plc,
                    const EditDataArray& blocks)
{
    const std::uint16_t format = plc.format;
    const bool known = ldt::IsKnownFormat(format);
    const std::size_t tableSize = known ? ldt::TableSize(format) : 0;

    std::vector<AreaEntry> entries(known ? ldt::EntryCount(format) : 0);
    std::uint32_t index = format == ldt::kFormat2048 ? ldt::kBankedOrigin : ldt::kFlatOrigin;
    std::uint64_t dataBytes = 0;
    std::uint16_t flags = ldt::kFlagsBase;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        AreaEntry& entry = entries[e];
        const std::ptrdiff_t match = MatchingBlock(format, ldt::kDevices[e], blocks);
        entry.firstIndex = index;
        if (match < 0) {
            flags = static_cast<std::uint16_t>(flags | (1u << (ldt::kAbsentFlagFirstBit + e)));
            entry.lastIndex = index;
            index += 1;
            dataBytes += 2;
            continue;
        }
        const CEditData& block = blocks[static_cast<std::size_t>(match)];
        entry.block = &block;
        const std::uint64_t wordBytes = static_cast<std::uint64_t>(block.DataSize > 0 ? block.DataSize : 1) * 2;
        entry.count = static_cast<std::uint32_t>(block.Data.size() / wordBytes);
        entry.lastIndex =
            index + static_cast<std::uint32_t>(static_cast<std::int64_t>(block.EndAddr) - block.StartAddr);
        index = entry.lastIndex + 1;
        dataBytes += block.Data.size();
    }

    std::vector<std::uint8_t> head(ldt::kTableOffset + tableSize, 0);
    std::uint8_t* header = head.data();
    PutU32LE(header + ldt::kMagicOffset, ldt::kMagic);
    PutU16LE(header + ldt::kModelOffset, static_cast<std::uint16_t>(plc.modelId - 1));
    PutU16LE(header + ldt::kFormatOffset, format);
    PutU32LE(header + ldt::kRecordOffsetOffset, ldt::kRecordOffset);
    WriteText(header + ldt::kText1Offset, ldt::kText1Size, plc.text1);
    WriteText(header + ldt::kText2Offset, ldt::kText2Size, plc.text2);
    std::uint8_t* record = head.data() + ldt::kRecordOffset;
    PutU16LE(record + ldt::kRecordFormatOffset, format);
    PutU32LE(record + ldt::kRecordTableOffsetOffset, ldt::kTableOffset);
    PutU32LE(record + ldt::kRecordTotalOffset, static_cast<std::uint32_t>(tableSize + dataBytes));

    std::uint8_t* table = head.data() + ldt::kTableOffset;
    if (format == ldt::kFormat2048) {
        PutU16LE(table, static_cast<std::uint16_t>(entries.size()));
        for (std::size_t e = 0; e < entries.size(); ++e) {
            std::uint8_t* p = table + ldt::kEntries2048Offset + e * ldt::kEntry2048Size;
            const AreaEntry& entry = entries[e];
            PutU16LE(p, static_cast<std::uint16_t>(entry.count));
            PutU32LE(p + 2, entry.firstIndex);
            PutU32LE(p + 6, entry.lastIndex);
            PutU16LE(p + 10,
                     entry.block ? static_cast<std::uint16_t>(entry.block->StartAddr) : ldt::kAbsentAddress2048);
            PutU16LE(p + 12, entry.block ? static_cast<std::uint16_t>(entry.block->EndAddr) : ldt::kAbsentAddress2048);
        }
        std::uint8_t* trailer = table + ldt::kTrailer2048Offset;
        PutU16LE(trailer, static_cast<std::uint16_t>(ldt::kTrailerOne));
        PutU32LE(trailer + 2, index);
        PutU32LE(trailer + 6, index);
        PutU16LE(trailer + 10, ldt::kTrailerSixtyNine);
        PutU16LE(trailer + 12, ldt::kBankedTrailerLast);
    } else if (format == ldt::kFormat32) {
        for (std::size_t e = 0; e < entries.size(); ++e) {
            std::uint8_t* p = table + e * ldt::kEntry32Size;
            const AreaEntry& entry = entries[e];
            PutU32LE(p, entry.count);
            PutU32LE(p + 4, entry.firstIndex);
            PutU32LE(p + 8, entry.lastIndex);
            PutU32LE(p + 12, entry.block ? static_cast<std::uint32_t>(entry.block->StartAddr) : 0);
            PutU32LE(p + 16, entry.block ? static_cast<std::uint32_t>(entry.block->EndAddr) : 0);
        }
        std::uint8_t* trailer = table + ldt::kTrailer32Offset;
        PutU32LE(trailer, ldt::kTrailerOne);
        PutU32LE(trailer + 4, index);
        PutU32LE(trailer + 8, index);
        PutU16LE(trailer + 12, ldt::kTrailerSixtyNine);
        PutU16LE(trailer + 14, flags);
    } else if (format == ldt::kFormat16) {
        for (std::size_t e = 0; e < entries.size(); ++e) {
            std::uint8_t* p = table + e * ldt::kEntry16Size;
            const AreaEntry& entry = entries[e];
            PutU16LE(p, static_cast<std::uint16_t>(entry.count));
            PutU16LE(p + 2, static_cast<std::uint16_t>(entry.firstIndex));
            PutU16LE(p + 4, static_cast<std::uint16_t>(entry.lastIndex));
            PutU16LE(p + 6, entry.block ? static_cast<std::uint16_t>(entry.block->StartAddr) : 0);
            PutU16LE(p + 8, entry.block ? static_cast<std::uint16_t>(entry.block->EndAddr) : 0);
        }
        std::uint8_t* trailer = table + ldt::kTrailer16Offset;
        PutU16LE(trailer, static_cast<std::uint16_t>(ldt::kTrailerOne));
        PutU16LE(trailer + 2, static_cast<std::uint16_t>(index));
        PutU16LE(trailer + 4, static_cast<std::uint16_t>(index));
        PutU16LE(trailer + 6, ldt::kTrailerSixtyNine);
        PutU16LE(trailer + 8, flags);
    }

    platform::AtomicFileWriter file;
    if (!file.Begin(path)) {
        reason = file.TargetAtFault() ? file.ErrorText() : std::string();
        return FileError::Open;
    }
    if (!known)
        return FileError::Write; // no layout for this model; the previous file stays as it was
    const auto failed = [&file, &reason] {
        reason = file.TargetAtFault() ? file.ErrorText() : std::string();
        return FileError::Write;
    };
    static constexpr std::uint8_t kZeroWord[2] = {0, 0};
    if (!file.Write(head.data(), head.size()))
        return failed();
    for (const AreaEntry& entry : entries) {
        const bool ok = entry.block ? file.Write(entry.block->Data.data(), entry.block->Data.size())
                                    : file.Write(kZeroWord, sizeof kZeroWord);
        if (!ok)
            return failed();
    }
    if (!file.Write(kZeroWord, sizeof kZeroWord) || !file.Commit())
        return failed();

    // Keep the new file open, writers kept out, while it is the document's file.
    kept.Open(path, platform::DenyWriteFile::Access::Read);
    return FileError::None;
}

} // namespace

LdtReader::LdtReader(platform::DenyWriteFile& kept, std::string path)
    : m_kept(kept)
    , m_path(std::move(path))
{
}

FileError LdtReader::ReadHeader(LdtHeader& plc)
{
    m_kept.Close();
    if (!m_kept.Open(m_path, platform::DenyWriteFile::Access::Read))
        return FileError::Open;
    FileError error = FileError::NotDataFile;
    try {
        const std::uint64_t length = m_kept.Length().value_or(0);
        if (length <= std::numeric_limits<std::size_t>::max()) {
            m_bytes.resize(static_cast<std::size_t>(length));
            m_bytes.resize(m_kept.Read(m_bytes.data(), m_bytes.size()));
            if (m_bytes.size() >= ldt::kHeaderSize)
                error = FileError::None;
        } else {
            error = FileError::Damaged;
        }
    } catch (const std::exception&) { // out of memory, in practice
        error = FileError::Damaged;
    }
    if (error != FileError::None) {
        Fail();
        return error;
    }
    const std::uint8_t* header = m_bytes.data();
    m_format = GetU16LE(header + ldt::kFormatOffset);
    if (!ldt::IsKnownFormat(m_format)) {
        Fail();
        return FileError::NotDataFile;
    }
    plc.format = m_format;
    plc.modelId = GetU16LE(header + ldt::kModelOffset) + 1;
    plc.magicOk = GetU32LE(header + ldt::kMagicOffset) == ldt::kMagic;
    plc.text1 = ReadText(header + ldt::kText1Offset, ldt::kText1Size);
    plc.text2 = ReadText(header + ldt::kText2Offset, ldt::kText2Size);
    return FileError::None;
}

FileError LdtReader::ReadBlocks(EditDataArray& blocks)
{
    blocks.clear();
    const std::uint64_t recordOffset =
        m_bytes.size() >= ldt::kHeaderSize ? GetU32LE(m_bytes.data() + ldt::kRecordOffsetOffset) : 0;
    bool ok = m_bytes.size() >= ldt::kHeaderSize && Fits(recordOffset, ldt::kRecordSize, m_bytes.size());
    if (ok) {
        const std::uint64_t tableOffset = GetU32LE(m_bytes.data() + recordOffset + ldt::kRecordTableOffsetOffset);
        const std::uint64_t tableSize = ldt::TableSize(m_format);
        ok = Fits(tableOffset, tableSize, m_bytes.size());
        if (ok) {
            try {
                const std::vector<Area> areas = ParseAreaTable(m_format, m_bytes.data() + tableOffset);
                ok = ReadAreas(areas, m_bytes, tableOffset + tableSize, blocks);
            } catch (const std::exception&) { // out of memory, in practice
                ok = false;
            }
        }
    }
    if (ok)
        return FileError::None;
    blocks.clear();
    Fail();
    return FileError::Damaged;
}

void LdtReader::Fail()
{
    m_kept.Close();
    m_bytes = {};
}

FileError WriteLdt(platform::DenyWriteFile& kept, const std::string& path, const LdtHeader& header,
                   const EditDataArray& blocks, std::string* reason)
{
    kept.Close();
    std::string why;
    try {
        const FileError error = WriteFile(kept, path, why, header, blocks);
        if (reason)
            *reason = std::move(why);
        return error;
    } catch (const std::exception&) {
        return FileError::Write; // the writer's destructor has dropped the unfinished file
    }
}

std::vector<const CEditData*> BlocksLostInLdtFile(std::uint16_t formatCode, const EditDataArray& blocks)
{
    std::vector<const CEditData*> lost;
    std::vector<bool> kept(blocks.size(), false);
    if (ldt::IsKnownFormat(formatCode)) {
        for (std::size_t e = 0; e < ldt::EntryCount(formatCode); ++e) {
            const std::ptrdiff_t match = MatchingBlock(formatCode, ldt::kDevices[e], blocks);
            if (match >= 0)
                kept[static_cast<std::size_t>(match)] = true;
        }
    }
    // A stored block also has to come back as it went in: the file holds one
    // word per address, and addresses in 16 bits except in layout 32, where
    // layout 2048 reads 0xFFFF..0xFFFF as an absent area.
    const std::int64_t maxAddr = formatCode == ldt::kFormat32 ? std::numeric_limits<std::int32_t>::max() : 0xFFFF;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const CEditData& block = blocks[i];
        bool fits = block.DataSize == 1 && block.StartAddr >= 0 && block.StartAddr <= block.EndAddr
                    && block.EndAddr <= maxAddr
                    && block.Data.size() == (static_cast<std::uint64_t>(block.EndAddr) - block.StartAddr + 1) * 2;
        if (formatCode == ldt::kFormat2048 && block.StartAddr == 0xFFFF && block.EndAddr == 0xFFFF)
            fits = false;
        if (!kept[i] || !fits)
            lost.push_back(&block);
    }
    return lost;
}
