// Exchange speed through libkvcom.so against kestrin-sim on a pseudo-terminal:
//  - ReadParam transactions per second with no line timing (target: at least 1000/s);
//  - reading 100 parameters at 19200 baud with simulated line timing, as a ratio of the measured time
//    to the time the bytes need on the wire (target: at most 1.05).
#include "exchange/DevLink.h"
#include "SimProcess.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {
const QString ProgDir = QStringLiteral(KESTRIN_PROGDIR);

struct TBenchLink {
    TKvLibrary Library;
    std::unique_ptr<TSimProcess> Sim;
    TDev Dev;
    TDevProp Type;
    ExchangeHandle Handle;
    QString Error;

    TBenchLink(const QStringList& options, uint16_t baudRate) {
        if (!Library.Load(ProgDir)) {
            Error = Library.ErrorText();
            return;
        }
        Sim = std::make_unique<TSimProcess>(ProgDir, options, false);
        if (Sim->PtyPath().isEmpty()) {
            Error = QStringLiteral("kestrin-sim did not start");
            return;
        }
        Dev.COMPort = Sim->PtyPath();
        Dev.BaudRate = baudRate;
        Type.TimeOut = 1000;
        if (const int rc = OpenDevLink(Library.Table(), Dev, Type, Handle); rc != ExOk)
            Error = QStringLiteral("link not opened: %1").arg(rc);
    }
    ~TBenchLink() { CloseDevLink(Handle); }
};

void BM_ReadParamTransactions(benchmark::State& state) {
    TBenchLink link({}, 9600);
    if (!link.Error.isEmpty()) {
        state.SkipWithError(link.Error.toStdString().c_str());
        return;
    }
    QString value;
    for (auto _ : state) {
        if (ReadParam(link.Dev, link.Handle, 0x13, value, 3) != ExOk) {
            state.SkipWithError("read failed");
            break;
        }
    }
    state.counters["transactions_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadParamTransactions)->UseRealTime()->MinTime(2.0);

void BM_Read100ParamsAt19200(benchmark::State& state) {
    TBenchLink link({QStringLiteral("--timing"), QStringLiteral("--speed"), QStringLiteral("19200")}, 19200);
    if (!link.Error.isEmpty()) {
        state.SkipWithError(link.Error.toStdString().c_str());
        return;
    }
    TDevProp k1;
    k1.Dir = QStringLiteral("K1");
    if (!LoadDescriptions(ProgDir, k1, QString()) || k1.Params.empty()) {
        state.SkipWithError("K1 descriptions not found");
        return;
    }
    // The 100 reads, cycling through the type's parameters, and the bytes each puts on the wire.
    struct TRead {
        uint16_t Address;
        uint8_t Code;
    };
    std::vector<TRead> reads;
    double wireBytes = 0;
    for (size_t i = 0; reads.size() < 100; ++i) {
        const TParam& p = *k1.Params[i % k1.Params.size()];
        const std::optional<QString> request = ReadRequest(link.Dev.Address, p.Address, p.VType);
        if (!request)
            continue;
        uint8_t from = 0;
        QString data;
        if (ExchangeParcel(link.Handle, *request, from, data) != ExOk) {
            state.SkipWithError("calibration read failed");
            return;
        }
        const QString answer =
            QLatin1Char('!') + QString::number(from) + QLatin1Char(';') + data + QLatin1Char(';');
        wireBytes += (request->size() + 4 + 1) + (answer.size() + 4 + 1); // text, check word, CR
        reads.push_back({p.Address, p.VType});
    }
    const double wireSeconds = wireBytes * 10 / 19200;

    QString value;
    double measured = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (const TRead& r : reads)
            if (ReadParam(link.Dev, link.Handle, r.Address, value, r.Code) != ExOk) {
                state.SkipWithError("read failed");
                return;
            }
        measured += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const double perRun = measured / static_cast<double>(state.iterations());
    state.counters["wire_ms"] = wireSeconds * 1000;
    state.counters["measured_ms"] = perRun * 1000;
    state.counters["ratio"] = perRun / wireSeconds;
}
BENCHMARK(BM_Read100ParamsAt19200)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(10);
} // namespace

BENCHMARK_MAIN();
