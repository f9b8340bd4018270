// Loading a catalogue entry with 1000 parameters whose menu file carries 256 options for each of its
// list parameters (every other parameter is a list).
#include "common/Cp1251.h"
#include "model/Model.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
void Write(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write(Cp1251::Encode(text));
}

void BM_LoadDescriptions1000(benchmark::State& state) {
    QTemporaryDir dir;
    const QString progDir = dir.path() + "/";
    TDevProp type;
    type.Dir = "K";
    QString desc;
    QString menu;
    for (int i = 0; i < 1000; ++i) {
        const QString name = QStringLiteral("Параметр номер %1 канала %2").arg(i).arg(i % 4 + 1);
        const bool list = i % 2 == 0;
        desc += QStringLiteral("[%1]\r\nVType=%2\r\nAddress=$%3\r\nValue=1\r\nVmin=0\r\nVmax=1000\r\n"
                               "Hint=Подсказка к параметру %4\r\nSType=%5\r\nColor=clYellow\r\n")
                    .arg(name)
                    .arg(list ? 0 : 3)
                    .arg(i + 1, 0, 16)
                    .arg(i)
                    .arg(list ? 1 : 0);
        if (list) {
            menu += QStringLiteral("[%1]\r\n").arg(name);
            for (int k = 0; k < 256; ++k)
                menu += QStringLiteral("M%1=Вариант %2\r\n").arg(k).arg(k);
        }
    }
    Write(DescriptionPath(progDir, type, QString()), desc);
    Write(MenuPath(progDir, type, QString()), menu);
    for (auto _ : state) {
        const bool ok = LoadDescriptions(progDir, type, QString());
        benchmark::DoNotOptimize(ok);
        if (!ok || type.ParamCount() != 1000)
            state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadDescriptions1000)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
