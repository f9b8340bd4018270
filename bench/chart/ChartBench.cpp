// Live measurement chart at the size of a month of polling: 4 series of 1,000,000 points, one point
// added and the chart drawn again at 1200 x 700, as the view does for every reading.
#include "chart/CanvasPainter.h"
#include "chart/Chart.h"
#include "chart/WmfCanvas.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>

namespace {
constexpr int SeriesCount = 4;
constexpr int PointsPerSeries = 1'000'000;
const QSize ChartSize(1200, 700);

struct TLiveChart {
    std::unique_ptr<TChart> Chart = std::make_unique<TChart>();
    long long Next = 0; // readings so far, all channels in turn

    TLiveChart() {
        for (int s = 0; s < SeriesCount; ++s)
            Chart->AddSeries();
        Chart->SetLegendVisible(true);
        Chart->resize(ChartSize);
        while (Next < static_cast<long long>(SeriesCount) * PointsPerSeries)
            AddReading();
    }
    // One reading every 0.7 s, channels in turn; X in minutes.
    void AddReading() {
        const int channel = static_cast<int>(Next % SeriesCount);
        const double minutes = static_cast<double>(Next) * 0.7 / 60.0;
        Chart->AddPoint(channel, minutes, std::sin(minutes * 0.01 + channel) * 100 + (Next % 7) * 0.3);
        ++Next;
    }
    size_t Points() const {
        size_t n = 0;
        for (int s = 0; s < SeriesCount; ++s)
            n += Chart->Series(s).Count();
        return n;
    }
};

TLiveChart& Live() {
    static TLiveChart live;
    return live;
}

void Report(benchmark::State& state) {
    TLiveChart& live = Live();
    state.counters["points"] = static_cast<double>(live.Points());
    state.counters["bytes_per_point"] =
        static_cast<double>(live.Chart->CapacityBytes()) / static_cast<double>(live.Points());
}

void BM_AddPointAndDrawImage(benchmark::State& state) {
    TLiveChart& live = Live();
    live.Chart->Set3D(state.range(0) != 0);
    QImage image(ChartSize, QImage::Format_RGB32);
    for (auto _ : state) {
        live.AddReading();
        QPainter painter(&image);
        TPainterCanvas canvas(painter);
        live.Chart->Draw(canvas, QRectF(QPointF(0, 0), ChartSize));
    }
    live.Chart->Set3D(false);
    Report(state);
}
BENCHMARK(BM_AddPointAndDrawImage)->Arg(0)->Arg(1)->ArgName("3d")->Unit(benchmark::kMillisecond);

void BM_AddPointAndGrabWidget(benchmark::State& state) {
    TLiveChart& live = Live();
    for (auto _ : state) {
        live.AddReading();
        benchmark::DoNotOptimize(live.Chart->grab());
    }
    Report(state);
}
BENCHMARK(BM_AddPointAndGrabWidget)->Unit(benchmark::kMillisecond);

// The part of a drawing that depends on the number of points.
void BM_DecimateAllSeries(benchmark::State& state) {
    TLiveChart& live = Live();
    std::vector<size_t> indices;
    size_t kept = 0;
    for (auto _ : state) {
        kept = 0;
        for (int s = 0; s < SeriesCount; ++s) {
            const TChartSeries& series = live.Chart->Series(s);
            series.Decimate(live.Chart->XMin(), live.Chart->XMax(), 1100, indices);
            kept += indices.size();
        }
    }
    state.counters["kept_points"] = static_cast<double>(kept);
}
BENCHMARK(BM_DecimateAllSeries)->Unit(benchmark::kMillisecond);

void BM_WriteMetafile(benchmark::State& state) {
    TLiveChart& live = Live();
    size_t bytes = 0;
    for (auto _ : state) {
        TWmfCanvas canvas(ChartSize);
        live.Chart->Draw(canvas, QRectF(QPointF(0, 0), ChartSize));
        bytes = static_cast<size_t>(canvas.Finish().size());
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WriteMetafile)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
