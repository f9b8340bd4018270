// kestrin-sim as a program on a pseudo-terminal: start-up line, link, options, faults, speed, timing.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace TestSupport;

namespace {

TEST(SimProgram, ServesOnPtyWithLinkAndStopsCleanly) {
    QTemporaryDir tmp;
    const QString link = tmp.path() + "/line";
    for (int sig : {SIGTERM, SIGINT}) {
        TSimProcess sim({"--link", link});
        ASSERT_TRUE(sim.Started()) << sim.Stderr().constData();
        EXPECT_TRUE(sim.Banner().startsWith("PTY /dev/pts/")) << sim.Banner().toStdString();
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), sim.Path());
        TRawLine line(link);
        ASSERT_TRUE(line.Ok());
        EXPECT_EQ(line.Exchange(":1;0;"), Answer(1, "21"));
        EXPECT_EQ(sim.Stop(sig), 0);
        struct stat st {};
        EXPECT_NE(lstat(QFile::encodeName(link).constData(), &st), 0) << "link left behind";
    }
}

TEST(SimProgram, UsageAndBadOptions) {
    QByteArray out;
    EXPECT_EQ(RunSimToEnd({"--help"}, &out), 0);
    for (const char* opt :
         {"--device", "--timing", "--drop", "--silence-after", "--trace", "--link", "--port"})
        EXPECT_TRUE(out.contains(opt)) << opt;
    EXPECT_EQ(RunSimToEnd({"--bogus"}, nullptr), 2);
    EXPECT_EQ(RunSimToEnd({"--device", "0:21"}, nullptr), 2);
    EXPECT_EQ(RunSimToEnd({"--drop", "x"}, nullptr), 2);
    EXPECT_EQ(RunSimToEnd({"--speed", "1000"}, nullptr), 2);
    EXPECT_EQ(RunSimToEnd({"--port", "/nonexistent/tty"}, nullptr), 1);
    // A device server's port: a number up to 65535, and no serial line beside it.
    for (const QStringList& bad : {QStringList{"--tcp", "65536"}, QStringList{"--rfc2217", "x"},
                                   QStringList{"--tcp", "0", "--link", "/tmp/kestrin-sim-x"}})
        EXPECT_EQ(RunSimToEnd(bad, nullptr), 2) << bad.join(' ').toStdString();
    EXPECT_EQ(RunSimToEnd({"--tcp", "no.such.host.invalid:4001"}, nullptr), 1);
}

TEST(SimProgram, TracePrintsRequestsByteForByte) {
    TSimProcess sim({"--trace"});
    ASSERT_TRUE(sim.Started());
    TRawLine line(sim.Path());
    QByteArray bad = Request(":1;37;0001FF;");
    bad.replace(bad.size() - 5, 4, "0000");
    line.Send(bad);
    EXPECT_TRUE(line.Read(1, 200).isEmpty());
    EXPECT_EQ(line.Exchange(":1;37;000101;"), Answer(1, "01"));
    EXPECT_EQ(sim.Stop(SIGTERM), 0);
    EXPECT_EQ(sim.Stderr(), bad.left(bad.size() - 1) + "\n" + Request(":1;37;000101;").chopped(1) + "\n");
}

TEST(SimProgram, InstrumentsFromDescriptions) {
    TProgDir dir;
    TSimProcess sim(
        {"--progdir", dir.Path(), "--device", "5:9", "--device", "2:21:K1_205", "--device", "1:21"});
    ASSERT_TRUE(sim.Started());
    TRawLine line(sim.Path());
    EXPECT_EQ(line.Exchange(":0;0;", 3), Answer(1, "21") + Answer(2, "21") + Answer(5, "9"));
    EXPECT_EQ(line.Exchange(":2;37;0001FF;"), Answer(2, "K1_205"));
    EXPECT_EQ(line.Exchange(":1;37;0001FF;"), Answer(1, ""));
    EXPECT_EQ(line.Exchange(":2;37;000111;"), Answer(2, "00002040"));
    EXPECT_EQ(line.Exchange(":1;37;000111;"), Answer(1, "0000C03F"));
}

TEST(SimProgram, FollowsTheLineSpeedTheClientSets) {
    TSimProcess sim({});
    ASSERT_TRUE(sim.Started());
    TRawLine line(sim.Path(), B19200);
    EXPECT_TRUE(line.Exchange(":1;0;", 1, 200).isEmpty());
    line.SetSpeed(B9600);
    EXPECT_EQ(line.Exchange(":1;38;000102;06;"), Answer(1, "$0")); // answered at the old speed
    EXPECT_TRUE(line.Exchange(":1;0;", 1, 200).isEmpty());
    line.SetSpeed(B19200);
    EXPECT_EQ(line.Exchange(":1;0;"), Answer(1, "21"));
    EXPECT_EQ(line.Exchange(":1;37;000102;"), Answer(1, "06"));
}

TEST(SimProgram, NetworkAddressChangeAndCalibration) {
    TSimProcess sim({"--calib-seconds", "0.3"});
    ASSERT_TRUE(sim.Started());
    TRawLine line(sim.Path());
    EXPECT_EQ(line.Exchange(":1;38;000101;07;"), Answer(1, "$0"));
    EXPECT_TRUE(line.Exchange(":1;0;", 1, 200).isEmpty());
    EXPECT_EQ(line.Exchange(":7;38;001000;10;"), Answer(7, "$0"));
    const auto start = TClock::now();
    EXPECT_EQ(line.Exchange(":7;37;001000;"), Answer(7, "10"));
    QByteArray state;
    while (MsSince(start) < 3000 && (state = line.Exchange(":7;37;001000;")) != Answer(7, "00"))
        usleep(20000);
    EXPECT_EQ(state, Answer(7, "00"));
    EXPECT_NEAR(MsSince(start), 300, 150);
}

// Each fault option reaches the engine: two identifications, what arrives for each.
TEST(SimProgram, FaultOptions) {
    const QByteArray a = Answer(1, "21");
    const struct {
        QStringList Args;
        QByteArray First, Second; // empty: nothing may arrive
        bool Prefix = false;      // something may come before the answer
    } cases[] = {
        {{"--drop", "2"}, a, {}},          {{"--foreign", "2"}, a, Answer(2, "21")},
        {{"--silence-after", "1"}, a, {}}, {{"--echo"}, Request(":1;0;") + a, Request(":1;0;") + a},
        {{"--noise"}, a, a, true},
    };
    for (const auto& c : cases) {
        TSimProcess sim(c.Args);
        TRawLine line(sim.Path());
        for (const QByteArray& expected : {c.First, c.Second}) {
            const QByteArray got =
                line.Exchange(":1;0;", expected.count('\r'), expected.isEmpty() ? 150 : 1000);
            if (c.Prefix)
                EXPECT_TRUE(got.endsWith(expected) && got.indexOf('!') > 0) << got.toStdString();
            else
                EXPECT_EQ(got, expected) << c.Args.join(' ').toStdString();
        }
    }
    TSimProcess crc({"--bad-crc", "1"});
    const QByteArray got = TRawLine(crc.Path()).Exchange(":1;0;");
    EXPECT_TRUE(got.startsWith("!1;21;") && got != a) << got.toStdString();
    TSimProcess refuse({"--dollar1", "1"});
    EXPECT_EQ(TRawLine(refuse.Path()).Exchange(":1;37;0001FF;"), Answer(1, "$1"));
    TSimProcess slow({"--delay", "150"});
    const auto start = TClock::now();
    EXPECT_EQ(TRawLine(slow.Path()).Exchange(":1;0;"), a);
    EXPECT_GE(MsSince(start), 150);
}

TEST(SimProgram, LineTimingAtTheClientsSpeed) {
    TSimProcess sim({"--timing", "--speed", "1200"});
    ASSERT_TRUE(sim.Started());
    TRawLine line(sim.Path(), B1200);
    const auto start = TClock::now();
    EXPECT_EQ(line.Exchange(":1;0;"), Answer(1, "21"));
    // 10 request bytes and 11 answer bytes at 10 bits each.
    const double expected = 21 * 10 * 1000.0 / 1200;
    EXPECT_GE(MsSince(start), expected - 1);
    EXPECT_LT(MsSince(start), expected + 100);
}

} // namespace
