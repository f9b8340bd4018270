#pragma once
// A plain snapshot of the device table's grid: what parameter-set files, exports and printing need,
// without the widget. Row 0 is the header row, column 0 the names; cells are addressed (col, row).
#include "common/FileSave.h" // TFileResult, SaveFileBytes

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

// Colour value meaning "no colour" (the table's clNone).
inline constexpr uint32_t KColorNone = 0x1FFFFFFF;

enum class TCellAlign { Left, Center, Right };

struct TGridCell {
    QString Text;
    bool HasCheckBox = false;
    bool Checked = false;
    // Stored cell properties (the coupled row's font colour); written to and read from parameter sets.
    bool HasProp = false;
    uint32_t FontColor = KColorNone;
    // Appearance as the table shows it; used by exports and printing, never stored in parameter sets.
    TCellAlign Alignment = TCellAlign::Left;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    uint32_t ShownFontColor = KColorNone;  // KColorNone: the default text colour
    uint32_t ShownBrushColor = KColorNone; // KColorNone: the default background
};

struct TGridData {
    int ColCount = 0;
    int RowCount = 0;
    std::vector<int> ColWidths;   // pixels, one per column
    std::vector<int> RowHeights;  // pixels, one per row
    std::vector<TGridCell> Cells; // column-major: Cells[col * RowCount + row]

    // Sets the size and empties everything: texts, check boxes, properties, appearance.
    void Reset(int colCount, int rowCount, int colWidth = 64, int rowHeight = 24);
    bool Contains(int col, int row) const { return col >= 0 && row >= 0 && col < ColCount && row < RowCount; }
    TGridCell& Cell(int col, int row) { return Cells[static_cast<size_t>(col) * RowCount + row]; }
    const TGridCell& Cell(int col, int row) const { return Cells[static_cast<size_t>(col) * RowCount + row]; }
};

// Font colour a cell is shown with: its appearance colour, else its stored colour, else none.
uint32_t EffectiveFontColor(const TGridCell& cell);
