#pragma once

// The application's state as the windows below the main frame see it: the
// program's services, the current PLC, the one document and its undo map.
// The application object implements it; views take it instead of the
// application itself.

#include <string>

class CMemorixDoc;
class CUndoMap;
class IStringTable;
struct PlcChoice;
namespace platform {
class IMessageBox;
class ISettingsStore;
} // namespace platform

class IAppState {
public:
    virtual ~IAppState() = default;

    virtual platform::IMessageBox& Messages() const = 0;
    virtual const IStringTable& Strings() const = 0;
    virtual platform::ISettingsStore& Settings() const = 0;
    virtual const std::string& CataloguePath() const = 0;

    virtual PlcChoice& Plc() = 0;
    virtual const PlcChoice& Plc() const = 0;
    // The one open document, or null.
    virtual CMemorixDoc* GetActiveDoc() const = 0;
    virtual CUndoMap& GetUndoMap() = 0;
};
