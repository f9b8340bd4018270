// The commissioning record of kestrin-cli write against kestrin-sim: the entry holds what the write
// changed, with the values before where the instrument was read first, and the verification; the
// run's report is a page with them; a write refused before sending records nothing; a record that
// does not fit on the disk is told, and the write still counts as done.
#include "CliRun.h"
#include "FullDisk.h"
#include "SimProcess.h"
#include "formats/Commissioning.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString ProgDir = QStringLiteral(KESTRIN_PROGDIR);
const QString ColdJunction = QStringLiteral("Температура холодного спая"); // a real, factory value 20
const QString Delay = QStringLiteral("Задержка ответа");
constexpr int CliFileError = 4;

QJsonObject Json(const QString& text) {
    return QJsonDocument::fromJson(text.toUtf8()).object();
}

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The user's data folder of the test's kestrin-cli runs.
class TDataHome {
public:
    explicit TDataHome(const QString& path) : Old(qgetenv("XDG_DATA_HOME")) {
        qputenv("XDG_DATA_HOME", path.toUtf8());
    }
    ~TDataHome() { qputenv("XDG_DATA_HOME", Old); }
    TDataHome(const TDataHome&) = delete;
    TDataHome& operator=(const TDataHome&) = delete;

private:
    QByteArray Old;
};

class CliCommissioning : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString Path(const QString& name) const { return Dir.filePath(name); }
    static QStringList Line(const TSimProcess& sim, int address) {
        return {QStringLiteral("--port"),    sim.PtyPath(),
                QStringLiteral("--speed"),   QStringLiteral("9600"),
                QStringLiteral("--address"), QString::number(address)};
    }
    // A set as the instrument holds it, read into a JSON document, with values replaced.
    QString SetFile(const TSimProcess& sim, const QMap<QString, QString>& changed,
                    QString* delayWas = nullptr) {
        const TCliResult r = RunCliProgram(QStringList{"read"} + Line(sim, 1) + QStringList{"--out", "-"});
        EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
        QJsonObject device = Json(r.Out).value("devices").toArray().first().toObject();
        QJsonArray params = device.value("parameters").toArray();
        for (int i = 0; i < params.size(); ++i) {
            QJsonObject o = params[i].toObject();
            if (o.value("name").toString() == Delay && delayWas)
                *delayWas = o.value("value").toString();
            if (changed.contains(o.value("name").toString()))
                o.insert("value", changed.value(o.value("name").toString()));
            params[i] = o;
        }
        device.insert("parameters", params);
        const QString file = Path(QStringLiteral("set%1.json").arg(++Sets));
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QJsonDocument(device).toJson());
        return file;
    }
    int Sets = 0;
};
} // namespace

TEST_F(CliCommissioning, WriteRecordsWhatChangedWithItsVerificationAndReportsIt) {
    QTemporaryDir home;
    const TDataHome dataHome(home.path());
    const QString record = home.path() + QStringLiteral("/kestrin/commissioning.jsonl");
    TSimProcess sim(ProgDir, {"--device", "1:21"});
    ASSERT_FALSE(sim.PtyPath().isEmpty());
    QString delayWas;
    QString set = SetFile(sim, {}, &delayWas);
    const QString delayNow = delayWas == QLatin1String("10") ? QStringLiteral("11") : QStringLiteral("10");
    set = SetFile(sim, {{ColdJunction, QStringLiteral("25.5")}, {Delay, delayNow}});

    // Refused before anything is sent: a value beyond its limit, an instrument that is not there.
    const QString bad = SetFile(sim, {{Delay, QStringLiteral("251")}});
    TCliResult r = RunCliProgram(QStringList{"write"} + Line(sim, 1) + QStringList{"--in", bad});
    EXPECT_EQ(r.Exit, 3) << r.Err.toStdString();
    r = RunCliProgram(QStringList{"write"} + Line(sim, 9) + QStringList{"--in", set, "--timeout", "100"});
    EXPECT_EQ(r.Exit, 2) << r.Err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(record)) << Bytes(record).toStdString();

    r = RunCliProgram(
        QStringList{"write"} + Line(sim, 1) +
        QStringList{"--in", set, "--read-first", "--verify", "--json", "--report", Path("report.html")});
    ASSERT_EQ(r.Exit, 0) << r.Out.toStdString() << r.Err.toStdString();
    const QJsonObject doc = Json(r.Out);
    EXPECT_EQ(doc.value("record").toObject().value("entries").toInt(), 1) << r.Out.toStdString();
    EXPECT_EQ(doc.value("report").toString(), Path("report.html"));

    const QList<QByteArray> lines = Bytes(record).split('\n');
    ASSERT_EQ(lines.size(), 2) << "one line and the final line feed";
    const QJsonObject e = QJsonDocument::fromJson(lines[0]).object();
    EXPECT_EQ(e.value("port").toString(), sim.PtyPath());
    EXPECT_EQ(e.value("speed").toInt(), 9600);
    EXPECT_EQ(e.value("address").toInt(), 1);
    EXPECT_EQ(e.value("type").toString(), QStringLiteral("Kestrin K1"));
    EXPECT_EQ(e.value("typeNum").toInt(), 21);
    EXPECT_TRUE(e.contains("version"));
    EXPECT_FALSE(e.value("user").toString().isEmpty());
    EXPECT_FALSE(e.value("programVersion").toString().isEmpty());
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d$"))
            .match(e.value("time").toString())
            .hasMatch())
        << e.value("time").toString().toStdString();
    EXPECT_TRUE(e.value("readBefore").toBool());
    EXPECT_FALSE(e.value("interrupted").toBool());
    EXPECT_EQ(e.value("written").toInt(), e.value("total").toInt());
    EXPECT_TRUE(e.value("notWritten").toArray().isEmpty());
    EXPECT_EQ(e.value("verification").toObject().value("outcome").toString(), QStringLiteral("verified"));
    // Exactly the two parameters the file changed, each with its value before and after.
    const QJsonArray changes = e.value("changes").toArray();
    ASSERT_EQ(changes.size(), 2) << lines[0].toStdString();
    QMap<QString, QPair<QString, QString>> got;
    for (const QJsonValue& c : changes)
        got[c.toObject().value("name").toString()] = {c.toObject().value("before").toString(),
                                                      c.toObject().value("after").toString()};
    EXPECT_EQ(got.value(ColdJunction), qMakePair(QStringLiteral("20"), QStringLiteral("25.5")));
    EXPECT_EQ(got.value(Delay), qMakePair(delayWas, delayNow));

    const QString html = QString::fromUtf8(Bytes(Path("report.html")));
    EXPECT_TRUE(html.contains(ColdJunction) && html.contains(QStringLiteral("25.5")) && html.contains(Delay))
        << html.toStdString();
    EXPECT_TRUE(html.contains(sim.PtyPath()));
    EXPECT_EQ(html.count(QStringLiteral("<div class=\"device\">")), 1);

    // A write of the same values without a read first: every value written, none with a before.
    r = RunCliProgram(QStringList{"write"} + Line(sim, 1) + QStringList{"--in", set});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    const TCommissionLog log = ReadCommissionLog(record);
    ASSERT_EQ(log.Entries.size(), 2u);
    EXPECT_EQ(log.Skipped, 0);
    const TCommissionEntry& plain = log.Entries[1];
    EXPECT_FALSE(plain.ReadBefore);
    EXPECT_EQ(plain.Verification, TVerification::NotVerified);
    EXPECT_GT(plain.Changes.size(), 40u);
    for (const TCommissionChange& c : plain.Changes)
        EXPECT_FALSE(c.Before.has_value()) << c.Name.toStdString();
}

TEST_F(CliCommissioning, ARecordTheDiskCannotTakeIsToldAndTheWriteStillCounts) {
    TFullDisk disk(256);
    if (!disk.Ok())
        GTEST_SKIP() << disk.WhyNot().toStdString();
    const TDataHome dataHome(disk.Path(QStringLiteral("data")));
    const QString record = disk.Path(QStringLiteral("data/kestrin/commissioning.jsonl"));
    TSimProcess sim(ProgDir, {"--device", "1:21"});
    ASSERT_FALSE(sim.PtyPath().isEmpty());
    const QString set = SetFile(sim, {{ColdJunction, QStringLiteral("21.5")}});
    TCliResult r = RunCliProgram(QStringList{"write"} + Line(sim, 1) + QStringList{"--in", set});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    const QByteArray first = Bytes(record);
    ASSERT_TRUE(first.endsWith('\n'));
    ASSERT_TRUE(disk.Fill());

    r = RunCliProgram(QStringList{"write"} + Line(sim, 1) + QStringList{"--in", set, "--verify", "--json"});
    EXPECT_EQ(r.Exit, CliFileError) << r.Out.toStdString() << r.Err.toStdString();
    EXPECT_EQ(r.Err.count(QStringLiteral("журнал наладки")), 1) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains(QStringLiteral("на диске нет места"))) << r.Err.toStdString();
    const QJsonObject doc = Json(r.Out);
    const QJsonObject device = doc.value("devices").toArray().first().toObject();
    EXPECT_EQ(device.value("status").toString(), QStringLiteral("ok"));
    EXPECT_FALSE(device.value("recorded").toBool(true));
    EXPECT_EQ(doc.value("summary").toObject().value("done").toInt(), 1);
    EXPECT_EQ(doc.value("record").toObject().value("entries").toInt(), 0);
    EXPECT_TRUE(
        doc.value("record").toObject().value("error").toString().contains(QStringLiteral("нет места")));
    // The file keeps its whole line and nothing of the one that did not fit.
    EXPECT_EQ(Bytes(record), first);
}
