// Live measurement chart at the size of a month of polling and beyond: 4 series of 1,000,000 and of
// 10,000,000 points, one point added and the chart drawn again at 1200 x 700, as the view does for
// every reading. The cost of a drawing should not grow with the points: compare the figures at the
// two sizes.
#include "QtBenchMain.h"
#include "chart/CanvasPainter.h"
#include "chart/Chart.h"
#include "chart/WmfCanvas.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>
#include <string>

namespace {
constexpr int SeriesCount = 4;
const QSize ChartSize(1200, 700);

struct TLiveChart {
    std::unique_ptr<TChart> Chart = std::make_unique<TChart>();
    long long Next = 0; // readings so far, all channels in turn
    double Periods = 0; // radians of the slow wave per minute

    // The slow wave makes 20 periods over the whole measurement whatever its size, so the chart
    // looks the same at both sizes and the figures compare the cost of the points, not of a
    // different picture.
    explicit TLiveChart(long long pointsPerSeries)
        : Periods(20 * 2 * 3.141592653589793 / (SeriesCount * pointsPerSeries * 0.7 / 60.0)) {
        for (int s = 0; s < SeriesCount; ++s)
            Chart->AddSeries();
        Chart->SetLegendVisible(true);
        Chart->resize(ChartSize);
        while (Next < SeriesCount * pointsPerSeries)
            AddReading();
    }
    // One reading every 0.7 s, channels in turn; X in minutes.
    void AddReading() {
        const int channel = static_cast<int>(Next % SeriesCount);
        const double minutes = static_cast<double>(Next) * 0.7 / 60.0;
        Chart->AddPoint(channel, minutes, std::sin(minutes * Periods + channel) * 100 + (Next % 7) * 0.3);
        ++Next;
    }
    size_t Points() const {
        size_t n = 0;
        for (int s = 0; s < SeriesCount; ++s)
            n += Chart->Series(s).Count();
        return n;
    }
};

// One chart at a time: 4 x 10M points take some 700 MB.
TLiveChart& Live(long long pointsPerSeries) {
    static std::unique_ptr<TLiveChart> live;
    static long long size = 0;
    if (!live || size != pointsPerSeries) {
        live.reset();
        live = std::make_unique<TLiveChart>(pointsPerSeries);
        size = pointsPerSeries;
    }
    return *live;
}

void Report(benchmark::State& state, const TLiveChart& live) {
    state.counters["points"] = static_cast<double>(live.Points());
    state.counters["bytes_per_point"] =
        static_cast<double>(live.Chart->CapacityBytes()) / static_cast<double>(live.Points());
}

// Whole chart (automatic X) or, with `follow`, the last hour sliding as points arrive.
void AddPointAndDrawImage(benchmark::State& state, long long points, bool threeD, bool follow) {
    TLiveChart& live = Live(points);
    live.Chart->Set3D(threeD);
    if (follow)
        live.Chart->SetFollow(60);
    QImage image(ChartSize, QImage::Format_RGB32);
    for (auto _ : state) {
        live.AddReading();
        QPainter painter(&image);
        TPainterCanvas canvas(painter);
        live.Chart->Draw(canvas, QRectF(QPointF(0, 0), ChartSize));
    }
    live.Chart->Set3D(false);
    live.Chart->SetAutoX(true);
    Report(state, live);
}

void AddPointAndGrabWidget(benchmark::State& state, long long points) {
    TLiveChart& live = Live(points);
    for (auto _ : state) {
        live.AddReading();
        benchmark::DoNotOptimize(live.Chart->grab());
    }
    Report(state, live);
}

// The part of a drawing that depends on the number of points, for a window not drawn just before
// (two windows in turn whose column edges differ everywhere), so that no run of the last
// decimation is kept.
void DecimateAllSeries(benchmark::State& state, long long points) {
    TLiveChart& live = Live(points);
    std::vector<size_t> indices;
    size_t kept = 0;
    bool odd = false;
    for (auto _ : state) {
        kept = 0;
        const double margin = odd ? (live.Chart->XMax() - live.Chart->XMin()) / 2999 : 0;
        odd = !odd;
        for (int s = 0; s < SeriesCount; ++s) {
            const TChartSeries& series = live.Chart->Series(s);
            series.Decimate(live.Chart->XMin() + margin, live.Chart->XMax() - margin, 1100, indices);
            kept += indices.size();
        }
    }
    state.counters["kept_points"] = static_cast<double>(kept);
}

void WriteMetafile(benchmark::State& state, long long points) {
    TLiveChart& live = Live(points);
    size_t bytes = 0;
    for (auto _ : state) {
        TWmfCanvas canvas(ChartSize);
        live.Chart->Draw(canvas, QRectF(QPointF(0, 0), ChartSize));
        bytes = static_cast<size_t>(canvas.Finish().size());
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
}

// Registered size by size, so that each chart is filled once.
void RegisterAll() {
    for (const long long points : {1'000'000LL, 10'000'000LL}) {
        const std::string n = "/points:" + std::to_string(points);
        for (const bool threeD : {false, true})
            benchmark::RegisterBenchmark(("BM_AddPointAndDrawImage" + n + (threeD ? "/3d" : "/2d")).c_str(),
                                         AddPointAndDrawImage, points, threeD, false)
                ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_AddPointAndDrawImageFollowingLastHour" + n + "/3d").c_str(),
                                     AddPointAndDrawImage, points, true, true)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_AddPointAndGrabWidget" + n).c_str(), AddPointAndGrabWidget, points)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_DecimateAllSeries" + n).c_str(), DecimateAllSeries, points)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_WriteMetafile" + n).c_str(), WriteMetafile, points)
            ->Unit(benchmark::kMillisecond);
    }
}
} // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv, RegisterAll);
}
