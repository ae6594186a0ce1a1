#pragma once

#include "platform/LibraryLoader.h"
#include "resources/IStringTable.h"
#include "resources/ResourceAbi.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The resources of one language: a loaded language library, or a table given
// directly. Everything it hands out points into the table and stays valid for
// as long as this handle holds it (the library stays loaded while the handle
// lives). Movable, not copyable.
class CResourceHandle final : public IStringTable {
public:
    CResourceHandle() = default;
    // Uses a table that outlives the handle (a library's, or one of a test).
    // A table of another layout version, or with a missing array, is refused:
    // the handle stays empty and Error() says why.
    explicit CResourceHandle(const MxResourceTable* table);

    CResourceHandle(const CResourceHandle&) = delete;
    CResourceHandle& operator=(const CResourceHandle&) = delete;
    CResourceHandle(CResourceHandle&& other) noexcept;
    CResourceHandle& operator=(CResourceHandle&& other) noexcept;
    ~CResourceHandle() override = default;

    // Loads the language library at path and takes its table. On failure the
    // handle is empty and Error() tells why.
    bool Load(const std::string& path);
    void Reset();

    bool IsLoaded() const { return m_table != nullptr; }
    const std::string& Error() const { return m_error; }
    const MxResourceTable* Table() const { return m_table; }
    // The language suffix of the table ("Enu"); empty when none is loaded.
    std::string Language() const;

    std::string LoadString(int id) const override;
    // The text of string id, or null when there is none.
    const char* FindString(int id) const;
    const MxMenuResource* FindMenu(int id) const;
    const MxToolBarResource* FindToolBar(int id) const;
    const MxDialogResource* FindDialog(int id) const;

    // A control of a dialog by id: the first one in tab order, or null.
    static const MxControlResource* FindControl(const MxDialogResource& dialog, int id);

private:
    bool Take(const MxResourceTable* table);

    platform::Library m_library;
    const MxResourceTable* m_table = nullptr;
    // String ids with their texts, sorted by id; for an id given twice the
    // table's first entry wins.
    std::vector<std::pair<std::uint32_t, const char*>> m_strings;
    std::string m_error;
};
