// Fuzz entry point for the parameter-set reader: any input must end in a result, never a crash, and
// whatever was read must survive a save and a second load unchanged.
#include "common/Cp1251.h"
#include "formats/ParamSetFile.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

void CheckShape(const TGridData& g) {
    Check(g.ColCount >= 0 && g.RowCount >= 0, "non-negative size");
    Check(g.ColCount <= KParamSetMaxCols && g.RowCount <= KParamSetMaxRows, "size within limits");
    Check(g.Cells.size() == size_t(g.ColCount) * size_t(g.RowCount), "cell storage matches size");
    Check(g.ColWidths.size() == size_t(g.ColCount) && g.RowHeights.size() == size_t(g.RowCount), "extents");
}

bool SameCells(const TGridData& a, const TGridData& b) {
    if (a.ColCount != b.ColCount || a.RowCount != b.RowCount || a.ColWidths != b.ColWidths ||
        a.RowHeights != b.RowHeights)
        return false;
    for (size_t i = 0; i < a.Cells.size(); ++i) {
        const TGridCell &x = a.Cells[i], &y = b.Cells[i];
        // Texts compare as stored: a byte without a character reads back as "?".
        if (Cp1251::Encode(x.Text) != Cp1251::Encode(y.Text) || x.HasCheckBox != y.HasCheckBox ||
            x.Checked != y.Checked || x.HasProp != y.HasProp || (x.HasProp && x.FontColor != y.FontColor))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A table already on screen, for partial sets that land inside it.
    TGridData grid;
    grid.Reset(2, 3);
    grid.Cell(0, 0).Text = QStringLiteral(" Параметр");
    grid.Cell(1, 1).HasProp = grid.Cell(1, 1).HasCheckBox = true;

    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const TParamSetReadResult r = DecodeParamSet(bytes, grid);
    Check(r.Ok == r.Error.isEmpty(), "error text exactly on failure");
    Check(r.CellsRead >= 0 && size_t(r.CellsRead) * 8 <= size, "cells read fit in the input");
    CheckShape(grid);
    if (!r.Ok)
        return 0;

    const QByteArray saved = EncodeParamSet(grid);
    TGridData again;
    const TParamSetReadResult r2 = DecodeParamSet(saved, again);
    Check(r2.Ok, "a saved table loads");
    CheckShape(again);
    Check(SameCells(grid, again), "save and load keep the table");
    Check(EncodeParamSet(again) == saved, "a second save gives the same bytes");
    return 0;
}

// Valid sets for the seeded mutator (and, written out, a libFuzzer corpus).
std::vector<QByteArray> FuzzSeeds() {
    std::vector<QByteArray> seeds;
    TGridData g;
    g.Reset(2, 8);
    g.ColWidths = {310, 103};
    g.Cell(0, 0).Text = QStringLiteral(" Параметр");
    g.Cell(1, 0).Text = QStringLiteral(" Значение");
    for (int r = 1; r < 8; ++r)
        g.Cell(0, r).Text = QStringLiteral(" Параметр %1").arg(r);
    g.Cell(1, 1).Text = QStringLiteral("включена");
    g.Cell(1, 2).HasProp = true;
    g.Cell(1, 2).FontColor = 0x80000011;
    g.Cell(1, 3).HasCheckBox = true;
    g.Cell(1, 3).Checked = true;
    g.Cell(1, 4).HasCheckBox = true;
    g.Cell(1, 5).Text = QString(300, QChar(0x0416));
    g.Cell(1, 6).HasProp = true;
    g.Cell(1, 6).FontColor = 0x00123456;
    seeds.push_back(EncodeParamSet(g, 70000));
    TGridData small;
    small.Reset(1, 1);
    small.Cell(0, 0).Text = QStringLiteral("x");
    seeds.push_back(EncodeParamSet(small));
    // A partial set: the header's full-grid flag cleared.
    QByteArray partial = EncodeParamSet(g);
    const qsizetype flag = partial.indexOf("FullGrid");
    partial[flag + 8] = char(0x08);
    seeds.push_back(partial);
    return seeds;
}
