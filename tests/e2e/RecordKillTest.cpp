// The measurement record survives a killed program: the real program records the demo line's
// readings, is killed with SIGKILL in the middle of it, and the file must hold every reading the
// chart showed up to a second before, in whole lines.
#include "formats/MeasureRecord.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "E2eProcess.h"

namespace {
class TCount : public IRecordSink {
public:
    int NewSeries(int, int) override { return 0; }
    void Point(int, double, double) override {}
    void Gap() override {}
};

QString RecordedFile(const QString& dir) {
    const QStringList files = QDir(dir).entryList({QStringLiteral("record_*.csv")}, QDir::Files, QDir::Name);
    return files.isEmpty() ? QString() : dir + QLatin1Char('/') + files.last();
}

qint64 Readings(const QString& file, TRecordRead* read = nullptr) {
    TCount sink;
    const TRecordRead r = ReadMeasureRecordFile(file, sink);
    if (read)
        *read = r;
    return r.Ok ? r.Readings : -1;
}
} // namespace

TEST(RecordKill, FileHoldsWhatTheChartShowedWhenTheProgramIsKilled) {
    E2e::TXServer x;
    ASSERT_TRUE(x.Start()) << "Xvfb did not start (Debian package xvfb)";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    E2e::CopyProgramDir(QStringLiteral(KESTRIN_PROGDIR), dir.path());
    const QString chosen = dir.filePath(QStringLiteral("record.csv"));

    QProcess kestrin;
    E2e::StartProgram(kestrin, x.Display, dir.path(), {QStringLiteral("KESTRIN_E2E_RECORD=") + chosen});
    ASSERT_TRUE(kestrin.waitForStarted(30000));
    // Polls the program's report and the file until both have a dozen readings.
    QString report;
    qint64 lastShown = -1;
    const QRegularExpression shownLine(QStringLiteral("E2E SHOWN (\\d+)"));
    const auto takeReport = [&] {
        report += QString::fromLocal8Bit(kestrin.readAll());
        auto it = shownLine.globalMatch(report);
        while (it.hasNext())
            lastShown = it.next().captured(1).toLongLong();
    };
    QElapsedTimer waited;
    waited.start();
    bool ready = false;
    while (!ready && kestrin.state() == QProcess::Running && waited.elapsed() < 180000) {
        kestrin.waitForReadyRead(200);
        takeReport();
        const QString file = RecordedFile(dir.path());
        ready = lastShown >= 12 && !file.isEmpty() && Readings(file) >= 12;
    }
    ASSERT_TRUE(ready) << "no recording came about; the program said:\n" << report.toStdString();
    ASSERT_FALSE(report.contains(QStringLiteral("E2E FAIL"))) << report.toStdString();
    // The moment of the kill follows the chart alone, never the file's growth: twenty readings on.
    const qint64 target = lastShown + 20;
    while (lastShown < target && kestrin.state() == QProcess::Running && waited.elapsed() < 240000) {
        kestrin.waitForReadyRead(200);
        takeReport();
    }
    ASSERT_GE(lastShown, target) << report.toStdString();

    kestrin.kill(); // SIGKILL: nothing of the program runs after it
    ASSERT_TRUE(kestrin.waitForFinished(30000));
    EXPECT_EQ(kestrin.exitStatus(), QProcess::CrashExit);
    takeReport();

    const QString file = RecordedFile(dir.path());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    // Well-formed up to its end: whole lines, each a header line or a reading of five fields.
    EXPECT_TRUE(text.endsWith('\n'));
    TRecordRead read;
    const qint64 recorded = Readings(file, &read);
    EXPECT_EQ(read.Skipped, 0);
    EXPECT_EQ(read.Header.Port, QStringLiteral("SIM1"));
    // One second's worth of readings, from the file's own times.
    QList<QDateTime> times;
    for (const QByteArray& line : text.split('\n'))
        if (!line.isEmpty() && !line.startsWith('#') && !line.startsWith("time,"))
            times << QDateTime::fromString(QString::fromLatin1(line.left(line.indexOf(','))),
                                           Qt::ISODateWithMs);
    ASSERT_GE(times.size(), 2);
    const double seconds = times.first().msecsTo(times.last()) / 1000.0;
    ASSERT_GT(seconds, 0);
    const double perSecond = (times.size() - 1) / seconds;
    std::fprintf(stderr, "recorded %lld, shown %lld, %.1f readings a second\n",
                 static_cast<long long>(recorded), static_cast<long long>(lastShown), perSecond);
    // The chart showed lastShown points at most a moment before the kill: the file holds at least
    // all of them but one second's worth, and no reading the chart never had.
    EXPECT_GE(double(recorded), double(lastShown) - perSecond)
        << "file " << recorded << ", shown " << lastShown << ", per second " << perSecond;
    EXPECT_LE(double(recorded), double(lastShown) + perSecond)
        << "file " << recorded << ", shown " << lastShown << ", per second " << perSecond;
}
