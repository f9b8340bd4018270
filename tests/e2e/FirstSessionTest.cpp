// The user's guide's first session on the demo line, run by the real program on an X server of its own.
// The scenario lives in the preloaded driver library; this test gives it a display and a program
// directory, and judges its report and the program's end.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "E2eProcess.h"

namespace {
using E2e::CopyProgramDir;
using E2e::TXServer;

// Runs the program from dir on the display with the driver's scenario, and judges the driver's
// report and the program's end.
// English is chosen by the system locale, as a user abroad has it; the driver then expects English texts.
void RunScenario(const TXServer& x, const QString& dir, const QString& scenario, const QString& lang) {
    const QString program = dir + QStringLiteral("/kestrin");
    ASSERT_TRUE(QFileInfo(program).isExecutable());
    QProcess kestrin;
    E2e::StartProgram(
        kestrin, x.Display, dir,
        {QStringLiteral("KESTRIN_E2E_SCENARIO=") + scenario, QStringLiteral("KESTRIN_E2E_LANG=") + lang,
         lang == QLatin1String("en") ? QStringLiteral("LANGUAGE=en_US") : QStringLiteral("LANGUAGE=ru")});
    ASSERT_TRUE(kestrin.waitForStarted(30000));
    // The driver's own watchdog ends a hanging scenario after 240 s; this bound is the last resort.
    const bool ended = kestrin.waitForFinished(400000);
    if (!ended)
        kestrin.kill();
    kestrin.waitForFinished(10000);
    const QString report = QString::fromLocal8Bit(kestrin.readAll());
    std::fputs(qPrintable(report), stderr);
    EXPECT_TRUE(ended);
    EXPECT_EQ(kestrin.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(kestrin.exitCode(), 0);
    EXPECT_TRUE(report.contains(QStringLiteral("E2E RESULT: 0 failures")))
        << "scenario " << scenario.toStdString() << ": see the E2E lines above";
    EXPECT_FALSE(report.contains(QStringLiteral("E2E FAIL")));
}

void ReplaceInFile(const QString& path, const QByteArray& from, const QByteArray& to) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray text = f.readAll();
    f.close();
    ASSERT_TRUE(text.contains(from)) << path.toStdString() << " lacks " << from.toStdString();
    text.replace(from, to);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(text), text.size());
}

// The session, then the program started again on the project it left.
void FirstSessionAndReopen(const QString& lang) {
    TXServer x;
    ASSERT_TRUE(x.Start()) << "Xvfb did not start (Debian package xvfb)";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CopyProgramDir(QStringLiteral(KESTRIN_PROGDIR), dir.path());
    RunScenario(x, dir.path(), QStringLiteral("first"), lang);
    if (::testing::Test::HasFailure())
        return;
    // Started again on the project the session left, which a program counting only the shown tabs
    // saved on the measurement page.
    const QString project = dir.filePath(QStringLiteral("first.prj"));
    ReplaceInFile(project, "\nActPage=0\r\n", "\nActPage=1\r\n");
    ReplaceInFile(dir.filePath(QStringLiteral("kestrin.ini")), "Load=0",
                  "Load=1\r\nProject=" + project.toLocal8Bit());
    RunScenario(x, dir.path(), QStringLiteral("reopen"), lang);
}
} // namespace

TEST(FirstSession, OnTheDemoLineUnderARealDisplay) {
    FirstSessionAndReopen(QStringLiteral("ru"));
}

TEST(FirstSession, InEnglishOnTheDemoLineUnderARealDisplay) {
    FirstSessionAndReopen(QStringLiteral("en"));
}
