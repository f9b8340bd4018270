// The measurement record: what reaches the file while the polling runs (rotation by day and size,
// gaps, a full disk) and what the reader makes of it and of kestrin-cli's files.
#include "formats/MeasureRecord.h"

#include "FullDisk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct TPoint {
    int Series;
    double X, Y;
};

class TSink : public IRecordSink {
public:
    std::vector<std::pair<int, int>> Series;
    std::vector<TPoint> Points;
    std::vector<size_t> Gaps; // points before each gap
    int NewSeries(int address, int channel) override {
        Series.emplace_back(address, channel);
        return static_cast<int>(Series.size()) - 1;
    }
    void Point(int series, double minutes, double value) override {
        Points.push_back({series, minutes, value});
    }
    void Gap() override { Gaps.push_back(Points.size()); }
};

QByteArray ReadAll(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

qsizetype ReadingLines(const QByteArray& text) {
    qsizetype n = 0;
    for (const QByteArray& line : text.split('\n'))
        if (!line.isEmpty() && !line.startsWith('#') && !line.startsWith("time,"))
            ++n;
    return n;
}

TRecordHeader Header(const QDateTime& start) {
    TRecordHeader h;
    h.Type = QStringLiteral("Kestrin K1");
    h.Version = QStringLiteral("2.1");
    h.Port = QStringLiteral("SIM1");
    h.Speed = 9600;
    h.Address = 3;
    h.Channels = {1, 2};
    h.Start = start;
    return h;
}
} // namespace

TEST(MeasureRecord, RotatesByDayAndSizeWithoutLosingAReadingAndReadsBack) {
    QTemporaryDir dir;
    const QString chosen = dir.filePath(QStringLiteral("run.csv"));
    const QDateTime start(QDate(2026, 12, 9), QTime(23, 58, 0));
    TMeasureRecorder rec(chosen, 700);
    ASSERT_TRUE(rec.Begin(Header(start), start)) << rec.Reason().toStdString();
    // Every 10 s across midnight, the two channels in turn; a line error after the 7th reading.
    const int count = 19;
    for (int i = 0; i < count; ++i) {
        const QDateTime when = start.addSecs(10 * i);
        ASSERT_TRUE(rec.Reading(when, i / 6.0, 1 + i % 2, QString::number(100 + i) + QStringLiteral(".25")))
            << i << rec.Reason().toStdString();
        if (i == 6) {
            ASSERT_TRUE(rec.Gap(when, QStringLiteral("ошибка чтения канала 2")));
        }
    }
    rec.End();
    EXPECT_EQ(rec.Readings(), count);

    const QStringList files = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 3)
        << files.join(QLatin1Char(' ')).toStdString(); // twelve readings on the first day, seven on the next
    EXPECT_EQ(files.first(), QStringLiteral("run_2026-12-09.csv"));
    EXPECT_TRUE(files.contains(QStringLiteral("run_2026-12-09_2.csv")));
    EXPECT_TRUE(files.contains(QStringLiteral("run_2026-12-10.csv")));
    EXPECT_EQ(rec.FileName(), dir.filePath(files.last()));
    std::vector<TPoint> all;
    int gaps = 0;
    for (const QString& name : files) {
        const QByteArray text = ReadAll(dir.filePath(name));
        SCOPED_TRACE(name.toStdString());
        // Each file stands alone: the instrument named, the columns, whole lines, within the limit.
        EXPECT_TRUE(
            text.startsWith("# Kestrin K1 measurement record\n# type: Kestrin K1\n# version: 2.1\n"
                            "# port: SIM1\n# speed: 9600\n# address: 3\n# channels: 1,2\n"
                            "# start: 2026-12-09T23:58:00.000\ntime,minutes,address,channel,value\n"));
        EXPECT_TRUE(text.endsWith('\n'));
        EXPECT_LE(text.size(), 700);
        const bool firstDay = name.startsWith(QStringLiteral("run_2026-12-09"));
        for (const QByteArray& line : text.split('\n'))
            if (!line.isEmpty() && !line.startsWith('#') && !line.startsWith("time,")) {
                EXPECT_TRUE(line.startsWith(firstDay ? "2026-12-09T23:5" : "2026-12-10T00:0")) << line.data();
            }
        TSink sink;
        const TRecordRead r = ReadMeasureRecordFile(dir.filePath(name), sink);
        ASSERT_TRUE(r.Ok);
        EXPECT_EQ(r.Skipped, 0);
        EXPECT_EQ(r.Header.Address, 3);
        EXPECT_EQ(r.Header.Port, QStringLiteral("SIM1"));
        EXPECT_EQ(r.Header.Channels, QList<int>({1, 2}));
        for (const TPoint& p : sink.Points)
            all.push_back({sink.Series[static_cast<size_t>(p.Series)].second, p.X, p.Y});
        gaps += r.Gaps;
    }
    // Every reading once, in order, with its minutes and its value, and the one gap.
    ASSERT_EQ(all.size(), size_t(count));
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(all[size_t(i)].Series, 1 + i % 2);
        EXPECT_NEAR(all[size_t(i)].X, i / 6.0, 1e-5);
        EXPECT_EQ(all[size_t(i)].Y, 100 + i + 0.25);
    }
    EXPECT_EQ(gaps, 1);
}

TEST(MeasureRecord, ReadsCliFilesRunsAndGapsAndGoesOnAfterACrash) {
    // kestrin-cli measure: the column line only, two instruments, a last line cut short.
    const std::string cli = "time,minutes,address,channel,value\n"
                            "2026-12-10T10:00:00.000,0.00000,1,1,20.5\n"
                            "2026-12-10T10:00:00.500,0.00833,2,1,-7\n"
                            "2026-12-10T10:00:00.900,0.01500,1,1,2.05E1\n"
                            "2026-12-10T10:00:01.000,0.01667,1,1,nonsense\n"
                            "2026-12-10T10:00:01.300,0.02";
    TSink cliSink;
    const TRecordRead c = ReadMeasureRecord(cli, cliSink);
    ASSERT_TRUE(c.Ok);
    EXPECT_EQ(c.Readings, 3);
    EXPECT_EQ(c.Skipped, 1);
    EXPECT_EQ(cliSink.Series, (std::vector<std::pair<int, int>>{{1, 1}, {2, 1}}));
    ASSERT_EQ(cliSink.Points.size(), 3u);
    EXPECT_EQ(cliSink.Points[1].Series, 1);
    EXPECT_EQ(cliSink.Points[1].Y, -7);
    EXPECT_EQ(cliSink.Points[2].Y, 20.5);
    EXPECT_TRUE(cliSink.Gaps.empty());

    // A record the program was killed in the middle of writing, recorded into again the same day:
    // the cut line goes, the next run follows on the time axis after a gap.
    QTemporaryDir dir;
    const QString chosen = dir.filePath(QStringLiteral("pump.csv"));
    const QDateTime first(QDate(2026, 12, 10), QTime(10, 0, 0));
    {
        TMeasureRecorder rec(chosen);
        ASSERT_TRUE(rec.Begin(Header(first), first));
        ASSERT_TRUE(rec.Reading(first.addSecs(30), 0.5, 1, QStringLiteral("1.5")));
        rec.End();
    }
    const QString file = RecordFileName(chosen, first.date(), 1);
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("2026-12-10T10:00:40.000,0.66");
    }
    const QDateTime second = first.addSecs(180);
    TMeasureRecorder again(chosen);
    ASSERT_TRUE(again.Begin(Header(second), second));
    ASSERT_TRUE(again.Reading(second.addSecs(60), 1.0, 2, QStringLiteral("2.5")));
    again.End();
    EXPECT_EQ(again.FileName(), file);
    const QByteArray text = ReadAll(file);
    EXPECT_FALSE(text.contains("0.66")) << text.data();
    TSink sink;
    const TRecordRead r = ReadMeasureRecordFile(file, sink);
    EXPECT_EQ(r.Skipped, 0);
    ASSERT_EQ(sink.Points.size(), 2u);
    EXPECT_NEAR(sink.Points[1].X, 3 + 1.0, 1e-9); // three minutes after the first run began
    EXPECT_EQ(sink.Gaps, std::vector<size_t>{1});
}

TEST(MeasureRecord, FullDiskAndUnwritableTargetStopTheRecordWithWholeLines) {
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QDateTime now = QDateTime::currentDateTime();
    TMeasureRecorder nowhere(dir.filePath(QStringLiteral("plain/run.csv")));
    EXPECT_FALSE(nowhere.Begin(Header(now), now));
    EXPECT_FALSE(nowhere.Reason().isEmpty());
    EXPECT_FALSE(nowhere.Reading(now, 0, 1, QStringLiteral("1")));

    TFullDisk disk(64);
    if (!disk.Ok())
        GTEST_SKIP() << disk.WhyNot().toStdString();
    TMeasureRecorder rec(disk.Path(QStringLiteral("run.csv")));
    ASSERT_TRUE(rec.Begin(Header(now), now));
    int taken = 0;
    while (taken < 100000 && rec.Reading(now, taken / 60.0, 1, QStringLiteral("123.456789")))
        ++taken;
    ASSERT_LT(taken, 100000) << "the disk never filled";
    EXPECT_TRUE(rec.Reason().contains(QStringLiteral("нет места"))) << rec.Reason().toStdString();
    EXPECT_FALSE(rec.Active());
    const QByteArray text = ReadAll(RecordFileName(disk.Path(QStringLiteral("run.csv")), now.date(), 1));
    EXPECT_TRUE(text.endsWith('\n'));
    EXPECT_EQ(ReadingLines(text), taken);
    EXPECT_EQ(rec.Readings(), taken);
}
