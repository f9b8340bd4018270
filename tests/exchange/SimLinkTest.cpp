// The exchange through the real libkvcom.so, loaded by the program's loader, against kestrin-sim on a
// pseudo-terminal: what the instrument receives, and the codes of every kind of bad line.
#include "exchange/DevLink.h"
#include "SimProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>

namespace {
const QString ProgDir = QStringLiteral(KESTRIN_PROGDIR);
constexpr int TimeOut = 300;
// Time a failing transaction may take beyond the time-out on a loaded machine.
constexpr auto Slack = std::chrono::milliseconds(1500);

// The request frame as the instrument must see it: request text and its CRC-16/MODBUS check word.
QString Frame(const QString& request) {
    uint16_t crc = 0xFFFF;
    for (const char c : request.toLatin1()) {
        crc ^= static_cast<uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
    }
    return request + QString::number(crc, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

using TClock = std::chrono::steady_clock;

class SimLinkTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        Library = std::make_unique<TKvLibrary>();
        Library->Load(ProgDir);
    }
    static void TearDownTestSuite() { Library.reset(); }

    void SetUp() override {
        ASSERT_TRUE(Library->IsLoaded()) << Library->ErrorText().toStdString();
        Type.TimeOut = TimeOut;
        Type.TypeNum = 21;
    }
    void TearDown() override { CloseDevLink(Handle); }

    // Starts a simulator and opens a link to it at 9600 baud.
    void Start(const QStringList& options, uint8_t address = 1) {
        Sim = std::make_unique<TSimProcess>(ProgDir, options);
        ASSERT_FALSE(Sim->PtyPath().isEmpty()) << "kestrin-sim did not start";
        Dev.COMPort = Sim->PtyPath();
        Dev.Address = address;
        ASSERT_EQ(OpenDevLink(Library->Table(), Dev, Type, Handle), ExOk);
    }

    static std::unique_ptr<TKvLibrary> Library;
    std::unique_ptr<TSimProcess> Sim;
    TDev Dev;
    TDevProp Type;
    ExchangeHandle Handle;
};
std::unique_ptr<TKvLibrary> SimLinkTest::Library;
} // namespace

TEST_F(SimLinkTest, InstrumentReceivesRequestsByteForByte) {
    Start({"--device", "7:21:K1_205"}, 7);
    bool linked = false;
    QString version;
    EXPECT_EQ(DevGetVersion(Handle, 7, 21, 255, linked, version), ExOk);
    EXPECT_TRUE(linked);
    EXPECT_EQ(version, QStringLiteral("K1_205"));

    QString value;
    EXPECT_EQ(ReadParam(Dev, Handle, 1, value, 0), ExOk);
    EXPECT_EQ(value, QStringLiteral("7")) << "the network-address parameter holds the address";
    EXPECT_EQ(ReadParam(Dev, Handle, 0x13, value, 3), ExOk);
    EXPECT_EQ(value, QStringLiteral("1300.00000"));
    EXPECT_EQ(WriteParam(Dev, Handle, 0x13, 0, QStringLiteral("-2.5"), 3), ExOk);
    EXPECT_EQ(ReadParam(Dev, Handle, 0x13, value, 3), ExOk);
    EXPECT_EQ(value, QStringLiteral("-2.50000"));
    EXPECT_EQ(WriteParam(Dev, Handle, 0x15, 0, QStringLiteral("-2"), 2), ExOk);
    EXPECT_EQ(ReadParam(Dev, Handle, 0x15, value, 2), ExOk);
    EXPECT_EQ(value, QStringLiteral("-2"));

    const QStringList expected{Frame(":7;0;"),
                               Frame(":7;37;0001FF;"),
                               Frame(":7;37;000101;"),
                               Frame(":7;37;000113;"),
                               Frame(":7;38;000113;000020C0;"),
                               Frame(":7;37;000113;"),
                               Frame(":7;38;000115;FEFF;"),
                               Frame(":7;37;000115;")};
    EXPECT_EQ(Sim->Trace(), expected);
}

TEST_F(SimLinkTest, SilentLineGivesTheLibraryCodeWithinTheTimeOut) {
    Start({"--drop", "1"});
    bool linked = true;
    auto start = TClock::now();
    EXPECT_EQ(DevCheck(Handle, 1, 21, linked), ExOk);
    EXPECT_FALSE(linked);
    QString value = QStringLiteral("old");
    EXPECT_EQ(ReadParam(Dev, Handle, 1, value, 0), KV_ERR_NO_ANSWER);
    EXPECT_EQ(value, QStringLiteral("old"));
    EXPECT_EQ(WriteParam(Dev, Handle, 1, 0, QStringLiteral("1"), 0), KV_ERR_NO_ANSWER);
    const auto elapsed = TClock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(3 * TimeOut));
    EXPECT_LT(elapsed, 3 * (std::chrono::milliseconds(TimeOut) + Slack));
    EXPECT_EQ(Sim->Trace().size(), 3);
}

TEST_F(SimLinkTest, ForeignAnswersAreNotTakenForTheInstrument) {
    Start({"--foreign", "1"});
    bool linked = true;
    EXPECT_EQ(DevCheck(Handle, 1, 21, linked), ExOk);
    EXPECT_FALSE(linked);
    QString value = QStringLiteral("old");
    EXPECT_EQ(ReadParam(Dev, Handle, 1, value, 0), ExWrongAddress);
    EXPECT_EQ(value, QStringLiteral("old"));
    EXPECT_EQ(WriteParam(Dev, Handle, 3, 0, QStringLiteral("5"), 0), ExWrongAddress);
}

TEST_F(SimLinkTest, BadCheckWordIsTheLibrarysCode) {
    Start({"--bad-crc", "1"});
    bool linked = true;
    EXPECT_EQ(DevCheck(Handle, 1, 21, linked), KV_ERR_CHECKWORD);
    EXPECT_FALSE(linked);
    QString value = QStringLiteral("old");
    EXPECT_EQ(ReadParam(Dev, Handle, 1, value, 0), KV_ERR_CHECKWORD);
    EXPECT_EQ(value, QStringLiteral("old"));
}

TEST_F(SimLinkTest, DollarOneIsADeviceError) {
    Start({"--dollar1", "1"});
    QString value = QStringLiteral("old");
    EXPECT_EQ(ReadParam(Dev, Handle, 0x13, value, 3), ExDeviceError);
    EXPECT_EQ(value, QStringLiteral("old"));
    EXPECT_EQ(WriteParam(Dev, Handle, 0x13, 0, QStringLiteral("1"), 3), ExDeviceError);
}

TEST_F(SimLinkTest, NoiseAndEchoBeforeAnswersAreSkipped) {
    Start({"--noise", "--echo"});
    bool linked = false;
    EXPECT_EQ(DevCheck(Handle, 1, 21, linked), ExOk);
    EXPECT_TRUE(linked);
    QString value;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ReadParam(Dev, Handle, 0x15, value, 2), ExOk);
        EXPECT_EQ(value, QStringLiteral("0"));
    }
}

TEST_F(SimLinkTest, SilenceAfterSomeAnswers) {
    Start({"--silence-after", "2"});
    QString value;
    EXPECT_EQ(ReadParam(Dev, Handle, 1, value, 0), ExOk);
    EXPECT_EQ(ReadParam(Dev, Handle, 1, value, 0), ExOk);
    EXPECT_EQ(ReadParam(Dev, Handle, 1, value, 0), KV_ERR_NO_ANSWER);
}

TEST_F(SimLinkTest, SimulatorKilledMidTransaction) {
    Start({"--delay", "2000"});
    Type.TimeOut = 4000;
    CloseDevLink(Handle);
    ASSERT_EQ(OpenDevLink(Library->Table(), Dev, Type, Handle), ExOk);
    const auto start = TClock::now();
    auto read = std::async(std::launch::async, [this] {
        QString value = QStringLiteral("old");
        const int rc = ReadParam(Dev, Handle, 1, value, 0);
        return std::make_pair(rc, value);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Sim->Kill();
    ASSERT_EQ(read.wait_for(std::chrono::milliseconds(Type.TimeOut) + Slack), std::future_status::ready)
        << "the read hangs on a dead line";
    const auto [rc, value] = read.get();
    EXPECT_EQ(rc, KV_ERR_LINE_LOST);
    EXPECT_EQ(value, QStringLiteral("old"));
    // The next transaction on the dead line fails too, without waiting for an answer that cannot come.
    QString again;
    const int next = ReadParam(Dev, Handle, 1, again, 0);
    EXPECT_EQ(next, KV_ERR_LINE_LOST);
    EXPECT_LT(TClock::now() - start, 2 * (std::chrono::milliseconds(Type.TimeOut) + Slack));
}

TEST_F(SimLinkTest, PortThatDoesNotExist) {
    Dev.COMPort = QStringLiteral("/dev/kestrin-no-such-port-for-tests");
    EXPECT_EQ(OpenDevLink(Library->Table(), Dev, Type, Handle), KV_ERR_NO_PORT);
    CloseDevLink(Handle);
    Dev.COMPort = QStringLiteral("ttyKestrinNoSuchPort");
    EXPECT_EQ(OpenDevLink(Library->Table(), Dev, Type, Handle), KV_ERR_NO_PORT);
}

TEST_F(SimLinkTest, SpeedOutsideTheSeven) {
    Sim = std::make_unique<TSimProcess>(ProgDir, QStringList());
    ASSERT_FALSE(Sim->PtyPath().isEmpty());
    Dev.COMPort = Sim->PtyPath();
    Dev.BaudRate = 14400;
    EXPECT_EQ(OpenDevLink(Library->Table(), Dev, Type, Handle), KV_ERR_SPEED);
}

TEST_F(SimLinkTest, SearchListsTheInstrumentsOfTheType) {
    Start({"--device", "9:21", "--device", "4:22", "--device", "3:21"});
    QStringList found;
    const auto start = TClock::now();
    EXPECT_EQ(DevSearch(Handle, 21, found), ExOk);
    const auto elapsed = TClock::now() - start;
    EXPECT_EQ(found, (QStringList{"3", "9"})) << "answers come in address order";
    EXPECT_GE(elapsed, std::chrono::milliseconds(TimeOut)) << "the search waits out the last time-out";
    EXPECT_LT(elapsed, std::chrono::milliseconds(TimeOut) + Slack);
    EXPECT_EQ(Sim->Trace(), QStringList{Frame(":0;0;")});
}
