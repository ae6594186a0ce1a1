#pragma once

// The program's services that the application and its dialogs work with; they
// outlive every user of them.

#include <string>

class IStringTable;
namespace platform {
class IMessageBox;
class ISettingsStore;
} // namespace platform

struct AppServices {
    platform::IMessageBox& messages;
    const IStringTable& strings;
    platform::ISettingsStore& settings;
    std::string cataloguePath;
};
