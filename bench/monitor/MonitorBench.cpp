// What the line monitor costs: read-all at 19200 against kestrin-sim with the monitor open and
// without it, and how long the window's thread goes without a turn while 1,000 parcels a second
// arrive.
#include "K1Reading.h"
#include "QtBenchMain.h"
#include "SimProcess.h"
#include "exchange/ReadWriteAll.h"
#include "ui/LineMonitor.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <thread>

namespace {
const QString ProgDir = QStringLiteral(KESTRIN_PROGDIR);

// The monitor asks nothing unless it saves, which the benchmarks do not.
class TNoDialogs : public IUserDialogs {
public:
    TMsgAnswer Message(const QString&, const QString&, TMsgButtons, TMsgAnswer) override {
        return TMsgAnswer::Ok;
    }
    QString SaveFileName(const TFileDialogSpec&, int*) override { return QString(); }
    QString OpenFileName(const TFileDialogSpec&) override { return QString(); }
};

// Runs fn on a thread of its own while this thread turns its event loop, as the program does with
// its workers; returns the seconds fn took.
double RunBesideTheEventLoop(const std::function<void()>& fn) {
    std::atomic<bool> done{false};
    double seconds = 0;
    std::thread worker([&] {
        const auto t0 = std::chrono::steady_clock::now();
        fn();
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        done = true;
    });
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done)
            loop.quit();
    });
    poll.start(5);
    loop.exec();
    worker.join();
    return seconds;
}

void BM_ReadAllWithAndWithoutMonitor(benchmark::State& state) {
    TSimProcess sim(ProgDir, {QStringLiteral("--timing"), QStringLiteral("--speed"), QStringLiteral("19200")},
                    false);
    TKvLibrary library;
    if (sim.PtyPath().isEmpty() || !library.Load(ProgDir)) {
        state.SkipWithError("simulator or library not available");
        return;
    }
    TK1Reading k1(ProgDir, sim.PtyPath(), 19200, 300);
    TLineTapHub hub;
    TNoDialogs dialogs;

    std::vector<double> without, with;
    for (auto _ : state) {
        // Alternate, so that a drift of the machine's load falls on both alike.
        for (const bool monitored : {false, true}) {
            std::unique_ptr<TfrmLineMonitor> monitor;
            if (monitored) {
                monitor = std::make_unique<TfrmLineMonitor>(hub, dialogs, QString());
                monitor->Open();
            }
            TExchangeRun run{library.Table(), k1.Type, k1.Dev, *k1.Ui, k1.Stop, 1, {}};
            run.Tap = &hub;
            const double s = RunBesideTheEventLoop([&] { ReadAll(run); });
            (monitored ? with : without).push_back(s);
            if (monitored)
                QCoreApplication::processEvents();
        }
    }
    std::sort(without.begin(), without.end());
    std::sort(with.begin(), with.end());
    const double off = without[without.size() / 2];
    const double on = with[with.size() / 2];
    state.counters["without_ms"] = off * 1000;
    state.counters["with_monitor_ms"] = on * 1000;
    state.counters["overhead_pct"] = (on - off) / off * 100;
    // The fastest runs are the least disturbed by the rest of the machine.
    state.counters["overhead_of_fastest_pct"] = (with.front() - without.front()) / without.front() * 100;
    state.counters["parameters"] = k1.Type.ParamCount();
    if (!k1.ReadCompleted())
        state.SkipWithError("read-all did not complete");
}
BENCHMARK(BM_ReadAllWithAndWithoutMonitor)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(11);

void BM_CapturePerParcel(benchmark::State& state) {
    // What one parcel costs the exchange thread with the monitor attached: the event built as the
    // exchange builds it, handed through the hub into the monitor's queue (taken now and then, as
    // the window does). Compare with about 8 ms a transaction takes on the wire at 19200.
    TLineTapHub hub;
    TLineEventQueue queue(TLineLogModel::DefaultCapacity);
    hub.Attach(&queue);
    const QString port = QStringLiteral("/dev/ttyUSB0");
    int64_t n = 0;
    for (auto _ : state) {
        TLineEvent e;
        e.TimeMs = QDateTime::currentMSecsSinceEpoch();
        e.Port = port;
        e.Address = 1;
        e.Bytes = QByteArray(":1;37;000113;ABCD\r");
        e.Purpose = QStringLiteral("Коэффициент") + QStringLiteral(" = ") + QStringLiteral("1.50000");
        hub.Parcel(e);
        if (++n % 1000 == 0)
            benchmark::DoNotOptimize(queue.Take());
    }
    hub.Detach(&queue);
}
BENCHMARK(BM_CapturePerParcel)->Unit(benchmark::kMicrosecond);

void BM_WindowTurnsWhileParcelsArrive(benchmark::State& state) {
    // A parcel every millisecond from an exchange thread into an open, following monitor; the
    // window's thread is timed between two turns of its event loop.
    const int perSecond = static_cast<int>(state.range(0));
    TLineTapHub hub;
    TNoDialogs dialogs;
    TfrmLineMonitor monitor(hub, dialogs, QString());
    monitor.Open();
    // The first show (fonts, backing store) is not the steady state being measured.
    QElapsedTimer warmUp;
    warmUp.start();
    while (warmUp.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    int64_t longestGapUs = 0;
    std::vector<int64_t> gaps;
    int64_t parcels = 0;
    for (auto _ : state) {
        std::atomic<bool> stop{false};
        std::thread feeder([&] {
            TLineEvent e;
            e.Port = QStringLiteral("/dev/ttyUSB0");
            e.Bytes = ":1;37;000113;ABCD\r";
            e.Purpose = QStringLiteral("Коэффициент = 1.5");
            const auto period = std::chrono::microseconds(1000000 / perSecond);
            auto next = std::chrono::steady_clock::now();
            int64_t n = 0;
            while (!stop) {
                e.TimeMs = QDateTime::currentMSecsSinceEpoch();
                e.Direction = n % 2 ? TLineDirection::Answer : TLineDirection::Request;
                e.Address = static_cast<uint8_t>(n % 4 + 1);
                e.Outcome = n % 50 == 0 ? KV_ERR_NO_ANSWER : 0;
                hub.Parcel(e);
                ++n;
                next += period;
                std::this_thread::sleep_until(next);
            }
            parcels += n;
        });
        QElapsedTimer gap;
        QElapsedTimer total;
        total.start();
        gap.start();
        QTimer turn; // fires on every turn of the loop that has nothing else to do
        QEventLoop loop;
        QObject::connect(&turn, &QTimer::timeout, &loop, [&] {
            const int64_t us = gap.nsecsElapsed() / 1000;
            longestGapUs = std::max<int64_t>(longestGapUs, us);
            if (us > 1000)
                gaps.push_back(us);
            gap.restart();
            if (total.elapsed() > 5000)
                loop.quit();
        });
        turn.start(0);
        loop.exec();
        stop = true;
        feeder.join();
    }
    monitor.Drain();
    // The window's own share of a turn: taking 100 parcels (a tenth of a second's worth) and
    // painting them, timed alone.
    int64_t longestDrainUs = 0;
    for (int i = 0; i < 50; ++i) {
        TLineEvent e;
        e.Bytes = ":1;37;000113;ABCD\r";
        for (int k = 0; k < 100; ++k)
            hub.Parcel(e);
        QElapsedTimer t;
        t.start();
        monitor.Drain();
        monitor.repaint();
        longestDrainUs = std::max<int64_t>(longestDrainUs, t.nsecsElapsed() / 1000);
    }
    state.counters["longest_drain_and_paint_ms"] = static_cast<double>(longestDrainUs) / 1000;
    state.counters["longest_gap_ms"] = static_cast<double>(longestGapUs) / 1000;
    std::sort(gaps.begin(), gaps.end());
    state.counters["gaps_over_1ms"] = static_cast<double>(gaps.size());
    state.counters["gaps_over_20ms"] =
        static_cast<double>(gaps.end() - std::lower_bound(gaps.begin(), gaps.end(), int64_t{20000}));
    state.counters["parcels"] = static_cast<double>(parcels);
    state.counters["rows"] = monitor.Model->rowCount();
}
BENCHMARK(BM_WindowTurnsWhileParcelsArrive)
    ->Arg(1000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
} // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
