// Soak of measurement polling: the program's main window, exchange workers and exchange library
// on the demo line SIM1 (a copy of the program directory), polling for a bounded time, reporting
// how much the process's memory grows per chart point beyond the chart. A week of polling may
// cost the chart's points and nothing more.
//
//   bench_poll_soak [--seconds N] [--warmup N] [--fast] [--page settings] [--monitor] [--progdir DIR]
//
// --fast polls without the catalogue's pause between readings of a channel and without line
// timing, so that a minute here is hours of the real cadence; --page settings keeps the chart
// hidden (the settings page shown); --monitor opens the line monitor (which keeps its last
// 100,000 parcels); --progdir takes the program directory (its exchange library) from another
// build. Offscreen unless QT_QPA_PLATFORM chooses a platform (xvfb-run ... for a real X server).
//
// Columns: "heap" is what malloc holds, "chart" what the chart holds by capacity (its 2 MB blocks
// of points when taken, the summaries, the runs of its last drawing, which the pixel columns
// bound); "heap beyond" is their difference per point. A block of points costs malloc about twice
// its size in this count (its alignment), so the figure jumps when the series take new blocks, as
// they do every 131,072 points. "rss beyond" is the resident memory's growth beyond the chart's
// holdings per point: coarse over short runs (pages), but blind to that alignment. The line monitor
// keeps its last 100,000 parcels: with it open both grow until it is full.
#include "chart/Chart.h"
#include "exchange/KvLibrary.h"
#include "exchange/PortList.h"
#include "model/AppState.h"
#include "ui/MainExchange.h"
#include "ui/MainWindow.h"
#include "ui/MeasureView.h"
#include "ui/UserDialogs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <malloc.h>
#include <unistd.h>

namespace {
// Any question (a failed reading's "Повторить?") is answered No, so that the run ends instead of
// waiting; the run then counts as failed.
class TNoDialogs : public IUserDialogs {
public:
    TMsgAnswer Message(const QString& text, const QString&, TMsgButtons, TMsgAnswer) override {
        std::fprintf(stderr, "asked: %s\n", qPrintable(text));
        ++Asked;
        return TMsgAnswer::No;
    }
    QString SaveFileName(const TFileDialogSpec&, int*) override { return QString(); }
    QString OpenFileName(const TFileDialogSpec&) override { return QString(); }
    int Asked = 0;
};

size_t ResidentBytes() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toULongLong() * static_cast<size_t>(sysconf(_SC_PAGESIZE)) : 0;
}

size_t HeapInUse() {
    return mallinfo2().uordblks + mallinfo2().hblkhd;
}

void Turn(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool CopyProgramDir(const QString& from, const QString& to, bool fast) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + QLatin1Char('/') + QDir(from).relativeFilePath(src);
        QDir().mkpath(QFileInfo(dst).absolutePath());
        if (!QFile::copy(src, dst))
            return false;
    }
    if (!fast)
        return true;
    const auto patch = [](const QString& path, const QByteArray& old, const QByteArray& with) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return false;
        QByteArray text = f.readAll();
        f.close();
        text.replace(old, with);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size();
    };
    return patch(to + QStringLiteral("/devices.ini"), "Tmin=0.7", "Tmin=0") &&
           patch(to + QStringLiteral("/kvcom.ini"), "Timing=1", "Timing=0");
}

size_t Points(const TChart& chart) {
    size_t n = 0;
    for (int k = 0; k < chart.SeriesCount(); ++k)
        n += chart.Series(k).Count();
    return n;
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int seconds = 60;
    int warmup = 15;
    bool fast = false;
    bool monitor = false;
    bool chartShown = true;
    QString progDir = QStringLiteral(KESTRIN_PROGDIR);
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString a = args[i];
        const QString next = i + 1 < args.size() ? args[i + 1] : QString();
        if (a == QLatin1String("--seconds"))
            seconds = next.toInt(), ++i;
        else if (a == QLatin1String("--warmup"))
            warmup = next.toInt(), ++i;
        else if (a == QLatin1String("--fast"))
            fast = true;
        else if (a == QLatin1String("--monitor"))
            monitor = true;
        else if (a == QLatin1String("--page"))
            chartShown = next != QLatin1String("settings"), ++i;
        else if (a == QLatin1String("--progdir"))
            progDir = next, ++i;
        else {
            std::fprintf(stderr, "unknown argument %s\n", qPrintable(a));
            return 2;
        }
    }

    QTemporaryDir dir;
    if (!dir.isValid() || !CopyProgramDir(progDir, dir.path(), fast)) {
        std::fprintf(stderr, "cannot lay out the program directory\n");
        return 1;
    }
    TAppState state;
    state.ProgDir = dir.path() + QLatin1Char('/');
    TNoDialogs dialogs;
    TKvLibrary library;
    TfrmMain main(state, dialogs);
    main.LoadPortList = [&](TAppState& s) {
        if (!library.Load(s.ProgDir))
            return false;
        LoadPortList(library.Table(), s.PortList, s.SpeedList, &main);
        return true;
    };
    if (!main.FormCreate()) {
        std::fprintf(stderr, "start-up failed: %s\n", qPrintable(library.ErrorText()));
        return 1;
    }
    TMainExchange exchange(main, library.Table());
    main.CreateDialogs();
    main.ShowDevSetDialog = [] { return true; };
    main.findChild<QAction*>(QStringLiteral("actNew"))->trigger();
    if (!state.HasCurType() || state.PrjState == TPrjState::PrjNone) {
        std::fprintf(stderr, "no project\n");
        return 1;
    }
    state.CurDev().COMPort = QStringLiteral("SIM1");
    state.CurDev().Address = 1;
    main.show();
    if (chartShown)
        main.findChild<QTabWidget*>(QStringLiteral("pcMain"))
            ->setCurrentWidget(main.findChild<QWidget*>(QStringLiteral("TabMeas")));
    if (monitor)
        main.ShowLineMonitor();
    const TChart& chart = *main.findChild<TChart*>(QStringLiteral("Chart"));
    main.findChild<QPushButton*>(QStringLiteral("btnMeasure"))->click();
    Turn(warmup * 1000);

    struct TSample {
        double Points, Rss, Heap, Chart, Used;
    };
    const auto sample = [&] {
        return TSample{double(Points(chart)), double(ResidentBytes()), double(HeapInUse()),
                       double(chart.CapacityBytes()), double(chart.UsedBytes())};
    };
    const TSample first = sample();
    std::printf("polling %d s after %d s: %s, chart %s, monitor %s, platform %s\n", seconds, warmup,
                fast ? "fast" : "catalogue cadence", chartShown ? "shown" : "hidden",
                monitor ? "open" : "closed", qPrintable(QGuiApplication::platformName()));
    std::printf("%8s %10s %12s %12s %12s %12s %12s\n", "seconds", "points", "heap +", "chart +",
                "heap beyond", "rss +", "rss beyond");
    // Per point between two samples: heap beyond the chart's holdings, resident memory beyond the
    // points' own use.
    const auto beyond = [](const TSample& a, const TSample& b, double TSample::*of,
                           double TSample::*chartOf) {
        const double points = b.Points - a.Points;
        return points > 0 ? ((b.*of - a.*of) - (b.*chartOf - a.*chartOf)) / points : 0.0;
    };
    QElapsedTimer clock;
    clock.start();
    TSample half = first;
    bool halfTaken = false;
    TSample last = first;
    while (clock.elapsed() < seconds * 1000LL && state.ExchangeState == TExchState::ExchMeasure) {
        Turn(static_cast<int>(std::min<qint64>(10000, seconds * 1000LL - clock.elapsed())));
        last = sample();
        if (!halfTaken && clock.elapsed() >= seconds * 500LL) {
            half = last;
            halfTaken = true;
        }
        std::printf("%8.0f %10.0f %12.0f %12.0f %12.1f %12.0f %12.1f\n", clock.elapsed() / 1000.0,
                    last.Points - first.Points, last.Heap - first.Heap, last.Chart - first.Chart,
                    beyond(first, last, &TSample::Heap, &TSample::Chart), last.Rss - first.Rss,
                    beyond(first, last, &TSample::Rss, &TSample::Chart));
        std::fflush(stdout);
    }
    const bool polled = state.ExchangeState == TExchState::ExchMeasure && dialogs.Asked == 0;
    state.MeasureStop = true;
    exchange.WaitForWorkers();
    const double points = last.Points - first.Points;
    std::printf("points %.0f (%.1f a second); the chart's points use %.1f bytes a point\n", points,
                points / (clock.elapsed() / 1000.0), points > 0 ? (last.Used - first.Used) / points : 0.0);
    std::printf(
        "beyond the chart, bytes a point: heap %.1f (second half %.1f), resident %.1f (second half %.1f)\n",
        beyond(first, last, &TSample::Heap, &TSample::Chart),
        beyond(half, last, &TSample::Heap, &TSample::Chart),
        beyond(first, last, &TSample::Rss, &TSample::Chart),
        beyond(half, last, &TSample::Rss, &TSample::Chart));
    state.PrjState = TPrjState::PrjNone; // no close questions
    if (!polled) {
        std::fprintf(stderr, "polling stopped early\n");
        return 1;
    }
    return 0;
}
