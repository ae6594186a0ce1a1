#include "resources/LanguageLoader.h"

#include "resources/FormatText.h"
#include "platform/CodePage.h"
#include "platform/DebugOutput.h"
#include "platform/LibraryLoader.h"

#include <climits>
#include <optional>
#include <string_view>

namespace {

const LanguageInfo kLanguages[LANGUAGE_COUNT] = {
    {"English", "MEMORIXEnu", "Enu"},   {"Japanese", "MEMORIXJpn", "Jpn"}, {"Chinese_s", "MEMORIXChs", "Chs"},
    {"Chinese_t", "MEMORIXCht", "Cht"}, {"Korean", "MEMORIXKor", "Kor"},   {"Spanish", nullptr, "Enu"},
    {"Italian", nullptr, "Enu"},        {"German", nullptr, "Enu"},        {"French", nullptr, "Enu"},
    {"Thai", nullptr, "Enu"},
};
const LanguageInfo kNoLanguage = {"", nullptr, "Enu"};

// Room for the two settings of the language, terminating zero included; a
// longer value cannot be read at all.
constexpr std::size_t kLanguageValueBytes = 128;
// Room for the registered owner and organization in UTF-16 characters,
// without the terminating zero.
constexpr std::size_t kOwnerUnits = 100;
constexpr std::size_t kOrganizationUnits = 200;

// A text value of the machine key as a C string sees it: up to its first zero.
std::optional<std::string> ReadMachineText(const platform::ISettingsStore& settings, std::string_view name)
{
    std::optional<std::string> value = settings.GetMachineString(name);
    if (value) {
        const std::size_t zero = value->find('\0');
        if (zero != std::string::npos)
            value->resize(zero);
    }
    return value;
}

// The leading decimal number of text, as atoi reads it (leading white space,
// an optional sign, digits; anything else ends it), saturated to int.
int TextToInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        return static_cast<int>(-value);
    return static_cast<int>(value > INT_MAX ? INT_MAX : value);
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The longest start of text that fits into maxUnits UTF-16 code units without
// splitting a character.
std::string CutToUtf16Units(const std::string& text, std::size_t maxUnits)
{
    std::size_t units = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t next = pos;
        const char32_t c = platform::NextUtf8(text, next);
        const std::size_t width = c >= 0x10000 ? 2 : 1;
        if (units + width > maxUnits)
            return text.substr(0, pos);
        units += width;
        pos = next;
    }
    return text;
}

std::string JoinPath(const std::string& folder, const std::string& fileName)
{
    if (!folder.empty() && folder.back() == '/')
        return folder + fileName;
    return folder + '/' + fileName;
}

} // namespace

const LanguageInfo& GetLanguageInfo(int index)
{
    if (index < 0 || index >= LANGUAGE_COUNT)
        return kNoLanguage;
    return kLanguages[index];
}

std::string GetLanguageLibraryName(int index)
{
    const LanguageInfo& info = GetLanguageInfo(index);
    if (info.library == nullptr)
        return {};
    return std::string(info.library) + platform::SharedLibrarySuffix();
}

int GetLanguageIndex(const platform::ISettingsStore& settings)
{
    if (!settings.MachineKeyExists())
        return LANGUAGE_ENGLISH;

    const std::optional<std::string> langMax = ReadMachineText(settings, "LangMax");
    if (!langMax || langMax->size() >= kLanguageValueBytes || TextToInt(*langMax) == 0)
        return LANGUAGE_NONE;

    const std::optional<std::string> language = ReadMachineText(settings, "Language");
    if (!language || language->size() >= kLanguageValueBytes || language->empty())
        return LANGUAGE_ENGLISH;
    for (int index = 0; index < LANGUAGE_COUNT; ++index) {
        if (EqualsNoCase(*language, kLanguages[index].name))
            return index;
    }
    return LANGUAGE_ENGLISH;
}

bool LoadLanguageResources(const platform::ISettingsStore& settings, const std::string& programFolder,
                           CResourceHandle& out, platform::IMessageBox& messages)
{
    out.Reset();
    const int index = GetLanguageIndex(settings);
    const std::string fileName = GetLanguageLibraryName(index);

    // A language without a library, or a program folder that is unknown,
    // fails without looking anywhere else for a library.
    if (!fileName.empty() && !programFolder.empty()) {
        if (out.Load(JoinPath(programFolder, fileName)))
            return true;
        platform::DebugOutput("language library: " + out.Error());
    } else {
        platform::DebugOutput("language library: none for language index " + std::to_string(index));
    }

    platform::MessageRequest request;
    request.stringId = 0;
    request.text = FormatText("Memorix%s Resource file cannot be read.", {GetLanguageInfo(index).suffix});
    request.icon = platform::MsgIcon::None;
    request.buttons = platform::MsgButtons::Ok;
    messages.Show(request);
    return false;
}

void GetRegisteredUser(const platform::ISettingsStore& settings, std::string& owner, std::string& organization)
{
    owner.clear();
    organization.clear();
    if (!settings.MachineKeyExists())
        return;
    if (const std::optional<std::string> value = ReadMachineText(settings, "RegisteredOwner"))
        owner = CutToUtf16Units(*value, kOwnerUnits);
    if (const std::optional<std::string> value = ReadMachineText(settings, "RegisteredOrganization"))
        organization = CutToUtf16Units(*value, kOrganizationUnits);
}
