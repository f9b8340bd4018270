// Opening a measurement record into the chart: a file of 10,000,000 readings (4 channels, a
// reading every 0.7 s: about 81 days of polling, some 450 MB) read by "Открыть запись..." into the
// measurement view, target under 5 s; then one drawing of that chart at 1200 x 700 and one more
// after a reading is added, to compare with bench_chart's live figures.
#include "QtBenchMain.h"
#include "chart/CanvasPainter.h"
#include "chart/Chart.h"
#include "formats/MeasureRecord.h"
#include "model/AppState.h"
#include "ui/MeasureView.h"

#include "ui/UserDialogs.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>

namespace {
constexpr long long Lines = 10'000'000;
const QSize ChartSize(1200, 700);

// The file as the recorder writes it, made once per run in the temporary folder.
QString RecordFile() {
    static QString name;
    if (!name.isEmpty())
        return name;
    name = QDir::temp().filePath(QStringLiteral("kestrin_bench_record.csv"));
    QFile f(name);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(name));
    QByteArray block = "# Kestrin K1 measurement record\n# type: Kestrin K1\n# version: \n# port: SIM1\n"
                       "# speed: 9600\n# address: 1\n# channels: 1,2,3,4\n# start: 2026-10-01T00:00:00.000\n"
                       "time,minutes,address,channel,value\n";
    char line[128];
    for (long long i = 0; i < Lines; ++i) {
        const long long ms = i * 700;
        const long long s = ms / 1000;
        const long long day = s / 86400;
        const int n = std::snprintf(
            line, sizeof line, "2026-%02lld-%02lldT%02lld:%02lld:%02lld.%03lld,%.5f,1,%lld,%.4f\n",
            10 + day / 31, 1 + day % 31, s / 3600 % 24, s / 60 % 60, s % 60, ms % 1000,
            static_cast<double>(ms) / 60000.0, 1 + i % 4,
            std::sin(static_cast<double>(i) * 1e-5 + static_cast<double>(i % 4)) * 100);
        block.append(line, n);
        if (block.size() > (1 << 22)) {
            f.write(block);
            block.clear();
        }
    }
    f.write(block);
    return name;
}

// No box may come up while measuring: each would be a failure to open.
class TNoDialogs : public IUserDialogs {
public:
    TMsgAnswer Message(const QString& text, const QString&, TMsgButtons, TMsgAnswer) override {
        qFatal("message: %s", qPrintable(text));
    }
    QString SaveFileName(const TFileDialogSpec&, int*) override { return {}; }
    QString OpenFileName(const TFileDialogSpec&) override { return {}; }
};

struct TView {
    TAppState State;
    TNoDialogs Dialogs;
    TfrmMeasure View{State, Dialogs};
    TChart* Chart = View.findChild<TChart*>(QStringLiteral("Chart"));
    TView() {
        View.Build(4);
        Chart->resize(ChartSize);
    }
};

void Draw(TChart& chart, QImage& image) {
    QPainter painter(&image);
    TPainterCanvas canvas(painter);
    chart.Draw(canvas, QRectF(QPointF(0, 0), ChartSize));
}

void BM_OpenRecord10M(benchmark::State& state) {
    const QString file = RecordFile();
    std::unique_ptr<TView> view;
    for (auto _ : state) {
        state.PauseTiming();
        view.reset();
        view = std::make_unique<TView>();
        state.ResumeTiming();
        if (!view->View.OpenRecord(file))
            state.SkipWithError("record not opened");
    }
    state.counters["points"] = static_cast<double>(view->Chart->PointCount());
    state.counters["file_MB"] = static_cast<double>(QFileInfo(file).size()) / 1e6;
}

// The reading alone, into nothing: the share of the opening that is parsing.
void BM_ParseRecord10M(benchmark::State& state) {
    class TNothing : public IRecordSink {
    public:
        int NewSeries(int, int) override { return 0; }
        void Point(int, double x, double) override { Last = x; }
        void Gap() override {}
        double Last = 0;
    } sink;
    const QString file = RecordFile();
    for (auto _ : state) {
        const TRecordRead r = ReadMeasureRecordFile(file, sink);
        benchmark::DoNotOptimize(r.Readings);
    }
    benchmark::DoNotOptimize(sink.Last);
}

// The first drawing after the file was opened, and a drawing after one more point.
void BM_DrawOpenedRecord(benchmark::State& state) {
    static TView view;
    static const bool opened = view.View.OpenRecord(RecordFile());
    if (!opened)
        state.SkipWithError("record not opened");
    QImage image(ChartSize, QImage::Format_RGB32);
    double x = view.Chart->Series(0).MaxX();
    for (auto _ : state) {
        if (state.range(0) == 1) {
            x += 0.7 / 60;
            view.Chart->AddPoint(0, x, 1.0);
        }
        Draw(*view.Chart, image);
    }
    state.counters["points"] = static_cast<double>(view.Chart->PointCount());
}
} // namespace

BENCHMARK(BM_ParseRecord10M)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_OpenRecord10M)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_DrawOpenedRecord)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    const int result = RunQtBenchmarks(argc, argv);
    QFile::remove(RecordFile());
    return result;
}
