// The two cell editors on their own, driven with keys and the clipboard.

#include "codec/ValueCodec.h"
#include "ui/view/CNumberEdit.h"
#include "ui/view/CStringEdit.h"
#include "ui/view/IEditOwner.h"
#include "platform/CodePage.h"
#include "platform/CodePages.h"
#include "resources/CResourceHandle.h"
#include "resources/ResourceIds.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace codec;
using Bytes = std::vector<std::uint8_t>;

namespace {

class Owner final : public IEditOwner {
public:
    codec::Radix EditRadix() const override { return radix; }
    codec::Unit EditDataUnit() const override { return unit; }
    const MxMenuResource* FindMenu(int id) const override { return resources ? resources->FindMenu(id) : nullptr; }

    codec::Radix radix = RADIX_HEX;
    codec::Unit unit = UNIT_16BIT;
    const CResourceHandle* resources = nullptr;
};

class CellEditor : public ::testing::Test {
protected:
    // A number editor holding the text shown, as the grid opens it.
    CNumberEdit& Number(const QString& shown, codec::Radix radix, codec::Unit unit, int limit = 0)
    {
        owner.radix = radix;
        owner.unit = unit;
        number.setMaxLength(limit > 0 ? limit : GetMaxCellChars(radix, unit));
        number.setText(shown);
        number.BeginEdit();
        number.selectAll();
        return number;
    }

    void Type(QWidget& editor, const char* typed)
    {
        for (const char* c = typed; *c; ++c)
            QTest::keyClick(&editor, *c);
    }

    int Value(std::vector<std::uint8_t>& out)
    {
        auto status = static_cast<codec::ParseStatus>(-1);
        number.GetValue(out, &status);
        return codec::ToInt(status);
    }

    Owner owner;
    CNumberEdit number{owner};
    CStringEdit text{owner};
};

// A double-byte page: lead bytes 0x81 to 0x9F, and a pair is the character
// U+4E00 + trail byte.
class DoubleBytePage final : public platform::CodePage {
public:
    bool IsDoubleByte() const override { return true; }
    bool IsLeadByte(std::uint8_t b) const override { return b >= 0x81 && b <= 0x9F; }
    bool IsTrailByte(std::uint8_t b) const override { return b >= 0x40 && b <= 0xFC; }
    std::string ToUtf8(std::string_view bytes) const override
    {
        std::string text;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<std::uint8_t>(bytes[i]);
            if (IsLeadByte(b) && i + 1 < bytes.size())
                platform::AppendUtf8(text, 0x4E00 + static_cast<std::uint8_t>(bytes[++i]));
            else
                text += b < 0x80 ? static_cast<char>(b) : '?';
        }
        return text;
    }
    std::string FromUtf8(std::string_view text) const override
    {
        std::string bytes;
        for (std::size_t pos = 0; pos < text.size();) {
            const char32_t cp = platform::NextUtf8(text, pos);
            if (cp >= 0x4E40 && cp <= 0x4EFC) {
                bytes += static_cast<char>(0x81);
                bytes += static_cast<char>(cp - 0x4E00);
            } else {
                bytes += cp < 0x80 ? static_cast<char>(cp) : '?';
            }
        }
        return bytes;
    }
};

void TypeChar(QWidget& editor, char16_t ch)
{
    QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(ch)));
    QApplication::sendEvent(&editor, &key);
}

} // namespace

TEST_F(CellEditor, NumberEditAdmitsOnlyWhatKeepsANumberOfTheUnit)
{
    Number("00FF", RADIX_HEX, UNIT_16BIT);
    Type(number, "fg5");
    EXPECT_EQ(number.text(), "F5"); // f in upper case, G refused

    Number("", RADIX_DEC, UNIT_16BIT);
    Type(number, "1-2");
    EXPECT_EQ(number.text(), "12");
    number.setCursorPosition(0);
    Type(number, "-");
    EXPECT_EQ(number.text(), "-12");

    Number("", RADIX_DEC, UNIT_8BIT);
    Type(number, "-7");
    EXPECT_EQ(number.text(), "7");

    // At the limit a valid character is refused too.
    Number("", RADIX_HEX, UNIT_16BIT);
    Type(number, "12345");
    EXPECT_EQ(number.text(), "1234");

    // Reals take anything while typing; the commit tells.
    Number("", RADIX_FLOAT, UNIT_32BIT);
    Type(number, "1.5x");
    EXPECT_EQ(number.text(), "1.5x");
    Bytes out{9};
    EXPECT_EQ(Value(out), codec::ToInt(PARSE_BAD_TEXT));
    EXPECT_EQ(out, Bytes{9});
}

TEST_F(CellEditor, NumberEditChecksTheWholeTextWhenTaken)
{
    // Deleting the sign of the smallest 16-bit number leaves a text that is
    // out of range; it must never be written as another value.
    Number("-32768", RADIX_DEC, UNIT_16BIT);
    number.setCursorPosition(0);
    QTest::keyClick(&number, Qt::Key_Delete);
    EXPECT_EQ(number.text(), "32768");
    Bytes out;
    EXPECT_EQ(Value(out), codec::ToInt(PARSE_OUT_OF_RANGE));
    EXPECT_TRUE(out.empty());

    // Backspace can leave a lone sign, which is no number at all.
    Number("-5", RADIX_DEC, UNIT_16BIT);
    number.setCursorPosition(2);
    QTest::keyClick(&number, Qt::Key_Backspace);
    EXPECT_EQ(Value(out), codec::ToInt(PARSE_BAD_TEXT));

    // An empty editor is 0; a good text gives the cell's bytes, low byte first.
    Number("", RADIX_HEX, UNIT_16BIT);
    EXPECT_EQ(Value(out), codec::ToInt(PARSE_OK));
    EXPECT_EQ(out, (Bytes{0, 0}));
    Number("-2", RADIX_DEC, UNIT_32BIT);
    EXPECT_EQ(Value(out), codec::ToInt(PARSE_OK));
    EXPECT_EQ(out, (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_FALSE(number.GetValue(out, nullptr)); // no status, no value

    Number("1e39", RADIX_FLOAT, UNIT_32BIT, 40);
    EXPECT_EQ(Value(out), codec::ToInt(PARSE_OUT_OF_RANGE));
}

TEST_F(CellEditor, NumberEditUndoPasteCutAndTheKeysThatWouldBypassIt)
{
    Number("00FF", RADIX_HEX, UNIT_16BIT);
    Type(number, "5");
    EXPECT_EQ(number.text(), "5");
    QTest::keyClick(&number, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(number.text(), "00FF");
    QTest::keyClick(&number, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(number.text(), "5"); // the second undo brings back what the first took

    // Only the first line of the clipboard, whether it ends in CR LF or LF alone.
    for (const char* clip : {"12\r\n34", "12\n34"}) {
        QGuiApplication::clipboard()->setText(QString::fromLatin1(clip));
        Number("", RADIX_HEX, UNIT_16BIT);
        QTest::keyClick(&number, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(number.text(), "12");
    }
    QGuiApplication::clipboard()->setText(QStringLiteral("xyz"));
    QTest::keyClick(&number, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(number.text(), "12");

    number.selectAll();
    QTest::keyClick(&number, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(number.text(), "");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "12");

    // The line edit's own deletions and redo never run.
    Number("ABCD", RADIX_HEX, UNIT_16BIT);
    number.setCursorPosition(4);
    QTest::keyClick(&number, Qt::Key_Backspace, Qt::ControlModifier);
    QTest::keyClick(&number, Qt::Key_K, Qt::ControlModifier);
    QTest::keyClick(&number, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(number.text(), "ABC");
}

TEST_F(CellEditor, StringEditReachesEveryByteOfTheRow)
{
    const Bytes row{'A', 'B', 0, 'C', 'D', 0, 0, 'E'};
    text.SetValue(row.data(), static_cast<std::uint32_t>(row.size()));
    EXPECT_EQ(text.text(), "AB.CD..E"); // a zero byte hides nothing after it

    // Overtype the first zero byte and the E, in place.
    text.setSelection(2, 1);
    QTest::keyClick(&text, 'x');
    text.setSelection(7, 1);
    QTest::keyClick(&text, 'y');
    EXPECT_EQ(text.Bytes(), (Bytes{'A', 'B', 'x', 'C', 'D', 0, 0, 'y'}));
    EXPECT_EQ(text.text(), "ABxCD..y");

    // Full: a further character is refused; Backspace and Delete free room.
    text.setCursorPosition(8);
    QTest::keyClick(&text, 'z');
    EXPECT_EQ(text.Bytes().size(), 8u);
    QTest::keyClick(&text, Qt::Key_Backspace);
    text.setCursorPosition(0);
    QTest::keyClick(&text, Qt::Key_Delete);
    EXPECT_EQ(text.text(), "BxCD..");
    QTest::keyClick(&text, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text.text(), "ABxCD..");

    // Pasting stops at the first character that does not fit.
    QGuiApplication::clipboard()->setText(QStringLiteral("123"));
    text.setCursorPosition(0);
    QTest::keyClick(&text, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text.text(), "1ABxCD..");

    Bytes out;
    EXPECT_TRUE(text.GetValue(out, nullptr));
    EXPECT_EQ(out, (Bytes{'1', 'A', 'B', 'x', 'C', 'D', 0, 0}));
    EXPECT_TRUE(text.Bytes().empty()); // taken: the editor holds nothing now
}

TEST_F(CellEditor, StringEditDeletionsShortenTheValue)
{
    Bytes row(16, 'a');
    text.SetValue(row.data(), 16);
    text.setCursorPosition(16);
    QTest::keyClick(&text, Qt::Key_Backspace);
    QTest::keyClick(&text, Qt::Key_Backspace);
    Bytes out;
    text.GetValue(out, nullptr);
    EXPECT_EQ(out.size(), 14u); // the grid keeps the row's last two bytes

    // Shift+Delete cuts the selection; bytes and text stay in step.
    text.SetValue(row.data(), 4);
    text.setSelection(1, 2);
    QTest::keyClick(&text, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(text.text(), "aa");
    EXPECT_EQ(text.Bytes(), (Bytes{'a', 'a'}));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "aa");
}

TEST_F(CellEditor, StringEditCountsDoubleByteCharactersInBytes)
{
    DoubleBytePage page;
    const platform::CodePage& previous = platform::AnsiCodePage();
    platform::SetAnsiCodePage(&page);
    const Bytes row{'a', 'b', 'c', 'd'};
    text.SetValue(row.data(), 4);
    text.setCursorPosition(4);
    QTest::keyClick(&text, Qt::Key_Backspace);
    TypeChar(text, 0x4E41); // two bytes, one free: refused
    EXPECT_EQ(text.Bytes(), (Bytes{'a', 'b', 'c'}));
    QTest::keyClick(&text, Qt::Key_Backspace);
    TypeChar(text, 0x4E41);
    EXPECT_EQ(text.Bytes(), (Bytes{'a', 'b', 0x81, 0x41}));
    EXPECT_EQ(text.text(), QString::fromUtf16(u"ab\u4E41"));
    // One character, two bytes: Backspace takes both.
    QTest::keyClick(&text, Qt::Key_Backspace);
    EXPECT_EQ(text.Bytes(), (Bytes{'a', 'b'}));
    platform::SetAnsiCodePage(&previous);
}

// A row of Shift_JIS as a Japanese Windows program writes it: typed kanji take
// two bytes, half-width katakana one, and a pasted text stops where the row is full.
TEST_F(CellEditor, StringEditWritesShiftJisBytes)
{
    const platform::CodePage& previous = platform::AnsiCodePage();
    ASSERT_TRUE(platform::SelectAnsiCodePage(platform::kCodePageJapanese));
    const Bytes row{0x93, 0xFA, 0x96, 0x7B, 'A', 0x00};
    text.SetValue(row.data(), 6);
    EXPECT_EQ(text.text(), QString::fromUtf8("日本A."));
    text.setCursorPosition(2);
    QTest::keyClick(&text, Qt::Key_Delete); // 'A'; one byte is free
    TypeChar(text, u'語');                  // two bytes: refused
    EXPECT_EQ(text.Bytes(), (Bytes{0x93, 0xFA, 0x96, 0x7B, 0x00}));
    TypeChar(text, u'ｱ');
    EXPECT_EQ(text.Bytes(), (Bytes{0x93, 0xFA, 0x96, 0x7B, 0xB1, 0x00}));
    EXPECT_EQ(text.text(), QString::fromUtf8("日本ｱ."));
    text.setCursorPosition(4);
    QTest::keyClick(&text, Qt::Key_Backspace);
    QTest::keyClick(&text, Qt::Key_Backspace);
    TypeChar(text, u'語');
    EXPECT_EQ(text.Bytes(), (Bytes{0x93, 0xFA, 0x96, 0x7B, 0x8C, 0xEA}));
    EXPECT_EQ(text.text(), QString::fromUtf8("日本語"));

    text.selectAll();
    QGuiApplication::clipboard()->setText(QString::fromUtf8("ｶﾅ漢字テスト"));
    text.Paste();
    EXPECT_EQ(text.Bytes(), (Bytes{0xB6, 0xC5, 0x8A, 0xBF, 0x8E, 0x9A}));
    std::vector<std::uint8_t> out;
    EXPECT_TRUE(text.GetValue(out, nullptr));
    EXPECT_EQ(out, (Bytes{0xB6, 0xC5, 0x8A, 0xBF, 0x8E, 0x9A}));
    platform::SetAnsiCodePage(&previous);
    platform::SelectAnsiCodePage(platform::kCodePageWestern);
}

TEST_F(CellEditor, ContextMenuIsTheLanguageLibrarysOwn)
{
    CResourceHandle resources;
    const char* bin = std::getenv("MEMORIX_BIN_DIR");
    ASSERT_TRUE(resources.Load(std::string(bin ? bin : ".") + "/MEMORIXEnu.so")) << resources.Error();
    owner.resources = &resources;
    Number("1234", RADIX_HEX, UNIT_16BIT);
    number.resize(60, 20);
    number.show();
    number.setSelection(0, 2);

    QStringList items;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName(), "popup104");
        for (QAction* action : menu->actions())
            items << action->objectName();
        // Its Delete item goes to the editor's own clear.
        for (QAction* action : menu->actions()) {
            if (action->data().toInt() == res::ID_EDIT_CLEAR)
                action->trigger();
        }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
    QApplication::sendEvent(&number, &event);
    EXPECT_EQ(items, (QStringList{"command57643", "", "command57635", "command57634", "command57637", "command57632",
                                  "", "command57642"}));
    EXPECT_EQ(number.text(), "34");
    EXPECT_EQ(number.UndoText(), "1234");
}
