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

TEST(FirstSession, OnTheDemoLineUnderARealDisplay) {
    E2e::TXServer x;
    ASSERT_TRUE(x.Start()) << "Xvfb did not start (Debian package xvfb)";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    E2e::CopyProgramDir(QStringLiteral(KESTRIN_PROGDIR), dir.path());
    const QString program = dir.filePath(QStringLiteral("kestrin"));
    ASSERT_TRUE(QFileInfo(program).isExecutable());

    QProcess kestrin;
    E2e::StartProgram(kestrin, x.Display, dir.path());
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
    EXPECT_TRUE(report.contains(QStringLiteral("E2E RESULT: 0 failures"))) << "see the E2E lines above";
    EXPECT_FALSE(report.contains(QStringLiteral("E2E FAIL")));
}
