#include "commlib/core/Transfer.h"

#include "commlib/core/CommErrors.h"
#include "commlib/core/DefaultMap.h"
#include "commlib/core/Identity.h"
#include "commlib/core/Session.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace commlib {
namespace {

constexpr int kMaxRead = 125;
constexpr int kMaxWrite = 123;

CommResult SelectWindow(Session& s, const std::array<std::uint16_t, 3>& window)
{
    if (s.window && *s.window == window)
        return {};
    s.window.reset();
    if (CommResult r = s.link->Write(kWindowSelect, kWindowSelectWords, window.data()); !r.Ok())
        return r;
    s.window = window;
    return {};
}

// Words moved so far of the words one call moves, for the progress callback.
struct CallProgress {
    std::uint32_t done = 0;
    std::uint32_t total = 0;
};

CommResult TransferRuns(Session& s, const std::vector<RegisterRun>& runs, std::uint8_t* buffer, bool write,
                        CallProgress& progress)
{
    std::uint16_t words[kMaxRead];
    for (const RegisterRun& run : runs) {
        if (run.window)
            if (CommResult r = SelectWindow(s, *run.window); !r.Ok())
                return r;
        std::uint32_t done = 0;
        while (done < run.words) {
            const int n = static_cast<int>(std::min<std::uint32_t>(run.words - done, write ? kMaxWrite : kMaxRead));
            const auto reg = static_cast<std::uint16_t>(run.first + done);
            if (write) {
                for (int i = 0; i < n; ++i)
                    words[i] = static_cast<std::uint16_t>(buffer[2 * i] | (buffer[2 * i + 1] << 8));
                if (CommResult r = s.link->Write(reg, n, words); !r.Ok())
                    return r;
            } else {
                if (CommResult r = s.link->Read(reg, n, words); !r.Ok())
                    return r;
                for (int i = 0; i < n; ++i) {
                    buffer[2 * i] = static_cast<std::uint8_t>(words[i] & 0xFF);
                    buffer[2 * i + 1] = static_cast<std::uint8_t>(words[i] >> 8);
                }
            }
            buffer += 2 * n;
            done += static_cast<std::uint32_t>(n);
            progress.done += static_cast<std::uint32_t>(n);
            if (s.progress)
                s.progress(s.progressContext, progress.done, progress.total);
        }
    }
    return {};
}

} // namespace

CommResult CheckWordsPerAddress(Session& s, std::uint32_t device, std::uint32_t callerWords)
{
    int words = 0;
    if (CommResult r = s.map->WordsPerAddress(device, words); !r.Ok())
        return r;
    if (words < 1 || words > kMaxWordsPerAddress || callerWords != static_cast<std::uint32_t>(words)) {
        const auto plural = [](std::uint64_t n) { return std::to_string(n) + (n == 1 ? " word" : " words"); };
        return CommResult::Fail(Err::SizeMismatch, std::string(ProtocolDeviceName(device)) + ": the PLC has "
                                                       + plural(static_cast<std::uint64_t>(words < 0 ? 0 : words))
                                                       + " per address, the data " + plural(callerWords));
    }
    return {};
}

CommResult TransferRange(Session& s, std::uint32_t device, std::uint32_t start, std::uint16_t bank, std::uint32_t count,
                         std::uint8_t* buffer, bool write)
{
    if (!buffer || count == 0)
        return CommResult::Fail(Err::BadArgument, buffer ? "no addresses to transfer" : "no buffer");
    std::vector<RegisterRun> runs;
    if (CommResult r = s.map->Locate(device, bank, start, count, runs); !r.Ok())
        return r;
    CallProgress progress;
    for (const RegisterRun& run : runs)
        progress.total += run.words;
    return TransferRuns(s, runs, buffer, write, progress);
}

CommResult TransferByAddress(Session& s, int count, const comm::_dev2_7* descriptors, std::uint8_t* buffer, bool write)
{
    if (!buffer || !descriptors || count <= 0)
        return CommResult::Fail(Err::BadArgument, count <= 0 ? "no addresses to transfer" : "no buffer");
    std::vector<RegisterRun> runs;
    CallProgress progress;
    // Every size is checked before the first request, so that a write the
    // library refuses has changed nothing in the unit.
    for (int k = 0; k < count; ++k) {
        comm::_dev2_7 d;
        std::memcpy(&d, &descriptors[k], sizeof d);
        if (CommResult r = CheckWordsPerAddress(s, d.device, d.bytesPerAddress / 2u); !r.Ok())
            return r;
        if (d.bytesPerAddress % 2 != 0)
            return CommResult::Fail(Err::SizeMismatch, std::string(ProtocolDeviceName(d.device)) + ": "
                                                           + std::to_string(d.bytesPerAddress)
                                                           + " bytes per address is no whole number of words");
        progress.total += d.bytesPerAddress / 2u;
    }
    int i = 0;
    while (i < count) {
        comm::_dev2_7 head;
        std::memcpy(&head, &descriptors[i], sizeof head);
        int j = i + 1;
        for (; j < count; ++j) {
            comm::_dev2_7 next;
            std::memcpy(&next, &descriptors[j], sizeof next);
            if (next.device != head.device || next.bytesPerAddress != head.bytesPerAddress
                || next.address != head.address + static_cast<std::uint32_t>(j - i))
                break;
        }
        if (CommResult r = s.map->Locate(head.device, kNoBank, head.address, static_cast<std::uint32_t>(j - i), runs);
            !r.Ok())
            return r;
        if (CommResult r = TransferRuns(s, runs, buffer, write, progress); !r.Ok())
            return r;
        buffer += static_cast<std::size_t>(j - i) * head.bytesPerAddress;
        i = j;
    }
    return {};
}

} // namespace commlib
