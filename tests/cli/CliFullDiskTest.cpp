// kestrin-cli writing onto a real full file system: the files it would replace stay as they were,
// the reason and the file-error status are given, and a measurement that fills the disk stops at
// once with whole lines in its file.
#include "CliRun.h"
#include "FullDisk.h"
#include "SimProcess.h"
#include "TestUtil.h"

#include <QDirIterator>
#include <QFileInfo>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {
const QString ProgDir = QStringLiteral(KESTRIN_PROGDIR);
const QString NoSpace = QStringLiteral("на диске нет места");
constexpr int CliFileError = 4;

QStringList Line(const TSimProcess& sim) {
    return {QStringLiteral("--port"),    sim.PtyPath(),
            QStringLiteral("--speed"),   QStringLiteral("9600"),
            QStringLiteral("--address"), QStringLiteral("1")};
}

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

TEST(CliFullDisk, ReadOutKeepsTheOldFilesAndExitsWithTheFileStatus) {
    TFullDisk disk(256);
    if (!disk.Ok())
        GTEST_SKIP() << disk.WhyNot().toStdString();
    TSimProcess sim(ProgDir, {"--device", "1:21"});
    ASSERT_FALSE(sim.PtyPath().isEmpty());
    for (const QString& name : {QStringLiteral("tx.kpr"), QStringLiteral("tx.json")}) {
        const TCliResult r =
            RunCliProgram(QStringList{"read"} + Line(sim) + QStringList{"--out", disk.Path(name)});
        ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    }
    const QByteArray kpr = Bytes(disk.Path("tx.kpr")), json = Bytes(disk.Path("tx.json"));
    ASSERT_GT(kpr.size(), 1000);
    ASSERT_GT(json.size(), 1000);
    ASSERT_TRUE(disk.Fill());
    const QStringList names = disk.Names();

    for (const QString& name : {QStringLiteral("tx.kpr"), QStringLiteral("tx.json")}) {
        const TCliResult r =
            RunCliProgram(QStringList{"read"} + Line(sim) + QStringList{"--out", disk.Path(name)});
        EXPECT_EQ(r.Exit, CliFileError) << r.Out.toStdString() << r.Err.toStdString();
        EXPECT_TRUE(r.Err.contains(NoSpace)) << r.Err.toStdString();
        EXPECT_FALSE(r.Out.contains(QStringLiteral("записан файл"), Qt::CaseInsensitive))
            << r.Out.toStdString();
    }
    EXPECT_EQ(Bytes(disk.Path("tx.kpr")), kpr);
    EXPECT_EQ(Bytes(disk.Path("tx.json")), json);
    EXPECT_EQ(disk.Names(), names);

    // A trace that could not be written whole is said, with the file status; the read went on.
    const TCliResult t =
        RunCliProgram(QStringList{"read"} + Line(sim) + QStringList{"--trace", disk.Path("trace.txt")});
    EXPECT_EQ(t.Exit, CliFileError) << t.Out.toStdString() << t.Err.toStdString();
    EXPECT_TRUE(t.Err.contains(QStringLiteral("трассировка неполная")) && t.Err.contains(NoSpace))
        << t.Err.toStdString();
    EXPECT_TRUE(t.Out.contains(QStringLiteral("Чтение завершено"))) << t.Out.toStdString();
}

TEST(CliFullDisk, MeasureThatFillsTheDiskStopsAtOnceWithWholeLines) {
    TFullDisk disk(256);
    if (!disk.Ok())
        GTEST_SKIP() << disk.WhyNot().toStdString();
    // A program directory whose type is polled every 20 ms, so the file grows quickly.
    QTemporaryDir dir;
    const QString copy = dir.path() + "/";
    ASSERT_TRUE(TestUtil::CopyProgramDir(copy, TestUtil::TCopyPrograms::CliAndSim));
    QByteArray catalogue = Bytes(copy + "devices.ini");
    ASSERT_TRUE(catalogue.contains("Tmin=0.7"));
    QFile out(copy + "devices.ini");
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(catalogue.replace("Tmin=0.7", "Tmin=0.02"));
    out.close();

    TSimProcess sim(ProgDir, {"--device", "1:21"});
    ASSERT_FALSE(sim.PtyPath().isEmpty());
    const QString csv = disk.Path("run.csv");
    QProcess p;
    p.setProcessEnvironment(CliEnvironment());
    p.start(copy + "kestrin-cli", QStringList{"measure"} + Line(sim) +
                                      QStringList{"--channels", "1,2,3,4", "--seconds", "120", "--csv", csv});
    ASSERT_TRUE(p.waitForStarted(10000));
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (Bytes(csv).count('\n') < 4 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_GE(Bytes(csv).count('\n'), 4);
    ASSERT_TRUE(disk.Fill());
    // Stopped by the full disk, long before its 120 seconds.
    const bool finished = p.waitForFinished(20000);
    if (!finished) {
        p.kill();
        p.waitForFinished(5000);
    }
    ASSERT_TRUE(finished);
    EXPECT_EQ(p.exitCode(), CliFileError);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.contains(NoSpace)) << err.toStdString();

    const QByteArray bytes = Bytes(csv);
    ASSERT_TRUE(bytes.endsWith('\n')) << bytes.right(80).toStdString();
    const QList<QByteArray> lines = bytes.split('\n');
    EXPECT_GT(lines.size(), 5);
    EXPECT_EQ(lines.first(), "time,minutes,address,channel,value");
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QList<QByteArray> f = lines[i].split(',');
        ASSERT_EQ(f.size(), 5) << lines[i].toStdString();
        bool number = false;
        f[4].toDouble(&number);
        EXPECT_TRUE(number) << lines[i].toStdString();
    }
}
