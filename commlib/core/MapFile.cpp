#include "commlib/core/MapFile.h"

#include "commlib/core/CommErrors.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace commlib {
namespace {

bool ParseNumber(const std::string& text, std::uint64_t limit, std::uint64_t& value)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        begin += 2;
        base = 16;
    }
    auto [ptr, ec] = std::from_chars(begin, end, value, base);
    return ec == std::errc() && ptr == end && begin != end && value <= limit;
}

} // namespace

std::unique_ptr<MapFile> MapFile::Read(std::istream& in, const std::string& name, std::string& error)
{
    auto map = std::make_unique<MapFile>();
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (const auto hash = line.find('#'); hash != std::string::npos)
            line.erase(hash);
        std::istringstream fields(line);
        std::vector<std::string> f;
        for (std::string field; fields >> field;)
            f.push_back(field);
        if (f.empty())
            continue;
        const std::string where = name + " line " + std::to_string(number) + ": ";
        if (f.size() < 5 || f.size() > 6) {
            error = where + "expected DEVICE BANK FIRST LAST REGISTER [WORDS], found " + std::to_string(f.size())
                    + " fields";
            return nullptr;
        }
        MapLine m;
        std::string device = f[0];
        std::transform(device.begin(), device.end(), device.begin(), [](unsigned char c) { return std::toupper(c); });
        const auto code = ProtocolDeviceByName(device.c_str());
        if (!code) {
            error = where + "unknown device \"" + f[0] + "\" (WR, WL, DT, LD, FL, TS, TE, CS or CE)";
            return nullptr;
        }
        m.device = *code;
        std::uint64_t value = 0;
        if (f[1] != "-") {
            if (!ParseNumber(f[1], 0xFFFE, value)) {
                error = where + "bank \"" + f[1] + "\" is not a number from 0 to 65534 or \"-\"";
                return nullptr;
            }
            m.bank = static_cast<std::uint16_t>(value);
        }
        std::uint64_t first = 0, last = 0, reg = 0, words = 1;
        if (!ParseNumber(f[2], 0xFFFFFFFF, first) || !ParseNumber(f[3], 0xFFFFFFFF, last) || last < first) {
            error = where + "FIRST and LAST must be addresses with FIRST <= LAST";
            return nullptr;
        }
        if (!ParseNumber(f[4], 0xFFFF, reg)) {
            error = where + "register \"" + f[4] + "\" is not a number from 0 to 65535";
            return nullptr;
        }
        if (f.size() == 6 && (!ParseNumber(f[5], 4, words) || words == 0)) {
            error = where + "words per address \"" + f[5] + "\" is not 1 to 4";
            return nullptr;
        }
        if (reg + (last - first + 1) * words > 0x10000) {
            error = where + "the registers run past 65535";
            return nullptr;
        }
        m.first = static_cast<std::uint32_t>(first);
        m.last = static_cast<std::uint32_t>(last);
        m.reg = static_cast<std::uint16_t>(reg);
        m.words = static_cast<int>(words);
        for (const MapLine& other : map->m_lines) {
            if (other.device != m.device)
                continue;
            if (other.words != m.words) {
                error = where + f[0] + " has different words per address on different lines";
                return nullptr;
            }
            if (other.bank == m.bank && other.first <= m.last && m.first <= other.last) {
                error = where + "the addresses overlap an earlier line of " + f[0];
                return nullptr;
            }
        }
        map->m_lines.push_back(m);
    }
    if (map->m_lines.empty()) {
        error = name + ": the map names no registers";
        return nullptr;
    }
    return map;
}

std::unique_ptr<MapFile> MapFile::Load(const std::string& path, std::string& error)
{
    // No wait on a named pipe, nothing but a regular file, and no more of it
    // than a map can be: /dev/zero or a huge file would never end or fill memory.
    constexpr off_t kMaxMapBytes = 1 << 20;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = path + ": cannot be opened (" + std::strerror(errno) + ")";
        return nullptr;
    }
    struct stat info {};
    std::string text;
    bool ok = false;
    if (::fstat(fd, &info) != 0) {
        error = path + ": cannot be opened (" + std::strerror(errno) + ")";
    } else if (!S_ISREG(info.st_mode)) {
        const char* what = S_ISDIR(info.st_mode)                            ? "a folder"
                           : S_ISFIFO(info.st_mode)                         ? "a named pipe (FIFO)"
                           : S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode) ? "a device"
                                                                            : "a special file";
        error = path + ": cannot be opened (it is " + what + ", not a file)";
    } else if (info.st_size > kMaxMapBytes) {
        error = path + ": too large for a map (more than " + std::to_string(kMaxMapBytes) + " bytes)";
    } else {
        ok = true;
        text.resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        // The file may change while it is read: what is there up to the size seen is read.
        while (done < text.size()) {
            const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        text.resize(done);
    }
    ::close(fd);
    if (!ok)
        return nullptr;
    std::istringstream in(text);
    return Read(in, path, error);
}

CommResult MapFile::WordsPerAddress(std::uint32_t device, int& words) const
{
    for (const MapLine& m : m_lines)
        if (m.device == device) {
            words = m.words;
            return {};
        }
    return CommResult::Fail(Err::UnknownDevice, std::string("the register map has no ") + ProtocolDeviceName(device)
                                                    + " device (code " + std::to_string(device) + ")");
}

CommResult MapFile::Locate(std::uint32_t device, std::uint16_t bank, std::uint32_t start, std::uint32_t count,
                           std::vector<RegisterRun>& runs) const
{
    runs.clear();
    int words = 0;
    if (CommResult r = WordsPerAddress(device, words); !r.Ok())
        return r;
    if (count == 0)
        return CommResult::Fail(Err::BadArgument, "no addresses to transfer");
    const std::uint16_t wanted = bank;
    std::uint64_t address = start;
    const std::uint64_t end = std::uint64_t{start} + count;
    while (address < end) {
        const MapLine* hit = nullptr;
        for (const MapLine& m : m_lines)
            if (m.device == device && m.bank == wanted && m.first <= address && address <= m.last) {
                hit = &m;
                break;
            }
        if (!hit)
            return CommResult::Fail(Err::OutOfRange, std::string(ProtocolDeviceName(device)) + " "
                                                         + std::to_string(address)
                                                         + (bank == kNoBank ? "" : " bank " + std::to_string(bank))
                                                         + " is not in the register map");
        const std::uint64_t take = std::min<std::uint64_t>(end, std::uint64_t{hit->last} + 1) - address;
        RegisterRun run;
        run.first = static_cast<std::uint16_t>(hit->reg + (address - hit->first) * hit->words);
        run.words = static_cast<std::uint32_t>(take * hit->words);
        if (!runs.empty() && !runs.back().window && runs.back().first + runs.back().words == run.first)
            runs.back().words += run.words;
        else
            runs.push_back(run);
        address += take;
    }
    return {};
}

} // namespace commlib
