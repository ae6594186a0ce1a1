#include "ViewTestSupport.h"

#include <QDir>
#include <QTableView>
#include <QTest>

#include <cstring>

using namespace codec;

namespace {

class GridViewPaint : public viewtest::ViewTest {
protected:
    // The view in an active window with the focus in the table.
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

    // The colour at a cell's pixel (dx, dy from its top left; negative from its bottom right).
    QColor At(int row, int column, int dx, int dy) const
    {
        const QRect cell = view->GetCellRect(row, column);
        const QPoint point(dx >= 0 ? cell.left() + dx : cell.right() + 1 + dx,
                           dy >= 0 ? cell.top() + dy : cell.bottom() + 1 + dy);
        return view->List().viewport()->grab().toImage().pixelColor(point);
    }

    template <typename T>
    static std::vector<std::uint8_t> Bytes(std::initializer_list<T> values)
    {
        std::vector<std::uint8_t> bytes(values.size() * sizeof(T));
        std::memcpy(bytes.data(), std::data(values), bytes.size());
        return bytes;
    }

    // Writes the bytes into DT and saves the focused grid as <name>.png, with
    // the current cell or a range of two rows and three columns selected.
    void Screenshot(const QString& name, const std::vector<std::uint8_t>& bytes, bool range = false)
    {
        Write(DeviceCode::DT, bytes);
        CMemorixView& grid = ShowFocused();
        if (range)
            grid.SelectRange(0, 1, 1, 3);
        const QString folder = QStringLiteral(MEMORIX_SCREENSHOT_DIR);
        ASSERT_TRUE(QDir().mkpath(folder));
        EXPECT_TRUE(grid.grab().save(folder + "/" + name + ".png"));
    }
};

} // namespace

TEST_F(GridViewPaint, CurrentCellAndRangeCarryTheDottedBorder)
{
    NewDocument();
    CMemorixView& grid = ShowFocused();
    const QPalette palette = grid.List().palette();
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    const QColor black(Qt::black);

    // The current cell (0, 0): a dot on every second pixel of each side, the
    // fill inside the dots.
    EXPECT_EQ(At(0, 1, 0, 0), black);
    EXPECT_EQ(At(0, 1, 0, 1), base);
    EXPECT_EQ(At(0, 1, 2, -1), black);
    EXPECT_EQ(At(0, 1, -1, 2), black);
    EXPECT_EQ(At(0, 1, 1, 1), highlight);
    EXPECT_EQ(At(0, 2, 1, 1), base);

    // Rows 1 to 3, columns 1 and 2: dots on the range's outer edges only, the
    // fill up to the inner edges.
    grid.SelectRange(1, 1, 3, 2);
    EXPECT_EQ(At(2, 2, 0, 0), black);     // left edge
    EXPECT_EQ(At(2, 2, 3, 0), highlight); // no top edge inside the range
    EXPECT_EQ(At(2, 2, -1, 2), highlight);
    EXPECT_EQ(At(1, 3, 2, 0), black); // top right corner
    EXPECT_EQ(At(1, 3, 1, 0), base);
    EXPECT_EQ(At(1, 3, -1, 2), black);
    EXPECT_EQ(At(1, 3, 0, 2), highlight);
    EXPECT_EQ(At(0, 1, 0, 0), base); // the cell that was current

    grid.List().clearFocus(); // without the focus: the fill, no dots
    EXPECT_EQ(At(2, 2, 0, 0), highlight);
}

// Screenshots of the grid for a look at it.

TEST_F(GridViewPaint, HexadecimalWithTextColumn)
{
    NewDocument();
    const std::string text = "Memorix PLC dataLine 2: pump ON Tank level = 73%";
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    for (const std::uint8_t byte : Bytes<std::uint16_t>(
             {0x0FED, 0x1FDA, 0xBEEF, 0xFFFF, 0x7F80, 0x00FF, 0x8000, 0x1234, 0x0000, 0x4142, 0xC0DE, 0x0001}))
        bytes.push_back(byte);
    Screenshot("grid_hex16", bytes);
}

TEST_F(GridViewPaint, Decimal32Bit)
{
    NewDocument();
    frame.radixIndex = codec::ToInt(RADIX_DEC);
    frame.unitData = codec::ToInt(UNIT_32BIT);
    Screenshot("grid_dec32",
               Bytes<std::int32_t>({0, 1, -1, 2147483647, -2147483647 - 1, 123456, -98765, 42, 65536, -300000}), true);
}

TEST_F(GridViewPaint, SingleReal)
{
    NewDocument();
    frame.radixIndex = codec::ToInt(RADIX_FLOAT);
    frame.unitData = codec::ToInt(UNIT_32BIT);
    Screenshot("grid_float", Bytes<float>({1.5f, -273.15f, 3.14159265f, 1e10f, -1e-5f, 0.1f, 12345678.0f, 3.4028235e38f,
                                           0.0f, 100.0f}));
}
