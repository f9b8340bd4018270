// kestrin-cli in English and in Russian: the messages follow the language, what is stored and what
// programs read (files, JSON, CSV) does not.
#include "CliRun.h"
#include "SimProcess.h"
#include "TestUtil.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString ProgDir = QStringLiteral(KESTRIN_PROGDIR);

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The first line where two outputs part, for a short failure report.
std::string FirstDifference(const QString& a, const QString& b) {
    const QStringList x = a.split(QLatin1Char('\n')), y = b.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < std::max(x.size(), y.size()); ++i)
        if (x.value(i) != y.value(i))
            return QStringLiteral("line %1: \"%2\" / \"%3\"")
                .arg(i + 1)
                .arg(x.value(i), y.value(i))
                .toStdString();
    return std::string();
}

// The CSV header, then each line without the clock time, minutes and value of its run.
QStringList WithoutTimes(const QString& csv) {
    QStringList out;
    for (const QString& line : csv.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        out << (out.isEmpty() ? line : line.section(QLatin1Char(','), 2, 3));
    return out;
}
} // namespace

TEST(CliLanguage, MessagesFollowTheLanguageWhileFilesJsonAndCsvStayTheSame) {
    TSimProcess sim(ProgDir, {"--device", "1:21"});
    ASSERT_FALSE(sim.PtyPath().isEmpty());
    QTemporaryDir dir;
    const QStringList line{"--port", sim.PtyPath(), "--speed", "9600", "--address", "1"};
    struct TRun {
        QString Name;
        QStringList Args; // before the command's own
        QStringList Env;
    };
    // Russian by --lang over an English locale; English by the locale alone.
    const TRun runs[] = {{"ru", {"--lang", "ru"}, {"LANG=en_US.UTF-8"}}, {"en", {}, {"LANG=en_US.UTF-8"}}};
    std::map<QString, TCliResult> json, csv;
    for (const TRun& run : runs) {
        const QString kpr = dir.filePath(run.Name + ".kpr"), doc = dir.filePath(run.Name + ".json");
        TCliResult r = RunCliProgram(run.Args + QStringList{"read"} + line + QStringList{"--out", kpr}, 60000,
                                     CliProgram(), run.Env);
        ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
        if (run.Name == "en") {
            EXPECT_TRUE(r.Out.contains("Address 1: Read complete")) << r.Out.toStdString();
            EXPECT_TRUE(r.Out.contains("  file " + kpr + " written")) << r.Out.toStdString();
        } else {
            EXPECT_TRUE(r.Out.contains(QStringLiteral("Адрес 1: Чтение завершено"))) << r.Out.toStdString();
        }
        r = RunCliProgram(run.Args + QStringList{"read"} + line + QStringList{"--out", doc}, 60000,
                          CliProgram(), run.Env);
        ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
        json[run.Name] =
            RunCliProgram(run.Args + QStringList{"read", "--json"} + line, 60000, CliProgram(), run.Env);
        EXPECT_EQ(json[run.Name].Exit, 0) << json[run.Name].Err.toStdString();
        csv[run.Name] = RunCliProgram(run.Args + QStringList{"measure"} + line +
                                          QStringList{"--channels", "1", "--seconds", "1", "--csv", "-"},
                                      60000, CliProgram(), run.Env);
        EXPECT_EQ(csv[run.Name].Exit, 0) << csv[run.Name].Err.toStdString();
    }
    const QByteArray kpr = FileBytes(dir.filePath("ru.kpr"));
    ASSERT_FALSE(kpr.isEmpty());
    EXPECT_TRUE(kpr == FileBytes(dir.filePath("en.kpr")));
    const QByteArray doc = FileBytes(dir.filePath("ru.json"));
    ASSERT_TRUE(doc.contains("\"parameters\""));
    const QByteArray enDoc = FileBytes(dir.filePath("en.json"));
    EXPECT_TRUE(doc == enDoc) << FirstDifference(QString::fromUtf8(doc), QString::fromUtf8(enDoc));
    ASSERT_TRUE(json["ru"].Out.contains("\"parameters\""));
    EXPECT_TRUE(json["ru"].Out == json["en"].Out) << FirstDifference(json["ru"].Out, json["en"].Out);
    ASSERT_TRUE(csv["ru"].Out.startsWith("time,minutes,address,channel,value\n"))
        << csv["ru"].Out.toStdString();
    EXPECT_EQ(WithoutTimes(csv["ru"].Out).join('\n').toStdString(),
              WithoutTimes(csv["en"].Out).join('\n').toStdString());
    EXPECT_GE(WithoutTimes(csv["en"].Out).size(), 2);
}

TEST(CliLanguage, HelpAndErrorsInEnglishAndAMissingTranslationFallsBackToRussian) {
    TCliResult r = RunCliProgram({"--help"}, 60000, CliProgram(), {"LANGUAGE=en_GB:ru", "LANG=ru_RU.UTF-8"});
    EXPECT_EQ(r.Exit, 0);
    EXPECT_TRUE(r.Out.contains("Usage: kestrin-cli COMMAND [options]")) << r.Out.toStdString();
    EXPECT_TRUE(r.Out.contains("--lang en|ru")) << r.Out.toStdString();
    r = RunCliProgram({"--lang", "en", "read", "--speed", "9600"});
    EXPECT_EQ(r.Exit, 1);
    EXPECT_TRUE(r.Err.contains("command read needs option --port")) << r.Err.toStdString();
    r = RunCliProgram({"--lang", "de", "ports"});
    EXPECT_EQ(r.Exit, 1);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("--lang: нужно en или ru"))) << r.Err.toStdString();

    // Without the translation file English is asked for in vain: Russian, said once, and the run goes on.
    QTemporaryDir dir;
    const QString copy = dir.filePath("prog/");
    ASSERT_TRUE(TestUtil::CopyProgramDir(copy, TestUtil::TCopyPrograms::CliAndSim));
    ASSERT_TRUE(QFile::remove(copy + "kestrin_en.qm"));
    r = RunCliProgram({"--lang", "en", "--help"}, 60000, copy + "kestrin-cli");
    EXPECT_EQ(r.Exit, 0);
    EXPECT_TRUE(r.Out.contains(QStringLiteral("Использование: kestrin-cli КОМАНДА"))) << r.Out.toStdString();
    EXPECT_TRUE(r.Err.contains("kestrin_en.qm")) << r.Err.toStdString();
    EXPECT_EQ(r.Err.count('\n'), 1) << r.Err.toStdString();
}
