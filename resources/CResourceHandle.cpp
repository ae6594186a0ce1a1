#include "resources/CResourceHandle.h"

#include <algorithm>

namespace {

// An array pointer may be null only when its count is 0.
template <typename T>
bool ArrayOk(const T* items, std::uint32_t count)
{
    return items != nullptr || count == 0;
}

template <typename T>
const T* FindById(const T* items, std::uint32_t count, int id)
{
    if (id < 0 || items == nullptr)
        return nullptr;
    const auto* end = items + count;
    const auto* found =
        std::find_if(items, end, [id](const T& item) { return item.id == static_cast<std::uint32_t>(id); });
    return found != end ? found : nullptr;
}

} // namespace

CResourceHandle::CResourceHandle(const MxResourceTable* table)
{
    Take(table);
}

CResourceHandle::CResourceHandle(CResourceHandle&& other) noexcept
    : m_library(std::move(other.m_library))
    , m_table(std::exchange(other.m_table, nullptr))
    , m_strings(std::move(other.m_strings))
    , m_error(std::move(other.m_error))
{
    other.m_strings.clear();
}

CResourceHandle& CResourceHandle::operator=(CResourceHandle&& other) noexcept
{
    if (this != &other) {
        // The index points into the old library: drop it before the library goes.
        m_strings.clear();
        m_table = nullptr;
        m_library = std::move(other.m_library);
        m_table = std::exchange(other.m_table, nullptr);
        m_strings = std::move(other.m_strings);
        other.m_strings.clear();
        m_error = std::move(other.m_error);
    }
    return *this;
}

void CResourceHandle::Reset()
{
    m_strings.clear();
    m_table = nullptr;
    m_library.Unload();
    m_error.clear();
}

bool CResourceHandle::Load(const std::string& path)
{
    Reset();
    if (!m_library.Load(path)) {
        m_error = m_library.Error();
        return false;
    }
    const auto entry = reinterpret_cast<MxResourceTableFunction>(m_library.Symbol(MX_RESOURCE_TABLE_SYMBOL));
    if (entry == nullptr) {
        m_library.Unload();
        m_error = path + " is not a language library (no " MX_RESOURCE_TABLE_SYMBOL ")";
        return false;
    }
    if (!Take(entry())) {
        m_library.Unload();
        m_error = path + ": " + m_error;
        return false;
    }
    return true;
}

bool CResourceHandle::Take(const MxResourceTable* table)
{
    m_strings.clear();
    m_table = nullptr;
    if (table == nullptr) {
        m_error = "no resource table";
        return false;
    }
    if (table->abiVersion != MX_RESOURCE_ABI_VERSION) {
        m_error = "resource table version " + std::to_string(table->abiVersion) + ", expected "
                  + std::to_string(MX_RESOURCE_ABI_VERSION);
        return false;
    }
    if (!ArrayOk(table->strings, table->stringCount) || !ArrayOk(table->menus, table->menuCount)
        || !ArrayOk(table->toolBars, table->toolBarCount) || !ArrayOk(table->dialogs, table->dialogCount)) {
        m_error = "resource table with a missing array";
        return false;
    }

    m_strings.reserve(table->stringCount);
    for (std::uint32_t i = 0; i < table->stringCount; ++i) {
        if (table->strings[i].text != nullptr)
            m_strings.emplace_back(table->strings[i].id, table->strings[i].text);
    }
    std::stable_sort(m_strings.begin(), m_strings.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    m_table = table;
    m_error.clear();
    return true;
}

std::string CResourceHandle::Language() const
{
    return m_table != nullptr && m_table->language != nullptr ? m_table->language : "";
}

const char* CResourceHandle::FindString(int id) const
{
    if (id < 0)
        return nullptr;
    const auto key = static_cast<std::uint32_t>(id);
    const auto it = std::lower_bound(m_strings.begin(), m_strings.end(), key,
                                     [](const auto& entry, std::uint32_t value) { return entry.first < value; });
    return it != m_strings.end() && it->first == key ? it->second : nullptr;
}

std::string CResourceHandle::LoadString(int id) const
{
    const char* text = FindString(id);
    return text != nullptr ? text : "";
}

const MxMenuResource* CResourceHandle::FindMenu(int id) const
{
    return m_table != nullptr ? FindById(m_table->menus, m_table->menuCount, id) : nullptr;
}

const MxToolBarResource* CResourceHandle::FindToolBar(int id) const
{
    return m_table != nullptr ? FindById(m_table->toolBars, m_table->toolBarCount, id) : nullptr;
}

const MxDialogResource* CResourceHandle::FindDialog(int id) const
{
    return m_table != nullptr ? FindById(m_table->dialogs, m_table->dialogCount, id) : nullptr;
}

const MxControlResource* CResourceHandle::FindControl(const MxDialogResource& dialog, int id)
{
    return FindById(dialog.controls, dialog.count, id);
}
