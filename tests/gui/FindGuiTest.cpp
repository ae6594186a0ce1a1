// Go To, Find and Fill through the main window on a large file: Ctrl+G to an
// address, Ctrl+F for a decimal value across blocks, F3 through the matches,
// Find All's count, and Fill as one undo step.

#include "GuiTestSupport.h"
#include "document/CMemorixDoc.h"
#include "grid/GridFind.h"
#include "resources/ResourceIds.h"
#include "ui/frame/FindController.h"
#include "ui/shared/CommandTable.h"
#include "ui/shared/ResourceDialog.h"
#include "ui/view/CMemorixView.h"
#include "ui/view/GridModel.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

using guitest::FrameTest;
using guitest::WhenModal;

namespace {

class FindGuiTest : public FrameTest {
protected:
    CMemorixView& View() { return *Frame().View(); }
    std::string Cursor()
    {
        const GridSelection& selection = View().Selection();
        const GridLayout& layout = View().Model().Layout();
        return layout.CellStatusText(selection.CurRow(), selection.CurCol() + 1);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&View().List(), static_cast<Qt::Key>(key), modifiers);
        QApplication::processEvents();
    }
    template <typename T>
    static T* Control(QWidget& dialog, int id)
    {
        return qobject_cast<ResourceDialog*>(&dialog)->Control<T>(id);
    }
    void SetWord(std::uint8_t code, std::int32_t word, std::uint16_t value)
    {
        const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
        app->GetActiveDoc()->WriteBlockBytes(word * 2, bytes, 2, code, 0);
    }
};

} // namespace

TEST_F(FindGuiTest, GoToFindAndFillOnALargeFile)
{
    const std::string path = MakeFile("large.ldtx", 1794, {{DeviceCode::WR, {0, 99}}, {DeviceCode::DT, {0, 524287}}});
    Frame().OpenDocument(path);
    Frame().show();
    dialogtest::Activate(Frame());
    ASSERT_NE(app->GetActiveDoc(), nullptr);
    SetWord(DeviceCode::DT, 10, 1234);
    SetWord(DeviceCode::DT, 400001, 1234);
    SetWord(DeviceCode::WR, 5, 1234);
    View().OnUpdate(); // the undo histories start from these values
    View().List().setFocus();

    // Ctrl+G: an address outside the document is refused with the range shown.
    std::string refused;
    WhenModal([&](QWidget& dialog) {
        dialogtest::SaveScreenshot(dialog, "goto-dialog");
        Control<QLineEdit>(dialog, res::IDC_GOTO_ADDRESS)->setText("DT600000");
        Control<QPushButton>(dialog, 1)->click();
        refused = Control<QLabel>(dialog, res::IDC_GOTO_MESSAGE)->text().toStdString();
        dialogtest::SaveScreenshot(dialog, "goto-refused");
        Control<QLineEdit>(dialog, res::IDC_GOTO_ADDRESS)->setText("dt 400000");
        Control<QPushButton>(dialog, 1)->click();
    });
    Key(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(refused, "DT holds the addresses 0 to 524287 in this document.");
    EXPECT_EQ(Cursor(), " DT400000");

    // Ctrl+F: 1234 in decimal, every block, forward from the cursor.
    View().OnRadixChanged(2); // decimal
    View().SelectCell(50000, 0);
    ASSERT_EQ(Cursor(), " DT400000");
    std::string allMessage;
    WhenModal([&](QWidget& dialog) {
        Control<QLineEdit>(dialog, res::IDC_FIND_VALUE)->setText("1234");
        Control<QRadioButton>(dialog, res::IDC_FIND_EVERY_BLOCK)->setChecked(true);
        Control<QPushButton>(dialog, 1)->click();
        Control<QPushButton>(dialog, res::IDC_FIND_ALL)->click();
        allMessage = Control<QLabel>(dialog, res::IDC_FIND_MESSAGE)->text().toStdString();
        dialogtest::SaveScreenshot(dialog, "find-dialog");
        qobject_cast<QDialog*>(&dialog)->reject();
    });
    dialogtest::Activate(Frame());
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(Cursor(), " DT400001");
    EXPECT_EQ(allMessage, "3 matches, marked in the grid.");
    EXPECT_EQ(Frame().Find().Found().Count(), 3u);
    dialogtest::SaveScreenshot(Frame(), "find-marked");

    // F3 goes on across the blocks and wraps round; Shift+F3 goes back.
    dialogtest::Activate(Frame());
    std::vector<std::string> walked;
    for (int i = 0; i < 3; ++i) {
        Key(Qt::Key_F3);
        walked.push_back(Cursor());
    }
    EXPECT_EQ(walked, (std::vector<std::string>{" WR     5", " DT    10", " DT400001"}));
    Key(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(Cursor(), " DT    10");

    // Fill: one value into the selected cells, undone in one step.
    View().SelectRange(0, 0, 1, 3); // DT 0-3 and 8-11 in eight columns
    const EditDataArray before = app->GetActiveDoc()->Blocks();
    WhenModal([&](QWidget& dialog) {
        Control<QLineEdit>(dialog, res::IDC_FILL_VALUE)->setText("x");
        Control<QPushButton>(dialog, 1)->click();
        EXPECT_FALSE(Control<QLabel>(dialog, res::IDC_FILL_MESSAGE)->text().isEmpty());
        Control<QLineEdit>(dialog, res::IDC_FILL_VALUE)->setText("-7");
        dialogtest::SaveScreenshot(dialog, "fill-dialog");
        Control<QPushButton>(dialog, 1)->click();
    });
    Trigger(res::ID_EDIT_FILL);
    const CEditData* dt = app->GetActiveDoc()->FindBlock(DeviceCode::DT, 0);
    ASSERT_NE(dt, nullptr);
    const auto word = [&](int index) { return dt->Data[index * 2] | dt->Data[index * 2 + 1] << 8; };
    EXPECT_EQ(word(0), 0xFFF9);
    EXPECT_EQ(word(3), 0xFFF9);
    EXPECT_EQ(word(4), 0);
    EXPECT_EQ(word(8), 0xFFF9);
    EXPECT_EQ(word(11), 0xFFF9);
    EXPECT_EQ(word(12), 0);
    Trigger(res::ID_EDIT_UNDO);
    EXPECT_EQ(app->GetActiveDoc()->Blocks(), before);
}
