// The Japanese library holds everything the English one does, under the same
// numbers and control ids, with the same format arguments.

#include "resources/CResourceHandle.h"
#include "resources/ResourceIds.h"

#include "TestBinDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The conversions of a printf-style format in order ("%%" is none).
std::vector<std::string> Conversions(const char* format)
{
    std::vector<std::string> found;
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%')
            continue;
        if (*++p == '%')
            continue;
        std::string conversion = "%";
        while (*p != '\0' && std::strchr("-+ #0123456789.*hlLqjztI", *p) != nullptr)
            conversion += *p++;
        if (*p == '\0')
            break;
        found.push_back(conversion + *p);
    }
    return found;
}

// The menu's structure without its texts: depth, kind and command of each item.
std::vector<std::uint64_t> Shape(const MxMenuResource& menu)
{
    std::vector<std::uint64_t> shape;
    for (std::uint32_t i = 0; i < menu.count; ++i)
        shape.push_back((std::uint64_t{menu.items[i].depth} << 48) | (std::uint64_t{menu.items[i].flags} << 32)
                        | menu.items[i].commandId);
    return shape;
}

bool IsValidUtf8(const char* text)
{
    for (const auto* p = reinterpret_cast<const unsigned char*>(text); *p != 0;) {
        const int extra = *p < 0x80             ? 0
                          : (*p & 0xE0) == 0xC0 ? 1
                          : (*p & 0xF0) == 0xE0 ? 2
                          : (*p & 0xF8) == 0xF0 ? 3
                                                : -1;
        if (extra < 0)
            return false;
        ++p;
        for (int i = 0; i < extra; ++i, ++p) {
            if ((*p & 0xC0) != 0x80)
                return false;
        }
    }
    return true;
}

} // namespace

TEST(JpnLibrary, MirrorsTheEnglishLibrary)
{
    CResourceHandle enu;
    CResourceHandle jpn;
    ASSERT_TRUE(enu.Load(TestBinDir() + "/MEMORIXEnu.so")) << enu.Error();
    ASSERT_TRUE(jpn.Load(TestBinDir() + "/MEMORIXJpn.so")) << jpn.Error();
    EXPECT_EQ(jpn.Language(), "Jpn");
    const MxResourceTable& english = *enu.Table();
    const MxResourceTable& japanese = *jpn.Table();

    for (std::uint32_t i = 0; i < english.stringCount; ++i) {
        const MxStringResource& string = english.strings[i];
        const char* text = jpn.FindString(static_cast<int>(string.id));
        ASSERT_NE(text, nullptr) << "string " << string.id << " is missing";
        EXPECT_EQ(Conversions(text), Conversions(string.text)) << "string " << string.id << ": " << text;
        EXPECT_TRUE(IsValidUtf8(text)) << "string " << string.id;
        // Command strings keep their two parts, file filters their fields.
        EXPECT_EQ(std::strchr(text, '\n') != nullptr, std::strchr(string.text, '\n') != nullptr) << string.id;
        const auto bars = [](const char* t) { return std::count(t, t + std::strlen(t), '|'); };
        EXPECT_EQ(bars(text), bars(string.text)) << "string " << string.id;
    }
    EXPECT_EQ(japanese.stringCount, english.stringCount) << "strings the English library lacks";

    for (std::uint32_t i = 0; i < english.menuCount; ++i) {
        const MxMenuResource* menu = jpn.FindMenu(static_cast<int>(english.menus[i].id));
        ASSERT_NE(menu, nullptr) << "menu " << english.menus[i].id;
        EXPECT_EQ(Shape(*menu), Shape(english.menus[i])) << "menu " << english.menus[i].id;
    }
    for (std::uint32_t i = 0; i < english.toolBarCount; ++i) {
        const MxToolBarResource& bar = english.toolBars[i];
        const MxToolBarResource* other = jpn.FindToolBar(static_cast<int>(bar.id));
        ASSERT_NE(other, nullptr) << "tool bar " << bar.id;
        EXPECT_EQ(std::vector<std::uint32_t>(other->buttons, other->buttons + other->count),
                  std::vector<std::uint32_t>(bar.buttons, bar.buttons + bar.count))
            << "tool bar " << bar.id;
    }
    for (std::uint32_t i = 0; i < english.dialogCount; ++i) {
        const MxDialogResource& dialog = english.dialogs[i];
        const MxDialogResource* other = jpn.FindDialog(static_cast<int>(dialog.id));
        ASSERT_NE(other, nullptr) << "dialog " << dialog.id;
        ASSERT_EQ(other->count, dialog.count) << "dialog " << dialog.id;
        EXPECT_GE(other->cx, dialog.cx) << "dialog " << dialog.id;
        for (std::uint32_t c = 0; c < dialog.count; ++c) {
            const MxControlResource& control = dialog.controls[c];
            const MxControlResource& mine = other->controls[c];
            EXPECT_EQ(mine.id, control.id) << "dialog " << dialog.id << " control " << c;
            EXPECT_EQ(mine.kind, control.kind) << "dialog " << dialog.id << " control " << c;
            // Every control stays inside its dialog.
            EXPECT_LE(mine.x + mine.cx, other->cx) << "dialog " << dialog.id << " control " << mine.id;
            EXPECT_LE(mine.y + mine.cy, other->cy) << "dialog " << dialog.id << " control " << mine.id;
        }
    }
}
