// Port text parsing and the port and speed lists.
#include "FakeKv.h"
#include "exchange/PortList.h"

#include <gtest/gtest.h>

namespace {
const QStringList Speeds{"300", "600", "1200", "2400", "4800", "9600", "19200"};
}

TEST(ParsePortText, SemicolonsEndNames) {
    const std::vector<std::pair<const char*, QStringList>> cases{
        {"COM1;COM3;", {"COM1", "COM3"}},
        {"COM1;;COM4", {"COM1", "", "COM4"}},
        {"COM2", {"COM2"}},
        {"", {}},
        {";", {""}},
        {"/dev/pts/17;ttyUSB0;SIM1;", {"/dev/pts/17", "ttyUSB0", "SIM1"}},
    };
    for (const auto& [text, names] : cases) {
        QStringList list{QStringLiteral("kept")};
        ParsePortText(QString::fromLatin1(text), list);
        EXPECT_EQ(list, QStringList{QStringLiteral("kept")} + names) << text;
    }
}

TEST(LoadPortList, FillsPortsThenSpeeds) {
    FakeKv fake;
    fake.SearchText = "ttyS0;/dev/serial/by-id/usb-FTDI-if00;";
    int window = 0;
    QStringList ports, speeds;
    LoadPortList(fake.Api(), ports, speeds, &window);
    EXPECT_EQ(ports, (QStringList{"ttyS0", "/dev/serial/by-id/usb-FTDI-if00"}));
    EXPECT_EQ(speeds, Speeds);
    EXPECT_EQ(SpeedList(), Speeds);
    EXPECT_EQ(fake.SearchWindow, &window);
    EXPECT_EQ(fake.Calls, (std::vector<std::string>{"Create", "Search 0", "Free 7"}));
}

TEST(LoadPortList, FailingSearchStillGivesTheSpeeds) {
    FakeKv fake;
    fake.SearchText = "COM1;";
    fake.SearchCode = KV_ERR_OPEN;
    QStringList ports, speeds;
    LoadPortList(fake.Api(), ports, speeds);
    EXPECT_TRUE(ports.isEmpty());
    EXPECT_EQ(speeds, Speeds);
    EXPECT_EQ(fake.LiveHandles, 0);

    QStringList noPorts, moreSpeeds;
    LoadPortList(TKvApi(), noPorts, moreSpeeds); // a library that did not load
    EXPECT_TRUE(noPorts.isEmpty());
    EXPECT_EQ(moreSpeeds, Speeds);
}
