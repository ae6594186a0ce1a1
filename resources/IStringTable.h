#pragma once

#include <string>

// Texts of the user interface by number.
class IStringTable {
public:
    virtual ~IStringTable() = default;
    // The text of string resource id; empty when there is none.
    virtual std::string LoadString(int id) const = 0;
};
