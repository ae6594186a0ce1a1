#include "undo/CUndoData.h"

#include "platform/DenyWriteFile.h"
#include "platform/TempFile.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <system_error>
#include <utility>
#include <vector>

namespace {

using Header = std::array<std::uint8_t, CUndoData::kHeaderSize>;

void PutLE(std::uint8_t* out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetLE(const std::uint8_t* in, int bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint32_t>(in[i]) << (8 * i);
    return value;
}

} // namespace

CUndoData::CUndoData()
    : m_strPath(platform::CreateTempFileName(platform::TempFolder(), "QZ4"))
{
}

CUndoData::~CUndoData()
{
    if (!m_strPath.empty()) {
        std::error_code ignored;
        std::filesystem::remove(m_strPath, ignored);
    }
}

bool CUndoData::Save(const CEditData& block)
{
    // The count must also fit WriteBlockBytes when the record is restored.
    if (m_strPath.empty() || block.Data.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        return false;

    Header header{};
    header[0] = block.Id;
    PutLE(&header[1], static_cast<std::uint16_t>(block.BankNo), 2);
    PutLE(&header[3], static_cast<std::uint32_t>(block.StartAddr), 4);
    PutLE(&header[7], static_cast<std::uint32_t>(block.EndAddr), 4);
    PutLE(&header[11], static_cast<std::uint32_t>(block.DataSize), 4);
    PutLE(&header[15], static_cast<std::uint32_t>(block.Data.size()), 4);

    platform::DenyWriteFile file;
    if (!file.Open(m_strPath, platform::DenyWriteFile::Access::CreateReadWrite))
        return false;
    return file.Write(header.data(), header.size()) && file.Write(block.Data.data(), block.Data.size());
}

bool CUndoData::Load(CEditData& out) const
{
    if (m_strPath.empty())
        return false;
    platform::DenyWriteFile file;
    if (!file.Open(m_strPath, platform::DenyWriteFile::Access::Read))
        return false;

    // A file cut short or altered on disk is unreadable: the byte count must
    // account for the rest of the file exactly, and is checked before anything
    // is allocated for it.
    const auto length = file.Length();
    Header header{};
    if (!length || *length < header.size() || file.Read(header.data(), header.size()) != header.size())
        return false;
    const std::uint32_t count = GetLE(&header[15], 4);
    if (count > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())
        || *length - header.size() != count)
        return false;

    std::vector<std::uint8_t> data(count);
    if (file.Read(data.data(), data.size()) != data.size())
        return false;

    out.Id = header[0];
    out.BankNo = static_cast<std::int16_t>(GetLE(&header[1], 2));
    out.StartAddr = static_cast<std::int32_t>(GetLE(&header[3], 4));
    out.EndAddr = static_cast<std::int32_t>(GetLE(&header[7], 4));
    out.DataSize = static_cast<std::int32_t>(GetLE(&header[11], 4));
    out.Data = std::move(data);
    return true;
}
