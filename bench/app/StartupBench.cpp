// Start-up on the real program directory: required files, settings, the exchange library and its
// port search, the catalogue with its descriptions, the views, the dialogs, until the main window
// has been shown and painted once (offscreen).
#include "model/AppState.h"
#include "exchange/KvLibrary.h"
#include "ui/MainWindow.h"
#include "exchange/PortList.h"
#include "ui/UserDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

namespace {
void BM_StartToFirstShownWindow(benchmark::State& state) {
    for (auto _ : state) {
        TAppState s;
        s.ProgDir = QStringLiteral(KESTRIN_PROGDIR);
        TQtUserDialogs dialogs;
        TKvLibrary library;
        TfrmMain main(s, dialogs);
        main.LoadPortList = [&](TAppState& st) {
            if (!library.Load(st.ProgDir))
                return false;
            LoadPortList(library.Table(), st.PortList, st.SpeedList, &main);
            return true;
        };
        if (!main.FormCreate()) {
            state.SkipWithError("start-up failed");
            break;
        }
        main.CreateDialogs();
        main.show();
        main.grab(); // paints the whole window once
        benchmark::DoNotOptimize(main.isVisible());
        state.PauseTiming();
        main.hide();
        s.PrjState = TPrjState::PrjNone;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToFirstShownWindow)->Unit(benchmark::kMillisecond)->Iterations(5);
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    std::printf("QApplication created after %lld ms\n", static_cast<long long>(sinceStart.elapsed()));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
