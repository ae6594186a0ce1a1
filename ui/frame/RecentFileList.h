#pragma once

#include <string>
#include <vector>

namespace platform {
class ISettingsStore;
}

// The ten most recent files, newest first, kept in the user settings'
// "Recent File List" section as File1 to File10.
class RecentFileList {
public:
    static constexpr int kSize = 10;

    explicit RecentFileList(platform::ISettingsStore& settings);

    const std::vector<std::string>& Files() const { return m_files; }
    void Add(const std::string& path);
    void Remove(const std::string& path);

private:
    void Write();

    platform::ISettingsStore& m_settings;
    std::vector<std::string> m_files;
};
