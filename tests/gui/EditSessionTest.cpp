// A user's session in the main window, with the real message boxes and file
// dialogs where they matter: open a file, type values in several radixes,
// meet a rejected value, select with the keys and the mouse, copy, paste,
// cut, undo, redo, save and reopen.

#include "GuiTestSupport.h"

#include "ui/shared/CommandTable.h"
#include "ui/frame/QtFileDialogs.h"
#include "ui/shared/QtMessageBox.h"
#include "document/CMemorixDoc.h"
#include "ui/view/CMemorixView.h"
#include "ui/view/CNumberEdit.h"
#include "ui/view/CStringEdit.h"
#include "ui/view/GridModel.h"
#include "ui/view/GridSelection.h"
#include "resources/ResourceIds.h"
#include "support/ModelChoice.h"
#include "support/RunProcess.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTableView>
#include <QTest>
#include <QTimer>

using guitest::FrameTest;
using Bytes = std::vector<std::uint8_t>;

namespace {

class EditSession : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        // The real message boxes, so that the editor loses the focus to one.
        app.reset();
        app = std::make_unique<CMemorixApp>(AppServices{boxes, resources, settings, testsupport::BuiltCatalogue()});
    }

    CMemorixView& View() { return *Frame().View(); }

    void Choose(int box, int index)
    {
        QComboBox* combo = Frame().DataToolBar().Box(box);
        ASSERT_NE(combo, nullptr) << box;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        QApplication::processEvents();
    }
    void ChooseUnit(codec::Unit unit)
    {
        QComboBox* combo = Frame().DataToolBar().Box(206);
        Choose(206, combo->findData(codec::ToInt(unit)));
    }

    // The widget with the keyboard focus.
    QWidget* Focus()
    {
        QWidget* focus = QApplication::focusWidget();
        EXPECT_NE(focus, nullptr);
        return focus ? focus : &Frame();
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(Focus(), key, mods); }
    void Type(const char* text)
    {
        for (const char* c = text; *c; ++c)
            QTest::keyClick(Focus(), *c);
    }
    void Mouse(QEvent::Type type, Qt::MouseButton button, int row, int column,
               Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* viewport = View().List().viewport();
        const QPoint at = View().GetCellRect(row, column + 1).center();
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, at, viewport->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                          mods);
        QApplication::sendEvent(viewport, &event);
    }

    std::uint16_t Word(int index)
    {
        const CEditData* block = app->GetActiveDoc()->FindBlock(DeviceCode::DT, 0);
        return static_cast<std::uint16_t>(block->Data[2 * index] | block->Data[2 * index + 1] << 8);
    }

    QtMessageBox boxes;
};

} // namespace

TEST_F(EditSession, AUsersSessionEndsInTheExpectedFile)
{
    const std::string path = MakeFile("session.ldtx", 1792, {{DeviceCode::DT, {0, 31}}});
    dialogs.openPath = path;
    Trigger(57601);
    ASSERT_NE(app->GetActiveDoc(), nullptr);
    CMainFrame& frame = Frame();
    boxes.SetParent(&frame);
    frame.show();
    dialogtest::Activate(frame);
    CMemorixView& view = View();
    view.List().setFocus();

    // Hexadecimal: move with the keys and type two values.
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Type("ab");
    Key(Qt::Key_Return);
    Type("7fff");
    Key(Qt::Key_Tab);
    EXPECT_EQ(Word(10), 0x00AB);
    EXPECT_EQ(Word(11), 0x7FFF);

    // Decimal: a value that lost its sign is refused with message 1101 and
    // the editor stays until the value is mended.
    Choose(205, 2);
    Key(Qt::Key_Down);
    Type("-32768");
    Key(Qt::Key_Home);
    Key(Qt::Key_Delete);
    bool messageSeen = false;
    guitest::WhenModal([&](QWidget& box) {
        messageSeen = box.objectName() == QStringLiteral("message%1").arg(res::IDS_CELL_OUT_OF_RANGE);
        dialogtest::SaveScreenshot(box, "message_1101");
        static_cast<QMessageBox&>(box).button(QMessageBox::Ok)->click();
    });
    Key(Qt::Key_Return);
    dialogtest::Activate(frame); // back from the message box
    EXPECT_TRUE(messageSeen);
    ASSERT_TRUE(view.IsEditing());
    EXPECT_EQ(view.NumberEdit().text(), "32768");
    EXPECT_EQ(Word(8), 0);
    Key(Qt::Key_Home);
    Type("-");
    Key(Qt::Key_Return);
    EXPECT_FALSE(view.IsEditing());
    EXPECT_EQ(Word(8), 0x8000);

    // A single real.
    Choose(205, 4);
    EXPECT_EQ(view.Setting().unit, codec::UNIT_32BIT);
    Type("1.5");
    dialogtest::SaveScreenshot(frame, "editor_number");
    Key(Qt::Key_Return);
    EXPECT_EQ(Word(0), 0x0000);
    EXPECT_EQ(Word(1), 0x3FC0);

    // Back to hexadecimal words; the text column's editor replaces the row's text.
    Choose(205, 3);
    ChooseUnit(codec::UNIT_16BIT);
    Key(Qt::Key_End, Qt::ControlModifier);
    Key(Qt::Key_F2);
    ASSERT_EQ(view.EditorKind(), GridCellEditor::EDITOR_TEXT);
    dialogtest::SaveScreenshot(frame, "editor_text");
    Type("Z");
    Key(Qt::Key_Return);
    EXPECT_EQ(Word(24), 0x005A);

    // A range with Shift, copied and pasted elsewhere.
    Key(Qt::Key_Home, Qt::ControlModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    dialogtest::SaveScreenshot(frame, "range_selected");
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "0000\t3FC0\r\n8000\t0000\r\n");
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, 2, 4);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, 2, 4);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Word(21), 0x3FC0);
    EXPECT_EQ(Word(28), 0x8000);

    // A range with the mouse, cut; its context menu keeps the range.
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, 1, 2);
    Mouse(QEvent::MouseMove, Qt::LeftButton, 1, 3);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, 1, 3);
    QStringList enabled;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QApplication::processEvents();
        dialogtest::SaveScreenshot(*menu, "context_menu_103");
        for (QAction* action : menu->actions())
            if (!action->isSeparator() && action->isEnabled())
                enabled << action->objectName();
        menu->close();
    });
    Mouse(QEvent::MouseButtonPress, Qt::RightButton, 1, 3);
    Mouse(QEvent::MouseButtonRelease, Qt::RightButton, 1, 3);
    EXPECT_EQ(enabled, (QStringList{"command57643", "command57635", "command57634", "command57637", "command57632",
                                    "command57642", "command226", "command225", "command229"}));
    EXPECT_EQ(view.Selection().Range(), (CellRange{2, 1, 3, 1}));
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "00AB\t7FFF\r\n");
    EXPECT_EQ(Word(10), 0);

    // Undo twice (the cut, the paste), redo once (the paste).
    EXPECT_TRUE(frame.Commands().Action(57643)->isEnabled());
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Word(10), 0x00AB);
    EXPECT_EQ(Word(21), 0);
    EXPECT_TRUE(frame.Commands().Action(57644)->isEnabled());
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Word(21), 0x3FC0);
    EXPECT_FALSE(view.List().currentIndex().isValid());

    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(app->GetActiveDoc()->IsModified());
    const std::string saved = testsupport::ReadWholeFile(path);
    frame.CloseDocument();

    // The file holds exactly the values typed and pasted.
    Bytes expected(64, 0);
    const auto put = [&](int word, std::uint16_t value) {
        expected[2 * word] = static_cast<std::uint8_t>(value);
        expected[2 * word + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    put(1, 0x3FC0);
    put(8, 0x8000);
    put(10, 0x00AB);
    put(11, 0x7FFF);
    put(21, 0x3FC0);
    put(24, 0x005A);
    put(28, 0x8000);
    ASSERT_NE(frame.OpenDocument(path), nullptr);
    const CEditData* block = app->GetActiveDoc()->FindBlock(DeviceCode::DT, 0);
    EXPECT_EQ(block->Data, expected);
    frame.CloseDocument();

    NewDocument(1792, {{DeviceCode::DT, {0, 31}}});
    app->GetActiveDoc()->WriteBlockBytes(0, expected.data(), 64, DeviceCode::DT, 0);
    ASSERT_TRUE(app->GetActiveDoc()->OnSaveDocument(scratch.Path("expected.ldtx")));
    EXPECT_EQ(saved, testsupport::ReadWholeFile(scratch.Path("expected.ldtx")));
}

// What the grid draws selected is what the commands work on: after a key
// that cannot move (which ends a range), and after Shift with a click that
// follows moves with the keys.
TEST_F(EditSession, TheSelectionOnTheScreenIsTheOneTheCommandsUse)
{
    const std::string path = MakeFile("range.ldtx", 1792, {{DeviceCode::DT, {0, 31}}});
    CMainFrame& frame = Frame();
    ASSERT_NE(frame.OpenDocument(path), nullptr);
    frame.show();
    dialogtest::Activate(frame);
    CMemorixView& view = View();
    view.List().setFocus();
    const GridSelection& selection = view.Selection();
    const QColor highlight = view.List().palette().color(QPalette::Active, QPalette::Highlight);
    // Whether the window, as last drawn (its backing store), shows the cell selected.
    const auto drawnSelected = [&](int row, int column) {
        QApplication::processEvents();
        const QImage image = frame.screen()->grabWindow(frame.winId()).toImage();
        const QRect cell = view.GetCellRect(row, column + 1);
        const QPoint at = view.List().viewport()->mapTo(&frame, QPoint(cell.left() + 5, cell.center().y()));
        return image.pixelColor(at * image.devicePixelRatio()) == highlight;
    };
    const auto expectDrawnAsSelected = [&](int top, int left, int bottom, int right) {
        for (int row = top; row <= bottom; ++row)
            for (int column = left; column <= right; ++column)
                EXPECT_EQ(drawnSelected(row, column), selection.IsSelected(row, column))
                    << "row " << row << " column " << column;
    };

    // Hexadecimal words, 8 columns and the text column, rows 0 to 3.
    const struct {
        const char* what;
        int row, column;
        Qt::Key extend; // pressed twice with Shift
        Qt::Key stuck;  // cannot move from where that leaves the cursor
    } cases[] = {
        {"Up on row 0", 0, 1, Qt::Key_Right, Qt::Key_Up},
        {"Page Up on row 0", 0, 1, Qt::Key_Right, Qt::Key_PageUp},
        {"Left at column 0", 0, 0, Qt::Key_Down, Qt::Key_Left},
        {"Right at the last column", 0, 8, Qt::Key_Down, Qt::Key_Right},
        {"Down on the last row", 3, 1, Qt::Key_Right, Qt::Key_Down},
        {"Page Down on the last row", 3, 1, Qt::Key_Right, Qt::Key_PageDown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Mouse(QEvent::MouseButtonPress, Qt::LeftButton, c.row, c.column);
        Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, c.row, c.column);
        Key(c.extend, Qt::ShiftModifier);
        Key(c.extend, Qt::ShiftModifier);
        const CellRange range = selection.Block();
        EXPECT_EQ((range.right - range.left + 1) * (range.bottom - range.top + 1), 3);
        expectDrawnAsSelected(range.top, range.left, range.bottom, range.right);
        Key(c.stuck);
        EXPECT_FALSE(selection.HasRange());
        expectDrawnAsSelected(range.top, range.left, range.bottom, range.right);
    }

    // Moves with the keys, then Shift with a click: the range starts at the
    // cursor, not at the cell clicked before.
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, 0, 0);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, 0, 0);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, 2, 4, Qt::ShiftModifier);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, 2, 4, Qt::ShiftModifier);
    EXPECT_EQ(selection.Block(), (CellRange{2, 1, 4, 2}));
    expectDrawnAsSelected(0, 0, 3, 5);

    // Backspace on a cell opens its editor emptied, right-aligned as the cells are.
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, 1, 1);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, 1, 1);
    Type("ab");
    Key(Qt::Key_Return);
    ASSERT_EQ(Word(9), 0x00AB);
    Key(Qt::Key_Left);
    Key(Qt::Key_Backspace);
    ASSERT_TRUE(view.IsEditing());
    EXPECT_EQ(view.NumberEdit().text(), "");
    EXPECT_EQ(view.NumberEdit().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    Key(Qt::Key_Return);
    EXPECT_EQ(Word(9), 0);
    app->GetActiveDoc()->SetModifiedFlag(false);
}

TEST_F(EditSession, ABareNameGetsTheExtensionOfTheChosenFilter)
{
    QtFileDialogs real(&Frame());
    const auto save = [&](const std::string& filter, const std::string& extension, int choose) {
        SaveFileRequest request;
        request.filter = filter;
        request.defaultExtension = extension;
        request.proposedName = scratch.Path("bare");
        guitest::WhenModal([choose](QWidget& dialog) {
            auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            ASSERT_NE(types, nullptr);
            types->setCurrentIndex(choose);
            // As the user picks it: the box tells its index and its text.
            emit types->activated(choose);
            emit types->textActivated(types->itemText(choose));
            dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("bare"));
            QMetaObject::invokeMethod(&dialog, "accept");
        });
        EXPECT_TRUE(real.GetSaveFileName(request));
        return QFileInfo(QString::fromStdString(request.chosenPath)).fileName().toStdString();
    };
    const std::string data =
        resources.LoadString(res::IDS_FILTER_DATA) + resources.LoadString(res::IDS_FILTER_LEGACY_DATA);
    EXPECT_EQ(save(data, ".ldtx", 1), "bare.ldt");
    EXPECT_EQ(save(data, ".ldtx", 0), "bare.ldtx");
    EXPECT_EQ(save(resources.LoadString(res::IDS_FILTER_CSV), ".csv", 1), "bare.txt");
}

TEST_F(EditSession, SaveCommitsTheOpenEditOrStopsAtARejectedOne)
{
    const std::string path = MakeFile("commit.ldtx", 1792, {{DeviceCode::DT, {0, 15}}});
    CMainFrame& frame = Frame();
    ASSERT_NE(frame.OpenDocument(path), nullptr);
    frame.show();
    dialogtest::Activate(frame);
    View().List().setFocus();

    Type("12"); // the editor is still open when Save comes
    Trigger(57603);
    EXPECT_FALSE(View().IsEditing());
    EXPECT_FALSE(app->GetActiveDoc()->IsModified());
    frame.CloseDocument();
    ASSERT_NE(frame.OpenDocument(path), nullptr);
    EXPECT_EQ(Word(0), 0x0012);

    // A value out of range stops the save with its message; the file stays.
    const std::string before = testsupport::ReadWholeFile(path);
    frame.show();
    dialogtest::Activate(frame);
    View().List().setFocus();
    Choose(205, 2);
    Type("-32768");
    Key(Qt::Key_Home);
    Key(Qt::Key_Delete);
    bool told = false;
    guitest::WhenModal([&](QWidget& box) {
        told = box.objectName() == QStringLiteral("message%1").arg(res::IDS_CELL_OUT_OF_RANGE);
        static_cast<QMessageBox&>(box).button(QMessageBox::Ok)->click();
    });
    Trigger(57603);
    EXPECT_TRUE(told);
    EXPECT_TRUE(View().IsEditing());
    EXPECT_EQ(testsupport::ReadWholeFile(path), before);

    View().CancelEdit();
    app->GetActiveDoc()->SetModifiedFlag(false);
}
