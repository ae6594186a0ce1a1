#pragma once

// The auto-setting library's language library for one call: chosen from the
// session block's language and version with the fallbacks below, loaded on
// entry and unloaded when the object goes.

#include "autoset/PortavoResources.h"

#include "platform/LibraryLoader.h"

#include <functional>
#include <string>
#include <vector>

namespace portavo {

// What the loading asks of the outside: the resource folder (ordinal 256 of
// the communication library), and the box shown when nothing loads.
struct ResourceLookup {
    // (language, version, buffer size) -> folder, empty when none was given.
    std::function<std::string(int language, int version, int size)> folder;
    std::function<void(const std::string& text)> notFound;
};

class ResourceLibrary {
public:
    // Tries, in order: the block's language with its version digits (when
    // the language is not -1); the system language without them; English.
    // When none loads, tells notFound "Can't find Resource DLL [<second path>] !!!".
    bool Load(int language, int version, const ResourceLookup& lookup);

    // The paths in the order they are tried.
    static std::vector<std::string> Candidates(int language, int version, const ResourceLookup& lookup);

    bool Loaded() const { return m_table != nullptr; }
    const std::string& Path() const { return m_path; }
    // Null when not loaded or not there.
    const char* String(unsigned id) const;
    const PortavoDialog* Dialog(unsigned id) const;

private:
    bool TryLoad(const std::string& path);

    platform::Library m_library;
    const PortavoResources* m_table = nullptr;
    std::string m_path;
};

// The text of a control of a dialog resource; null when it has none.
const char* ControlText(const PortavoDialog* dialog, unsigned control);

} // namespace portavo
