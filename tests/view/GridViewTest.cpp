#include "ViewTestSupport.h"

#include "ui/view/GridModel.h"

#include <QHeaderView>
#include <QTableView>

using namespace codec;
using GridView = viewtest::ViewTest;
using Texts = std::vector<std::string>;

namespace {

std::vector<int> Widths(const CMemorixView& view)
{
    std::vector<int> widths;
    for (int i = 0; i < view.List().horizontalHeader()->count(); ++i)
        widths.push_back(view.List().horizontalHeader()->sectionSize(i));
    return widths;
}

// The label column, count data columns and the text column when there is one.
std::vector<int> Expected(int data, int count, int text = 0)
{
    std::vector<int> widths(static_cast<std::size_t>(count) + 1, data);
    widths[0] = 76;
    if (text)
        widths.push_back(text);
    return widths;
}

Texts Headers(const CMemorixView& view, int first, int count)
{
    Texts texts;
    for (int i = first; i < first + count; ++i)
        texts.push_back(view.Model().headerData(i, Qt::Horizontal).toString().toStdString());
    return texts;
}

} // namespace

TEST_F(GridView, ShowsTheChosenBlock)
{
    NewDocument();
    CMemorixView& grid = MakeView();
    EXPECT_EQ(grid.Model().rowCount(), 13);
    EXPECT_EQ(grid.FormatCell(12, 0), "DT    96");
    EXPECT_EQ(Widths(grid), Expected(46, 8, 115));
    EXPECT_EQ(grid.Model().headerData(9, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
              Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(frame.toolbarShown, true);
    EXPECT_EQ(frame.panes, (Texts{"", " DT     0", " DT     0 -     99", ""}));
}

TEST_F(GridView, MissingBlockOrNoDevicesLeaveAnEmptyGrid)
{
    NewDocument();
    frame.device = DeviceCode::LD; // no range of it in the document
    CMemorixView& grid = MakeView();
    EXPECT_EQ(grid.Model().rowCount() + grid.Model().columnCount(), 0);
    EXPECT_EQ(frame.toolbarShown, false);
    EXPECT_EQ(frame.panes, Texts(4));

    frame.device = DeviceCode::DT;
    app->Plc().m_aDeviceInfo = {};
    grid.RefreshView();
    EXPECT_TRUE(grid.List().isHidden());
    EXPECT_EQ(grid.Model().columnCount(), 0);
    EXPECT_EQ(frame.panes, Texts(4));
}

TEST_F(GridView, RadixBoxRefillsTheUnitsAndReformats)
{
    NewDocument();
    Write(DeviceCode::DT, {0x10, 0x11, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x3F});
    CMemorixView& grid = MakeView();
    grid.SelectCell(2, 3);
    grid.OnRadixChanged(codec::ToInt(RADIX_HEX)); // the radix shown: nothing is rebuilt
    EXPECT_EQ(grid.Selection().CurRow(), 2);
    EXPECT_TRUE(frame.toolbarUpdates.empty());

    grid.OnRadixChanged(codec::ToInt(RADIX_DEC));
    EXPECT_EQ(frame.radix, RADIX_DEC);
    ASSERT_EQ(frame.toolbarUpdates.size(), 1u);
    const DataToolbarUpdate& update = frame.toolbarUpdates[0];
    EXPECT_TRUE(update.unit && update.show && !update.radix && !update.columns);
    EXPECT_EQ(update.deviceIndex + update.bankIndex, -2);
    EXPECT_EQ(grid.FormatCell(0, 1), "4368");
    EXPECT_EQ(Widths(grid), Expected(66, 8));

    grid.OnRadixChanged(codec::ToInt(RADIX_FLOAT)); // the frame keeps only the 32-bit unit
    EXPECT_EQ(grid.Setting().unit, UNIT_32BIT);
    EXPECT_EQ(grid.FormatCell(0, 2), "1.5");
    EXPECT_EQ(Widths(grid), Expected(102, 8));
    grid.OnRadixChanged(codec::ToInt(RADIX_BIN)); // the 32-bit unit stays
    EXPECT_EQ(Headers(grid, 1, 3), (Texts{"+0", "+2", "+4"}));
}

TEST_F(GridView, UnitAndColumnBoxesReshapeTheGrid)
{
    NewDocument();
    CMemorixView& grid = MakeView();
    grid.OnDataUnitChanged(codec::ToInt(UNIT_8BIT));
    EXPECT_EQ(frame.unit, UNIT_8BIT);
    EXPECT_EQ(Widths(grid), Expected(24, 16, 115));
    EXPECT_EQ(Headers(grid, 1, 4), (Texts{"+0", "", "+1", ""}));
    grid.OnColumnsChanged(11);
    EXPECT_EQ(frame.columns, 11);
    EXPECT_EQ(Widths(grid).at(1), 35); // room for "+10"

    grid.OnRadixChanged(codec::ToInt(RADIX_BIN));
    grid.OnDataUnitChanged(codec::ToInt(UNIT_16BIT));
    grid.OnColumnsChanged(16);
    EXPECT_EQ(grid.Model().rowCount(), 7);
    EXPECT_EQ(Widths(grid), Expected(145, 16));
}

TEST_F(GridView, DeviceAndBankBoxesShowOtherBlocks)
{
    NewDocument(true);
    CMemorixView& grid = MakeView();
    frame.device = DeviceCode::FL;
    grid.OnDeviceChanged(DeviceCode::FL);
    EXPECT_EQ(frame.bankRefills, std::vector<int>{0});
    EXPECT_EQ(grid.Model().rowCount(), 8);
    EXPECT_EQ(frame.panes[2], " FL     0 -     63");
    frame.bank = 1;
    grid.OnBankChanged(1);
    EXPECT_EQ(grid.Model().rowCount(), 4);
    EXPECT_EQ(grid.FormatCell(1, 0), "FL   108");
}

TEST_F(GridView, StatusPanesFollowTheCursor)
{
    NewDocument();
    frame.device = DeviceCode::TS; // two words per address: 4 addresses a row
    CMemorixView& grid = MakeView();
    EXPECT_EQ(frame.panes[2], " TS    10 -     29");
    grid.SelectCell(1, 3);
    EXPECT_EQ(frame.panes[1], " TS    15");
    grid.SelectCell(1, 8); // the text column: the row's first address
    EXPECT_EQ(frame.panes[1], " TS    14");
    grid.SelectRange(0, 0, 2, 5); // the moving corner is the current cell
    EXPECT_EQ(frame.panes[1], " TS    20");
    frame.device = DeviceCode::DT;
    grid.RefreshView();
    grid.SelectCell(12, 5); // after the end of the data
    EXPECT_EQ(frame.panes[1], "");
}

TEST_F(GridView, ResetFromCombosDropsTheNamesAndReadsTheBoxes)
{
    NewDocument();
    CMemorixView& grid = MakeView();
    grid.SetDispDevStrings({stDeviceInfo{0, DeviceCode::DT, 0, "DR"}});
    grid.RefreshView();
    EXPECT_EQ(grid.FormatCell(1, 0), "DR     8");

    frame.radixIndex = codec::ToInt(RADIX_DEC);
    frame.unitData = codec::ToInt(UNIT_8BIT);
    frame.columnIndex = 3;
    grid.ResetFromCombos();
    grid.RefreshView();
    EXPECT_EQ(grid.Setting(), (DisplaySetting{RADIX_DEC, UNIT_8BIT, 4}));
    EXPECT_EQ(grid.FormatCell(1, 0), "DT     4");
}

TEST_F(GridView, ReloadKeepsTheColumnsAndUpdateRestartsTheUndoHistory)
{
    CMemorixDoc& doc = NewDocument();
    CMemorixView& grid = MakeView();
    grid.List().horizontalHeader()->resizeSection(1, 90);
    Write(DeviceCode::DT, {0xAB, 0xCD});
    ASSERT_TRUE(app->GetUndoMap().RecordChange(doc, frame));
    EXPECT_TRUE(grid.ReloadFromDocument());
    EXPECT_EQ(grid.FormatCell(0, 1), "CDAB");
    EXPECT_EQ(Widths(grid).at(1), 90);

    EXPECT_TRUE(app->GetUndoMap().CanUndo(frame));
    grid.OnUpdate();
    EXPECT_FALSE(app->GetUndoMap().CanUndo(frame));
    EXPECT_EQ(Widths(grid).at(1), 46);
    app->CloseDocument();
    EXPECT_FALSE(grid.ReloadFromDocument());
}
