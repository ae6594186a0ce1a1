#pragma once

#include "codec/CodecCodes.h"
#include "resources/ResourceAbi.h"

// What the cell editors read from the grid that owns them, at the moment they
// need it: the display radix and data unit of the grid (the codes of
// ValueCodec.h), and the language library's menus for their context menu.
class IEditOwner {
public:
    virtual ~IEditOwner() = default;
    virtual codec::Radix EditRadix() const = 0;
    virtual codec::Unit EditDataUnit() const = 0;
    // A menu resource by id; null when the language library has none.
    virtual const MxMenuResource* FindMenu(int id) const = 0;
};
