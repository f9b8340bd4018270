// The instrument compared with a parameter-set file, the file's values written, and the
// commissioning report, in the real program on an X server of its own. The line is the simulator
// engine serving a pseudo-terminal from this process, so the instrument's memory is looked at
// directly once the program has ended; the record and the report are judged as files.
#include "common/Numbers.h"
#include "exchange/Exchange.h"
#include "exchange/ReadWriteAll.h"
#include "formats/Commissioning.h"
#include "formats/DevTableGrid.h"
#include "formats/ParamSetFile.h"
#include "formats/ValueSetFile.h"
#include "model/Model.h"
#include "sim/SimServer.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>
#include <thread>

#include "E2eProcess.h"

namespace {
// The simulator engine on a pseudo-terminal, served from a thread of the test.
class TLine {
public:
    explicit TLine(Sim::TConfig config) : Server(std::move(config)) {
        QString error;
        if (Server.OpenPty(&error))
            Thread = std::thread([this] { Server.Run(); });
    }
    ~TLine() {
        if (Thread.joinable()) {
            Server.Stop();
            Thread.join();
        }
    }
    TLine(const TLine&) = delete;
    TLine& operator=(const TLine&) = delete;
    QString Port() const { return Thread.joinable() ? Server.SlavePath() : QString(); }
    std::map<QByteArray, QByteArray> Memory() {
        return Server.WithBus([](Sim::TBus& bus) { return bus.Instrument(0).Memory; });
    }

private:
    Sim::TServer Server;
    std::thread Thread;
};

void SetExtraPort(const QString& kvcomIni, const QString& port) {
    QFile f(kvcomIni);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QString text = QString::fromLatin1(f.readAll());
    f.close();
    const QRegularExpression extra(QStringLiteral("(?m)^Extra=[^\\r\\n]*"));
    ASSERT_TRUE(text.contains(extra));
    text.replace(extra, QStringLiteral("Extra=") + port);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toLatin1());
}

QByteArray Location(const TParam& p) {
    return ("0001" + HexAddress(p.Address)).toLatin1();
}
} // namespace

TEST(CompareAndReport, FileComparedTakenWrittenAndRecordedInTheWindow) {
    E2e::TXServer x;
    ASSERT_TRUE(x.Start()) << "Xvfb did not start (Debian package xvfb)";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    E2e::CopyProgramDir(QStringLiteral(KESTRIN_PROGDIR), dir.path());
    const QString progDir = dir.path() + QLatin1Char('/');

    Sim::TConfig config;
    config.ProgDir = progDir;
    config.RequestLogLimit = 0;
    config.Devices = {Sim::TDeviceSpec{1, 21, QString(), 0}};
    TLine line(config);
    ASSERT_FALSE(line.Port().isEmpty()) << "no pseudo-terminal";
    SetExtraPort(progDir + QStringLiteral("kvcom.ini"), line.Port());

    // The type's descriptions, as the program loads them.
    std::vector<std::unique_ptr<TDevProp>> catalogue = ReadCatalogue(progDir + QStringLiteral("devices.ini"));
    TDevProp* type = nullptr;
    for (const auto& t : catalogue)
        if (t->TypeNum == 21)
            type = t.get();
    ASSERT_TRUE(type && LoadDescriptions(progDir, *type, QString()));

    // The file: what a read of the fresh instrument gives (bit strings as they are), with a real, an
    // option and a check box changed, and a real that differs only below a single's precision.
    QStringList values;
    for (int i = 0; i < type->ParamCount(); ++i) {
        const TParam& p = type->Param(i);
        values << (p.VType == KBitStringCode ? p.Value : ExpectedReadBack(p, p.Value));
    }
    int real = -1, fine = -1, menu = -1, check = -1;
    for (int i = 0; i < type->ParamCount(); ++i) {
        const TParam& p = type->Param(i);
        const auto v = Numbers::ParseFloat(p.Value);
        if (p.VType == 3 && p.SType == 0 && v && std::abs(*v) >= 1) {
            if (real < 0)
                real = i;
            else if (fine < 0)
                fine = i;
        } else if (p.SType == 1 && p.Name != SpeedParamName && menu < 0)
            menu = i;
        else if (p.SType == 2 && i != type->SqrtIndex && i != type->SqrtLinIndex && check < 0)
            check = i;
    }
    ASSERT_TRUE(real >= 0 && fine >= 0 && menu >= 0 && check >= 0);
    const QStringList read = values;
    ASSERT_NE(values[real], "2.25");
    values[real] = "2.25";
    values[fine] = QString::number(values[fine].toDouble() * (1 + 1e-9), 'g', 12);
    ASSERT_NE(values[fine], read[fine]);
    ASSERT_EQ(ExpectedReadBack(type->Param(fine), values[fine]), read[fine]);
    values[menu] = values[menu] == "1" ? "0" : "1";
    values[check] = values[check] == "1" ? "0" : "1";
    const QString set = dir.filePath(QStringLiteral("set.") + type->DevExt);
    ASSERT_TRUE(WriteParamSetFile(DevTableGridFromValues(*type, values), set).Ok);
    const std::vector<int> taken{real, menu, check};

    const QString dataHome = dir.filePath(QStringLiteral("data"));
    const QString report = dir.filePath(QStringLiteral("report.html"));
    const std::map<QByteArray, QByteArray> before = line.Memory();

    QProcess kestrin;
    E2e::StartProgram(
        kestrin, x.Display, dir.path(),
        {QStringLiteral("KESTRIN_E2E_SCENARIO=compare"), QStringLiteral("XDG_DATA_HOME=") + dataHome,
         QStringLiteral("KESTRIN_E2E_PORT=") + line.Port(), QStringLiteral("KESTRIN_E2E_SET=") + set,
         QStringLiteral("KESTRIN_E2E_REPORT=") + report,
         QStringLiteral("KESTRIN_E2E_DIFFERING=") + type->Param(real).Name + QLatin1Char('\n') +
             type->Param(menu).Name + QLatin1Char('\n') + type->Param(check).Name,
         QStringLiteral("KESTRIN_E2E_SAME=") + type->Param(fine).Name});
    ASSERT_TRUE(kestrin.waitForStarted(30000));
    // The driver's own watchdog ends a hanging scenario after 240 s; this bound is the last resort.
    const bool ended = kestrin.waitForFinished(300000);
    if (!ended)
        kestrin.kill();
    kestrin.waitForFinished(10000);
    const QString said = QString::fromLocal8Bit(kestrin.readAll());
    std::fputs(qPrintable(said), stderr);
    ASSERT_TRUE(ended);
    EXPECT_EQ(kestrin.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(kestrin.exitCode(), 0);
    EXPECT_TRUE(said.contains(QStringLiteral("E2E RESULT: 0 failures"))) << "see the E2E lines above";
    EXPECT_FALSE(said.contains(QStringLiteral("E2E FAIL")));

    // The instrument holds the taken values and nothing else changed: not the real that differed
    // only beyond what it stores.
    const std::map<QByteArray, QByteArray> after = line.Memory();
    std::set<QByteArray> changed;
    for (int i = 0; i < type->ParamCount(); ++i) {
        const QByteArray loc = Location(type->Param(i));
        if (before.count(loc) == 0 || after.count(loc) == 0 || after.at(loc) != before.at(loc))
            changed.insert(loc);
    }
    std::set<QByteArray> expected;
    for (const int i : taken)
        expected.insert(Location(type->Param(i)));
    EXPECT_EQ(changed, expected);
    EXPECT_EQ(after.count(Location(type->Param(real))) ? after.at(Location(type->Param(real))) : QByteArray(),
              "00001040"); // 2.25 as a single, least significant byte first

    // The record: one entry, exactly the taken changes, before → after.
    const TCommissionLog log = ReadCommissionLog(dataHome + QStringLiteral("/kestrin/commissioning.jsonl"));
    ASSERT_TRUE(log.Error.isEmpty()) << log.Error.toStdString();
    EXPECT_EQ(log.Skipped, 0);
    ASSERT_EQ(log.Entries.size(), 1u);
    const TCommissionEntry& e = log.Entries[0];
    EXPECT_EQ(e.Program, QStringLiteral("kestrin"));
    EXPECT_EQ(e.Port, line.Port());
    EXPECT_EQ(e.Address, 1);
    EXPECT_EQ(e.Type, type->Name);
    EXPECT_TRUE(e.ReadBefore);
    EXPECT_FALSE(e.Interrupted);
    EXPECT_EQ(e.Status, QStringLiteral("Запись завершена"));
    EXPECT_TRUE(e.NotWritten.empty());
    std::map<QString, std::pair<QString, QString>> changes;
    for (const TCommissionChange& c : e.Changes)
        changes[c.Name] = {c.Before.value_or(QStringLiteral("(none)")), c.After};
    std::map<QString, std::pair<QString, QString>> wanted;
    for (const int i : taken)
        wanted[type->Param(i).Name] = {read[i], values[i]};
    EXPECT_EQ(changes, wanted);

    // The report: that entry's page, with a row for each change and nothing else.
    QFile page(report);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << "no report file";
    const QString html = QString::fromUtf8(page.readAll());
    EXPECT_EQ(html.count(QStringLiteral("<div class=\"device\">")), 1);
    EXPECT_EQ(html.count(QStringLiteral("<tr><td>")), 3) << html.toStdString();
    for (const int i : taken)
        EXPECT_TRUE(html.contains(QStringLiteral("<tr><td>") + type->Param(i).Name.toHtmlEscaped() +
                                  QStringLiteral("</td>")))
            << type->Param(i).Name.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("<td>%1</td><td>2.25</td>").arg(read[real])))
        << html.toStdString();
    EXPECT_FALSE(html.contains(type->Param(fine).Name.toHtmlEscaped() + QStringLiteral("</td>")));
}
