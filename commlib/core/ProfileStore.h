#pragma once

// The connection profiles, kept with QSettings under the libraries' own
// application name ("QelTesk", organization "Varnholt"). Profile 0 exists
// from the start: until it is saved it is DefaultProfile().

#include "commlib/core/Profile.h"

#include <optional>
#include <vector>

namespace commlib {

class ProfileStore {
public:
    static constexpr const char* kOrganization = "Varnholt";
    static constexpr const char* kApplication = "QelTesk";

    static std::optional<Profile> Load(int number);
    static void Save(int number, const Profile& profile);
    static void Remove(int number);
    // The numbers of all profiles, 0 always among them, ascending.
    static std::vector<int> Numbers();
};

} // namespace commlib
