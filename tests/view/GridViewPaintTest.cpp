#include "ViewTestSupport.h"

#include "grid/qt/GridModel.h"

#include <QTableView>
#include <QTest>

#include <cstring>

using namespace codec;

namespace {

class GridViewPaint : public viewtest::ViewTest {
protected:
    // The view shown in an active window with the focus in the table.
    CMemorixView& ShowFocused()
    {
        CMemorixView& grid = MakeView();
        grid.show();
        grid.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&grid));
        grid.List().setFocus();
        EXPECT_TRUE(grid.List().hasFocus());
        return grid;
    }

    QImage Table() const { return view->List().viewport()->grab().toImage(); }
    QColor Colour(QPalette::ColorRole role) const { return view->List().palette().color(QPalette::Active, role); }

    template <typename T>
    static void Append(std::vector<std::uint8_t>& bytes, T value)
    {
        std::uint8_t raw[sizeof(T)];
        std::memcpy(raw, &value, sizeof(T));
        bytes.insert(bytes.end(), raw, raw + sizeof(T));
    }
};

} // namespace

TEST_F(GridViewPaint, CurrentCellAndRangeCarryTheDottedBorder)
{
    NewDocument();
    CMemorixView& grid = ShowFocused();
    const QColor highlight = Colour(QPalette::Highlight);
    const QColor base = Colour(QPalette::Base);
    const QColor black(Qt::black);

    // The current cell (0, 0): dots on every second pixel of each side, the
    // fill inside them; its neighbour is not selected.
    QImage image = Table();
    QRect cell = grid.GetCellRect(0, 1);
    EXPECT_EQ(image.pixelColor(cell.topLeft()), black);
    EXPECT_EQ(image.pixelColor(cell.left(), cell.top() + 1), base);
    EXPECT_EQ(image.pixelColor(cell.left() + 2, cell.bottom()), black);
    EXPECT_EQ(image.pixelColor(cell.right(), cell.top() + 2), black);
    EXPECT_EQ(image.pixelColor(cell.left() + 1, cell.top() + 1), highlight);
    const QRect next = grid.GetCellRect(0, 2);
    EXPECT_EQ(image.pixelColor(next.left() + 1, next.top() + 1), base);

    // A range of rows 1 to 3 and columns 1 to 2: the border runs on its outer
    // edges only, the fill reaches the inner edges.
    grid.SelectRange(1, 1, 3, 2);
    image = Table();
    cell = grid.GetCellRect(2, 2); // left edge of the range
    EXPECT_EQ(image.pixelColor(cell.topLeft()), black);
    EXPECT_EQ(image.pixelColor(cell.left() + 3, cell.top()), highlight);
    EXPECT_EQ(image.pixelColor(cell.right(), cell.top() + 2), highlight);
    cell = grid.GetCellRect(1, 3); // top right corner
    EXPECT_EQ(image.pixelColor(cell.left() + 2, cell.top()), black);
    EXPECT_EQ(image.pixelColor(cell.left() + 1, cell.top()), base);
    EXPECT_EQ(image.pixelColor(cell.right(), cell.top() + 2), black);
    EXPECT_EQ(image.pixelColor(cell.left(), cell.top() + 2), highlight);
    EXPECT_EQ(image.pixelColor(grid.GetCellRect(0, 1).topLeft()), base); // the old current cell

    // Without the focus the range stays highlighted, without dots.
    grid.List().clearFocus();
    image = Table();
    EXPECT_EQ(image.pixelColor(grid.GetCellRect(2, 2).topLeft()), highlight);
}

// Screenshots of the grid for a look at it.

TEST_F(GridViewPaint, HexadecimalWithTextColumn)
{
    NewDocument();
    std::vector<std::uint8_t> bytes;
    for (const char* text : {"Memorix PLC data", "Line 2: pump ON ", "Tank level = 73%"})
        bytes.insert(bytes.end(), text, text + 16);
    for (int i = 0; i < 40; ++i)
        Append<std::uint16_t>(bytes, static_cast<std::uint16_t>(i * 0x0FED));
    Write(DeviceCode::DT, 0, bytes);
    CMemorixView& grid = ShowFocused();
    grid.SelectCell(0, 0);
    viewtest::SaveScreenshot(grid, "grid_hex16");
}

TEST_F(GridViewPaint, Decimal32Bit)
{
    NewDocument();
    std::vector<std::uint8_t> bytes;
    for (const std::int32_t value : {0, 1, -1, 2147483647, -2147483647 - 1, 123456, -98765, 42, 65536, -300000})
        Append(bytes, value);
    Write(DeviceCode::DT, 0, bytes);
    frame.radixIndex = RADIX_DEC;
    frame.unitData = UNIT_32BIT;
    CMemorixView& grid = ShowFocused();
    grid.SelectRange(0, 1, 1, 3);
    viewtest::SaveScreenshot(grid, "grid_dec32");
}

TEST_F(GridViewPaint, SingleReal)
{
    NewDocument();
    std::vector<std::uint8_t> bytes;
    for (const float value : {1.5f, -273.15f, 3.14159265f, 1e10f, -1e-5f, 0.1f, 12345678.0f, 3.4028235e38f, 0.0f, 100.0f})
        Append(bytes, value);
    Write(DeviceCode::DT, 0, bytes);
    frame.radixIndex = RADIX_FLOAT;
    frame.unitData = UNIT_32BIT;
    CMemorixView& grid = ShowFocused();
    viewtest::SaveScreenshot(grid, "grid_float");
}
