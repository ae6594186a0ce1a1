#pragma once

#include "resources/IStringTable.h"

#include <map>
#include <string>

namespace testsupport {

// Strings a test sets itself; a missing one reads "#<id>" so messages stay recognisable.
class FakeStringTable final : public IStringTable {
public:
    std::string LoadString(int id) const override
    {
        const auto it = texts.find(id);
        return it != texts.end() ? it->second : "#" + std::to_string(id);
    }
    std::map<int, std::string> texts;
};

} // namespace testsupport
