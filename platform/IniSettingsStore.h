#pragma once

// The program's settings in the files the desktop program keeps with
// QSettings ("Varnholt/Memorix.conf" under XDG_CONFIG_HOME, or ~/.config, for
// the user; under the first of XDG_CONFIG_DIRS, or /etc/xdg, for the machine,
// else the installation's file beside the program), read and written in the
// same INI dialect without the toolkit, so that the command-line tool runs
// where no toolkit is installed and both programs see the same values.

#include "platform/ISettingsStore.h"

#include <map>
#include <string>

namespace platform {

// One INI file's values by full key ("Section/name"; a key of [General] has no
// section), as QSettings reads it.
using IniValues = std::map<std::string, std::string, std::less<>>;

// The values of INI text. A value QSettings reads as a list of several strings
// is kept as kIniList, which reads as an empty string and as no number.
IniValues ParseIni(std::string_view text);
inline constexpr std::string_view kIniList = "\x01list";

// INI text of values, as QSettings writes it.
std::string FormatIni(const IniValues& values);

class IniSettingsStore final : public ISettingsStore {
public:
    // The files where the desktop program's settings are.
    IniSettingsStore();
    IniSettingsStore(std::string userFile, std::string machineFile);

    int GetUserInt(std::string_view section, std::string_view name, int defaultValue) const override;
    void SetUserInt(std::string_view section, std::string_view name, int value) override;
    std::string GetUserString(std::string_view section, std::string_view name,
                              std::string_view defaultValue) const override;
    void SetUserString(std::string_view section, std::string_view name, std::string_view value) override;
    void RemoveUserValue(std::string_view section, std::string_view name) override;

    bool MachineKeyExists() const override;
    std::optional<std::string> GetMachineString(std::string_view name) const override;

    const std::string& UserFileName() const { return m_userFile; }
    const std::string& MachineFileName() const { return m_machineFile; }

private:
    // Reads the user file again, changes one value (none: removes it) and
    // writes the file back whole.
    void ChangeUserValue(std::string_view section, std::string_view name, const std::string* value);

    std::string m_userFile;
    std::string m_machineFile;
    IniValues m_user;
};

} // namespace platform
