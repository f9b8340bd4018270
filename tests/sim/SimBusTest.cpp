// The simulator engine driven directly: memory, commands, bus behaviour, timing and faults.
#include "sim/SimBus.h"
#include "TestSupport.h"
#include "sim/Wire.h"

#include <gtest/gtest.h>

#include <memory>

using namespace TestSupport;
using Sim::TClock;

namespace {

class SimBusTest : public ::testing::Test {
protected:
    std::unique_ptr<Sim::TBus> Make(std::vector<Sim::TDeviceSpec> devices, Sim::TFaults faults = {},
                                    bool timing = false, double calibSeconds = 2.0) {
        Sim::TConfig cfg;
        cfg.ProgDir = Dir.Path();
        cfg.Devices = std::move(devices);
        cfg.Faults = faults;
        cfg.LineTiming = timing;
        cfg.CalibSeconds = calibSeconds;
        auto bus = std::make_unique<Sim::TBus>(cfg);
        bus->SetClock([this] { return Now; });
        return bus;
    }
    static QByteArray Bytes(const std::vector<Sim::TOutput>& outputs) {
        QByteArray all;
        for (const Sim::TOutput& o : outputs)
            all += o.Bytes;
        return all;
    }
    static QByteArray Ask(Sim::TBus& bus, const QByteArray& text, uint32_t speed = 9600) {
        return Bytes(bus.Receive(Request(text), speed));
    }

    TProgDir Dir;
    TClock::time_point Now = TClock::now();
};

TEST(SimWire, CheckWordFollowsModbusDefinition) {
    // The standard check value of CRC-16/MODBUS.
    EXPECT_EQ(Wire::Crc16Modbus("123456789", 9), 0x4B37);
    EXPECT_EQ(Wire::RequestParcel(":7;0;"), Request(":7;0;"));
    EXPECT_EQ(Wire::AnswerParcel(7, "3"), Answer(7, "3"));
    EXPECT_EQ(Wire::AnswerParcel(255, ""), Answer(255, ""));
}

TEST(SimWire, DeviceSpecs) {
    auto s = Sim::ParseDeviceSpec("2:21:K1_205:19200");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Address, 2);
    EXPECT_EQ(s->TypeNum, 21);
    EXPECT_EQ(s->Version, "K1_205");
    EXPECT_EQ(s->Speed, 19200u);
    s = Sim::ParseDeviceSpec("1:21");
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->Version.isEmpty());
    EXPECT_EQ(s->Speed, 0u);
    for (const char* bad : {"0:21", "256:21", "1", "1:300", "x:21", "1:21:v:1000", "1:21:v:9600:x"})
        EXPECT_FALSE(Sim::ParseDeviceSpec(bad)) << bad;
}

TEST_F(SimBusTest, MemoryStartsWithEncodedFactoryValues) {
    auto bus = Make({{1, 21, "", 0}, {2, 21, "K1_205", 0}});
    auto at = [&](size_t i, const char* loc) { return bus->Content(i, loc).value_or("<none>"); };
    EXPECT_EQ(at(0, "000101"), "01");
    EXPECT_EQ(at(0, "000102"), "05");
    EXPECT_EQ(at(0, "000103"), "2C"); // 300 keeps its low 8 bits
    EXPECT_EQ(at(0, "000107"), "01");
    EXPECT_EQ(at(0, "000110"), "FEFF");      // -2, low byte first
    EXPECT_EQ(at(0, "000112"), "3412");      // 4660
    EXPECT_EQ(at(0, "000111"), "0000C03F");  // 1.5, least significant byte first
    EXPECT_EQ(at(0, "000112C"), "CDCCCC3D"); // address 300 (three digits) and 0.1
    EXPECT_EQ(at(0, "000120"), "");          // no payload for code 4
    EXPECT_EQ(at(0, "0001FF"), "");          // the base version text
    EXPECT_EQ(at(0, "001000"), "00");
    EXPECT_FALSE(bus->Content(0, "000130")); // only in K1_205
    EXPECT_FALSE(bus->Content(0, "000100")); // channel and calibration codes have no such location

    EXPECT_EQ(at(1, "0001FF"), "K1_205");
    EXPECT_EQ(at(1, "000111"), "00002040"); // 2.5 from the version's own file
    EXPECT_EQ(at(1, "000130"), "1A");
    // The address parameter reads back the instrument's own address.
    EXPECT_EQ(at(1, "000101"), "02");
}

TEST_F(SimBusTest, HalfwaySinglesRoundAwayFromZero) {
    EXPECT_EQ(Sim::SingleBits(1.5), 0x3FC00000u);
    EXPECT_EQ(Sim::SingleBits(-0.25), 0xBE800000u);
    // 1 + 2^-24 lies exactly between 1 and the next single up.
    EXPECT_EQ(Sim::SingleBits(1.0 + 1.0 / 16777216.0), 0x3F800001u);
    EXPECT_EQ(Sim::SingleBits(-(1.0 + 1.0 / 16777216.0)), 0xBF800001u);
}

TEST_F(SimBusTest, TypeWithoutDescriptionsStillIdentifies) {
    auto bus = Make({{5, 9, "", 0}, {6, 33, "", 0}});
    EXPECT_EQ(Ask(*bus, ":5;0;"), Answer(5, "9"));
    EXPECT_EQ(Ask(*bus, ":6;37;0001FF;"), Answer(6, ""));
    EXPECT_EQ(Ask(*bus, ":6;37;000101;"), Answer(6, "$1"));
    EXPECT_FALSE(bus->Instrument(0).DescriptionsLoaded);
}

TEST_F(SimBusTest, Commands) {
    auto bus = Make({{3, 21, "", 0}});
    EXPECT_EQ(Ask(*bus, ":3;0;"), Answer(3, "21"));
    EXPECT_EQ(Ask(*bus, ":3;37;000111;"), Answer(3, "0000C03F"));
    EXPECT_EQ(Ask(*bus, ":3;37;00011f;"), Answer(3, "$1")); // unknown location
    EXPECT_EQ(Ask(*bus, ":3;38;000111;00002040;"), Answer(3, "$0"));
    EXPECT_EQ(Ask(*bus, ":3;37;000111;"), Answer(3, "00002040"));
    EXPECT_EQ(Ask(*bus, ":3;38;20;;"), Answer(3, "$0"));    // location alone, empty value
    EXPECT_EQ(Ask(*bus, ":3;38;000111;"), Answer(3, "$1")); // write without a value
    EXPECT_EQ(Ask(*bus, ":3;37;"), Answer(3, "$1"));
    EXPECT_EQ(Ask(*bus, ":3;1;4;"), Answer(3, "$1")); // four channels: 0..3
    EXPECT_EQ(Ask(*bus, ":3;99;"), Answer(3, "$1"));
}

TEST_F(SimBusTest, ChannelValuesAreDecimalAndMove) {
    auto bus = Make({{1, 21, "", 0}});
    auto value = [&](int channel) {
        const QByteArray a = Ask(*bus, ":1;1;" + QByteArray::number(channel) + ";");
        const QByteArray data = a.mid(3, a.lastIndexOf(';') - 3);
        bool ok = false;
        const double v = data.toDouble(&ok);
        EXPECT_TRUE(ok) << data.constData();
        EXPECT_TRUE(data.contains('.')) << data.constData();
        return v;
    };
    const double first = value(0);
    Now += std::chrono::seconds(15);
    const double later = value(0);
    EXPECT_GT(std::abs(later - first), 1.0); // a quarter of the slow period apart
    EXPECT_NE(value(3), value(0));
}

TEST_F(SimBusTest, IgnoresWhatIsNotItsRequest) {
    auto bus = Make({{1, 21, "", 0}});
    QByteArray bad = Request(":1;0;");
    bad[bad.size() - 2] = bad[bad.size() - 2] == '0' ? '1' : '0';
    EXPECT_TRUE(Bytes(bus->Receive(bad, 9600)).isEmpty());
    EXPECT_TRUE(Ask(*bus, ":2;0;").isEmpty());
    EXPECT_TRUE(Ask(*bus, ":0;37;0001FF;").isEmpty());           // broadcast is for identification only
    EXPECT_TRUE(Ask(*bus, ":1;0;", 19200).isEmpty());            // another speed
    EXPECT_TRUE(Bytes(bus->Receive(":1;0;\r", 9600)).isEmpty()); // no check word
    // Noise before the request and a request split over several reads.
    const QByteArray good = Request(":1;0;");
    EXPECT_TRUE(Bytes(bus->Receive("\x07zz!" + good.left(4), 9600)).isEmpty());
    EXPECT_EQ(Bytes(bus->Receive(good.mid(4), 9600)), Answer(1, "21"));
    // Every request is logged as it came, ignored ones too.
    ASSERT_EQ(bus->Log().size(), 6u);
    EXPECT_EQ(bus->Log().front(), bad.left(bad.size() - 1));
    EXPECT_EQ(bus->Log().back(), good.left(good.size() - 1));
}

TEST_F(SimBusTest, BroadcastAnswersInAddressOrder) {
    auto bus = Make({{9, 21, "", 0}, {2, 21, "", 0}, {5, 7, "", 0}, {3, 21, "", 19200}});
    const auto outputs = bus->Receive(Request(":0;0;"), 9600);
    ASSERT_EQ(outputs.size(), 3u); // the 19200 instrument does not hear a 9600 parcel
    EXPECT_EQ(outputs[0].Bytes, Answer(2, "21"));
    EXPECT_EQ(outputs[1].Bytes, Answer(5, "7"));
    EXPECT_EQ(outputs[2].Bytes, Answer(9, "21"));
    // Without a known line speed everybody hears it.
    EXPECT_EQ(Bytes(bus->Receive(Request(":0;0;"), 0)),
              Answer(2, "21") + Answer(3, "21") + Answer(5, "7") + Answer(9, "21"));
}

TEST_F(SimBusTest, AddressChangesAfterTheAnswer) {
    auto bus = Make({{1, 21, "", 0}});
    EXPECT_EQ(Ask(*bus, ":1;38;000101;0C;"), Answer(1, "$0")); // still from the old address
    EXPECT_TRUE(Ask(*bus, ":1;0;").isEmpty());
    EXPECT_EQ(Ask(*bus, ":12;0;"), Answer(12, "21"));
    EXPECT_EQ(Ask(*bus, ":12;37;000101;"), Answer(12, "0C"));
    EXPECT_EQ(bus->Instrument(0).Address, 12);
    // Address 0 is not taken.
    EXPECT_EQ(Ask(*bus, ":12;38;000101;00;"), Answer(12, "$0"));
    EXPECT_EQ(bus->Instrument(0).Address, 12);
}

TEST_F(SimBusTest, SpeedChangesAfterTheAnswer) {
    auto bus = Make({{1, 21, "", 0}});
    const auto outputs = bus->Receive(Request(":1;38;000102;06;"), 9600);
    ASSERT_EQ(outputs.size(), 1u);
    EXPECT_EQ(outputs[0].Bytes, Answer(1, "$0"));
    EXPECT_EQ(outputs[0].SpeedAfter, 19200u);
    EXPECT_TRUE(Ask(*bus, ":1;0;", 9600).isEmpty());
    EXPECT_EQ(Ask(*bus, ":1;0;", 19200), Answer(1, "21"));
    // An index beyond the list is stored but changes nothing.
    EXPECT_EQ(Ask(*bus, ":1;38;000102;07;", 19200), Answer(1, "$0"));
    EXPECT_EQ(bus->Instrument(0).Speed, 19200u);
}

TEST_F(SimBusTest, CalibrationReturnsToIdle) {
    auto bus = Make({{1, 21, "", 0}}, {}, false, 2.0);
    for (const char* command : {"01", "10"}) {
        EXPECT_EQ(Ask(*bus, QByteArray(":1;38;001000;") + command + ";"), Answer(1, "$0"));
        EXPECT_EQ(Ask(*bus, ":1;37;001000;"), Answer(1, command));
        Now += std::chrono::milliseconds(1900);
        EXPECT_EQ(Ask(*bus, ":1;37;001000;"), Answer(1, command));
        Now += std::chrono::milliseconds(200);
        EXPECT_EQ(Ask(*bus, ":1;37;001000;"), Answer(1, "00"));
    }
    // Anything else written there is no calibration command and stays.
    EXPECT_EQ(Ask(*bus, ":1;38;001000;02;"), Answer(1, "$0"));
    Now += std::chrono::seconds(10);
    EXPECT_EQ(Ask(*bus, ":1;37;001000;"), Answer(1, "02"));
}

TEST_F(SimBusTest, LineTimingCountsTenBitsPerByte) {
    auto bus = Make({{1, 21, "", 1200}, {2, 21, "", 1200}}, {}, true);
    const QByteArray request = Request(":0;0;"); // 10 bytes
    const auto outputs = bus->Receive(request, 1200);
    ASSERT_EQ(outputs.size(), 2u);
    const long long perByte = 10 * 1000000 / 1200;
    const auto expect1 = (request.size() + outputs[0].Bytes.size()) * perByte;
    EXPECT_NEAR(static_cast<double>(outputs[0].Delay.count()), static_cast<double>(expect1), 20);
    const auto expect2 = expect1 + outputs[1].Bytes.size() * perByte;
    EXPECT_NEAR(static_cast<double>(outputs[1].Delay.count()), static_cast<double>(expect2), 20);
}

TEST_F(SimBusTest, FaultsDropBadCrcForeignDelay) {
    Sim::TFaults f;
    f.DropEvery = 2;
    f.BadCrcEvery = 3;
    f.ForeignEvery = 5;
    f.DelayMs = 40;
    auto bus = Make({{4, 21, "", 0}}, f);
    for (int n = 1; n <= 10; ++n) {
        const auto outputs = bus->Receive(Request(":4;0;"), 9600);
        if (n % 2 == 0) {
            EXPECT_TRUE(outputs.empty()) << n;
            continue;
        }
        ASSERT_EQ(outputs.size(), 1u) << n;
        EXPECT_EQ(outputs[0].Delay, std::chrono::milliseconds(40));
        const QByteArray& a = outputs[0].Bytes;
        const int from = n % 5 == 0 ? 5 : 4;
        EXPECT_TRUE(a.startsWith("!" + QByteArray::number(from) + ";21;")) << n << a.constData();
        const bool crcOk = a.mid(a.lastIndexOf(';') + 1, 4) == RefWord(a.left(a.lastIndexOf(';') + 1));
        EXPECT_EQ(crcOk, n % 3 != 0) << n;
    }
}

TEST_F(SimBusTest, FaultsDollar1RefusesReadsAndWrites) {
    Sim::TFaults f;
    f.Dollar1Every = 2;
    auto bus = Make({{1, 21, "", 0}}, f);
    EXPECT_EQ(Ask(*bus, ":1;0;"), Answer(1, "21")); // identification is not counted
    EXPECT_EQ(Ask(*bus, ":1;37;000107;"), Answer(1, "01"));
    EXPECT_EQ(Ask(*bus, ":1;38;000107;00;"), Answer(1, "$1"));
    EXPECT_EQ(Ask(*bus, ":1;37;000107;"), Answer(1, "01")); // the refused write stored nothing
    EXPECT_EQ(Ask(*bus, ":1;37;000107;"), Answer(1, "$1"));
}

TEST_F(SimBusTest, FaultsSilenceNoiseEcho) {
    Sim::TFaults f;
    f.SilenceAfter = 2;
    f.Noise = true;
    f.Echo = true;
    auto bus = Make({{1, 21, "", 0}}, f);
    for (int n = 1; n <= 3; ++n) {
        const QByteArray request = Request(":1;0;");
        const auto outputs = bus->Receive(request, 9600);
        ASSERT_GE(outputs.size(), 1u);
        EXPECT_EQ(outputs[0].Bytes, request); // the echo comes first, always
        if (n > 2) {
            EXPECT_EQ(outputs.size(), 1u);
            continue;
        }
        ASSERT_EQ(outputs.size(), 2u);
        const QByteArray& a = outputs[1].Bytes;
        const qsizetype bang = a.indexOf('!');
        ASSERT_GT(bang, 0) << "noise expected before the answer";
        EXPECT_FALSE(a.left(bang).contains('\r'));
        EXPECT_EQ(a.mid(bang), Answer(1, "21"));
    }
}

} // namespace
