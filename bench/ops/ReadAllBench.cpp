// Read-all of the K1 type against the simulator with line timing at 19200 baud, compared with the
// time its requests and answers need on the wire; and measurement polling intervals against Tmin.
#include "Measure.h"
#include "ReadWriteAll.h"
#include "SimLine.h"
#include "TestUi.h"

#include <QCoreApplication>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace {
const QString ProgDir = QStringLiteral(KESTRIN_PROGDIR);

struct TBench {
    std::unique_ptr<TSimLine> Line;
    TDevProp Type;
    TDev Dev;
    std::atomic<bool> Stop{false};
    std::unique_ptr<TTestUi> Ui;
    explicit TBench(uint32_t speed, bool timing) {
        Sim::TConfig c = TSimLine::Config({{1, 21, QString(), 0}});
        c.DefaultSpeed = speed;
        c.LineTiming = timing;
        Line = std::make_unique<TSimLine>(c);
        Type.TypeNum = 21;
        Type.Dir = "K1";
        Type.TimeOut = 500;
        Type.Channels = 4;
        LoadDescriptions(ProgDir, Type, QString());
        Dev = TDev(Type.ParamCount());
        Dev.COMPort = Line->Port();
        Dev.BaudRate = static_cast<uint16_t>(speed);
        Ui = std::make_unique<TTestUi>(ProgDir, Type, Dev);
    }
    // Bytes on the wire for every request the simulator received since the log was cleared and
    // for its answer: "!" address ";" data ";" check word CR, the data as the instrument holds it.
    double WireBytes() {
        return Line->WithBus([&](Sim::TBus& bus) {
            double bytes = 0;
            for (const QByteArray& r : bus.Log()) {
                bytes += r.size() + 1;
                const QList<QByteArray> f = r.split(';');
                QByteArray data = "21";
                if (f.size() > 2 && f[1] == "37")
                    data = bus.Content(0, f[2]).value_or("$1");
                else if (f.size() > 2 && f[1] == "38")
                    data = "$0";
                bytes += 1 + (f[0].size() - 1) + 1 + data.size() + 1 + 4 + 1;
            }
            return bytes;
        });
    }
};

void BM_ReadAllAt19200(benchmark::State& state) {
    TBench b(19200, true);
    if (!b.Line->Ok()) {
        state.SkipWithError("simulator not available");
        return;
    }
    double wire = 0;
    double measured = 0;
    for (auto _ : state) {
        b.Line->WithBus([](Sim::TBus& bus) { bus.ClearLog(); });
        const auto t0 = std::chrono::steady_clock::now();
        TExchangeRun run{b.Line->Api(), b.Type, b.Dev, *b.Ui, b.Stop, 1, {}};
        ReadAll(run);
        measured += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        wire += b.WireBytes() * 10 / 19200.0;
    }
    state.counters["ratio_to_wire_time"] = measured / wire;
    state.counters["parameters"] = b.Type.ParamCount();
}
BENCHMARK(BM_ReadAllAt19200)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_MeasureIntervalsFollowTmin(benchmark::State& state) {
    // Instant answers, so the intervals show the pacing alone.
    TBench b(19200, false);
    b.Type.Tmin = 0.1;
    b.Type.Channels = 1;
    std::vector<double> deviations;
    for (auto _ : state) {
        std::vector<std::chrono::steady_clock::time_point> shown;
        b.Ui->OnShow = [&](int, const QString&) {
            shown.push_back(std::chrono::steady_clock::now());
            if (shown.size() >= 20)
                b.Stop = true;
        };
        b.Stop = false;
        TMeasureRun run{b.Line->Api(), b.Type, b.Dev, *b.Ui, b.Stop, 1, {}, {}};
        run.Now = [] { return std::chrono::steady_clock::now(); };
        MeasureLoop(run);
        for (size_t i = 1; i < shown.size(); ++i)
            deviations.push_back(
                std::abs(std::chrono::duration<double, std::milli>(shown[i] - shown[i - 1]).count() - 100.0));
    }
    std::sort(deviations.begin(), deviations.end());
    state.counters["max_deviation_ms"] = deviations.empty() ? -1 : deviations.back();
    state.counters["median_deviation_ms"] = deviations.empty() ? -1 : deviations[deviations.size() / 2];
}
BENCHMARK(BM_MeasureIntervalsFollowTmin)->Unit(benchmark::kMillisecond)->Iterations(1);
} // namespace

BENCHMARK_MAIN();
