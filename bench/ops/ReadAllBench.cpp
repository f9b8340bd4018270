// Read-all of the K1 type against the simulator with line timing at 19200 and at 300 baud, compared
// with the time its requests and answers need on the wire; and measurement polling intervals
// against Tmin.
#include "K1Reading.h"
#include "SimLine.h"
#include "SimProcess.h"
#include "TestUi.h"
#include "exchange/DevLink.h"
#include "exchange/Exchange.h"
#include "exchange/Measure.h"
#include "exchange/ReadWriteAll.h"

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
};

void BM_ReadAllAgainstWireTime(benchmark::State& state) {
    // kestrin-sim in its own process, as a real instrument would be, with the catalogue's time-out:
    // at 300 baud a request or an answer alone takes longer on the wire than the time-out.
    const auto speed = static_cast<uint16_t>(state.range(0));
    TSimProcess sim(ProgDir, {QStringLiteral("--timing"), QStringLiteral("--speed"), QString::number(speed)},
                    false);
    TKvLibrary library;
    if (sim.PtyPath().isEmpty() || !library.Load(ProgDir)) {
        state.SkipWithError("simulator or library not available");
        return;
    }
    TK1Reading k1(ProgDir, sim.PtyPath(), speed, 300);

    double measured = 0;
    double wire = 0;
    for (auto _ : state) {
        TWireBytes tap;
        const auto t0 = std::chrono::steady_clock::now();
        TExchangeRun run{library.Table(), k1.Type, k1.Dev, *k1.Ui, k1.Stop, 1, {}};
        run.Tap = &tap;
        ReadAll(run);
        measured += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        wire += static_cast<double>(tap.Bytes) * 10 / speed; // 10 bits a byte
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["wire_ms"] = wire / runs * 1000;
    state.counters["measured_ms"] = measured / runs * 1000;
    state.counters["ratio_to_wire_time"] = measured / wire;
    state.counters["parameters"] = k1.Type.ParamCount();
    state.counters["questions"] = static_cast<double>(k1.Ui->Questions.size());
    if (!k1.ReadCompleted())
        state.SkipWithError("read-all did not complete");
}
BENCHMARK(BM_ReadAllAgainstWireTime)->Arg(19200)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(5);
// One read-all at 300 baud takes about a minute.
BENCHMARK(BM_ReadAllAgainstWireTime)->Arg(300)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(1);

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
