// Read-all of 16 instruments on one line behind a device server (kestrin-sim serving raw TCP, and
// RFC 2217) with line timing at 19200, compared with the time its parcels need on the wire; the
// same line on a pseudo-terminal for reference. The network adds a loopback round trip per parcel.
#include "K1Reading.h"
#include "exchange/DevLink.h"
#include "exchange/Exchange.h"
#include "exchange/KvLibrary.h"
#include "exchange/ReadWriteAll.h"
#include "sim/TestSupport.h"

#include <benchmark/benchmark.h>

namespace {
const QString ProgDir = QStringLiteral(KESTRIN_PROGDIR);
constexpr int Instruments = 16;
constexpr uint16_t Speed = 19200;

// range(0): 0 raw TCP, 1 RFC 2217, 2 pseudo-terminal.
void BM_ReadAllOf16OverTheNetwork(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    QStringList args{"--progdir", ProgDir, "--timing", "--speed", QString::number(Speed)};
    for (int a = 1; a <= Instruments; ++a)
        args << "--device" << QStringLiteral("%1:21").arg(a);
    if (kind == 0)
        args << "--tcp"
             << "0";
    else if (kind == 1)
        args << "--rfc2217"
             << "0";
    TestSupport::TSimProcess sim(args);
    TKvLibrary library;
    if (!sim.Started() || !library.Load(ProgDir)) {
        state.SkipWithError("simulator or library not available");
        return;
    }
    const QString port = kind == 0   ? "tcp://127.0.0.1:" + sim.Path()
                         : kind == 1 ? "rfc2217://127.0.0.1:" + sim.Path()
                                     : sim.Path();
    state.SetLabel(port.toStdString());
    TK1Reading k1(ProgDir, port, Speed, 300);

    double measured = 0;
    double wire = 0;
    int completed = 0;
    for (auto _ : state) {
        for (int a = 1; a <= Instruments; ++a) {
            k1.Dev.Address = static_cast<uint8_t>(a);
            TWireBytes tap;
            const auto t0 = std::chrono::steady_clock::now();
            TExchangeRun run{library.Table(), k1.Type, k1.Dev, *k1.Ui, k1.Stop, 1, {}};
            run.Tap = &tap;
            ReadAll(run);
            measured += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            wire += static_cast<double>(tap.Bytes) * 10 / Speed; // 10 bits a byte
            completed += k1.ReadCompleted();
        }
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["wire_ms"] = wire / runs * 1000;
    state.counters["measured_ms"] = measured / runs * 1000;
    state.counters["ratio_to_wire_time"] = measured / wire;
    state.counters["questions"] = static_cast<double>(k1.Ui->Questions.size());
    if (completed != Instruments * static_cast<int>(state.iterations()))
        state.SkipWithError("a read-all did not complete");
}
BENCHMARK(BM_ReadAllOf16OverTheNetwork)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
} // namespace

BENCHMARK_MAIN();
