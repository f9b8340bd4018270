// Network ports: the library against kestrin-sim serving as a device server (raw TCP and RFC 2217),
// against ser2net in front of kestrin-sim on a pseudo-terminal, and against small servers of the
// test's own that misbehave on purpose.
#include "KvLib.h"

#include <gtest/gtest.h>

#include <QStandardPaths>

#include <arpa/inet.h>
#include <atomic>
#include <functional>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <thread>

using namespace TestSupport;

namespace {

constexpr uint8_t IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250, SE = 240;
constexpr uint8_t COMPORT = 44;

QByteArray Bytes(std::initializer_list<int> list) {
    QByteArray b;
    for (int v : list)
        b.append(static_cast<char>(v));
    return b;
}

// Reads what a client sends until `done` says enough or the time-out passes.
QByteArray ReadUntil(int fd, const std::function<bool(const QByteArray&)>& done, int timeoutMs = 3000) {
    QByteArray got;
    const auto start = TClock::now();
    while (!done(got)) {
        const int left = timeoutMs - static_cast<int>(MsSince(start));
        if (left <= 0 || !WaitReadable(fd, left))
            break;
        char buf[512];
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            break;
        got.append(buf, n);
    }
    return got;
}
void SendBytes(int fd, const QByteArray& b) {
    const ssize_t n = ::send(fd, b.constData(), static_cast<size_t>(b.size()), MSG_NOSIGNAL);
    (void)n;
}

// A listening socket on a free loopback port; each client is handed to the handler on a thread of
// its own and closed when the handler returns.
class TFakeServer {
public:
    explicit TFakeServer(std::function<void(int)> handler) : Handler(std::move(handler)) {
        Fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (::bind(Fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(Fd, 4) != 0 ||
            ::getsockname(Fd, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            return;
        Port = ntohs(a.sin_port);
        Thread = std::thread([this] {
            while (!Stopping) {
                if (!WaitReadable(Fd, 50))
                    continue;
                const int c = ::accept4(Fd, nullptr, nullptr, SOCK_CLOEXEC);
                if (c < 0)
                    continue;
                Handler(c);
                ::close(c);
            }
        });
    }
    ~TFakeServer() {
        Stopping = true;
        if (Thread.joinable())
            Thread.join();
        ::close(Fd);
    }
    QString Url(const char* scheme) const {
        return QStringLiteral("%1://127.0.0.1:%2").arg(scheme).arg(Port);
    }
    uint16_t Port = 0;

private:
    std::function<void(int)> Handler;
    int Fd = -1;
    std::atomic<bool> Stopping{false};
    std::thread Thread;
};

// A port nobody listens on: bound once by us, then let go.
uint16_t FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

// The library's stderr while f runs.
template <class F> QByteArray Stderr(F&& f) {
    char name[] = "/tmp/kvnet-stderr-XXXXXX";
    const int file = mkstemp(name);
    const int saved = dup(STDERR_FILENO);
    dup2(file, STDERR_FILENO);
    f();
    dup2(saved, STDERR_FILENO);
    ::close(saved);
    QFile f2(QString::fromLocal8Bit(name));
    f2.open(QIODevice::ReadOnly);
    const QByteArray text = f2.readAll();
    ::close(file);
    ::unlink(name);
    return text;
}

QByteArray PortList(TKvLib& lib) {
    int32_t h = lib.CreateCOM();
    char ports[KV_PORTS_BUFFER_SIZE] = {};
    EXPECT_EQ(lib.SearchAvailableCOMPorts(h, 0, nullptr, ports), KV_OK);
    lib.FreeCOM(&h);
    return ports;
}

// The broadcast search: every answering address, in the order of the answers.
QList<int> Search(TKvLib& L, int32_t h) {
    QList<int> found;
    if (L.Send(h, ":0;0;") != KV_OK)
        return found;
    char answer[KV_BUFFER_SIZE];
    while (L.ReceiveParcel(h, answer) == KV_OK) {
        uint8_t address = 0;
        char payload[KV_BUFFER_SIZE];
        if (L.AnalysisAnswerParcel(answer, &address, payload) == KV_OK)
            found.append(address);
    }
    return found;
}

} // namespace

// Both kinds of device server, named in kvcom.ini and given as addresses: transactions, the
// broadcast search, and the speed, which only RFC 2217 carries to the line.
TEST(KvNet, RawAndRfc2217PortsAgainstKestrinSim) {
    TProgDir dir;
    const QStringList devices = {"--progdir", dir.Path(), "--timing", "--device",         "5:9",
                                 "--device",  "1:21",     "--device", "2:21:K1_205:19200"};
    TSimProcess raw(QStringList{"--tcp", "0"} + devices);
    TSimProcess telnet(QStringList{"--rfc2217", "0"} + devices);
    ASSERT_TRUE(raw.Started() && telnet.Started()) << qPrintable(raw.Stderr() + telnet.Stderr());
    EXPECT_TRUE(raw.Banner().startsWith("TCP ")) << qPrintable(raw.Banner());
    EXPECT_TRUE(telnet.Banner().startsWith("RFC2217 ")) << qPrintable(telnet.Banner());

    TLibCopy copy({"[Ports]", "Demo=1", "Links=", "[Net]", "NET1=tcp://127.0.0.1:" + raw.Path(),
                   "Net2 = rfc2217://localhost:" + telnet.Path()});
    ASSERT_TRUE(copy.Loaded);
    TKvLib& L = copy.Lib;
    EXPECT_TRUE(PortList(L).endsWith(";NET1;Net2;SIM1;")) << PortList(L).constData();

    for (const QString& port : {QStringLiteral("NET1"), QStringLiteral("net2"),
                                "tcp://127.0.0.1:" + raw.Path(), "RFC2217://127.0.0.1:" + telnet.Path()}) {
        SCOPED_TRACE(port.toStdString());
        const bool isTelnet = port.contains("2217", Qt::CaseInsensitive) || port == "net2";
        int32_t rc = 0;
        const int32_t h = L.Open(port, 9600, 300, &rc);
        ASSERT_NE(h, 0) << rc;
        QByteArray data;
        int from = 0;
        EXPECT_EQ(L.Ask(h, ":1;0;", &data, &from), KV_OK);
        EXPECT_EQ(from, 1);
        EXPECT_EQ(data, "21");
        EXPECT_EQ(L.Ask(h, ":1;38;000110;0080;", &data), KV_OK);
        EXPECT_EQ(L.Ask(h, ":1;37;000110;", &data), KV_OK);
        EXPECT_EQ(data, "0080");
        EXPECT_EQ(Search(L, h), QList<int>({1, 5})) << "the instrument at 19200 is not on a 9600 line";

        // The speed: an RFC 2217 server puts its line at 19200, a raw server keeps its own.
        EXPECT_EQ(L.SetBaudRate(h, 19200), KV_OK);
        EXPECT_EQ(Search(L, h), isTelnet ? QList<int>({2}) : QList<int>({1, 5}));
        EXPECT_EQ(L.Ask(h, ":2;37;0001FF;", &data), isTelnet ? KV_OK : KV_ERR_NO_ANSWER);
        if (isTelnet) {
            EXPECT_EQ(data, "K1_205");
        }
        L.Close(h);
    }
}

// Names that cannot be network ports are left out of the list with the reason on stderr, and
// malformed addresses, unreachable servers and servers that go away give their codes in bounded time.
TEST(KvNet, BadNamesAndAddressesAreRefusedWithTheirReason) {
    TLibCopy copy({"[Ports]", "Demo=1", "Links=", "[Net]", "tty=tcp://127.0.0.1:4001",
                   "sim1=tcp://127.0.0.1:4001", "EMPTY=tcp://", "NOPORT=tcp://10.0.0.5",
                   "PORT0=tcp://10.0.0.5:0", "BIG=rfc2217://10.0.0.5:65536", "FTP=ftp://10.0.0.5:21",
                   "A/B=tcp://10.0.0.5:4001", "GOOD=tcp://10.0.0.5:4001",
                   QString(40, 'L') + "=tcp://10.0.0.5:4001"});
    ASSERT_TRUE(copy.Loaded);
    TKvLib& L = copy.Lib;
    QByteArray list;
    const QByteArray said = Stderr([&] { list = PortList(L); });
    EXPECT_TRUE(list.endsWith(";GOOD;SIM1;") || list == "GOOD;SIM1;") << list.constData();
    EXPECT_EQ(list.count("tty;"), list.split(';').contains("tty") ? 1 : 0) << "a clash listed twice";
    for (const char* reason : {"[Net] tty: имя уже занято портом системы", "[Net] sim1: имя уже занято",
                               "[Net] EMPTY: адрес «tcp://»: не указаны узел и порт",
                               "NOPORT: адрес «tcp://10.0.0.5»: не указан порт",
                               "PORT0: адрес «tcp://10.0.0.5:0»: порт «0»: нужно число от 1 до 65535",
                               "BIG: адрес «rfc2217://10.0.0.5:65536»: порт «65536»",
                               "FTP: адрес «ftp://10.0.0.5:21»: неизвестная схема «ftp»",
                               "A/B: недопустимый символ «/»", "LLLL: имя должно быть не длиннее 32"})
        EXPECT_TRUE(said.contains(reason)) << reason << "\n" << said.constData();
    EXPECT_FALSE(said.contains("GOOD"));

    // Malformed addresses and bad names fail at once, without a connection tried.
    for (const char* port : {"tcp://", "tcp://127.0.0.1", "tcp://127.0.0.1:0", "tcp://127.0.0.1:70000",
                             "udp://127.0.0.1:4001", "NOPORT", "noport"}) {
        const auto start = TClock::now();
        int32_t rc = 0;
        EXPECT_EQ(L.Open(port, 9600, 100, &rc), 0) << port;
        EXPECT_EQ(rc, KV_ERR_NO_PORT) << port;
        EXPECT_LT(MsSince(start), 500) << port;
    }
    // Nobody listening: refused at once. An address that does not answer: the connect time-out.
    for (const QString& port :
         {QStringLiteral("tcp://127.0.0.1:%1").arg(FreePort()),
          QStringLiteral("rfc2217://127.0.0.1:%1").arg(FreePort()), QStringLiteral("tcp://192.0.2.1:4001")}) {
        const auto start = TClock::now();
        int32_t rc = 0;
        EXPECT_EQ(L.Open(port, 9600, 100, &rc), 0) << qPrintable(port);
        EXPECT_EQ(rc, KV_ERR_OPEN) << qPrintable(port);
        EXPECT_LT(MsSince(start), port.contains("192.0.2.1") ? 4500 : 1000) << qPrintable(port);
    }
}

// Servers that misbehave: one that closes at once, one that refuses RFC 2217, one that does not
// speak Telnet at all, garbage and Telnet commands in the middle of answers.
TEST(KvNet, MisbehavingServersGiveClearCodesInBoundedTime) {
    TKvLib& L = ShippedLib();
    TFakeServer closes([](int) {});
    const auto start = TClock::now();
    int32_t rc = 0;
    int32_t h = L.Open(closes.Url("tcp"), 9600, 300, &rc);
    ASSERT_NE(h, 0) << "a raw server cannot be told from a working one before the first exchange";
    EXPECT_EQ(L.Ask(h, ":1;0;", nullptr), KV_ERR_LINE_LOST);
    L.Close(h);
    // The connection is lost while the answer is awaited: the code comes at once, not after the
    // time-out, and the next exchange connects again.
    std::atomic<int> connections{0};
    TFakeServer dropsFirst([&](int fd) {
        const bool first = connections++ == 0;
        while (ReadUntil(fd, [](const QByteArray& got) { return got.endsWith('\r'); }).endsWith('\r') &&
               !first)
            SendBytes(fd, Answer(1, "21"));
    });
    h = L.Open(dropsFirst.Url("tcp"), 9600, 1000, &rc);
    ASSERT_NE(h, 0) << rc;
    const auto lost = TClock::now();
    EXPECT_EQ(L.Ask(h, ":1;0;", nullptr), KV_ERR_LINE_LOST);
    EXPECT_LT(MsSince(lost), 500);
    QByteArray id;
    EXPECT_EQ(L.Ask(h, ":1;0;", &id), KV_OK);
    EXPECT_EQ(id, "21");
    EXPECT_EQ(connections, 2);
    L.Close(h);
    EXPECT_EQ(L.Open(closes.Url("rfc2217"), 9600, 300, &rc), 0);
    EXPECT_EQ(rc, KV_ERR_OPEN);
    EXPECT_LT(MsSince(start), 2000);

    TFakeServer refuses([](int fd) {
        ReadUntil(fd, [](const QByteArray& got) { return got.contains(Bytes({IAC, WILL, COMPORT})); });
        SendBytes(fd, Bytes({IAC, DONT, COMPORT}));
        ReadUntil(
            fd, [](const QByteArray&) { return false; }, 5000); // until the client leaves
    });
    TFakeServer silent([](int fd) {
        ReadUntil(
            fd, [](const QByteArray&) { return false; }, 5000);
    });
    for (TFakeServer* server : {&refuses, &silent}) {
        const auto t = TClock::now();
        EXPECT_EQ(L.Open(server->Url("rfc2217"), 9600, 300, &rc), 0);
        EXPECT_EQ(rc, KV_ERR_NO_RFC2217);
        EXPECT_LT(MsSince(t), server == &refuses ? 1000 : 4500);
    }

    // Raw: noise before "!" is skipped, garbage inside a parcel spoils only that answer.
    TFakeServer garbage([](int fd) {
        for (int i = 0; i < 2; ++i) {
            if (!ReadUntil(fd, [](const QByteArray& got) { return got.endsWith('\r'); }).endsWith('\r'))
                return;
            QByteArray answer = Answer(1, "21");
            if (i == 0)
                answer.insert(3, Bytes({IAC, 241, 0x07, 'x'})); // a Telnet NOP means nothing on a raw line
            SendBytes(fd, "\x01\x7f~" + answer);
        }
    });
    const int32_t g = L.Open(garbage.Url("tcp"), 9600, 300);
    ASSERT_NE(g, 0);
    QByteArray data;
    rc = L.Ask(g, ":1;0;", &data);
    EXPECT_TRUE(rc == KV_ERR_CHECKWORD || rc == KV_ERR_MALFORMED) << rc;
    EXPECT_EQ(L.Ask(g, ":1;0;", &data), KV_OK);
    EXPECT_EQ(data, "21");
    L.Close(g);

    // RFC 2217: Telnet commands inside an answer are taken out, 0xFF travels doubled both ways, and
    // options the library does not know are refused.
    std::atomic<bool> refusedTerminalType{false};
    QByteArray requestSeen;
    std::mutex seenMutex;
    TFakeServer telnet([&](int fd) {
        SendBytes(fd, Bytes({IAC, DO, COMPORT, IAC, DO, 24})); // terminal type: not the library's
        QByteArray got = ReadUntil(fd, [](const QByteArray& b) {
            const qsizetype speed = b.indexOf(Bytes({IAC, SB, COMPORT, 1}));
            return speed >= 0 && b.size() >= speed + 10 && b.contains(Bytes({IAC, WONT, 24}));
        });
        refusedTerminalType = got.contains(Bytes({IAC, WONT, 24}));
        const qsizetype at = got.indexOf(Bytes({IAC, SB, COMPORT, 1}));
        if (at < 0)
            return;
        SendBytes(fd, Bytes({IAC, SB, COMPORT, 101}) + got.mid(at + 4, 4) + Bytes({IAC, SE}));
        got = ReadUntil(fd, [](const QByteArray& b) { return b.endsWith('\r'); });
        {
            std::lock_guard<std::mutex> lock(seenMutex);
            requestSeen = got;
        }
        QByteArray answer = Answer(1, "a\xff"
                                      "b");
        answer.replace("\xff", Bytes({IAC, IAC}));
        answer.insert(4, Bytes({IAC, 241, IAC, SB, COMPORT, 107, 0x30, IAC, SE, IAC, WILL, 1}));
        SendBytes(fd, answer);
        ReadUntil(
            fd, [](const QByteArray&) { return false; }, 2000);
    });
    const int32_t t = L.Open(telnet.Url("rfc2217"), 9600, 500, &rc);
    ASSERT_NE(t, 0) << rc;
    char word[KV_BUFFER_SIZE] = {};
    ASSERT_EQ(L.ASCIICRCWord(":1;37;\xff;", word), KV_OK);
    ASSERT_EQ(L.TransmitParcel(t, (QByteArray(":1;37;\xff;") + word + '\r').constData()), KV_OK);
    char answer[KV_BUFFER_SIZE] = {};
    ASSERT_EQ(L.ReceiveParcel(t, answer), KV_OK);
    char payload[KV_BUFFER_SIZE] = {};
    uint8_t from = 0;
    EXPECT_EQ(L.AnalysisAnswerParcel(answer, &from, payload), KV_OK);
    EXPECT_EQ(QByteArray(payload), "a\xff"
                                   "b");
    EXPECT_TRUE(refusedTerminalType);
    L.Close(t);
    std::lock_guard<std::mutex> lock(seenMutex);
    EXPECT_TRUE(requestSeen.contains(QByteArray(":1;37;") + Bytes({IAC, IAC}) + ";"))
        << requestSeen.toHex().constData();
}

namespace {
// ser2net in the foreground with its own configuration; stopped when destroyed.
class TSer2net {
public:
    TSer2net(const QString& program, const QString& config) {
        LogPath = config + ".log";
        Pid = fork();
        if (Pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM); // never left behind by a test that dies
            const int log =
                ::open(QFile::encodeName(LogPath).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
            const QByteArray p = QFile::encodeName(program), c = QFile::encodeName(config);
            execl(p.constData(), p.constData(), "-n", "-d", "-c", c.constData(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~TSer2net() {
        if (Pid > 0) {
            ::kill(Pid, SIGTERM);
            waitpid(Pid, nullptr, 0);
        }
    }
    TSer2net(const TSer2net&) = delete;
    TSer2net& operator=(const TSer2net&) = delete;
    QByteArray Log() const {
        QFile f(LogPath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    pid_t Pid = -1;
    QString LogPath;
};

// Waits until something listens on the loopback port.
bool Listening(uint16_t port, int timeoutMs) {
    const auto start = TClock::now();
    while (MsSince(start) < timeoutMs) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(port);
        const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        ::close(fd);
        if (ok)
            return true;
        WaitReadable(-1, 20); // a short pause: nothing to wait on but the clock
    }
    return false;
}
} // namespace

// A device server that is not ours: ser2net in front of kestrin-sim on a pseudo-terminal, raw and
// with RFC 2217. The speed set through RFC 2217 reaches the pseudo-terminal, where the simulator's
// instruments hear only their own speed.
TEST(KvNet, ThroughSer2netInFrontOfKestrinSim) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("ser2net"));
    if (program.isEmpty())
        GTEST_SKIP() << "ser2net is not installed (Debian package ser2net)";
    // One simulator for each of ser2net's ports: two connections of ser2net to one device exclude
    // each other for a moment after the first closes ("Port's device already in use").
    TProgDir dir;
    const QStringList devices = {"--progdir", dir.Path(), "--timing",         "--device",
                                 "1:21",      "--device", "2:21:K1_205:19200"};
    TSimProcess rawSim(devices), telnetSim(devices);
    ASSERT_TRUE(rawSim.Started() && telnetSim.Started());
    const uint16_t rawPort = FreePort();
    uint16_t telnetPort = FreePort();
    while (telnetPort == rawPort)
        telnetPort = FreePort();
    QTemporaryDir confDir;
    const QString config = confDir.path() + "/ser2net.yaml";
    WriteCp1251(config, {"connection: &raw", QStringLiteral("  accepter: tcp,127.0.0.1,%1").arg(rawPort),
                         "  connector: serialdev," + rawSim.Path() + ",9600n81,local", "connection: &rfc2217",
                         QStringLiteral("  accepter: telnet(rfc2217),tcp,127.0.0.1,%1").arg(telnetPort),
                         "  connector: serialdev," + telnetSim.Path() + ",9600n81,local"});
    TSer2net server(program, config);
    ASSERT_TRUE(Listening(rawPort, 10000) && Listening(telnetPort, 10000)) << server.Log().constData();

    TKvLib& L = ShippedLib();
    int32_t rc = 0;
    const int32_t raw = L.Open(QStringLiteral("tcp://127.0.0.1:%1").arg(rawPort), 9600, 500, &rc);
    ASSERT_NE(raw, 0) << rc;
    QByteArray data;
    EXPECT_EQ(L.Ask(raw, ":1;0;", &data), KV_OK);
    EXPECT_EQ(data, "21");
    EXPECT_EQ(L.Ask(raw, ":1;38;000110;0080;", &data), KV_OK);
    EXPECT_EQ(Search(L, raw), QList<int>({1}));
    L.Close(raw);

    const int32_t tel = L.Open(QStringLiteral("rfc2217://127.0.0.1:%1").arg(telnetPort), 9600, 500, &rc);
    ASSERT_NE(tel, 0) << rc << server.Log().constData();
    EXPECT_EQ(L.Ask(tel, ":1;38;000110;00FE;", &data), KV_OK);
    EXPECT_EQ(L.Ask(tel, ":1;37;000110;", &data), KV_OK);
    EXPECT_EQ(data, "00FE");
    EXPECT_EQ(L.SetBaudRate(tel, 19200), KV_OK);
    EXPECT_EQ(L.Ask(tel, ":2;37;0001FF;", &data), KV_OK);
    EXPECT_EQ(data, "K1_205");
    EXPECT_EQ(L.Ask(tel, ":1;0;", &data), KV_ERR_NO_ANSWER);
    EXPECT_EQ(Search(L, tel), QList<int>({2}));
    L.Close(tel);
}
