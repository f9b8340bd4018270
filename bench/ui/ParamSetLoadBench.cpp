// Loading a parameter set of 100,000 rows into the device table on screen: decoding the file image
// and applying it to the grid (what the "Загрузить" command does after the file dialog). The
// target is well under a second.
#include "NullDevHost.h"
#include "QtBenchMain.h"
#include "formats/ParamSetFile.h"
#include "ui/DevTable.h"
#include "ui/DevTableFiles.h"

#include <QApplication>
#include <QTableWidget>
#include <benchmark/benchmark.h>

namespace {
// The largest set the reader accepts: 100,000 rows, the header row included.
constexpr int Rows = KParamSetMaxRows - 1;

// Names, values, a check box in every fourth row, the coupled row's colour in a few.
QByteArray BigSet() {
    TGridData g;
    g.Reset(2, Rows + 1, 64, TfrmDev::DataRowHeight);
    g.ColWidths = {310, 103};
    g.RowHeights[0] = TfrmDev::HeaderRowHeight;
    g.Cell(0, 0).Text = QStringLiteral(" Параметр");
    g.Cell(1, 0).Text = QStringLiteral(" Значение");
    for (int r = 1; r <= Rows; ++r) {
        g.Cell(0, r).Text = QStringLiteral(" Параметр %1").arg(r);
        TGridCell& v = g.Cell(1, r);
        if (r % 4 == 0) {
            v.HasCheckBox = v.HasProp = true;
            v.Checked = r % 8 == 0;
        } else {
            v.Text = QString::number(r * 7);
        }
        if (r % 1000 == 3) {
            v.HasProp = true;
            v.FontColor = 0x80000011;
        }
    }
    return EncodeParamSet(g);
}

void BM_LoadParamSet100k(benchmark::State& state) {
    TAppState app;
    TNullHost host;
    TNullDialogs dialogs;
    TfrmDev form(app, dialogs, host);
    form.resize(800, 600);
    form.show();
    QCoreApplication::processEvents();
    const QByteArray bytes = BigSet();
    for (auto _ : state) {
        // A table of a few rows, as after a device type was applied.
        state.PauseTiming();
        form.SetRowCount(3);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        TGridData grid = GridFromTable(form, nullptr);
        const TParamSetReadResult r = DecodeParamSet(bytes, grid);
        if (!r.Ok) {
            state.SkipWithError(qPrintable(r.Error));
            break;
        }
        GridToTable(grid, form);
        // The first paint after the load belongs to what the user waits for.
        form.findChild<QTableWidget*>(QStringLiteral("DevGrid"))->viewport()->repaint();
    }
    if (form.RowCount() != Rows + 1 || form.CellText(1, 1) != QStringLiteral("7") || !form.IsChecked(1, 8) ||
        form.IsChecked(1, 4) || form.CellFontColor(1, 3) != 0x80000011u)
        state.SkipWithError("table not filled");
}
BENCHMARK(BM_LoadParamSet100k)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
