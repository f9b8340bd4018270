// The library against simulated instruments: kestrin-sim on a pseudo-terminal, the in-library demo
// line SIM1, and the port list with kvcom.ini.
#include "KvLib.h"
#include "kvcom/KvPortNames.h"
#include "sim/SimBus.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSerialPortInfo>

#include <algorithm>
#include <malloc.h>
#include <thread>

using namespace TestSupport;

namespace {

QByteArray PortList(TKvLib& lib) {
    int32_t h = lib.CreateCOM();
    char ports[KV_PORTS_BUFFER_SIZE];
    std::memset(ports, 'Z', sizeof ports);
    const int32_t rc = lib.SearchAvailableCOMPorts(h, 0, nullptr, ports);
    lib.FreeCOM(&h);
    EXPECT_EQ(rc, KV_OK);
    return rc == KV_OK ? QByteArray(ports) : QByteArray();
}

QByteArray SystemPorts() {
    QByteArray out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        out += info.portName().toLatin1() + ';';
    return out;
}

TEST(KvSim, TransactionsWithKestrinSim) {
    TProgDir dir;
    TSimProcess sim(
        {"--progdir", dir.Path(), "--device", "5:9", "--device", "1:21", "--device", "2:21:K1_205"});
    ASSERT_TRUE(sim.Started());
    TKvLib& L = ShippedLib();
    const int32_t h = L.Open(sim.Path(), 9600, 200);
    ASSERT_NE(h, 0);
    QByteArray data;
    int from = 0;
    EXPECT_EQ(L.Ask(h, ":2;0;", &data, &from), KV_OK);
    EXPECT_EQ(from, 2);
    EXPECT_EQ(data, "21");
    EXPECT_EQ(L.Ask(h, ":2;37;0001FF;", &data), KV_OK);
    EXPECT_EQ(data, "K1_205");
    EXPECT_EQ(L.Ask(h, ":1;38;000110;0080;", &data), KV_OK);
    EXPECT_EQ(data, "$0");
    EXPECT_EQ(L.Ask(h, ":1;37;000110;", &data), KV_OK);
    EXPECT_EQ(data, "0080");
    EXPECT_EQ(L.Ask(h, ":3;0;", &data), KV_ERR_NO_ANSWER);

    // The search: one request, answers in address order until the line stays silent.
    ASSERT_EQ(L.Send(h, ":0;0;"), KV_OK);
    QList<int> found;
    char answer[KV_BUFFER_SIZE];
    while (L.ReceiveParcel(h, answer) == KV_OK) {
        uint8_t address = 0;
        char payload[KV_BUFFER_SIZE];
        ASSERT_EQ(L.AnalysisAnswerParcel(answer, &address, payload), KV_OK);
        found.append(address);
    }
    EXPECT_EQ(found, QList<int>({1, 2, 5}));
    L.Close(h);
}

TEST(KvSim, TransactionTimeOverAPseudoTerminal) {
    TSimProcess sim({});
    ASSERT_TRUE(sim.Started());
    TKvLib& L = ShippedLib();
    const int32_t h = L.Open(sim.Path(), 9600, 1000);
    ASSERT_NE(h, 0);
    std::vector<double> ms;
    QByteArray data;
    for (int i = 0; i < 2000; ++i) {
        const auto start = TClock::now();
        ASSERT_EQ(L.Ask(h, ":1;37;000101;", &data), KV_OK);
        ms.push_back(MsSince(start));
    }
    L.Close(h);
    std::sort(ms.begin(), ms.end());
    std::printf("library transaction with kestrin-sim: median %.3f ms, 99th %.3f ms\n", ms[ms.size() / 2],
                ms[ms.size() * 99 / 100]);
    EXPECT_LT(ms[ms.size() / 2], 1.0);
}

TEST(KvSim, PortListHasSystemPortsThenExtraThenDemo) {
    TLibCopy copy({"[Ports]", "Demo=1", "Extra= /tmp/kv-a ;/dev/serial/by-id/kv b;;/tmp/kv-a", "Links="});
    ASSERT_TRUE(copy.Loaded);
    EXPECT_EQ(PortList(copy.Lib), SystemPorts() + "/tmp/kv-a;/dev/serial/by-id/kv b;SIM1;");

    TLibCopy off({"[Ports]", "Demo=0", "Links="});
    ASSERT_TRUE(off.Loaded);
    EXPECT_EQ(PortList(off.Lib), SystemPorts());
    int32_t rc = 0;
    EXPECT_EQ(off.Lib.Open("SIM1", 9600, 100, &rc), 0);
    EXPECT_EQ(rc, KV_ERR_NO_PORT);

    char ports[KV_PORTS_BUFFER_SIZE];
    EXPECT_EQ(off.Lib.SearchAvailableCOMPorts(0, 0, nullptr, ports), KV_ERR_HANDLE);
    int32_t h = off.Lib.CreateCOM();
    EXPECT_EQ(off.Lib.SearchAvailableCOMPorts(h, 0, nullptr, nullptr), KV_ERR_BUFFER);
    off.Lib.FreeCOM(&h);
}

TEST(KvSim, PortListKeepsOnlyWholeNamesThatFit) {
    QStringList extra; // 40 names of 49 or 99 characters: far more than the buffer holds
    for (int i = 0; i < 40; ++i)
        extra.append(QStringLiteral("/tmp/kv-%1-").arg(i, 2, 10, QLatin1Char('0')) +
                     QString(i % 3 ? 40 : 90, 'p'));
    TLibCopy copy({"[Ports]", "Extra=" + extra.join(';')});
    ASSERT_TRUE(copy.Loaded);
    const QByteArray list = PortList(copy.Lib);
    EXPECT_LE(list.size(), KV_PORTS_BUFFER_SIZE - 1);
    EXPECT_GT(list.size() + 50, KV_PORTS_BUFFER_SIZE - 1) << "room for another name was left unused";
    EXPECT_TRUE(list.endsWith(";SIM1;")) << "a short name after the overflow still fits";
    qsizetype at = -1; // every listed extra is one whole name, in the configured order
    for (const QByteArray& n : list.split(';'))
        if (n.startsWith("/tmp/kv-")) {
            const qsizetype k = extra.indexOf(QString::fromLatin1(n));
            EXPECT_GT(k, at) << n.constData();
            at = k;
        }
    EXPECT_GE(at, 0);
}

TEST(KvSim, ExtraPathIsAPortLikeAnyOther) {
    QTemporaryDir tmp;
    const QString link = tmp.path() + "/kestrin line";
    TSimProcess sim({"--link", link});
    ASSERT_TRUE(sim.Started());
    TLibCopy copy({"[Ports]", "Demo=0", "Extra=" + link});
    ASSERT_TRUE(copy.Loaded);
    const QByteArray list = PortList(copy.Lib);
    ASSERT_TRUE(list.endsWith(QFile::encodeName(link) + ';'));
    const int32_t h = copy.Lib.Open(link);
    ASSERT_NE(h, 0);
    QByteArray data;
    EXPECT_EQ(copy.Lib.Ask(h, ":1;0;", &data), KV_OK);
    EXPECT_EQ(data, "21");
    copy.Lib.Close(h);
}

TEST(KvSim, StableLinkNamesFollowTheirDevicesAndOpen) {
    // Pseudo-terminals stand in for two adapters the system lists (pts/N is a short name under /dev)
    // and for one it does not; the directory stands in for /dev/serial/by-id.
    TPtyPair a, b, other;
    ASSERT_FALSE(other.Slave.isEmpty());
    QTemporaryDir dir;
    const QString byId = dir.path() + "/by-id";
    ASSERT_TRUE(QDir().mkpath(byId));
    const auto link = [&](const QString& target, const QString& name) {
        EXPECT_TRUE(QFile::link(target, byId + "/" + name)) << qPrintable(name);
        return byId + "/" + name;
    };
    const QString linkB = link(b.Slave, "usb-FTDI_FT232R_B-if00-port0");
    const QString linkA = link(a.Slave, "usb-1a86_USB2.0-Ser_A-if00-port0");
    const QString linkOther = link(other.Slave, "usb-Prolific-if00-port0");
    link("/dev/kv-unplugged", "usb-gone-if00-port0");
    TestSupport::WriteCp1251(dir.path() + "/plain", {"x"});
    link(dir.path() + "/plain", "usb-not-a-device");
    const QString shortA = a.Slave.mid(5), shortB = b.Slave.mid(5);
    EXPECT_EQ(Kv::WithStableNames({shortB, shortA}, {byId, dir.path() + "/none"}),
              (QStringList{shortB, linkB, shortA, linkA, linkOther}));

    // Through the library, set to that directory: the stable name of the simulator's line is offered
    // and opens like any other port.
    TSimProcess sim({});
    ASSERT_TRUE(sim.Started());
    const QString simLink = link(sim.Path(), "usb-FTDI_FT232R_SIM-if00-port0");
    TLibCopy copy({"[Ports]", "Demo=0", "Links=" + byId});
    ASSERT_TRUE(copy.Loaded);
    const QList<QByteArray> listed = PortList(copy.Lib).split(';');
    EXPECT_TRUE(listed.contains(QFile::encodeName(simLink)));
    EXPECT_FALSE(listed.contains(QFile::encodeName(byId + "/usb-gone-if00-port0")));
    const int32_t h = copy.Lib.Open(simLink);
    ASSERT_NE(h, 0);
    QByteArray data;
    EXPECT_EQ(copy.Lib.Ask(h, ":1;0;", &data), KV_OK);
    EXPECT_EQ(data, "21");
    copy.Lib.Close(h);
}

// At every speed with line timing and the catalogue's time-out of 300 ms: identification, the longest
// read (a float) and a search. Neither the request's nor the answer's own time on the wire may eat the
// time-out (at 300 baud each takes longer than the time-out alone). Two instruments listen at each
// speed: addresses i + 1 and i + 11 for the speed of index i.
QStringList DevicesAtEverySpeed() {
    QStringList specs;
    for (int i = 0; i < Sim::LineSpeedCount; ++i)
        for (int address : {i + 1, i + 11})
            specs << QStringLiteral("%1:21::%2").arg(address).arg(Sim::LineSpeeds[i]);
    return specs;
}

void AllSpeedsWithLineTiming(TKvLib& L, const QString& port, const char* line) {
    for (int i = 0; i < Sim::LineSpeedCount; ++i) {
        const uint16_t speed = static_cast<uint16_t>(Sim::LineSpeeds[i]);
        const int32_t h = L.Open(port, speed, 300);
        ASSERT_NE(h, 0);
        const QByteArray a = QByteArray::number(i + 1);
        const auto wireMs = [speed](qsizetype bytes) { return bytes * 10 * 1000.0 / speed; };
        QByteArray data;
        auto start = TClock::now();
        EXPECT_EQ(L.Ask(h, ":" + a + ";0;", &data), KV_OK) << line << " at " << speed;
        const double identify = MsSince(start);
        EXPECT_EQ(data, "21");
        const double identifyWire = wireMs(Request(":" + a + ";0;").size() + Answer(i + 1, "21").size());
        start = TClock::now();
        EXPECT_EQ(L.Ask(h, ":" + a + ";37;000111;", &data), KV_OK) << line << " at " << speed;
        const double read = MsSince(start);
        EXPECT_EQ(data, "0000C03F");
        const double readWire =
            wireMs(Request(":" + a + ";37;000111;").size() + Answer(i + 1, "0000C03F").size());
        EXPECT_GE(identify, identifyWire - 1) << "no line timing at " << speed;
        EXPECT_GE(read, readWire - 1) << "no line timing at " << speed;

        ASSERT_EQ(L.Send(h, ":0;0;"), KV_OK);
        QList<int> found;
        char answer[KV_BUFFER_SIZE];
        while (L.ReceiveParcel(h, answer) == KV_OK) {
            uint8_t address = 0;
            char payload[KV_BUFFER_SIZE];
            EXPECT_EQ(L.AnalysisAnswerParcel(answer, &address, payload), KV_OK);
            found.append(address);
        }
        EXPECT_EQ(found, QList<int>({i + 1, i + 11})) << line << " at " << speed;
        std::printf("%s %5u baud: identification %.0f ms (wire %.0f), float read %.0f ms (wire %.0f)\n", line,
                    speed, identify, identifyWire, read, readWire);
        L.Close(h);
    }
}

TEST(KvSim, EverySpeedWithLineTimingOnKestrinSim) {
    TProgDir dir;
    QStringList args = {"--progdir", dir.Path(), "--timing"};
    for (const QString& device : DevicesAtEverySpeed())
        args << "--device" << device;
    TSimProcess sim(args);
    ASSERT_TRUE(sim.Started());
    AllSpeedsWithLineTiming(ShippedLib(), sim.Path(), "kestrin-sim");
}

class KvDemo : public ::testing::Test {
protected:
    TProgDir Dir;
};

TEST_F(KvDemo, BusOfTheIniFileAnswers) {
    TLibCopy copy({"[Ports]", "Demo=1", "[Demo]", "Device1=5:9", "Device2=1:21", "Device3=2:21:K1_205",
                   "ProgDir=" + Dir.Path(), "CalibSeconds=0.3"});
    ASSERT_TRUE(copy.Loaded);
    TKvLib& L = copy.Lib;
    const int32_t h = L.Open("SIM1", 9600, 150);
    ASSERT_NE(h, 0);
    QByteArray data;
    int from = 0;
    ASSERT_EQ(L.Send(h, ":0;0;"), KV_OK);
    QList<QByteArray> answers;
    char answer[KV_BUFFER_SIZE];
    while (L.ReceiveParcel(h, answer) == KV_OK)
        answers.append(answer);
    EXPECT_EQ(answers, QList<QByteArray>({Answer(1, "21"), Answer(2, "21"), Answer(5, "9")}));
    EXPECT_EQ(L.Ask(h, ":2;37;0001FF;", &data, &from), KV_OK);
    EXPECT_EQ(from, 2);
    EXPECT_EQ(data, "K1_205");
    EXPECT_EQ(L.Ask(h, ":1;37;0001FF;", &data), KV_OK);
    EXPECT_EQ(data, "");
    EXPECT_EQ(L.Ask(h, ":1;37;000111;", &data), KV_OK);
    EXPECT_EQ(data, "0000C03F");
    EXPECT_EQ(L.Ask(h, ":1;1;2;", &data), KV_OK);
    EXPECT_TRUE(data.contains('.')) << data.constData();

    // Calibration runs on its own and returns to idle.
    EXPECT_EQ(L.Ask(h, ":1;38;001000;01;", &data), KV_OK);
    EXPECT_EQ(data, "$0");
    const auto start = TClock::now();
    while (L.Ask(h, ":1;37;001000;", &data) == KV_OK && data != "00" && MsSince(start) < 3000)
        usleep(20000);
    EXPECT_EQ(data, "00");
    EXPECT_NEAR(MsSince(start), 300, 150);

    // Another speed is not heard.
    ASSERT_EQ(L.SetBaudRate(h, 19200), KV_OK);
    EXPECT_EQ(L.Ask(h, ":1;0;", &data), KV_ERR_NO_ANSWER);
    L.Close(h);
}

TEST_F(KvDemo, EverySpeedWithLineTimingOnSim1) {
    QStringList ini = {"[Demo]", "ProgDir=" + Dir.Path(), "Timing=1"};
    int n = 0;
    for (const QString& device : DevicesAtEverySpeed())
        ini << QStringLiteral("Device%1=%2").arg(++n).arg(device);
    TLibCopy copy(ini);
    ASSERT_TRUE(copy.Loaded);
    AllSpeedsWithLineTiming(copy.Lib, "SIM1", "SIM1");
}

TEST_F(KvDemo, StateOutlivesTheHandles) {
    TLibCopy copy({"[Demo]", "Device1=1:21", "ProgDir=" + Dir.Path()});
    ASSERT_TRUE(copy.Loaded);
    TKvLib& L = copy.Lib;
    QByteArray data;
    int32_t h = L.Open("sim1"); // letter case does not matter
    ASSERT_NE(h, 0);
    EXPECT_EQ(L.Ask(h, ":1;38;000107;00;", &data), KV_OK);
    EXPECT_EQ(L.Ask(h, ":1;38;000101;0C;", &data), KV_OK);
    L.Close(h);
    // Two handles at once share the same bus.
    const int32_t a = L.Open("SIM1");
    const int32_t b = L.Open("SIM1");
    ASSERT_NE(a, 0);
    ASSERT_NE(b, 0);
    EXPECT_EQ(L.Ask(a, ":1;0;", &data), KV_ERR_NO_ANSWER);
    EXPECT_EQ(L.Ask(b, ":12;37;000107;", &data), KV_OK);
    EXPECT_EQ(data, "00");
    EXPECT_EQ(L.Ask(a, ":12;37;000101;", &data), KV_OK);
    EXPECT_EQ(data, "0C");
    L.Close(a);
    L.Close(b);
}

TEST_F(KvDemo, LineTimingAndFaults) {
    TLibCopy copy({"[Demo]", "Device1=1:21", "ProgDir=" + Dir.Path(), "Speed=1200", "Timing=1", "Noise=1",
                   "Echo=1", "BadCrc=2"});
    ASSERT_TRUE(copy.Loaded);
    TKvLib& L = copy.Lib;
    const int32_t h = L.Open("SIM1", 1200, 1000);
    ASSERT_NE(h, 0);
    QByteArray data;
    const auto start = TClock::now();
    EXPECT_EQ(L.Ask(h, ":1;0;", &data), KV_OK); // through the echo and the noise
    EXPECT_EQ(data, "21");
    // 10 request bytes, 11 answer bytes and the noise, 10 bits each at 1200 bit/s.
    EXPECT_GE(MsSince(start), 21 * 10 * 1000.0 / 1200);
    EXPECT_LT(MsSince(start), 400);
    EXPECT_EQ(L.Ask(h, ":1;0;", &data), KV_ERR_CHECKWORD);
    L.Close(h);
}

TEST(KvShipped, DemoLineOfTheShippedSettings) {
    TKvLib& L = ShippedLib();
    ASSERT_NE(L.Module, nullptr);
    EXPECT_TRUE(PortList(L).endsWith("SIM1;"));
    const int32_t h = L.Open("SIM1", 9600, 1000);
    ASSERT_NE(h, 0);
    QByteArray data;
    for (int address : {1, 2}) {
        EXPECT_EQ(L.Ask(h, ":" + QByteArray::number(address) + ";0;", &data), KV_OK);
        EXPECT_EQ(data, "21");
    }
    EXPECT_EQ(L.Ask(h, ":1;37;0001FF;", &data), KV_OK);
    EXPECT_EQ(data, "");
    EXPECT_EQ(L.Ask(h, ":2;37;0001FF;", &data), KV_OK);
    EXPECT_EQ(data, "K1_205");
    EXPECT_EQ(L.Ask(h, ":5;0;", &data), KV_OK);
    EXPECT_NE(data, "21");
    L.Close(h);
}

} // namespace

// A week of polling the demo line costs no memory per request: the simulated bus keeps no record
// of the requests nobody reads.
TEST_F(KvDemo, PollingHoldsNoMemoryPerRequest) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator is not the one measured";
#else
    TLibCopy copy({"[Demo]", "Device1=1:21", "ProgDir=" + Dir.Path()});
    ASSERT_TRUE(copy.Loaded);
    TKvLib& L = copy.Lib;
    const int32_t h = L.Open("SIM1");
    ASSERT_NE(h, 0);
    QByteArray data;
    const auto poll = [&](int n) {
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(L.Ask(h, ":1;1;" + QByteArray::number(i % 4 + 1) + ";", &data), KV_OK);
    };
    poll(200);
    const size_t before = mallinfo2().uordblks;
    poll(20000);
    const size_t after = mallinfo2().uordblks;
    L.Close(h);
    // Before, the bus kept the last 10,000 requests: well over half a megabyte.
    EXPECT_LT(after, before + 16 * 1024) << "grew by " << (after - before) << " bytes";
#endif
}
