// kestrin-cli as a program: read-all of 16 instruments on one line at 19200 baud against
// kestrin-sim with line timing, compared with the wire time of every request and answer it
// exchanged (taken from its own --trace); four such lines at once; and its start-up.
#include "CliRun.h"
#include "SimProcess.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <vector>

namespace {
const QString ProgDir = QStringLiteral(KESTRIN_PROGDIR);

// Bytes of a trace line's parcel field: "\xHH" and "\\" stand for one byte each.
qint64 ParcelBytes(const QString& field) {
    qint64 n = 0;
    for (qsizetype i = 0; i < field.size(); ++i, ++n)
        if (field[i] == QLatin1Char('\\'))
            i += field.mid(i + 1, 1) == QLatin1String("x") ? 3 : 1;
    return n;
}

void BM_CliReadAll16At19200(benchmark::State& state) {
    QStringList simOptions{"--timing", "--speed", "19200"};
    for (int a = 1; a <= 16; ++a)
        simOptions << "--device" << QStringLiteral("%1:21").arg(a);
    TSimProcess sim(ProgDir, simOptions, false);
    QTemporaryDir dir;
    if (sim.PtyPath().isEmpty()) {
        state.SkipWithError("simulator not available");
        return;
    }
    const QStringList args{"read", "--port", sim.PtyPath(),           "--speed", "19200", "--address",
                           "1-16", "--out",  dir.filePath("all.json")};
    // One traced run gives the bytes on the wire.
    const QString tracePath = dir.filePath("trace.txt");
    if (RunCliProgram(args + QStringList{"--trace", tracePath}).Exit != 0) {
        state.SkipWithError("read failed");
        return;
    }
    QFile trace(tracePath);
    trace.open(QIODevice::ReadOnly);
    qint64 bytes = 0;
    int parcels = 0;
    // The program's own share: from an answer to the next request (decoding, storing, the next
    // request's text), as against the exchange itself (line, simulator, pseudo-terminal).
    double ownSeconds = 0;
    double lastAnswer = -1;
    for (const QString& line : QString::fromUtf8(trace.readAll()).split('\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split('\t');
        if (f.size() > 4) {
            bytes += ParcelBytes(f[4]);
            ++parcels;
            const QDateTime at = QDateTime::fromString(f[0], QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
            const double seconds = static_cast<double>(at.toMSecsSinceEpoch()) / 1000.0;
            if (parcels % 2 == 1 && lastAnswer >= 0)
                ownSeconds += std::max(0.0, seconds - lastAnswer);
            if (parcels % 2 == 0)
                lastAnswer = seconds;
        }
    }
    const double wire = bytes * 10 / 19200.0;
    double measured = 0;
    int runs = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const TCliResult r = RunCliProgram(args);
        measured += t.nsecsElapsed() / 1e9;
        ++runs;
        if (r.Exit != 0)
            state.SkipWithError("read failed");
    }
    state.counters["wire_s"] = wire;
    state.counters["run_s"] = measured / std::max(runs, 1);
    state.counters["over_wire_pct"] = (measured / std::max(runs, 1) / wire - 1) * 100;
    state.counters["parcels"] = parcels;
    state.counters["own_pct"] = ownSeconds / wire * 100;
}
BENCHMARK(BM_CliReadAll16At19200)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Four lines of 16 instruments each read at once at 19200 baud (four kestrin-sim processes with
// line timing), against the slowest of the same lines read alone: the lines' exchanges overlap, so
// the whole run should take little more than its slowest line (target: at most 1.1 times).
void BM_CliFourLinesAt19200(benchmark::State& state) {
    QStringList simOptions{"--timing", "--speed", "19200"};
    for (int a = 1; a <= 16; ++a)
        simOptions << "--device" << QStringLiteral("%1:21").arg(a);
    std::vector<std::unique_ptr<TSimProcess>> sims;
    QStringList ports;
    for (int i = 0; i < 4; ++i) {
        sims.push_back(std::make_unique<TSimProcess>(ProgDir, simOptions, false));
        if (sims.back()->PtyPath().isEmpty()) {
            state.SkipWithError("simulator not available");
            return;
        }
        ports << sims.back()->PtyPath();
    }
    QTemporaryDir dir;
    const auto read = [&](const QString& port) {
        QElapsedTimer t;
        t.start();
        const TCliResult r = RunCliProgram({"read", "--port", port, "--speed", "19200", "--address", "1-16",
                                            "--out", dir.filePath("all.json")});
        if (r.Exit != 0)
            std::fprintf(stderr, "exit %d: %s\n", r.Exit, r.Err.toUtf8().constData());
        return r.Exit == 0 ? t.nsecsElapsed() / 1e9 : -1.0;
    };
    double slowest = 0;
    for (const QString& port : ports) {
        const double s = read(port);
        if (s < 0) {
            state.SkipWithError("single-line read failed");
            return;
        }
        slowest = std::max(slowest, s);
    }
    double all = 0;
    int runs = 0;
    for (auto _ : state) {
        const double s = read(ports.join(QLatin1Char(',')));
        if (s < 0)
            state.SkipWithError("read of four lines failed");
        all += s;
        ++runs;
    }
    state.counters["slowest_line_s"] = slowest;
    state.counters["four_lines_s"] = all / std::max(runs, 1);
    state.counters["ratio"] = all / std::max(runs, 1) / slowest;
}
BENCHMARK(BM_CliFourLinesAt19200)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Process start to exit of the port list: the library's search walks every tty of the system.
void BM_CliPorts(benchmark::State& state) {
    for (auto _ : state) {
        const TCliResult r = RunCliProgram({"ports"});
        if (r.Exit != 0)
            state.SkipWithError("ports failed");
    }
}
BENCHMARK(BM_CliPorts)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

// Start-up of an exchange command up to its first request: library, settings, catalogue and
// descriptions, the port (a pseudo-terminal by path), ending at an output that cannot be created.
void BM_CliStartupToExchange(benchmark::State& state) {
    TSimProcess sim(ProgDir, {}, false);
    for (auto _ : state)
        if (RunCliProgram({"read", "--port", sim.PtyPath(), "--speed", "9600", "--address", "1", "--out",
                           "/proc/kestrin-cli-bench.kpr"})
                .Exit != 4)
            state.SkipWithError("unexpected exit status");
}
BENCHMARK(BM_CliStartupToExchange)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
