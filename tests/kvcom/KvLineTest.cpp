// The library on a serial line whose other end the test drives byte by byte (a pseudo-terminal).
#include "KvLib.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sys/stat.h>
#include <termios.h>
#include <thread>

using namespace TestSupport;

namespace {

class KvLine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(L.Module, nullptr) << dlerror();
        ASSERT_FALSE(Pty.Slave.isEmpty());
    }
    void TearDown() override {
        if (H)
            L.Close(H);
    }
    void OpenSlave(uint16_t timeoutMs = 500) {
        int32_t rc = 0;
        H = L.Open(Pty.Slave, 9600, timeoutMs, &rc);
        ASSERT_EQ(rc, KV_OK);
    }
    int32_t Receive(QByteArray* parcel = nullptr) {
        char answer[KV_BUFFER_SIZE] = {};
        const int32_t rc = L.ReceiveParcel(H, answer);
        if (parcel)
            *parcel = answer;
        return rc;
    }

    TKvLib& L = ShippedLib();
    TPtyPair Pty;
    int32_t H = 0;
};

TEST_F(KvLine, RequestGoesOutAsTextCheckWordAndCr) {
    OpenSlave();
    ASSERT_EQ(L.Send(H, ":7;0;"), KV_OK);
    EXPECT_EQ(Pty.Read(1, 1000), ":7;0;6FD6\r");
    ASSERT_EQ(L.Send(H, ":1;38;000112C;CDCCCC3D;"), KV_OK);
    EXPECT_EQ(Pty.Read(1, 1000), Request(":1;38;000112C;CDCCCC3D;"));
}

TEST_F(KvLine, LineIsRaw8N1AtTheChosenSpeed) {
    OpenSlave();
    termios t{};
    ASSERT_EQ(tcgetattr(Pty.Master, &t), 0); // the master reports the slave's settings
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
    EXPECT_EQ(L.SetBaudRate(H, 19200), KV_OK);
    ASSERT_EQ(tcgetattr(Pty.Master, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B19200));
    EXPECT_EQ(L.SetBaudRate(H, 57600), KV_ERR_SPEED);
    ASSERT_EQ(tcgetattr(Pty.Master, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B19200)); // a refused speed changes nothing
}

TEST_F(KvLine, OpenFailures) {
    const int32_t h = L.CreateCOM();
    EXPECT_EQ(L.OpenCOM(h, "/dev/kv-no-such-port"), KV_ERR_NO_PORT);
    EXPECT_EQ(L.OpenCOM(h, "ttyKVNOPE"), KV_ERR_NO_PORT);
    EXPECT_EQ(L.OpenCOM(h, ""), KV_ERR_NO_PORT);
    EXPECT_EQ(L.OpenCOM(h, nullptr), KV_ERR_BUFFER);   // as every other null text
    EXPECT_EQ(L.OpenCOM(h, "/dev/null"), KV_ERR_OPEN); // not a serial line
    // A short name is a device under /dev.
    const QByteArray shortName = QFile::encodeName(Pty.Slave.mid(5));
    ASSERT_TRUE(shortName.startsWith("pts/"));
    EXPECT_EQ(L.OpenCOM(h, shortName.constData()), KV_OK);
    // The same port through a second handle is busy, until the first lets go.
    const int32_t other = L.CreateCOM();
    EXPECT_EQ(L.OpenCOM(other, QFile::encodeName(Pty.Slave).constData()), KV_ERR_OPEN);
    EXPECT_EQ(L.CloseCOM(h), KV_OK);
    EXPECT_EQ(L.OpenCOM(other, QFile::encodeName(Pty.Slave).constData()), KV_OK);
    L.Close(other);
    L.Close(h);
}

TEST_F(KvLine, PortIsBusyWhileItsHolderLivesAndFreeTheMomentItIsKilled) {
    // The holder is another process with the library; the other end of the line stays open all along,
    // as a device server's virtual port or socat's does.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const QByteArray path = QFile::encodeName(Pty.Slave);
    const pid_t holder = fork();
    if (holder == 0) {
        const int32_t h = L.CreateCOM();
        const char rc = static_cast<char>(-L.OpenCOM(h, path.constData()));
        if (::write(ready[1], &rc, 1) != 1)
            _exit(1);
        for (;;)
            pause();
    }
    ::close(ready[1]);
    char opened = -1;
    ASSERT_TRUE(WaitReadable(ready[0], 10000));
    ASSERT_EQ(::read(ready[0], &opened, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(opened, 0);
    int32_t rc = 0;
    EXPECT_EQ(L.Open(Pty.Slave, 9600, 500, &rc), 0);
    EXPECT_EQ(rc, KV_ERR_OPEN) << "a second program got the port while the first held it";

    ASSERT_EQ(kill(holder, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(holder, &status, 0), holder);
    H = L.Open(Pty.Slave, 9600, 500, &rc);
    ASSERT_EQ(rc, KV_OK) << "the port stayed locked after its holder was killed";
    ASSERT_EQ(L.Send(H, ":1;0;"), KV_OK);
    EXPECT_EQ(Pty.Read(1, 1000), Request(":1;0;"));
}

TEST_F(KvLine, PermissionDenied) {
    // Permissions do not stop root, so then the attempt runs in a child without privileges.
    const bool root = geteuid() == 0;
    ASSERT_EQ(chmod(QFile::encodeName(Pty.Slave).constData(), root ? 0600 : 0), 0);
    const pid_t child = fork();
    if (child == 0) {
        if (root && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(1);
        const int32_t h = L.CreateCOM();
        _exit(static_cast<uint8_t>(-L.OpenCOM(h, QFile::encodeName(Pty.Slave).constData())));
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(-WEXITSTATUS(status), KV_ERR_PERMISSION);
}

TEST_F(KvLine, ReceiveSkipsNoiseAndOurEcho) {
    OpenSlave();
    ASSERT_EQ(L.Send(H, ":7;0;"), KV_OK);
    Pty.Write(QByteArray("\x00\xFFjunk\n", 7) + Request(":7;0;") + Answer(7, "3"));
    QByteArray parcel;
    EXPECT_EQ(Receive(&parcel), KV_OK);
    EXPECT_EQ(parcel, Answer(7, "3"));
    // Noise that itself starts like an answer: the parcel starts again at the next "!".
    ASSERT_EQ(L.Send(H, ":1;0;"), KV_OK);
    Pty.Write("!junk" + Answer(1, "21"));
    EXPECT_EQ(Receive(&parcel), KV_OK);
    EXPECT_EQ(parcel, Answer(1, "21"));
}

TEST_F(KvLine, TimeOutCountsFromWhenTheRequestHasLeftTheLine) {
    // 300 baud: the 10-byte request takes 333 ms on the wire, the 11-byte answer 367 ms; either alone
    // is longer than the time-out of 300 ms.
    int32_t rc = 0;
    H = L.Open(Pty.Slave, 300, 300, &rc);
    ASSERT_EQ(rc, KV_OK);
    const QByteArray answer = Answer(1, "21");
    ASSERT_EQ(L.Send(H, ":1;0;"), KV_OK);
    std::thread peer([&] {
        // The answer begins 150 ms after the request has left and comes at the line's pace.
        usleep(333000 + 150000);
        for (char c : answer) {
            Pty.Write(QByteArray(1, c));
            usleep(33333);
        }
    });
    QByteArray parcel;
    EXPECT_EQ(Receive(&parcel), KV_OK);
    peer.join();
    EXPECT_EQ(parcel, answer);

    // Silence: the time-out ends 300 ms after the request has left the line.
    ASSERT_EQ(L.Send(H, ":1;0;"), KV_OK);
    const auto start = TClock::now();
    EXPECT_EQ(Receive(), KV_ERR_NO_ANSWER);
    EXPECT_GE(MsSince(start), 333 + 300 - 5);
    EXPECT_LT(MsSince(start), 333 + 300 + 250);
}

TEST_F(KvLine, ReceiveReturnsTheMomentTheCrArrives) {
    OpenSlave(3000);
    ASSERT_EQ(L.Send(H, ":1;0;"), KV_OK);
    const QByteArray answer = Answer(1, "21");
    std::thread peer([&] {
        usleep(40000);
        Pty.Write(answer.left(4));
        usleep(40000);
        Pty.Write(answer.mid(4));
    });
    const auto start = TClock::now();
    QByteArray parcel;
    EXPECT_EQ(Receive(&parcel), KV_OK);
    const double ms = MsSince(start);
    peer.join();
    EXPECT_EQ(parcel, answer);
    EXPECT_GE(ms, 75);
    EXPECT_LT(ms, 300) << "waited for the time-out although the answer was complete";
}

TEST_F(KvLine, NoAnswerWaitsTheTimeOutAndNoLonger) {
    OpenSlave(300);
    for (const QByteArray& partial : {QByteArray(), QByteArray("!1;21;C6"), QByteArray("noise only")}) {
        ASSERT_EQ(L.Send(H, ":1;0;"), KV_OK);
        Pty.Write(partial);
        const auto start = TClock::now();
        EXPECT_EQ(Receive(), KV_ERR_NO_ANSWER);
        EXPECT_GE(MsSince(start), 299);
        EXPECT_LT(MsSince(start), 450);
    }
}

TEST_F(KvLine, TricklingAnswerCannotHoldTheReceivePastTheTimeOut) {
    // 9600 baud: each byte takes about 1 ms on the wire. One byte every 40 ms moves the end of the
    // 300 ms time-out on by about that much, not by the whole time-out each (which would wait for
    // the whole 2.8 s answer and take it).
    OpenSlave(300);
    ASSERT_EQ(L.Send(H, ":1;0;"), KV_OK);
    const QByteArray answer = Answer(1, QByteArray(60, '7'));
    std::atomic<bool> done{false};
    std::thread peer([&] {
        for (qsizetype i = 0; i < answer.size() && !done; ++i) {
            Pty.Write(answer.mid(i, 1));
            usleep(40000);
        }
    });
    const auto start = TClock::now();
    EXPECT_EQ(Receive(), KV_ERR_NO_ANSWER);
    const double ms = MsSince(start);
    done = true;
    peer.join();
    EXPECT_GE(ms, 299);
    EXPECT_LT(ms, 800) << "the trickle held the receive";
}

TEST_F(KvLine, SeveralAnswersArrivingTogether) {
    OpenSlave(200);
    ASSERT_EQ(L.Send(H, ":0;0;"), KV_OK);
    Pty.Write(Answer(1, "21") + Answer(2, "21") + Answer(5, "9"));
    for (const QByteArray& expected : {Answer(1, "21"), Answer(2, "21"), Answer(5, "9")}) {
        QByteArray parcel;
        EXPECT_EQ(Receive(&parcel), KV_OK);
        EXPECT_EQ(parcel, expected);
    }
    EXPECT_EQ(Receive(), KV_ERR_NO_ANSWER);
}

TEST_F(KvLine, StaleInputIsDroppedBeforeARequest) {
    OpenSlave();
    Pty.Write(Answer(9, "late") + "!9;half");
    usleep(20000);
    ASSERT_EQ(L.Send(H, ":7;0;"), KV_OK);
    Pty.Write(Answer(7, "3"));
    QByteArray parcel;
    EXPECT_EQ(Receive(&parcel), KV_OK);
    EXPECT_EQ(parcel, Answer(7, "3"));
}

TEST_F(KvLine, OverlongAnswersAreRefusedAndTheLineResynchronises) {
    OpenSlave(300);
    ASSERT_EQ(L.Send(H, ":1;0;"), KV_OK);
    // 254 characters with the CR fit; one more does not. A "!" inside the long one is no new start.
    const QByteArray fits = Answer(1, QByteArray(245, 'A'));
    const QByteArray tooLong = Answer(1, QByteArray(246, 'B'));
    const QByteArray withStart = Answer(1, QByteArray(260, 'B') + "!2;x;" + QByteArray(9, 'B'));
    ASSERT_EQ(fits.size(), 254);
    ASSERT_EQ(tooLong.size(), 255);
    Pty.Write(fits + tooLong + withStart + Answer(2, "next"));
    char answer[400];
    std::memset(answer, 'Z', sizeof answer);
    EXPECT_EQ(L.ReceiveParcel(H, answer), KV_OK);
    EXPECT_EQ(QByteArray(answer), fits);
    EXPECT_EQ(L.ReceiveParcel(H, answer), KV_ERR_TOO_LONG);
    EXPECT_EQ(L.ReceiveParcel(H, answer), KV_ERR_TOO_LONG);
    EXPECT_EQ(L.ReceiveParcel(H, answer), KV_OK);
    EXPECT_EQ(QByteArray(answer), Answer(2, "next"));
    for (size_t i = KV_BUFFER_SIZE; i < sizeof answer; ++i)
        ASSERT_EQ(answer[i], 'Z') << "wrote past the buffer at " << i;
    // A long answer still running when the time-out ends counts as too long as well.
    ASSERT_EQ(L.Send(H, ":1;0;"), KV_OK);
    Pty.Write("!1;" + QByteArray(400, 'C'));
    EXPECT_EQ(L.ReceiveParcel(H, answer), KV_ERR_TOO_LONG);
    EXPECT_EQ(answer[0], '\0');
}

TEST_F(KvLine, LineLostWhileWaiting) {
    OpenSlave(3000);
    ASSERT_EQ(L.Send(H, ":1;0;"), KV_OK);
    std::thread peer([&] {
        usleep(50000);
        Pty.CloseMaster();
    });
    const auto start = TClock::now();
    EXPECT_EQ(Receive(), KV_ERR_LINE_LOST);
    EXPECT_LT(MsSince(start), 500);
    peer.join();
    EXPECT_EQ(L.Send(H, ":1;0;"), KV_ERR_LINE_LOST);
}

TEST(KvSimLine, SimulatorExitingMidTransactionIsLineLost) {
    TKvLib& L = ShippedLib();
    TSimProcess sim({"--delay", "2000"});
    ASSERT_TRUE(sim.Started());
    const int32_t h = L.Open(sim.Path(), 9600, 5000);
    ASSERT_NE(h, 0);
    ASSERT_EQ(L.Send(h, ":1;0;"), KV_OK);
    std::thread killer([&] {
        usleep(100000);
        sim.Stop(SIGKILL);
    });
    const auto start = TClock::now();
    char answer[KV_BUFFER_SIZE];
    EXPECT_EQ(L.ReceiveParcel(h, answer), KV_ERR_LINE_LOST);
    EXPECT_LT(MsSince(start), 1000);
    killer.join();
    L.Close(h);
}

} // namespace
