// Rebuilding the device table for a type of 500 parameters (lists, check boxes, numbers and texts
// mixed) and showing a full value list: ApplyDevType, which ends in ValuesToTable.
#include "NullDevHost.h"
#include "QtBenchMain.h"
#include "common/Cp1251.h"
#include "ui/DevTable.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTableWidget>
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

constexpr int ParamCount = 500;

// Descriptions in a temporary program directory, loaded the program's way; the values are a full,
// valid set (every list and check box filled).
struct TBenchData {
    QTemporaryDir Dir;
    TAppState State;
    TBenchData() {
        State.ProgDir = Dir.path() + "/";
        auto type = std::make_unique<TDevProp>();
        type->Name = QStringLiteral("Kestrin bench");
        type->Dir = QStringLiteral("B");
        QString desc;
        QString menu;
        QStringList values;
        for (int i = 0; i < ParamCount; ++i) {
            const QString name = QStringLiteral("Параметр %1 канала %2").arg(i).arg(i % 8 + 1);
            const int kind = i % 4; // 0 list, 1 check box, 2 whole number, 3 real
            desc += QStringLiteral("[%1]\r\nVType=%2\r\nAddress=%3\r\nValue=1\r\nVmin=-100\r\nVmax=1000\r\n"
                                   "Hint=Подсказка %4\r\nSType=%5\r\nColor=%6\r\n")
                        .arg(name)
                        .arg(kind == 3 ? 3 : 0)
                        .arg(i + 1)
                        .arg(i)
                        .arg(kind == 0   ? 1
                             : kind == 1 ? 2
                                         : 0)
                        .arg(i % 3 == 0 ? QStringLiteral("clInfoBk") : QStringLiteral("$F0FFF0"));
            if (kind == 0) {
                menu += QStringLiteral("[%1]\r\n").arg(name);
                for (int k = 0; k < 20; k += (k % 3 == 2 ? 2 : 1)) // options with gaps
                    menu += QStringLiteral("M%1=Вариант %2\r\n").arg(k).arg(k);
            }
            values << (kind == 0   ? QString::number(i % 15)
                       : kind == 1 ? QString::number(i % 2)
                       : kind == 2 ? QString::number(i)
                                   : QStringLiteral("%1.5").arg(i));
        }
        Write(DescriptionPath(State.ProgDir, *type, QString()), desc);
        Write(MenuPath(State.ProgDir, *type, QString()), menu);
        if (!LoadDescriptions(State.ProgDir, *type, QString()) || type->ParamCount() != ParamCount)
            qFatal("descriptions not loaded");
        State.DevTypes.push_back(std::move(type));
        State.DevList.push_back(std::make_unique<TDev>());
        State.CurDev().Values = values;
    }
};

void ApplyDevType500(benchmark::State& state, bool repaint) {
    TBenchData data;
    TNullHost host;
    TNullDialogs dialogs;
    TfrmDev form(data.State, dialogs, host);
    form.resize(800, 600);
    form.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        form.ApplyDevType(data.State.CurDevType());
        if (repaint)
            form.findChild<QTableWidget*>(QStringLiteral("DevGrid"))->viewport()->repaint();
    }
    if (form.RowCount() != ParamCount + 1 || form.CellText(1, 4) != QStringLiteral("3.5"))
        state.SkipWithError("table not filled");
}
void BM_ApplyDevType500(benchmark::State& state) {
    ApplyDevType500(state, false);
}
void BM_ApplyDevType500Painted(benchmark::State& state) {
    ApplyDevType500(state, true);
}
BENCHMARK(BM_ApplyDevType500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplyDevType500Painted)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    return RunQtBenchmarks(argc, argv);
}
