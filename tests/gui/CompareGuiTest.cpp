// A backup compared with the PLC after someone changed a few words with
// another tool, through the main window: the marks, F8 and Shift+F8, the tool
// tip, Take Other Value and its undo, Esc; then a file of another model, and a
// read that fails.

#include "GuiTestSupport.h"
#include "support/CommSession.h"
#include "support/SimulatorProcess.h"
#include "document/CMemorixDoc.h"
#include "grid/GridCompare.h"
#include "resources/ResourceIds.h"
#include "ui/frame/CompareController.h"
#include "ui/shared/CommandTable.h"
#include "ui/shared/ResourceDialog.h"
#include "ui/view/CMemorixView.h"
#include "ui/view/GridModel.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QToolTip>

#include <cstdlib>
#include <sstream>

using guitest::FrameTest;
using guitest::WhenModal;

namespace {

void WriteRegister(int port, int reference, int value)
{
    std::ostringstream cmd;
    cmd << "mbpoll -m tcp -p " << port << " -a 1 -0 -1 -t 4 -r " << reference << " 127.0.0.1 " << value
        << " >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.str().c_str()), 0) << cmd.str();
}

class CompareGuiTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        commtest::UseFreshSettingsFolder();
    }
    QString Pane() { return Frame().findChild<QLabel*>(QStringLiteral("comparePane"))->text(); }
    bool PaneShown() { return Frame().findChild<QLabel*>(QStringLiteral("comparePane"))->isVisibleTo(&Frame()); }
    CMemorixView& View() { return *Frame().View(); }
    // The addresses of the marked cells of the shown block, 16-bit cells.
    std::vector<int> Marked(compare::CellMark wanted)
    {
        std::vector<int> addresses;
        const GridLayout& layout = View().Model().Layout();
        for (int row = 0; row < layout.Rows(); ++row)
            for (int column = 0; column < layout.Columns(); ++column)
                if (layout.HasValue(row, column)
                    && MarkOfCell(*Frame().Compare().Comparison(), layout, row, column) == wanted)
                    addresses.push_back(static_cast<int>(*layout.CellAddress(row, column + 1)));
        return addresses;
    }
    int CursorAddress()
    {
        const GridSelection& selection = View().Selection();
        return static_cast<int>(*View().Model().Layout().CellAddress(selection.CurRow(), selection.CurCol() + 1));
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&View().List(), static_cast<Qt::Key>(key), modifiers);
        QApplication::processEvents();
    }
    void ConfirmRead()
    {
        WhenModal([](QWidget& confirm) { qobject_cast<ResourceDialog*>(&confirm)->Control<QPushButton>(1)->click(); });
    }
};

} // namespace

TEST_F(CompareGuiTest, ABackupAgainstThePlcAfterAnotherToolChangedIt)
{
    commtest::SimulatorProcess sim({"--model", "35"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    commtest::SaveTcpProfile(0, sim.Port());
    const std::string backup = MakeFile("backup.ldtx", 35, {{DeviceCode::DT, {0, 99}}});
    Frame().OpenDocument(backup);
    Frame().show();
    dialogtest::Activate(Frame());
    ASSERT_NE(app->GetActiveDoc(), nullptr);
    WriteRegister(sim.Port(), 7, 4242);
    WriteRegister(sim.Port(), 50, 1);
    WriteRegister(sim.Port(), 98, 65535);

    ConfirmRead();
    Trigger(res::ID_PLC_COMPARE);
    ASSERT_TRUE(Frame().Compare().IsComparing());
    EXPECT_EQ(Pane().toStdString(), "3 differences in 1 block");
    EXPECT_EQ(Marked(compare::CellMark::Differs), (std::vector<int>{7, 50, 98}));
    EXPECT_TRUE(Marked(compare::CellMark::NotCompared).empty());
    EXPECT_FALSE(app->GetActiveDoc()->IsModified()) << "comparing changes nothing";
    dialogtest::SaveScreenshot(Frame(), "compare-marked");

    // F8 visits each difference, then says there is none; Shift+F8 goes back.
    dialogtest::Activate(Frame());
    View().List().setFocus();
    std::vector<int> visited;
    for (int i = 0; i < 3; ++i) {
        Key(Qt::Key_F8);
        visited.push_back(CursorAddress());
    }
    EXPECT_EQ(visited, (std::vector<int>{7, 50, 98}));
    Key(Qt::Key_F8);
    EXPECT_EQ(CursorAddress(), 98);
    EXPECT_EQ(Frame().statusBar()->currentMessage().toStdString(), resources.LoadString(res::IDS_COMPARE_NO_NEXT));
    Key(Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(CursorAddress(), 50);

    // The tool tip of a differing cell tells the other side's value.
    Key(Qt::Key_F8, Qt::ShiftModifier);
    const QRect cell = View().GetCellRect(View().Selection().CurRow(), View().Selection().CurCol() + 1);
    QHelpEvent help(QEvent::ToolTip, cell.center(), View().List().viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(View().List().viewport(), &help);
    EXPECT_EQ(QToolTip::text().toStdString(), "Other side: 1092");
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->inherits("QTipLabel") && window->isVisible())
            dialogtest::SaveScreenshot(*window, "compare-tool-tip");

    // Take Other Value on everything: one undo step, and the result is Identical.
    Key(Qt::Key_A, Qt::ControlModifier);
    Trigger(res::ID_TAKE_OTHER_VALUE);
    EXPECT_EQ(Pane().toStdString(), "Identical");
    EXPECT_TRUE(Marked(compare::CellMark::Differs).empty());
    EXPECT_TRUE(app->GetActiveDoc()->IsModified());
    Trigger(res::ID_EDIT_UNDO);
    EXPECT_EQ(Pane().toStdString(), "3 differences in 1 block");
    Trigger(res::ID_EDIT_REDO);
    EXPECT_EQ(Pane().toStdString(), "Identical");

    // Esc in the grid ends the comparison; the commands follow.
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Frame().Compare().IsComparing());
    EXPECT_FALSE(PaneShown());
    EXPECT_FALSE(Frame().Commands().IsEnabled(res::ID_NEXT_DIFFERENCE));

    // A file of another model that holds part of the range: what only one
    // side holds is not compared, and the pane names the other model.
    const std::string other = MakeFile("other.ldtx", 1794, {{DeviceCode::DT, {90, 149}}});
    Frame().OpenDocument(backup);
    dialogs.openPath = other;
    Trigger(res::ID_FILE_COMPARE);
    ASSERT_TRUE(Frame().Compare().IsComparing());
    EXPECT_EQ(Pane().toStdString(), "Identical (other model: CA-500L)");
    EXPECT_EQ(Marked(compare::CellMark::NotCompared).size(), 90u);
    // The command again ends it.
    Trigger(res::ID_FILE_COMPARE);
    EXPECT_FALSE(Frame().Compare().IsComparing());

    // A read that fails leaves the document and the comparison as they were.
    sim.Stop();
    const EditDataArray before = app->GetActiveDoc()->Blocks();
    ConfirmRead();
    Trigger(res::ID_PLC_COMPARE);
    EXPECT_FALSE(Frame().Compare().IsComparing());
    EXPECT_EQ(app->GetActiveDoc()->Blocks(), before);
    bool failed = false;
    for (const auto& shown : messages.Shown())
        failed |= shown.stringId == res::IDS_TRANSFER_FAILED;
    EXPECT_TRUE(failed);
}
