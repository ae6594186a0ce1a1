#include "ui/frame/RecentFileList.h"

#include "platform/ISettingsStore.h"

#include <algorithm>

namespace {

constexpr const char* kSection = "Recent File List";

std::string Key(int n)
{
    return "File" + std::to_string(n);
}

} // namespace

RecentFileList::RecentFileList(platform::ISettingsStore& settings)
    : m_settings(settings)
{
    for (int n = 1; n <= kSize; ++n) {
        std::string path = m_settings.GetUserString(kSection, Key(n), "");
        if (!path.empty())
            m_files.push_back(std::move(path));
    }
}

void RecentFileList::Add(const std::string& path)
{
    m_files.erase(std::remove(m_files.begin(), m_files.end(), path), m_files.end());
    m_files.insert(m_files.begin(), path);
    if (m_files.size() > kSize)
        m_files.resize(kSize);
    Write();
}

void RecentFileList::Remove(const std::string& path)
{
    m_files.erase(std::remove(m_files.begin(), m_files.end(), path), m_files.end());
    Write();
}

void RecentFileList::Write()
{
    for (int n = 1; n <= kSize; ++n) {
        if (n <= static_cast<int>(m_files.size()))
            m_settings.SetUserString(kSection, Key(n), m_files[static_cast<std::size_t>(n - 1)]);
        else
            m_settings.RemoveUserValue(kSection, Key(n));
    }
}
