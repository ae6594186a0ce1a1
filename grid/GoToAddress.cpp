#include "grid/GoToAddress.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

std::string Upper(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool Number(std::string_view text, std::int64_t& value)
{
    text = Trimmed(text);
    if (text.empty() || text.size() > 12)
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 0;
}

// The device whose name starts the text, the longest name winning ("WL"
// before "W..." names of one letter); the names' codes in the list's order.
bool TakeDevice(std::string& upper, std::span<const stDispDevString> names, std::uint8_t& code)
{
    std::size_t best = 0;
    for (const stDispDevString& entry : names) {
        for (const std::string& name : {Upper(entry.Name), Upper(DevicePrefix(entry.Id, {}))}) {
            if (!name.empty() && name.size() > best && upper.compare(0, name.size(), name) == 0) {
                best = name.size();
                code = entry.Id;
            }
        }
    }
    if (best == 0)
        return false;
    upper.erase(0, best);
    return true;
}

} // namespace

GoToResult ParseGoToAddress(std::string_view text, std::span<const stDispDevString> names, const EditDataArray& blocks,
                            const CEditData* shown)
{
    GoToResult result;
    std::string upper = Upper(Trimmed(text));
    if (upper.empty()) {
        result.error = GoToError::NotAnAddress;
        return result;
    }
    if (std::isdigit(static_cast<unsigned char>(upper.front()))) {
        if (!shown || !Number(upper, result.target.address)) {
            result.error = GoToError::NotAnAddress;
            return result;
        }
        result.target.deviceCode = shown->Id;
        result.target.bank = shown->BankNo;
    } else {
        if (!TakeDevice(upper, names, result.target.deviceCode)) {
            result.error = GoToError::UnknownDevice;
            return result;
        }
        std::string_view rest = Trimmed(upper);
        if (!rest.empty() && rest.front() == '#') {
            rest.remove_prefix(1);
            const std::size_t end = rest.find_first_not_of("0123456789");
            std::int64_t bank = 0;
            if (!Number(rest.substr(0, end), bank) || bank > INT16_MAX) {
                result.error = GoToError::NotAnAddress;
                return result;
            }
            result.target.bank = static_cast<std::int16_t>(bank);
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
        }
        if (!Number(rest, result.target.address)) {
            result.error = GoToError::NotAnAddress;
            return result;
        }
    }
    const auto block = std::find_if(blocks.begin(), blocks.end(), [&](const CEditData& candidate) {
        return candidate.Id == result.target.deviceCode && candidate.BankNo == result.target.bank;
    });
    if (block == blocks.end()) {
        result.error = GoToError::NoBlock;
        return result;
    }
    result.block = &*block;
    if (result.target.address < block->StartAddr || result.target.address > block->EndAddr)
        result.error = GoToError::OutOfRange;
    return result;
}
