// The commissioning record's file: what a line holds comes back whole, anything else in the file
// (hand-edited, foreign, cut short by a crash) is skipped and counted, an append after a crash
// never glues onto a torn line, and the report escapes every value it shows.
#include "formats/Commissioning.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
TCommissionEntry Entry(const QString& name, const QString& after) {
    TCommissionEntry e;
    e.Time = QDateTime::fromString(QStringLiteral("2026-05-14T09:30:00+03:00"), Qt::ISODate);
    e.User = QStringLiteral("наладчик");
    e.Program = QStringLiteral("kestrin-cli");
    e.ProgramVersion = QStringLiteral("1.2.3");
    e.Port = QStringLiteral("/dev/ttyUSB0");
    e.Speed = 9600;
    e.Address = 3;
    e.NewAddress = 7;
    e.Type = QStringLiteral("Kestrin K1");
    e.TypeNum = 21;
    e.Version = QStringLiteral("K1_205");
    e.ReadBefore = true;
    e.Interrupted = true;
    e.Status = QStringLiteral("Запись остановлена");
    e.Written = 5;
    e.Total = 48;
    e.Changes = {
        {name, QStringLiteral("20"), after, {}, {}},
        {QStringLiteral("Тип входа"), std::nullopt, QStringLiteral("2"), {}, QStringLiteral("4-20 мА")}};
    e.NotWritten = {{QStringLiteral("Задержка ответа"), -20, QStringLiteral("прибор отклонил значение")}};
    e.Verification = TVerification::Differences;
    e.Checked = 40;
    e.Mismatches = {{name, after, QStringLiteral("20")}};
    return e;
}

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

TEST(Commissioning, LinesComeBackWholeOthersAreCountedAndTheReportEscapesEveryValue) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data/kestrin/commissioning.jsonl"));
    const QString odd = QStringLiteral("<script>&\"Спай\"</script>");
    ASSERT_TRUE(AppendCommissionEntry(path, Entry(odd, QStringLiteral("25.5<b>"))).Ok);

    // Hand-edited and foreign lines, then a line cut short by a crash (no line feed).
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("not json at all\n{\"kind\":\"something-else\",\"port\":\"x\",\"changes\":[]}\n[1,2]\n\n");
        f.write(CommissionEntryLine(Entry(QStringLiteral("torn"), QStringLiteral("1"))).chopped(10));
    }
    TCommissionLog log = ReadCommissionLog(path);
    ASSERT_EQ(log.Entries.size(), 1u);
    EXPECT_EQ(log.Skipped, 4);

    // The next append cuts the torn tail off first, so the new line stands on its own.
    ASSERT_TRUE(AppendCommissionEntry(path, Entry(QStringLiteral("Второй"), QStringLiteral("3"))).Ok);
    EXPECT_TRUE(Bytes(path).endsWith("}\n"));
    log = ReadCommissionLog(path);
    ASSERT_EQ(log.Entries.size(), 2u);
    EXPECT_EQ(log.Skipped, 3);

    const TCommissionEntry& e = log.Entries[0];
    EXPECT_EQ(e.Time.toString(Qt::ISODate), QStringLiteral("2026-05-14T09:30:00+03:00"));
    EXPECT_EQ(e.User, QStringLiteral("наладчик"));
    EXPECT_EQ(e.Port, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(e.Speed, 9600);
    EXPECT_EQ(e.Address, 3);
    EXPECT_EQ(e.NewAddress, 7);
    EXPECT_EQ(e.NewSpeed, -1);
    EXPECT_EQ(e.Version, QStringLiteral("K1_205"));
    EXPECT_TRUE(e.Interrupted);
    ASSERT_EQ(e.Changes.size(), 2u);
    EXPECT_EQ(e.Changes[0].Name, odd);
    EXPECT_EQ(e.Changes[0].Before, QStringLiteral("20"));
    EXPECT_EQ(e.Changes[0].After, QStringLiteral("25.5<b>"));
    EXPECT_FALSE(e.Changes[1].Before.has_value());
    EXPECT_EQ(e.Changes[1].AfterText, QStringLiteral("4-20 мА"));
    ASSERT_EQ(e.NotWritten.size(), 1u);
    EXPECT_EQ(e.NotWritten[0].Code, -20);
    EXPECT_EQ(e.Verification, TVerification::Differences);
    ASSERT_EQ(e.Mismatches.size(), 1u);
    EXPECT_EQ(log.Entries[1].Changes[0].Name, QStringLiteral("Второй"));

    const QString html = QString::fromUtf8(CommissionReportHtml(log.Entries));
    EXPECT_FALSE(html.contains(QStringLiteral("<script>"))) << "a value got into the page as markup";
    EXPECT_FALSE(html.contains(QStringLiteral("25.5<b>")));
    EXPECT_TRUE(html.contains(QStringLiteral("&lt;script&gt;&amp;&quot;Спай&quot;&lt;/script&gt;")));
    EXPECT_TRUE(html.contains(QStringLiteral("25.5&lt;b&gt;")));
    // One page per instrument.
    EXPECT_EQ(html.count(QStringLiteral("<div class=\"device\">")), 2);
    EXPECT_TRUE(html.contains(QStringLiteral("page-break-after: always")));
    EXPECT_TRUE(html.contains(QStringLiteral("size: A4")));
}
