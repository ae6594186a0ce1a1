// The grid view driven with keys and the mouse: the cursor and range, in-cell
// editing with its commit and rejection, the clipboard, clear, undo and redo.

#include "ViewTestSupport.h"

#include "ui/view/CNumberEdit.h"
#include "ui/view/CStringEdit.h"
#include "ui/view/GridModel.h"
#include "resources/ResourceIds.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QDir>

#include <cstring>
#include <functional>

using namespace codec;
using Bytes = std::vector<std::uint8_t>;

namespace {

class GridEditing : public viewtest::ViewTest {
protected:
    CMemorixView& Open(const Bytes& dt = {})
    {
        NewDocument();
        if (!dt.empty())
            Write(DeviceCode::DT, dt);
        app->GetActiveDoc()->SetModifiedFlag(false);
        CMemorixView& grid = MakeView();
        grid.show();
        grid.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&grid));
        grid.List().setFocus();
        return grid;
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target ? target : &view->List(), key, mods);
    }
    void Type(const char* text)
    {
        for (const char* c = text; *c; ++c)
            QTest::keyClick(QApplication::focusWidget(), *c);
    }

    // A mouse event on the cell's centre (list column = data column + 1), or
    // at a point of the viewport.
    QPoint CellCentre(int row, int column) const { return view->GetCellRect(row, column + 1).center(); }
    void Mouse(QEvent::Type type, Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* viewport = view->List().viewport();
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                      : type == QEvent::MouseMove        ? Qt::MouseButtons(Qt::LeftButton)
                                                                         : Qt::MouseButtons(button);
        QMouseEvent event(type, at, viewport->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                          mods);
        QApplication::sendEvent(viewport, &event);
    }

    std::uint16_t Word(int index) const
    {
        const CEditData* block = app->GetActiveDoc()->FindBlock(DeviceCode::DT, 0);
        return static_cast<std::uint16_t>(block->Data[2 * index] | block->Data[2 * index + 1] << 8);
    }

    const GridSelection& Sel() const { return view->Selection(); }
    std::vector<int> Cursor() const { return {Sel().CurCol(), Sel().CurRow()}; }
    CellRange Range() const { return Sel().Range(); }
};

} // namespace

TEST_F(GridEditing, KeysMoveTheCursorAndShiftMakesARange)
{
    CMemorixView& grid = Open();
    grid.SelectCell(5, 2);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(Sel().HasRange());
    EXPECT_EQ(Range(), (CellRange{2, 5, 4, 5}));
    EXPECT_EQ(Sel().AnchorCol(), 2);
    Key(Qt::Key_Right);
    EXPECT_FALSE(Sel().HasRange());
    EXPECT_EQ(Cursor(), (std::vector<int>{5, 5}));

    // Tab ends at the text column in the hexadecimal radix; Enter wraps rows
    // but not past the last one.
    Key(Qt::Key_End);
    EXPECT_EQ(Cursor(), (std::vector<int>{8, 5}));
    Key(Qt::Key_Tab);
    EXPECT_EQ(Cursor(), (std::vector<int>{8, 5}));
    grid.SelectCell(5, 7);
    EXPECT_TRUE(grid.Navigate(NavKey::Enter, false, false));
    EXPECT_EQ(Cursor(), (std::vector<int>{0, 6}));
    Key(Qt::Key_End, Qt::ControlModifier);
    Key(Qt::Key_Left);
    EXPECT_EQ(Cursor(), (std::vector<int>{7, 12}));
    EXPECT_FALSE(grid.Navigate(NavKey::Enter, false, false));
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Cursor(), (std::vector<int>{0, 0}));

    // Page Down moves a page less one row; with no row fully visible, one row.
    const int page = grid.RowsPerPage();
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Sel().CurRow(), std::min(12, page - 1));
    grid.List().setFixedHeight(grid.List().horizontalHeader()->height() + 2 * grid.List().frameWidth() + 8);
    QApplication::processEvents();
    grid.SelectCell(0, 0);
    EXPECT_EQ(grid.RowsPerPage(), 1);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Sel().CurRow(), 1);
    EXPECT_GE(grid.List().verticalScrollBar()->value(), 1); // scrolled into view

    // In decimal Tab stops at the last data column.
    grid.OnRadixChanged(codec::ToInt(RADIX_DEC));
    grid.SelectCell(0, 7);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Cursor(), (std::vector<int>{7, 0}));

    // The table's own current index never moved.
    EXPECT_FALSE(grid.List().currentIndex().isValid());
}

TEST_F(GridEditing, TypingOnACellEditsItAndEnterCommits)
{
    CMemorixView& grid = Open({0xFF, 0x00});
    Type("5");
    ASSERT_TRUE(grid.IsEditing());
    EXPECT_EQ(grid.EditorKind(), GridCellEditor::EDITOR_NUMBER);
    EXPECT_EQ(grid.NumberEdit().text(), "5");
    Key(Qt::Key_Return);
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_EQ(Word(0), 0x0005);
    EXPECT_EQ(Cursor(), (std::vector<int>{1, 0}));
    EXPECT_EQ(grid.FormatCell(0, 1), "0005");
    EXPECT_TRUE(app->GetActiveDoc()->IsModified());
    EXPECT_TRUE(grid.CanUndo());

    // F2 opens the cell as it is; Esc leaves it so.
    Key(Qt::Key_F2);
    EXPECT_EQ(grid.NumberEdit().text(), "0000");
    Type("77");
    Key(Qt::Key_Escape);
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_EQ(Word(1), 0);

    // A double click edits the cell clicked; an edit that changes nothing
    // makes no undo step.
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(2, 3));
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, CellCentre(2, 3));
    Mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, CellCentre(2, 3));
    ASSERT_TRUE(grid.IsEditing());
    EXPECT_EQ(Cursor(), (std::vector<int>{3, 2}));
    grid.OnEditUndo(); // nothing while an editor is open
    EXPECT_EQ(Word(0), 5);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Cursor(), (std::vector<int>{4, 2}));
    grid.OnEditUndo();
    EXPECT_EQ(Word(0), 0xFF);
    EXPECT_FALSE(grid.List().currentIndex().isValid());
}

TEST_F(GridEditing, ARejectedValueKeepsTheEditorUntilItIsFixed)
{
    CMemorixView& grid = Open({0x00, 0x80}); // -32768
    grid.OnRadixChanged(codec::ToInt(RADIX_DEC));
    Key(Qt::Key_F2);
    EXPECT_EQ(grid.NumberEdit().text(), "-32768");
    grid.NumberEdit().setCursorPosition(0);
    Key(Qt::Key_Delete);
    Key(Qt::Key_Return);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].stringId, res::IDS_CELL_OUT_OF_RANGE);
    EXPECT_TRUE(grid.IsEditing());
    EXPECT_EQ(grid.NumberEdit().text(), "32768");
    EXPECT_EQ(Word(0), 0x8000);
    EXPECT_FALSE(app->GetActiveDoc()->IsModified());

    Key(Qt::Key_End);
    Key(Qt::Key_Backspace); // 3276
    Key(Qt::Key_Return);
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_EQ(Word(0), 3276);

    // Losing the focus with a bad text drops it without a word.
    grid.OnRadixChanged(codec::ToInt(RADIX_HEX));
    grid.OnDataUnitChanged(codec::ToInt(UNIT_32BIT));
    grid.OnRadixChanged(codec::ToInt(RADIX_FLOAT));
    grid.SelectCell(0, 1);
    Key(Qt::Key_F2);
    grid.NumberEdit().setText("1e39");
    messages.ClearShown();
    EXPECT_TRUE(grid.EndEdit(false));
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_TRUE(messages.Shown().empty());
    EXPECT_EQ(Word(2), 0);
}

// A real cell opened and left as it was keeps its exact bits, whichever way
// the edit ends: the shown text is rounded and would write another value, or
// (NaN, infinities, the smallest values) used not to be taken at all. Typed
// into another cell, that shown text is taken.
TEST_F(GridEditing, AnUntouchedRealCellKeepsItsBits)
{
    const struct {
        codec::Radix radix;
        std::uint64_t bits;
        bool typedTextTaken;
    } cells[] = {
        {RADIX_FLOAT, 0x4B800001u, true},
        {RADIX_FLOAT, 0x3F800001u, true},
        {RADIX_FLOAT, 0x00800000u, true}, // the smallest normal
        {RADIX_FLOAT, 0x80000001u, true}, // a denormal
        {RADIX_FLOAT, 0x7FC00001u, true}, // a NaN with a payload
        {RADIX_FLOAT, 0xFF800000u, true},
        {RADIX_DOUBLE, 0x3FD3333333333334u, true},
        {RADIX_DOUBLE, 0x0000000000000001u, true},
        {RADIX_DOUBLE, 0x7FF0000000000000u, true},
        {RADIX_DOUBLE, 0xFFF8000000000000u, true},
        {RADIX_DOUBLE, 0x7FEFFFFFFFFFFFFFu, false}, // its shown text lies beyond the largest double
    };
    for (const auto& c : cells) {
        SCOPED_TRACE(testing::Message() << std::hex << c.bits);
        const std::size_t width = c.radix == RADIX_FLOAT ? 4 : 8;
        Bytes bytes(8 * width); // seven cells of the value, then a zero one
        for (std::size_t i = 0; i < 7 * width; ++i)
            bytes[i] = static_cast<std::uint8_t>(c.bits >> (8 * (i % width)));
        CMemorixView& grid = Open(bytes);
        grid.OnDataUnitChanged(codec::ToInt(c.radix == RADIX_FLOAT ? UNIT_32BIT : UNIT_64BIT));
        grid.OnRadixChanged(codec::ToInt(c.radix));
        grid.SelectCell(0, 0);
        const std::string shown = grid.FormatCell(0, 1);

        Key(Qt::Key_F2);
        Key(Qt::Key_Return); // on to (0, 1)
        Key(Qt::Key_F2);
        Key(Qt::Key_Tab); // on to (0, 2)
        Key(Qt::Key_F2);
        Mouse(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(0, 3));
        Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, CellCentre(0, 3));
        Key(Qt::Key_F2);
        grid.NumberEdit().clearFocus();
        ASSERT_FALSE(grid.IsEditing());
        Mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, CellCentre(0, 4));
        ASSERT_TRUE(grid.IsEditing());
        Type("1"); // changed and changed back
        Key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(grid.NumberEdit().text().toStdString(), shown);
        Key(Qt::Key_Return);

        EXPECT_FALSE(grid.IsEditing());
        EXPECT_TRUE(messages.Shown().empty());
        const CEditData* block = app->GetActiveDoc()->FindBlock(DeviceCode::DT, 0);
        EXPECT_EQ(Bytes(block->Data.begin(), block->Data.begin() + static_cast<std::ptrdiff_t>(bytes.size())), bytes);
        EXPECT_FALSE(app->GetActiveDoc()->IsModified());
        EXPECT_FALSE(grid.CanUndo());

        grid.SelectCell(0, 7);
        Type(shown.c_str());
        Key(Qt::Key_Return);
        EXPECT_EQ(messages.Shown().empty(), c.typedTextTaken) << shown;
        if (c.typedTextTaken) {
            EXPECT_EQ(grid.FormatCell(0, 8), shown);
        }
        grid.CancelEdit();
        messages.ClearShown();
        app->GetActiveDoc()->SetModifiedFlag(false);
        app->CloseDocument();
        view.reset();
    }
}

TEST_F(GridEditing, TextColumnEditsTheRowsBytesInPlace)
{
    Bytes row{'H', 'i', 0, 0, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l'};
    CMemorixView& grid = Open(row);
    grid.SelectCell(0, 8);
    Key(Qt::Key_F2);
    ASSERT_EQ(grid.EditorKind(), GridCellEditor::EDITOR_TEXT);
    EXPECT_EQ(grid.StringEdit().text(), "Hi..abcdefghijkl");
    grid.StringEdit().setSelection(2, 1);
    Type("!");
    grid.StringEdit().setCursorPosition(16);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Return);
    EXPECT_EQ(Cursor(), (std::vector<int>{8, 1})); // Enter goes down the text column
    const CEditData* block = app->GetActiveDoc()->FindBlock(DeviceCode::DT, 0);
    row[2] = '!';
    EXPECT_EQ(Bytes(block->Data.begin(), block->Data.begin() + 16), row); // the last two bytes kept theirs
}

TEST_F(GridEditing, AnOpenEditorNeverWritesIntoAnotherSettingOrBlock)
{
    CMemorixView& grid = Open();
    grid.SelectCell(1, 1);
    Type("12");
    ASSERT_TRUE(grid.IsEditing());
    grid.OnColumnsChanged(4); // the cell (1, 1) would now be another address
    EXPECT_FALSE(grid.IsEditing());
    Type("3");
    grid.OnDeviceChanged(DeviceCode::TS);
    EXPECT_FALSE(grid.IsEditing());
    frame.device = DeviceCode::DT;
    grid.RefreshView();
    EXPECT_FALSE(app->GetActiveDoc()->IsModified());
}

TEST_F(GridEditing, MouseSelectsAndRightButtonKeepsTheRange)
{
    CMemorixView& grid = Open();
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(3, 4));
    Mouse(QEvent::MouseMove, Qt::LeftButton, CellCentre(1, 2));
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, CellCentre(1, 2));
    EXPECT_EQ(Range(), (CellRange{2, 1, 4, 3}));
    EXPECT_EQ(Cursor(), (std::vector<int>{2, 1}));

    // The right button inside the range keeps it (its release opens the menu).
    QTimer::singleShot(0, [] {
        if (QWidget* menu = QApplication::activePopupWidget())
            menu->close();
    });
    Mouse(QEvent::MouseButtonPress, Qt::RightButton, CellCentre(2, 3));
    Mouse(QEvent::MouseButtonRelease, Qt::RightButton, CellCentre(2, 3));
    EXPECT_TRUE(Sel().HasRange());
    EXPECT_EQ(Range(), (CellRange{2, 1, 4, 3}));

    // Shift and a click extend from the anchor.
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(0, 0));
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, CellCentre(0, 0));
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(2, 1), Qt::ShiftModifier);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, CellCentre(2, 1));
    EXPECT_EQ(Range(), (CellRange{0, 0, 1, 2}));

    // Held below the list, the range grows a row per move and scrolls.
    grid.resize(800, 120);
    QApplication::processEvents();
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(0, 1));
    const QPoint below(CellCentre(0, 1).x(), grid.List().height() + 20);
    for (int i = 0; i < 3; ++i)
        Mouse(QEvent::MouseMove, Qt::LeftButton, below);
    EXPECT_EQ(Range(), (CellRange{1, 0, 1, 3}));
    // Held still there, it goes on to the last row.
    EXPECT_TRUE(QTest::qWaitFor([&] { return Range().bottom == 12; }, 3000));
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, below);
    EXPECT_EQ(Range(), (CellRange{1, 0, 1, 12}));
    EXPECT_GT(grid.List().verticalScrollBar()->value(), 0);
    QTest::qWait(120);
    EXPECT_EQ(Range(), (CellRange{1, 0, 1, 12})); // released: no more steps
    EXPECT_FALSE(grid.List().currentIndex().isValid());
}

TEST_F(GridEditing, ClipboardClearUndoAndRedo)
{
    CMemorixView& grid = Open({1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0, 9, 0, 10, 0});
    grid.SelectRange(0, 0, 1, 1);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "0001\t0002\r\n0009\t000A\r\n");

    grid.SelectCell(3, 2);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid.FormatCell(3, 3), "0001");
    EXPECT_EQ(grid.FormatCell(4, 4), "000A");

    // Lines ended by LF alone are rows all the same.
    QGuiApplication::clipboard()->setText(QStringLiteral("11\t12\n13\t14\n"));
    grid.SelectCell(6, 0);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid.FormatCell(6, 2), "0012");
    EXPECT_EQ(grid.FormatCell(7, 1), "0013");

    grid.SelectRange(0, 1, 1, 2);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "0002\t0003\r\n000A\t0000\r\n");
    EXPECT_EQ(Word(1), 0);
    EXPECT_EQ(Word(3), 4); // between the rows, outside the columns

    grid.SelectCell(0, 0);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Word(0), 0);

    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Word(0), 1);
    EXPECT_EQ(Word(1), 2);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Word(1), 0);
    EXPECT_EQ(Word(0), 1);
    EXPECT_TRUE(grid.CanRedo());

    // The text column takes no paste or clear.
    grid.SelectCell(0, 8);
    Key(Qt::Key_V, Qt::ControlModifier);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Word(0), 1);
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Range(), (CellRange{0, 0, 8, 12}));
}

TEST_F(GridEditing, AGridWithoutRowsIgnoresEverything)
{
    NewDocument();
    frame.device = DeviceCode::LD; // no block of it
    CMemorixView& grid = MakeView();
    EXPECT_FALSE(grid.Navigate(NavKey::Down, false, false));
    EXPECT_FALSE(grid.Navigate(NavKey::End, true, true));
    grid.SelectAll();
    grid.ClearSelection();
    grid.StartEdit(0, 0);
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_EQ(Cursor(), (std::vector<int>{0, 0}));
    EXPECT_FALSE(Sel().HasRange());
}

TEST_F(GridEditing, ContextMenuFollowsTheSelection)
{
    CMemorixView& grid = Open({1, 0});
    grid.SelectCell(0, 8);
    QStringList disabled;
    QPoint shownAt;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        shownAt = menu->pos();
        for (QAction* action : menu->actions())
            if (!action->isSeparator() && !action->isEnabled())
                disabled << action->objectName();
        menu->close();
    });
    Key(Qt::Key_F10, Qt::ShiftModifier);
    // The Menu key opens it once, as Shift+F10 does.
    int opened = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            ++opened;
            menu->close();
        }
    });
    closer.start(5);
    Key(Qt::Key_Menu);
    QTest::qWait(50);
    closer.stop();
    EXPECT_EQ(opened, 1);
    // Take Other Value too: there is no comparison.
    EXPECT_EQ(disabled, (QStringList{"command57643", "command57644", "command57635", "command57637", "command57632",
                                     "command224"}));
    EXPECT_EQ(shownAt, grid.List().viewport()->mapToGlobal(grid.GetCellRect(0, 9).bottomRight()));
}

TEST_F(GridEditing, ACutCellTextIsWholeInItsToolTipAndEditor)
{
    const float big = 1e30f;
    Bytes bytes(4);
    std::memcpy(bytes.data(), &big, 4);
    CMemorixView& grid = Open(bytes);
    grid.OnDataUnitChanged(codec::ToInt(UNIT_32BIT));
    grid.OnRadixChanged(codec::ToInt(RADIX_FLOAT));
    const std::string whole = grid.FormatCell(0, 1);
    ASSERT_EQ(whole.size(), 33u); // 31 digits before the point

    const auto tipAt = [&](int row, int column) {
        QToolTip::hideText();
        (void)QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000);
        const QPoint at = CellCentre(row, column);
        QHelpEvent help(QEvent::ToolTip, at, grid.List().viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid.List().viewport(), &help);
        QTest::qWait(1);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipAt(0, 0).toStdString(), whole);
    EXPECT_EQ(tipAt(0, 1), ""); // 0.0 fits its cell

    Key(Qt::Key_F2);
    EXPECT_EQ(grid.NumberEdit().text().toStdString(), whole);
    Key(Qt::Key_Return);
    EXPECT_FALSE(app->GetActiveDoc()->IsModified()); // the whole text gives the same bytes back
    const QString folder = QStringLiteral(MEMORIX_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    EXPECT_TRUE(grid.grab().save(folder + "/grid_cut_real.png"));
}

TEST_F(GridEditing, OnlyTheCellsTheCursorLeavesAndEntersAreRedrawnAndNoneStaysMarked)
{
    CMemorixView& grid = Open();
    QApplication::processEvents();
    // What the window shows: its backing store, not a fresh rendering.
    const auto shown = [&](int row, int column) {
        QApplication::processEvents();
        const QImage image = grid.screen()->grabWindow(grid.winId()).toImage();
        const QPoint at = grid.List().viewport()->mapTo(&grid, QPoint(grid.GetCellRect(row, column + 1).left() + 5,
                                                                      grid.GetCellRect(row, column + 1).center().y()));
        return image.pixelColor(at * image.devicePixelRatio());
    };
    const QColor highlight = grid.List().palette().color(QPalette::Active, QPalette::Highlight);
    ASSERT_EQ(shown(0, 0), highlight);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_NE(shown(0, 0), highlight);
    EXPECT_EQ(shown(1, 1), highlight);
    Key(Qt::Key_Left);
    EXPECT_NE(shown(0, 1), highlight);
    EXPECT_EQ(shown(1, 0), highlight);
    grid.SelectCell(5, 5);
    Key(Qt::Key_Up);
    EXPECT_NE(shown(1, 0), highlight);
    EXPECT_NE(shown(5, 5), highlight);
    EXPECT_EQ(shown(4, 5), highlight);
}

TEST_F(GridEditing, TheViewGoesAwayWithAnEditorOpen)
{
    CMemorixView& grid = Open();
    Type("12");
    ASSERT_TRUE(grid.IsEditing());
    app->CloseDocument();
    view.reset(); // nothing is written, nothing is left behind
}

// Whatever shows the enable state of undo and redo hears of every commit,
// change, undo and redo through the view, and of nothing that changed nothing.
TEST_F(GridEditing, EveryChangeThroughTheViewIsAnnounced)
{
    CMemorixView& grid = Open({1, 0, 2, 0});
    QSignalSpy announced(&grid, &CMemorixView::CommandStateChanged);
    struct Case {
        const char* what;
        std::function<void()> act;
        int announcements;
    };
    const Case cases[] = {
        {"a commit", [&] { Type("7"), Key(Qt::Key_Return); }, 1},
        {"a commit that changes nothing", [&] { Key(Qt::Key_F2), Key(Qt::Key_Return); }, 1},
        {"a rejected commit",
         [&] {
             Key(Qt::Key_F2);
             grid.NumberEdit().setText("-");
             grid.EndEdit(true);
         },
         0},
        {"the fixed commit", [&] { grid.NumberEdit().setText("9"), grid.EndEdit(true); }, 1},
        {"a cancelled edit", [&] { Type("5"), Key(Qt::Key_Escape); }, 0},
        {"clear", [&] { Key(Qt::Key_Delete); }, 1},
        {"undo", [&] { grid.OnEditUndo(); }, 1},
        {"redo", [&] { grid.OnCommand(res::ID_EDIT_REDO); }, 1},
        {"redo with nothing to redo", [&] { grid.OnEditRedo(); }, 0},
        {"copy", [&] { Key(Qt::Key_C, Qt::ControlModifier); }, 0},
        {"paste", [&] { Key(Qt::Key_V, Qt::ControlModifier); }, 1},
        {"select all", [&] { grid.SelectAll(); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        announced.clear();
        c.act();
        EXPECT_EQ(announced.count(), c.announcements);
    }
    EXPECT_FALSE(grid.IsEditing());
}
