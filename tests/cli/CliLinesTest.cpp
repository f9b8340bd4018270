// kestrin-cli over several lines at once: kestrin-sim processes on pseudo-terminals, one line with
// nothing behind it, the combined report, the files per port and Ctrl+C on every line.
#include "CliRun.h"
#include "SimProcess.h"
#include "cli/CliArgs.h"
#include "formats/DevTableGrid.h"
#include "formats/ParamSetFile.h"
#include "model/AppState.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <thread>
#include <unistd.h>

namespace {
const QString ProgDir = QStringLiteral(KESTRIN_PROGDIR);

QJsonObject Json(const QString& text) {
    return QJsonDocument::fromJson(text.toUtf8()).object();
}

// A pseudo-terminal nobody answers on: a line whose adapter has no instruments behind it.
class TDeadLine {
public:
    TDeadLine() {
        Master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (Master >= 0 && ::grantpt(Master) == 0 && ::unlockpt(Master) == 0)
            Path = QString::fromLatin1(::ptsname(Master));
    }
    ~TDeadLine() {
        if (Master >= 0)
            ::close(Master);
    }
    TDeadLine(const TDeadLine&) = delete;
    TDeadLine& operator=(const TDeadLine&) = delete;
    QString Path;

private:
    int Master = -1;
};

// "/dev/pts/3" as the files of its line name it.
QString FileTag(const QString& pty) {
    return pty.mid(5).replace(QLatin1Char('/'), QLatin1Char('_'));
}

// The descriptions a parameter-set file fits: the version whose names it has.
bool FitsVersion(const QString& file, const QString& version) {
    TAppState state;
    state.ProgDir = ProgDir;
    state.LoadCatalogue();
    if (!version.isEmpty() && !LoadDescriptions(ProgDir, state.CurDevType(), version))
        return false;
    TGridData grid;
    return ReadParamSetFile(grid, file).Ok && DevTableNameMismatches(state.CurDevType(), grid).isEmpty();
}
} // namespace

TEST(CliLines, PortListsKeepNetworkAddressesAndExistingPathsWhole) {
    QList<TCliLine> lines;
    ASSERT_EQ(
        ParsePortList("ttyUSB0:1-3,7,NET1,tcp://10.0.0.5:4001:9,tcp://10.0.0.6:23,rfc2217://[fe80::1]:2217",
                      {5}, true, lines),
        QString());
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0].Port, "ttyUSB0");
    EXPECT_EQ(lines[0].Addresses, (QList<int>{1, 2, 3, 7}));
    EXPECT_EQ(lines[1].Port, "NET1");
    EXPECT_EQ(lines[1].Addresses, (QList<int>{5}));
    EXPECT_EQ(lines[2].Port, "tcp://10.0.0.5:4001");
    EXPECT_EQ(lines[2].Addresses, (QList<int>{9}));
    // A device server's TCP port is never taken for an address, however small.
    EXPECT_EQ(lines[3].Port, "tcp://10.0.0.6:23");
    EXPECT_EQ(lines[3].Addresses, (QList<int>{5}));
    EXPECT_EQ(lines[4].Port, "rfc2217://[fe80::1]:2217");
    // A path that exists is a port as written, ':' and all.
    QTemporaryDir dir;
    const QString byPath = dir.filePath("pci-0000:00:14.0-usb-0:2");
    QFile(byPath).open(QIODevice::WriteOnly);
    ASSERT_EQ(ParsePortList(byPath + ",ttyUSB1:4", {1}, true, lines), QString());
    EXPECT_EQ(lines[0].Port, byPath);
    EXPECT_EQ(lines[0].Addresses, (QList<int>{1}));
    // One line given twice, an address without a port, a port without addresses: refused.
    for (const QStringList& bad :
         {QStringList{"read", "--port", "ttyS0:1,/dev/ttyS0:2", "--speed", "9600"},
          QStringList{"read", "--port", "3,ttyS0", "--speed", "9600", "--address", "1"},
          QStringList{"read", "--port", "ttyS0:1,ttyS1", "--speed", "9600"},
          QStringList{"read", "--port", "ttyS0,ttyS1", "--speed", "9600", "--address", "1", "--out", "-"},
          QStringList{"scan", "--port", "ttyS0:1,ttyS1"}}) {
        TCliOptions o;
        EXPECT_FALSE(ParseCliArgs(bad, o).isEmpty()) << bad.join(' ').toStdString();
    }
}

// Three lines read at once: two with instruments (one with its own address list), one silent.
TEST(CliLines, ReadOverSeveralLinesReportsEachPortWholeWithItsOwnFilesAndTheHighestStatus) {
    TSimProcess a(ProgDir, {"--device", "1:21", "--device", "2:21:K1_205"});
    TSimProcess b(ProgDir, {"--device", "1:21"});
    TDeadLine dead;
    ASSERT_FALSE(a.PtyPath().isEmpty());
    ASSERT_FALSE(b.PtyPath().isEmpty());
    ASSERT_FALSE(dead.Path.isEmpty());
    QTemporaryDir dir;
    const QString ports = a.PtyPath() + ":1-2," + b.PtyPath() + "," + dead.Path;
    const QStringList args{"read", "--port", ports, "--speed", "9600", "--address", "1", "--timeout", "300"};
    TCliResult r = RunCliProgram(
        args + QStringList{"--out", dir.filePath("set.kpr"), "--json", "--trace", dir.filePath("trace.txt")});
    // The silent line fails, the others complete: the highest status of them.
    EXPECT_EQ(r.Exit, 2) << r.Err.toStdString();
    const QJsonObject doc = Json(r.Out);
    EXPECT_EQ(doc.value("command").toString(), "read");
    const QJsonArray lines = doc.value("ports").toArray();
    ASSERT_EQ(lines.size(), 3) << r.Out.toStdString();
    const QStringList expectedPorts{a.PtyPath(), b.PtyPath(), dead.Path};
    const QList<int> expectedDevices{2, 1, 1};
    for (int i = 0; i < 3; ++i) {
        const QJsonObject line = lines[i].toObject();
        EXPECT_EQ(line.value("port").toString(), expectedPorts[i]);
        EXPECT_EQ(line.value("devices").toArray().size(), expectedDevices[i]);
        EXPECT_EQ(line.value("summary").toObject().value("exit").toInt(), i == 2 ? 2 : 0);
    }
    const QJsonArray onA = lines[0].toObject().value("devices").toArray();
    EXPECT_EQ(onA[0].toObject().value("version").toString(), "");
    EXPECT_EQ(onA[1].toObject().value("version").toString(), "K1_205");
    EXPECT_EQ(lines[1].toObject().value("devices").toArray()[0].toObject().value("status").toString(), "ok");
    const QJsonObject silent = lines[2].toObject().value("devices").toArray()[0].toObject();
    EXPECT_EQ(silent.value("status").toString(), "error");
    EXPECT_EQ(silent.value("message").toString(), QStringLiteral("Нет связи с прибором!"));
    const QJsonObject summary = doc.value("summary").toObject();
    EXPECT_EQ(summary.value("done").toInt(), 3);
    EXPECT_EQ(summary.value("total").toInt(), 4);
    EXPECT_EQ(summary.value("exit").toInt(), 2);

    // A file per port and address, each with its own instrument's version; none for the silent line.
    const QString tagA = FileTag(a.PtyPath()), tagB = FileTag(b.PtyPath());
    EXPECT_TRUE(FitsVersion(dir.filePath("set_" + tagA + "_1.kpr"), QString()));
    EXPECT_TRUE(FitsVersion(dir.filePath("set_" + tagA + "_2.kpr"), "K1_205"));
    EXPECT_FALSE(FitsVersion(dir.filePath("set_" + tagA + "_2.kpr"), QString()));
    EXPECT_TRUE(FitsVersion(dir.filePath("set_" + tagB + ".kpr"), QString()));
    EXPECT_EQ(QDir(dir.path()).entryList({"set*"}, QDir::Files).size(), 3);

    // The trace: whole lines from every thread, each naming its port, a request and an answer for
    // every frame each simulator received; and the lines ran at once, not one after another.
    QFile traceFile(dir.filePath("trace.txt"));
    ASSERT_TRUE(traceFile.open(QIODevice::ReadOnly));
    QMap<QString, int> perPort;
    QMap<QString, QDateTime> first, last;
    for (const QString& line : QString::fromUtf8(traceFile.readAll()).split('\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split('\t');
        ASSERT_EQ(f.size(), 7) << line.toStdString();
        ASSERT_TRUE(expectedPorts.contains(f[2])) << line.toStdString();
        ++perPort[f[2]];
        const QDateTime at = QDateTime::fromString(f[0], "yyyy-MM-dd hh:mm:ss.zzz");
        if (!first.contains(f[2]))
            first[f[2]] = at;
        last[f[2]] = at;
    }
    EXPECT_EQ(perPort.value(a.PtyPath()), 2 * a.Trace().size());
    EXPECT_EQ(perPort.value(b.PtyPath()), 2 * b.Trace().size());
    EXPECT_GT(perPort.value(dead.Path), 0);
    EXPECT_LE(first[b.PtyPath()], last[a.PtyPath()]);
    EXPECT_LE(first[a.PtyPath()], last[b.PtyPath()]);

    // The text report: every line under its port's name, each port's lines together, then the total.
    r = RunCliProgram(args);
    EXPECT_EQ(r.Exit, 2);
    const QStringList out = r.Out.split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(out.isEmpty());
    EXPECT_TRUE(out.last().startsWith(QStringLiteral("Всего по портам (3): выполнено 3 из 4")))
        << r.Out.toStdString();
    QStringList order;
    for (const QString& text : out.mid(0, out.size() - 1)) {
        const QString port = text.section(QStringLiteral(": "), 0, 0);
        ASSERT_TRUE(expectedPorts.contains(port)) << text.toStdString();
        if (order.isEmpty() || order.last() != port)
            order << port;
    }
    // Grouped: no port's lines come back after another port's.
    EXPECT_EQ(order.size(), 3) << r.Out.toStdString();
    EXPECT_EQ(QSet<QString>(order.begin(), order.end()).size(), 3) << r.Out.toStdString();
    EXPECT_TRUE(r.Err.contains(dead.Path + QStringLiteral(": Адрес 1: Нет связи с прибором!")))
        << r.Err.toStdString();
}

TEST(CliLines, InterruptStopsEveryLineAtAParameterBoundary) {
    const QStringList slow{"--device", "1:21", "--device", "2:21", "--timing", "--speed", "1200"};
    TSimProcess a(ProgDir, slow);
    TSimProcess b(ProgDir, slow);
    ASSERT_FALSE(a.PtyPath().isEmpty());
    ASSERT_FALSE(b.PtyPath().isEmpty());
    QTemporaryDir dir;
    QProcess p;
    p.setProcessEnvironment(CliEnvironment());
    p.start(CliProgram(), {"read", "--port", a.PtyPath() + "," + b.PtyPath(), "--speed", "1200", "--address",
                           "1,2", "--json", "--trace", dir.filePath("trace.txt")});
    ASSERT_TRUE(p.waitForStarted(10000));
    // Both lines reading parameters, then Ctrl+C.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while ((a.Trace().size() < 5 || b.Trace().size() < 5) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_GE(a.Trace().size(), 5);
    ASSERT_GE(b.Trace().size(), 5);
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 2);
    const QJsonObject doc = Json(QString::fromUtf8(p.readAllStandardOutput()));
    const QJsonArray lines = doc.value("ports").toArray();
    ASSERT_EQ(lines.size(), 2);
    for (const QJsonValue& v : lines) {
        const QJsonObject line = v.toObject();
        const QJsonArray devices = line.value("devices").toArray();
        ASSERT_EQ(devices.size(), 2);
        EXPECT_EQ(devices[0].toObject().value("message").toString(), QStringLiteral("Чтение остановлено"));
        EXPECT_EQ(devices[1].toObject().value("status").toString(), "stopped");
        EXPECT_TRUE(line.value("summary").toObject().value("stopped").toBool());
    }
    EXPECT_TRUE(doc.value("summary").toObject().value("stopped").toBool());
    EXPECT_EQ(doc.value("summary").toObject().value("done").toInt(), 0);
    // Each line ended with an answer to its last request, and none went to the second instruments.
    QFile traceFile(dir.filePath("trace.txt"));
    ASSERT_TRUE(traceFile.open(QIODevice::ReadOnly));
    QMap<QString, QStringList> directions;
    for (const QString& line : QString::fromUtf8(traceFile.readAll()).split('\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split('\t');
        ASSERT_GE(f.size(), 7) << line.toStdString();
        directions[f[2]] << f[1];
    }
    for (const TSimProcess* sim : {&a, &b}) {
        const QStringList d = directions.value(sim->PtyPath());
        EXPECT_EQ(d.size(), 2 * sim->Trace().size());
        EXPECT_EQ(d.count(QStringLiteral("→")), d.count(QStringLiteral("←")));
        EXPECT_EQ(d.value(d.size() - 1), QStringLiteral("←"));
        for (const QString& frame : sim->Trace())
            EXPECT_FALSE(frame.startsWith(":2;")) << frame.toStdString();
    }
}
