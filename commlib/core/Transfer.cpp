#include "commlib/core/Transfer.h"

#include "commlib/core/CommErrors.h"
#include "commlib/core/DefaultMap.h"
#include "commlib/core/Identity.h"
#include "commlib/core/Session.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace commlib {
namespace {

constexpr int kMaxRead = 125;
constexpr int kMaxWrite = 123;

using Window = std::array<std::uint16_t, 3>;

// One request of a transfer and where its words are in the caller's buffer.
struct Request {
    std::uint16_t first = 0;
    int count = 0;
    std::optional<Window> window;
    std::size_t offset = 0;    // bytes
    std::uint32_t device = 0;  // for the request's report: the device ...
    std::uint32_t address = 0; // ... and the first and last addresses the request moves
    std::uint32_t lastAddress = 0;
};

// What the requests of a run of addresses move, for their reports.
struct DeviceRun {
    std::uint32_t device = 0;
    std::uint32_t start = 0;
    int wordsPerAddress = 1;
};

// Cuts runs of registers into full-size requests, from buffer offset on.
void AddRequests(const std::vector<RegisterRun>& runs, bool write, const DeviceRun& what, std::size_t& offset,
                 std::vector<Request>& plan)
{
    const std::size_t from = offset;
    for (const RegisterRun& run : runs)
        for (std::uint32_t done = 0; done < run.words;) {
            Request r;
            r.count = static_cast<int>(std::min<std::uint32_t>(run.words - done, write ? kMaxWrite : kMaxRead));
            r.first = static_cast<std::uint16_t>(run.first + done);
            r.window = run.window;
            r.offset = offset;
            r.device = what.device;
            const std::size_t wordsBefore = (offset - from) / 2;
            const auto perAddress = static_cast<std::size_t>(what.wordsPerAddress);
            r.address = what.start + static_cast<std::uint32_t>(wordsBefore / perAddress);
            r.lastAddress =
                what.start
                + static_cast<std::uint32_t>((wordsBefore + static_cast<std::size_t>(r.count) - 1) / perAddress);
            plan.push_back(r);
            done += static_cast<std::uint32_t>(r.count);
            offset += 2 * static_cast<std::size_t>(r.count);
        }
}

CommResult SelectWindow(ModbusLink& link, std::optional<Window>& selected, const Window& window)
{
    if (selected && *selected == window)
        return {};
    selected.reset();
    if (CommResult r = link.Write(kWindowSelect, kWindowSelectWords, window.data()); !r.Ok())
        return r;
    selected = window;
    return {};
}

CommResult Perform(ModbusLink& link, std::optional<Window>& selected, const Request& request, std::uint8_t* buffer,
                   bool write)
{
    if (request.window)
        if (CommResult r = SelectWindow(link, selected, *request.window); !r.Ok())
            return r;
    std::uint16_t words[kMaxRead];
    std::uint8_t* bytes = buffer + request.offset;
    link.NoteDevice(request.device, request.address, request.lastAddress);
    if (write) {
        for (int i = 0; i < request.count; ++i)
            words[i] = static_cast<std::uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        return link.Write(request.first, request.count, words);
    }
    if (CommResult r = link.Read(request.first, request.count, words); !r.Ok())
        return r;
    for (int i = 0; i < request.count; ++i) {
        bytes[2 * i] = static_cast<std::uint8_t>(words[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(words[i] >> 8);
    }
    return {};
}

// What the connections of one transfer share: the next request to take,
// requests handed back by a connection the unit turned away, the words
// done, and the failure of the earliest request that failed.
class Work {
public:
    Work(const std::vector<Request>& plan, std::uint8_t* buffer, bool write, const TransferControl& control)
        : m_plan(plan)
        , m_buffer(buffer)
        , m_write(write)
        , m_control(control)
    {
    }

    // The next request for a connection; false when there is none left or
    // the transfer stops.
    bool Take(std::size_t& index)
    {
        std::lock_guard lock(m_lock);
        if (m_failure)
            return false;
        if (m_control.Cancelled()) {
            m_cancelled = true;
            return false;
        }
        if (!m_handedBack.empty()) {
            index = m_handedBack.back();
            m_handedBack.pop_back();
            return true;
        }
        if (m_next >= m_plan.size())
            return false;
        index = m_next++;
        return true;
    }

    void Done(std::size_t index)
    {
        {
            std::lock_guard lock(m_lock);
            m_wordsDone += static_cast<std::uint32_t>(m_plan[index].count);
        }
        m_changed.notify_all();
    }

    void HandBack(std::size_t index)
    {
        std::lock_guard lock(m_lock);
        m_handedBack.push_back(index);
    }

    void Fail(std::size_t index, CommResult result)
    {
        std::lock_guard lock(m_lock);
        if (!m_failure || index < m_failure->first)
            m_failure.emplace(index, std::move(result));
    }

    // Runs requests on one connection until none is left or the transfer
    // stops. A further connection that fails before the unit has answered
    // anything on it in this call (one the unit turned away, or closed while
    // it was idle) hands its request back and leaves the rest to the others
    // (true).
    bool Serve(ModbusLink& link, std::optional<Window>& selected, bool further)
    {
        const long answers = link.Answers();
        std::size_t index = 0;
        while (Take(index)) {
            CommResult r = Perform(link, selected, m_plan[index], m_buffer, m_write);
            if (!r.Ok()) {
                if (further && link.Answers() == answers
                    && (r.code == Err::ConnectionLost || r.code == Err::ConnectFailed)) {
                    HandBack(index);
                    return true;
                }
                Fail(index, std::move(r));
                return false;
            }
            Done(index);
        }
        return false;
    }

    void WorkerStarted()
    {
        std::lock_guard lock(m_lock);
        ++m_workers;
    }

    void WorkerEnded()
    {
        {
            std::lock_guard lock(m_lock);
            --m_workers;
        }
        m_changed.notify_all();
    }

    // Waits for the other connections to end, passing the words done to
    // report whenever they grow. Called on the caller's thread.
    template <typename Report>
    void AwaitWorkers(Report report)
    {
        std::unique_lock lock(m_lock);
        for (;;) {
            m_changed.wait(lock, [&] { return m_workers == 0 || m_wordsDone != m_reported; });
            if (m_wordsDone != m_reported) {
                const std::uint32_t done = m_reported = m_wordsDone;
                lock.unlock();
                report(done);
                lock.lock();
            } else if (m_workers == 0) {
                return;
            }
        }
    }

    // Words done not yet reported, or 0.
    std::uint32_t Unreported()
    {
        std::lock_guard lock(m_lock);
        if (m_wordsDone == m_reported)
            return 0;
        return m_reported = m_wordsDone;
    }

    bool HandedBack()
    {
        std::lock_guard lock(m_lock);
        return !m_handedBack.empty() && !m_failure && !m_cancelled;
    }

    CommResult Outcome()
    {
        std::lock_guard lock(m_lock);
        if (m_failure)
            return m_failure->second;
        if (m_cancelled || m_next < m_plan.size() || !m_handedBack.empty())
            return CommResult::Fail(Err::TransferCancelled,
                                    "cancelled after " + std::to_string(m_wordsDone) + " words");
        return {};
    }

private:
    const std::vector<Request>& m_plan;
    std::uint8_t* m_buffer;
    bool m_write;
    const TransferControl& m_control;
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::size_t m_next = 0;
    std::vector<std::size_t> m_handedBack;
    std::optional<std::pair<std::size_t, CommResult>> m_failure;
    bool m_cancelled = false;
    std::uint32_t m_wordsDone = 0;
    std::uint32_t m_reported = 0;
    int m_workers = 0;
};

// Moves the requests of one call. The caller's thread works the session's
// own connection and reports progress; a thread per further connection
// works one of the session's lanes, opening it first when need be.
CommResult Run(Session& s, const std::vector<Request>& plan, std::uint8_t* buffer, bool write, std::uint32_t total)
{
    Work work(plan, buffer, write, *s.control);
    const auto report = [&s, total](std::uint32_t done) {
        if (s.progress)
            s.progress(s.progressContext, done, total);
    };

    // A write keeps to the session's own connection: one that fails has then
    // changed exactly the addresses before the failing request, which is
    // what the program tells the user the unit now holds.
    int wanted =
        write ? 1
              : std::min<int>(ParallelRequests(s.profile), static_cast<int>(std::min<std::size_t>(plan.size(), 64)));
    if (s.acceptedConnections > 0)
        wanted = std::min(wanted, s.acceptedConnections);
    const std::size_t further = wanted > 1 ? static_cast<std::size_t>(wanted - 1) : 0;
    if (s.lanes.size() < further)
        s.lanes.resize(further);

    std::vector<char> opened(further, 0), turnedAway(further, 0);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < further; ++i) {
        work.WorkerStarted();
        try {
            threads.emplace_back([&, i] {
                Lane& lane = s.lanes[i];
                if (!lane.link) {
                    lane.window.reset();
                    opened[i] = ModbusLink::Open(s.profile, lane.link).Ok() ? 1 : 0;
                    if (lane.link)
                        lane.link->SetReporter(s.RequestReporter(static_cast<std::uint16_t>(i + 1)));
                    turnedAway[i] = !opened[i];
                }
                if (lane.link && work.Serve(*lane.link, lane.window, true))
                    turnedAway[i] = opened[i];
                work.WorkerEnded();
            });
        } catch (const std::system_error&) {
            work.WorkerEnded(); // no thread: the others carry its share
        }
    }

    bool again = true;
    while (again) {
        std::size_t index = 0;
        while (work.Take(index)) {
            CommResult r = Perform(*s.link, s.window, plan[index], buffer, write);
            if (!r.Ok()) {
                work.Fail(index, std::move(r));
                break;
            }
            work.Done(index);
            if (const std::uint32_t done = work.Unreported())
                report(done);
        }
        work.AwaitWorkers(report);
        // Requests handed back after the caller's connection ran out of them.
        again = work.HandedBack();
    }
    for (std::thread& t : threads)
        t.join();

    int refused = 0;
    for (std::size_t i = 0; i < further; ++i) {
        refused += turnedAway[i] ? 1 : 0;
        if (s.lanes[i].link && (turnedAway[i] || s.lanes[i].link->Broken()))
            s.lanes[i].link.reset();
    }
    if (refused > 0) {
        s.acceptedConnections = wanted - refused;
        if (s.note)
            s.note(DescribeProfile(s.profile) + ": the unit accepted " + std::to_string(s.acceptedConnections) + " of "
                   + std::to_string(wanted) + " connections");
        std::erase_if(s.lanes, [](const Lane& lane) { return !lane.link; });
    }
    return work.Outcome();
}

// Keeps the control's running state for exactly the length of a call.
class Running {
public:
    explicit Running(TransferControl& control)
        : m_control(control)
    {
        m_control.Begin();
    }
    ~Running() { m_control.End(); }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

private:
    TransferControl& m_control;
};

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

void TransferControl::Begin()
{
    std::lock_guard lock(m_lock);
    m_running = true;
    m_cancelled = false;
}

void TransferControl::End()
{
    std::lock_guard lock(m_lock);
    m_running = false;
    m_cancelled = false;
}

bool TransferControl::Cancel()
{
    std::lock_guard lock(m_lock);
    if (m_running)
        m_cancelled = true;
    return m_running;
}

std::function<void(comm::RequestRecord&)> Session::RequestReporter(std::uint16_t lane)
{
    // Sessions stay where they are until they end, and their links end first.
    return [this, lane](comm::RequestRecord& record) {
        if (!requestLog)
            return;
        record.connection = static_cast<std::uint16_t>(connection < 0 ? 0 : connection);
        record.lane = lane;
        requestLog(requestLogContext, &record);
    };
}

CommResult TransferRange(Session& s, std::uint32_t device, std::uint32_t start, std::uint16_t bank, std::uint32_t count,
                         std::uint8_t* buffer, bool write)
{
    if (!buffer || count == 0)
        return CommResult::Fail(Err::BadArgument, buffer ? "no addresses to transfer" : "no buffer");
    std::vector<RegisterRun> runs;
    if (CommResult r = s.map->Locate(device, bank, start, count, runs); !r.Ok())
        return r;
    int wordsPerAddress = 1;
    if (CommResult r = s.map->WordsPerAddress(device, wordsPerAddress); !r.Ok())
        return r;
    std::vector<Request> plan;
    std::size_t offset = 0;
    AddRequests(runs, write, {device, start, std::max(wordsPerAddress, 1)}, offset, plan);
    std::uint32_t total = 0;
    for (const RegisterRun& run : runs)
        total += run.words;
    Running running(*s.control);
    return Run(s, plan, buffer, write, total);
}

CommResult TransferByAddress(Session& s, int count, const comm::_dev2_7* descriptors, std::uint8_t* buffer, bool write)
{
    if (!buffer || !descriptors || count <= 0)
        return CommResult::Fail(Err::BadArgument, count <= 0 ? "no addresses to transfer" : "no buffer");
    std::vector<RegisterRun> runs;
    std::uint32_t total = 0;
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
        total += d.bytesPerAddress / 2u;
    }
    // Every address is placed before the first request too, so that the
    // requests can go out in any order.
    std::vector<Request> plan;
    std::size_t offset = 0;
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
        AddRequests(runs, write, {head.device, head.address, std::max<int>(head.bytesPerAddress / 2, 1)}, offset, plan);
        i = j;
    }
    Running running(*s.control);
    return Run(s, plan, buffer, write, total);
}

} // namespace commlib
