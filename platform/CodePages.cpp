#include "platform/CodePages.h"

#include "platform/DoubleByteCodePage.h"

#include <atomic>
#include <map>
#include <mutex>

namespace platform {
namespace {

using Layout = DoubleByteCodePage::Layout;

// The lead and trail byte ranges of the double-byte pages, as Windows defines them.
const std::vector<Layout>& Layouts()
{
    static const std::vector<Layout> layouts = {
        {932, "CP932", {{0x81, 0x9F}, {0xE0, 0xFC}}, {{0x40, 0x7E}, {0x80, 0xFC}}},
        {936, "CP936", {{0x81, 0xFE}}, {{0x40, 0x7E}, {0x80, 0xFE}}},
        {949, "CP949", {{0x81, 0xFE}}, {{0x41, 0x5A}, {0x61, 0x7A}, {0x81, 0xFE}}},
        {950, "CP950", {{0x81, 0xFE}}, {{0x40, 0x7E}, {0xA1, 0xFE}}},
    };
    return layouts;
}

struct Registry {
    std::mutex mutex;
    std::map<int, std::unique_ptr<DoubleByteCodePage>> pages; // null: the system lacks it
};

Registry& Pages()
{
    static Registry registry;
    return registry;
}

std::atomic<int> g_selected{kCodePageWestern};

} // namespace

const CodePage* CodePageByNumber(int number)
{
    static const Windows1252CodePage western;
    if (number == kCodePageWestern)
        return &western;
    for (const Layout& layout : Layouts()) {
        if (layout.number != number)
            continue;
        Registry& registry = Pages();
        const std::lock_guard<std::mutex> lock(registry.mutex);
        auto found = registry.pages.find(number);
        if (found == registry.pages.end())
            found = registry.pages.emplace(number, DoubleByteCodePage::Make(layout)).first;
        return found->second.get();
    }
    return nullptr;
}

std::vector<int> AvailableCodePages()
{
    std::vector<int> numbers{kCodePageWestern};
    for (const Layout& layout : Layouts()) {
        if (CodePageByNumber(layout.number) != nullptr)
            numbers.push_back(layout.number);
    }
    return numbers;
}

int AnsiCodePageNumber()
{
    return g_selected.load();
}

bool SelectAnsiCodePage(int number)
{
    const CodePage* page = CodePageByNumber(number);
    if (page == nullptr)
        return false;
    SetAnsiCodePage(page);
    g_selected = number;
    return true;
}

} // namespace platform
