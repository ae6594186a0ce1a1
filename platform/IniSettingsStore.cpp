#include "platform/IniSettingsStore.h"

#include "platform/AtomicFileWriter.h"
#include "platform/CodePage.h"
#include "platform/ProgramFolder.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <vector>

namespace platform {
namespace {

constexpr std::string_view kRootSection = "General";
constexpr char kFolder[] = "/Varnholt/Memorix.conf";

bool IsSpace(char ch)
{
    return ch == ' ' || ch == '\t';
}

int HexValue(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

void AppendUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// A key as written: "%XX" and "%UXXXX" stand for characters, "\" for "/".
std::string UnescapeKey(std::string_view key)
{
    std::string out;
    for (std::size_t i = 0; i < key.size(); ++i) {
        const char ch = key[i];
        if (ch == '\\') {
            out += '/';
            continue;
        }
        if (ch == '%') {
            const bool wide = i + 1 < key.size() && key[i + 1] == 'U';
            const std::size_t digits = wide ? 4 : 2;
            const std::size_t from = i + 1 + (wide ? 1 : 0);
            std::uint32_t code = 0;
            bool valid = from + digits <= key.size();
            for (std::size_t k = 0; valid && k < digits; ++k) {
                const int value = HexValue(key[from + k]);
                valid = value >= 0;
                code = code * 16 + static_cast<std::uint32_t>(value);
            }
            if (valid) {
                AppendUtf8(out, code);
                i = from + digits - 1;
                continue;
            }
        }
        out += ch;
    }
    return out;
}

std::string EscapeKey(std::string_view key)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    std::size_t pos = 0;
    while (pos < key.size()) {
        const char32_t code = NextUtf8(key, pos);
        if (code == '/') {
            out += '\\';
        } else if ((code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')
                   || code == '_' || code == '-' || code == '.') {
            out += static_cast<char>(code);
        } else if (code <= 0xFF) {
            out += '%';
            out += kHex[code >> 4];
            out += kHex[code & 0xF];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += kHex[code >> shift & 0xF];
        }
    }
    return out;
}

// A value as written: quoted parts, backslash escapes, a comma between the
// strings of a list, a semicolon before a comment. Returns the strings.
std::vector<std::string> UnescapeValue(std::string_view text)
{
    std::vector<std::string> strings(1);
    std::size_t keep = 0; // length of the current string without its unquoted trailing blanks
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string& current = strings.back();
        const char ch = text[i];
        if (ch == '"') {
            quoted = !quoted;
            keep = current.size();
            continue;
        }
        if (!quoted && ch == ';')
            break;
        if (!quoted && ch == ',') {
            current.resize(keep);
            strings.emplace_back();
            keep = 0;
            continue;
        }
        if (!quoted && IsSpace(ch)) {
            if (!current.empty())
                current += ch;
            continue;
        }
        if (ch != '\\' || i + 1 == text.size()) {
            current += ch;
            keep = current.size();
            continue;
        }
        const char next = text[++i];
        switch (next) {
        case 'a': current += '\a'; break;
        case 'b': current += '\b'; break;
        case 'f': current += '\f'; break;
        case 'n': current += '\n'; break;
        case 'r': current += '\r'; break;
        case 't': current += '\t'; break;
        case 'v': current += '\v'; break;
        case 'x': {
            std::uint32_t code = 0;
            while (i + 1 < text.size() && HexValue(text[i + 1]) >= 0 && code < 0x10000)
                code = code * 16 + static_cast<std::uint32_t>(HexValue(text[++i]));
            AppendUtf8(current, code);
            break;
        }
        default:
            if (next >= '0' && next <= '7') {
                std::uint32_t code = static_cast<std::uint32_t>(next - '0');
                while (i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '7' && code < 0x1000)
                    code = code * 8 + static_cast<std::uint32_t>(text[++i] - '0');
                AppendUtf8(current, code);
            } else {
                current += next; // \" \\ \' \? and anything else stand for themselves
            }
        }
        keep = current.size();
    }
    strings.back().resize(keep);
    return strings;
}

std::string EscapeValue(std::string_view value)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    if (!value.empty() && value.front() == '@')
        out += '@';
    bool quote = false;
    bool escapeHexDigit = false; // after "\x.." a hex digit would join the escape
    for (const char ch : value) {
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == ';' || ch == ',' || ch == '=')
            quote = true;
        if (escapeHexDigit && HexValue(ch) >= 0) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
            continue;
        }
        escapeHexDigit = false;
        switch (ch) {
        case '\a': out += "\\a"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\v': out += "\\v"; break;
        case '"':
        case '\\':
            out += '\\';
            out += ch;
            break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                out += "\\x";
                out += kHex[byte >> 4];
                out += kHex[byte & 0xF];
                escapeHexDigit = true;
            } else {
                out += ch;
            }
        }
    }
    if (quote || (!out.empty() && (out.front() == ' ' || out.back() == ' ')))
        out = '"' + out + '"';
    return out;
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool FileExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string UserFile()
{
    const char* home = std::getenv("XDG_CONFIG_HOME");
    if (home && *home)
        return home + std::string(kFolder);
    const char* user = std::getenv("HOME");
    return std::string(user ? user : "") + "/.config" + kFolder;
}

std::string MachineFile()
{
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string first = dirs ? std::string(dirs).substr(0, std::string(dirs).find(':')) : std::string();
    if (first.empty())
        first = "/etc/xdg";
    const std::string system = first + kFolder;
    if (FileExists(system))
        return system;
    const std::string installed = ProgramFolder() + "/Memorix.conf";
    return FileExists(installed) ? installed : system;
}

std::string FullKey(std::string_view section, std::string_view name)
{
    return std::string(section) + "/" + std::string(name);
}

} // namespace

IniValues ParseIni(std::string_view text)
{
    IniValues values;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::string section;
    std::size_t pos = 0;
    while (pos < text.size()) {
        // One logical line: a backslash at the end of a line joins the next.
        std::string line;
        while (pos < text.size()) {
            std::size_t end = text.find('\n', pos);
            if (end == std::string_view::npos)
                end = text.size();
            std::string_view piece = text.substr(pos, end - pos);
            pos = end + 1;
            if (!piece.empty() && piece.back() == '\r')
                piece.remove_suffix(1);
            if (!piece.empty() && piece.back() == '\\') {
                line.append(piece.substr(0, piece.size() - 1));
                continue;
            }
            line.append(piece);
            break;
        }
        std::size_t start = 0;
        while (start < line.size() && IsSpace(line[start]))
            ++start;
        if (start == line.size() || line[start] == ';' || line[start] == '#')
            continue;
        if (line[start] == '[') {
            const std::size_t close = line.find(']', start);
            const std::string name =
                UnescapeKey(line.substr(start + 1, (close == std::string::npos ? line.size() : close) - start - 1));
            section = name == kRootSection ? std::string() : name;
            continue;
        }
        const std::size_t equals = line.find('=', start);
        if (equals == std::string::npos)
            continue;
        std::size_t keyEnd = equals;
        while (keyEnd > start && IsSpace(line[keyEnd - 1]))
            --keyEnd;
        const std::string key = UnescapeKey(line.substr(start, keyEnd - start));
        const std::string fullKey = section.empty() ? key : section + "/" + key;
        std::vector<std::string> strings = UnescapeValue(std::string_view(line).substr(equals + 1));
        if (strings.size() != 1) {
            values[fullKey] = std::string(kIniList);
            continue;
        }
        std::string& value = strings.front();
        if (value == "@Invalid()") {
            values.erase(fullKey);
            continue;
        }
        if (value.rfind("@@", 0) == 0)
            value.erase(0, 1);
        else if (value.rfind("@ByteArray(", 0) == 0 && value.back() == ')')
            value = value.substr(11, value.size() - 12);
        values[fullKey] = std::move(value);
    }
    return values;
}

std::string FormatIni(const IniValues& values)
{
    std::map<std::string, std::string> sections; // escaped section name -> its lines
    for (const auto& [key, value] : values) {
        if (value == kIniList)
            continue;
        const std::size_t slash = key.find('/');
        const std::string section = slash == std::string::npos ? std::string(kRootSection) : key.substr(0, slash);
        const std::string name = slash == std::string::npos ? key : key.substr(slash + 1);
        sections[section == kRootSection ? std::string(kRootSection) : EscapeKey(section)] +=
            EscapeKey(name) + "=" + EscapeValue(value) + "\n";
    }
    std::string text;
    for (const auto& [section, lines] : sections) {
        if (!text.empty())
            text += '\n';
        text += "[" + section + "]\n" + lines;
    }
    return text;
}

IniSettingsStore::IniSettingsStore()
    : IniSettingsStore(UserFile(), MachineFile())
{
}

IniSettingsStore::IniSettingsStore(std::string userFile, std::string machineFile)
    : m_userFile(std::move(userFile))
    , m_machineFile(std::move(machineFile))
    , m_user(ParseIni(ReadWholeFile(m_userFile)))
{
}

int IniSettingsStore::GetUserInt(std::string_view section, std::string_view name, int defaultValue) const
{
    const auto found = m_user.find(FullKey(section, name));
    if (found == m_user.end())
        return defaultValue;
    std::string_view text = found->second;
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty() ? value : defaultValue;
}

std::string IniSettingsStore::GetUserString(std::string_view section, std::string_view name,
                                            std::string_view defaultValue) const
{
    const auto found = m_user.find(FullKey(section, name));
    if (found == m_user.end())
        return std::string(defaultValue);
    return found->second == kIniList ? std::string() : found->second;
}

void IniSettingsStore::SetUserInt(std::string_view section, std::string_view name, int value)
{
    const std::string text = std::to_string(value);
    ChangeUserValue(section, name, &text);
}

void IniSettingsStore::SetUserString(std::string_view section, std::string_view name, std::string_view value)
{
    const std::string text(value);
    ChangeUserValue(section, name, &text);
}

void IniSettingsStore::RemoveUserValue(std::string_view section, std::string_view name)
{
    ChangeUserValue(section, name, nullptr);
}

void IniSettingsStore::ChangeUserValue(std::string_view section, std::string_view name, const std::string* value)
{
    // Another program may have changed other values since we read them.
    m_user = ParseIni(ReadWholeFile(m_userFile));
    if (value)
        m_user[FullKey(section, name)] = *value;
    else
        m_user.erase(FullKey(section, name));
    const std::size_t slash = m_userFile.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        // The folders of a first save, as QSettings makes them.
        for (std::size_t at = m_userFile.find('/', 1); at != std::string::npos && at <= slash;
             at = m_userFile.find('/', at + 1))
            ::mkdir(m_userFile.substr(0, at).c_str(), 0700);
    }
    const std::string text = FormatIni(m_user);
    AtomicFileWriter writer;
    if (writer.Begin(m_userFile) && writer.Write(text.data(), text.size()))
        writer.Commit();
}

bool IniSettingsStore::MachineKeyExists() const
{
    return FileExists(m_machineFile);
}

std::optional<std::string> IniSettingsStore::GetMachineString(std::string_view name) const
{
    if (!MachineKeyExists())
        return std::nullopt;
    const IniValues values = ParseIni(ReadWholeFile(m_machineFile));
    const auto found = values.find(name);
    if (found == values.end())
        return std::nullopt;
    return found->second == kIniList ? std::string() : found->second;
}

} // namespace platform
