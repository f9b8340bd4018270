#include "formats/GridData.h"

void TGridData::Reset(int colCount, int rowCount, int colWidth, int rowHeight) {
    ColCount = colCount < 0 ? 0 : colCount;
    RowCount = rowCount < 0 ? 0 : rowCount;
    ColWidths.assign(static_cast<size_t>(ColCount), colWidth);
    RowHeights.assign(static_cast<size_t>(RowCount), rowHeight);
    Cells.assign(static_cast<size_t>(ColCount) * static_cast<size_t>(RowCount), TGridCell());
}

uint32_t EffectiveFontColor(const TGridCell& cell) {
    if (cell.ShownFontColor != KColorNone)
        return cell.ShownFontColor;
    return cell.HasProp ? cell.FontColor : KColorNone;
}
