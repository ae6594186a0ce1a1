#include "autoset/ResourceLibrary.h"

#include "autoset/ResourceName.h"

namespace portavo {
namespace {

std::string FolderWithSeparator(const ResourceLookup& lookup, int language, int version, int size)
{
    std::string folder = lookup.folder ? lookup.folder(language, version, size) : std::string();
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

} // namespace

std::vector<std::string> ResourceLibrary::Candidates(int language, int version, const ResourceLookup& lookup)
{
    std::vector<std::string> paths;
    if (language != -1)
        paths.push_back(
            ResourceLibraryPath(FolderWithSeparator(lookup, language, version, 261), language, version, true));
    const int system = SystemLanguage();
    paths.push_back(ResourceLibraryPath(FolderWithSeparator(lookup, system, version, 261), system, version, false));
    paths.push_back(ResourceLibraryPath(FolderWithSeparator(lookup, 0, 0, 256), 0, 0, false));
    return paths;
}

bool ResourceLibrary::TryLoad(const std::string& path)
{
    if (!m_library.Load(path))
        return false;
    auto table = reinterpret_cast<PortavoResourceTableFn>(m_library.Symbol(PORTAVO_RESOURCE_SYMBOL));
    const PortavoResources* resources = table ? table() : nullptr;
    if (!resources || resources->version != PORTAVO_RESOURCE_VERSION) {
        m_library.Unload();
        return false;
    }
    m_table = resources;
    m_path = path;
    return true;
}

bool ResourceLibrary::Load(int language, int version, const ResourceLookup& lookup)
{
    const std::vector<std::string> paths = Candidates(language, version, lookup);
    for (const std::string& path : paths)
        if (TryLoad(path))
            return true;
    // The path named is the system language's, as the user would install it.
    const std::string& named = paths[paths.size() - 2];
    if (lookup.notFound)
        lookup.notFound("Can't find Resource DLL [" + named + "] !!!");
    return false;
}

const char* ResourceLibrary::String(unsigned id) const
{
    if (!m_table)
        return nullptr;
    for (std::uint32_t i = 0; i < m_table->stringCount; ++i)
        if (m_table->strings[i].id == id)
            return m_table->strings[i].text;
    return nullptr;
}

const PortavoDialog* ResourceLibrary::Dialog(unsigned id) const
{
    if (!m_table)
        return nullptr;
    for (std::uint32_t i = 0; i < m_table->dialogCount; ++i)
        if (m_table->dialogs[i].id == id)
            return &m_table->dialogs[i];
    return nullptr;
}

const char* ControlText(const PortavoDialog* dialog, unsigned control)
{
    if (!dialog)
        return nullptr;
    for (std::uint32_t i = 0; i < dialog->controlCount; ++i)
        if (dialog->controls[i].id == control)
            return dialog->controls[i].text;
    return nullptr;
}

} // namespace portavo
