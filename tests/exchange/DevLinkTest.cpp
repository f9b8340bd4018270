// The link of a run and single-parameter read and write, against the recording fake library.
#include "exchange/DevLink.h"
#include "FakeKv.h"

#include <gtest/gtest.h>

using Strings = std::vector<std::string>;

namespace {
class DevLinkTest : public testing::Test {
protected:
    DevLinkTest() {
        Dev.COMPort = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R-if00-port0");
        Dev.BaudRate = 19200;
        Type.TimeOut = 300;
    }
    FakeKv Fake;
    TKvApi Api = Fake.Api();
    ExchangeHandle Handle{&Api, 7};
    TDev Dev;
    TDevProp Type;
};
} // namespace

TEST_F(DevLinkTest, OpensWithTheRecordsSettingsAndClosesOnEveryPath) {
    ExchangeHandle handle;
    EXPECT_EQ(OpenDevLink(Api, Dev, Type, handle), ExOk);
    EXPECT_EQ(handle.Api, &Api);
    CloseDevLink(handle);
    CloseDevLink(handle); // a second close must not free again
    EXPECT_EQ(Fake.Calls, (Strings{"Create", "Open /dev/serial/by-id/usb-FTDI_FT232R-if00-port0",
                                   "Baud 19200", "Timeout 300", "Close", "Free 7"}));
    EXPECT_EQ(Fake.LiveHandles, 0);
    EXPECT_EQ(handle.Api, nullptr);
}

TEST_F(DevLinkTest, FirstFailingStepEndsTheOpening) {
    struct Case {
        int FakeKv::*Step;
        int Code;
        Strings Calls;
    };
    const std::vector<Case> cases{
        {&FakeKv::OpenCode, KV_ERR_NO_PORT, {"Create", "Open COM9", "Close", "Free 7"}},
        {&FakeKv::BaudCode, KV_ERR_SPEED, {"Create", "Open COM9", "Baud 9600", "Close", "Free 7"}},
        {&FakeKv::TimeoutCode,
         KV_ERR_TIMEOUT_ARG,
         {"Create", "Open COM9", "Baud 9600", "Timeout 4464", "Close", "Free 7"}},
    };
    Dev.COMPort = QStringLiteral("COM9");
    Dev.BaudRate = 9600;
    Type.TimeOut = 70000; // the port gets the low 16 bits
    for (const Case& c : cases) {
        Fake.Calls.clear();
        Fake.OpenCode = Fake.BaudCode = Fake.TimeoutCode = 0;
        Fake.*c.Step = c.Code;
        ExchangeHandle handle;
        {
            TDevLinkCloser closer(handle);
            EXPECT_EQ(OpenDevLink(Api, Dev, Type, handle), c.Code);
        }
        EXPECT_EQ(Fake.Calls, c.Calls);
        EXPECT_EQ(Fake.LiveHandles, 0);
    }
}

TEST_F(DevLinkTest, ReadDecodesByCode) {
    struct Case {
        uint8_t Code;
        uint16_t Address;
        const char* Answer;
        const char* Request;
        const char* Value;
    };
    const std::vector<Case> cases{
        {0, 10, "1F", ":1;37;00010A;", "31"},
        {2, 300, "FEFF", ":1;37;000112C;", "-2"},
        {3, 1, "0000C03F", ":1;37;000101;", "1.50000"},
        {4, 2, "1234", ":1;37;000102;", "old"},
        {5, 3, "12.5", ":1;1;2;", "12.5"},
        {6, 9, "00", ":1;37;001000;", "00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.Code));
        Fake.Parcels.clear();
        Fake.Answer(1, c.Answer);
        QString value = QStringLiteral("old");
        EXPECT_EQ(ReadParam(Dev, Handle, c.Address, value, c.Code), ExOk);
        EXPECT_EQ(value.toStdString(), c.Value);
        EXPECT_EQ(Fake.Requests(), Strings{c.Request});
    }
}

TEST_F(DevLinkTest, ReadFailuresLeaveTheValueText) {
    struct Case {
        FakeAnswer Answer;
        uint8_t Code;
        int Result;
    };
    const std::vector<Case> cases{
        {{0, 0, 2, "1F"}, 0, ExWrongAddress},
        {{0, 0, 1, "$0"}, 0, ExOk},
        {{0, 0, 1, "12$1"}, 0, ExDeviceError},
        {{0, 0, 1, "$A"}, 0, ExBadReplyCode},
        {{0, 0, 1, "$2"}, 3, ExFailed},
        {{0, 0, 1, "1G"}, 0, ExFailed},
        {{0, 0, 1, "00"}, 1, ExFailed},
        {{KV_ERR_NO_ANSWER, 0, 0, {}}, 0, KV_ERR_NO_ANSWER},
        {{0, KV_ERR_CHECKWORD, 1, "1F"}, 0, KV_ERR_CHECKWORD},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Answer.Data);
        Fake.Parcels.clear();
        Fake.Answers = {c.Answer};
        QString value = QStringLiteral("old");
        EXPECT_EQ(ReadParam(Dev, Handle, 10, value, c.Code), c.Result);
        EXPECT_EQ(value, QStringLiteral("old"));
        EXPECT_EQ(Fake.Parcels.size(), 1u);
    }
}

TEST_F(DevLinkTest, CodesWithoutReadRequestDoNotTouchTheLine) {
    for (const uint8_t code : {7, 8, 9, 10, 30, 31, 45, 200}) {
        QString value = QStringLiteral("old");
        EXPECT_EQ(ReadParam(Dev, Handle, 10, value, code), ExFailed) << int(code);
        EXPECT_EQ(value, QStringLiteral("old"));
    }
    EXPECT_TRUE(Fake.Parcels.empty());
}

TEST_F(DevLinkTest, WriteSendsEncodedFieldsAndJudgesTheAnswer) {
    struct Case {
        uint8_t Code;
        uint8_t Special;
        const char* Text;
        FakeAnswer Answer;
        const char* Request;
        int Result;
    };
    const std::vector<Case> cases{
        {0, 0, "255", {0, 0, 1, "$0"}, ":1;38;00010A;FF;", ExOk},
        {4, 0, "", {0, 0, 1, "$01"}, ":1;38;0A;;", ExOk},
        {8, 2, "1.5", {0, 0, 1, "$1"}, ":1;38;0A3022;3FC00000;", ExDeviceError},
        {30, 0, "", {0, 0, 1, "0"}, ":1;38;00200A;0060EA450000C8410000BC426666164100009041;", ExFailed},
        {9, 0, "26", {0, 0, 4, "$0"}, ":1;38;002020;1A;", ExWrongAddress},
        {10, 0, "1", {KV_ERR_NO_ANSWER, 0, 0, {}}, ":1;38;001000;01;", KV_ERR_NO_ANSWER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Request);
        Fake.Parcels.clear();
        Fake.Answers = {c.Answer};
        EXPECT_EQ(WriteParam(Dev, Handle, 10, c.Special, QString::fromLatin1(c.Text), c.Code), c.Result);
        EXPECT_EQ(Fake.Requests(), Strings{c.Request});
    }
}

TEST_F(DevLinkTest, WriteSendsNothingWhenEncodingFails) {
    Fake.Answer(1, "$0");
    EXPECT_EQ(WriteParam(Dev, Handle, 10, 0, QStringLiteral("12x"), 0), ExFailed);
    EXPECT_EQ(WriteParam(Dev, Handle, 10, 0, QStringLiteral("1"), 1), ExFailed);
    EXPECT_EQ(WriteParam(Dev, Handle, 10, 0, QStringLiteral("1e39"), 3), ExFailed);
    EXPECT_TRUE(Fake.Parcels.empty());
}

TEST_F(DevLinkTest, AddressIsReadAnewForEachRequest) {
    Fake.Answer(1, "$0");
    Fake.Answer(5, "$0");
    Fake.Answer(5, "1F");
    EXPECT_EQ(WriteParam(Dev, Handle, 0x20, 1, QStringLiteral("5"), 0), ExOk);
    Dev.Address = 5; // as write-all does after writing the network address
    EXPECT_EQ(WriteParam(Dev, Handle, 0x21, 0, QStringLiteral("1"), 0), ExOk);
    QString value;
    EXPECT_EQ(ReadParam(Dev, Handle, 0x21, value, 0), ExOk);
    EXPECT_EQ(Fake.Requests(), (Strings{":1;38;000120;05;", ":5;38;000121;01;", ":5;37;000121;"}));
}
