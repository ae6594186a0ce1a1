// Clipboard text pasted at a cell and over a selection: the first bytes choose
// radix, unit, columns and where; the rest is the text.
#include "FuzzSupport.h"

#include "grid/GridClipboard.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::Choices choices(data, size);
    DisplaySetting setting;
    setting.radix = static_cast<codec::Radix>(choices.Next() % 6);
    setting.unit = static_cast<codec::Unit>(choices.Next() % 4);
    setting.columnSetting = 1 + choices.Next() % 16;
    const int row = choices.Next() % 12 - 1;
    const int column = choices.Next() % 20 - 1;
    const int rows = choices.Next() % 6;
    const int columns = choices.Next() % 6;
    static const CEditData block = fuzzsupport::PatternBlock(37);
    const GridLayout layout(block, setting.Normalised());
    const std::string_view text = choices.Rest();
    const auto atCell = PasteText(layout, text, GridCell{row, column});
    if (atCell && atCell->size() != block.Data.size())
        __builtin_trap();
    // The same over a selection made from its bottom right corner, and a copy of it.
    const CellRange range{column + columns, row + rows, column, row};
    (void)CopyText(layout, range);
    const auto overRange = PasteText(layout, text, range);
    if (overRange && overRange->size() != block.Data.size())
        __builtin_trap();
    return 0;
}
