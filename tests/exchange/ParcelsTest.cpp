// Request texts, the transaction, the identification operations and the judging of answers,
// against the recording fake library.
#include "exchange/Exchange.h"
#include "FakeKv.h"

#include <gtest/gtest.h>

#include <thread>

using Strings = std::vector<std::string>;

namespace {
class ParcelTest : public testing::Test {
protected:
    FakeKv Fake;
    TKvApi Api = Fake.Api();
    ExchangeHandle Handle{&Api, 7};
};
} // namespace

TEST(Requests, TextsOfEveryRequest) {
    EXPECT_EQ(IdentifyRequest(7), QStringLiteral(":7;0;"));
    EXPECT_EQ(IdentifyRequest(255), QStringLiteral(":255;0;"));
    EXPECT_EQ(IdentifyRequest(0), QStringLiteral(":0;0;"));
    EXPECT_EQ(VersionRequest(12), QStringLiteral(":12;37;0001FF;"));
    for (uint8_t code = 0; code <= 4; ++code) {
        EXPECT_EQ(ReadRequest(1, 10, code), QStringLiteral(":1;37;00010A;"));
        EXPECT_EQ(ReadRequest(1, 300, code), QStringLiteral(":1;37;000112C;"));
    }
    EXPECT_EQ(ReadRequest(1, 0xFFFF, 0), QStringLiteral(":1;37;0001FFFF;"));
    EXPECT_EQ(ReadRequest(3, 3, 5), QStringLiteral(":3;1;2;"));
    EXPECT_EQ(ReadRequest(3, 0, 5), QStringLiteral(":3;1;-1;"));
    EXPECT_EQ(ReadRequest(3, 300, 6), QStringLiteral(":3;37;001000;"));
    for (const uint8_t code : {7, 8, 9, 10, 30, 31, 39, 41, 49, 255})
        EXPECT_FALSE(ReadRequest(1, 10, code).has_value()) << int(code);
    EXPECT_EQ(WriteRequest(5, QStringLiteral("0A"), QString()), QStringLiteral(":5;38;0A;;"));
}

TEST_F(ParcelTest, TransactionSendsRequestCheckWordAndCarriageReturn) {
    Fake.Answer(7, "3");
    uint8_t from = 0;
    QString data;
    bool noAnswer = true;
    EXPECT_EQ(ExchangeParcel(Handle, QStringLiteral(":7;0;"), from, data, &noAnswer), ExOk);
    ASSERT_EQ(Fake.Parcels.size(), 1u);
    EXPECT_EQ(Fake.Parcels[0], ":7;0;" + FakeKv::CheckWordOf(":7;0;") + "\r");
    EXPECT_EQ(from, 7);
    EXPECT_EQ(data, QStringLiteral("3"));
    EXPECT_FALSE(noAnswer);
}

TEST_F(ParcelTest, TransactionPassesLibraryCodesOn) {
    uint8_t from = 0;
    QString data;
    bool noAnswer = false;

    Fake.CheckWordCode = KV_ERR_BUFFER;
    Fake.Answer(7, "3");
    EXPECT_EQ(ExchangeParcel(Handle, QStringLiteral(":7;0;"), from, data, &noAnswer), KV_ERR_BUFFER);
    EXPECT_TRUE(Fake.Parcels.empty());
    EXPECT_EQ(Fake.Answers.size(), 1u) << "nothing may be received after a failed check word";

    Fake.CheckWordCode = 0;
    Fake.TransmitCode = KV_ERR_WRITE;
    EXPECT_EQ(ExchangeParcel(Handle, QStringLiteral(":7;0;"), from, data, &noAnswer), KV_ERR_WRITE);
    EXPECT_EQ(Fake.Answers.size(), 1u) << "nothing may be received after a failed transmit";
    EXPECT_FALSE(noAnswer);

    Fake.TransmitCode = 0;
    Fake.Answers = {{KV_ERR_CHECKWORD, 0, 0, {}}};
    EXPECT_EQ(ExchangeParcel(Handle, QStringLiteral(":7;0;"), from, data, &noAnswer), KV_ERR_CHECKWORD);
    EXPECT_TRUE(noAnswer);

    Fake.Answers = {{0, KV_ERR_MALFORMED, 7, "3"}};
    EXPECT_EQ(ExchangeParcel(Handle, QStringLiteral(":7;0;"), from, data, &noAnswer), KV_ERR_MALFORMED);
    EXPECT_FALSE(noAnswer);

    // A request that cannot fit its 255-byte buffer is refused before the library sees it.
    Fake.Parcels.clear();
    EXPECT_EQ(ExchangeParcel(Handle, QString(255, QLatin1Char('1')), from, data), ExFailed);
    EXPECT_TRUE(Fake.Parcels.empty());
}

TEST_F(ParcelTest, DataTextCrossesAsWindows1251) {
    Fake.Answer(1, "\xCA\xE8"); // "Ки" in Windows-1251
    uint8_t from = 0;
    QString data;
    ASSERT_EQ(ExchangeParcel(Handle, QStringLiteral(":1;37;0001FF;"), from, data), ExOk);
    EXPECT_EQ(data, QStringLiteral("Ки"));
}

TEST_F(ParcelTest, DevCheckJudgesTheIdentificationAnswer) {
    struct Case {
        FakeAnswer Answer;
        int Result;
        bool Linked;
    };
    const std::vector<Case> cases{
        {{0, 0, 7, "3"}, ExOk, true},
        {{0, 0, 7, "03"}, ExOk, false},
        {{0, 0, 8, "3"}, ExOk, false},
        {{0, 0, 7, ""}, ExOk, false},
        {{KV_ERR_NO_ANSWER, 0, 0, {}}, ExOk, false},
        {{KV_ERR_CHECKWORD, 0, 0, {}}, ExOk, false}, // any failed receive is a silent line
        {{0, KV_ERR_MALFORMED, 7, "3"}, KV_ERR_MALFORMED, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Answer.Data + " from " + std::to_string(c.Answer.Address));
        Fake.Parcels.clear();
        Fake.Answers = {c.Answer};
        bool linked = !c.Linked;
        EXPECT_EQ(DevCheck(Handle, 7, 3, linked), c.Result);
        EXPECT_EQ(linked, c.Linked);
        EXPECT_EQ(Fake.Requests(), Strings{":7;0;"});
    }
    Fake.TransmitCode = KV_ERR_LINE_LOST;
    bool linked = true;
    EXPECT_EQ(DevCheck(Handle, 7, 3, linked), KV_ERR_LINE_LOST);
    EXPECT_FALSE(linked);
}

TEST_F(ParcelTest, DevGetVersionAsksOnlyAFoundInstrument) {
    Fake.Answer(7, "21");
    Fake.Answer(7, "K1_205");
    bool linked = false;
    QString version;
    EXPECT_EQ(DevGetVersion(Handle, 7, 21, 255, linked, version), ExOk);
    EXPECT_TRUE(linked);
    EXPECT_EQ(version, QStringLiteral("K1_205"));
    EXPECT_EQ(Fake.Requests(), (Strings{":7;0;", ":7;37;0001FF;"}));

    Fake.Parcels.clear();
    Fake.Answer(7, "22");
    version = QStringLiteral("before");
    EXPECT_EQ(DevGetVersion(Handle, 7, 21, 255, linked, version), ExOk);
    EXPECT_FALSE(linked);
    EXPECT_EQ(version, QStringLiteral("before"));
    EXPECT_EQ(Fake.Requests(), Strings{":7;0;"});
}

TEST_F(ParcelTest, DevGetVersionSecondAnswerMissingForeignOrLong) {
    bool linked = false;
    QString version;
    Fake.Answer(7, "21"); // and then silence
    EXPECT_EQ(DevGetVersion(Handle, 7, 21, 255, linked, version), ExOk);
    EXPECT_TRUE(linked);
    EXPECT_TRUE(version.isEmpty());

    Fake.Answer(7, "21");
    Fake.Answer(9, "K1_103");
    EXPECT_EQ(DevGetVersion(Handle, 7, 21, 255, linked, version), ExOk);
    EXPECT_TRUE(linked);
    EXPECT_TRUE(version.isEmpty());

    Fake.Answer(7, "21");
    Fake.Answer(7, "K1_205");
    EXPECT_EQ(DevGetVersion(Handle, 7, 21, 3, linked, version), ExOk);
    EXPECT_EQ(version, QStringLiteral("K1_"));

    Fake.Answer(7, "21");
    Fake.Answers.push_back({0, KV_ERR_CHECKWORD, 7, "K1_205"});
    version.clear();
    EXPECT_EQ(DevGetVersion(Handle, 7, 21, 255, linked, version), KV_ERR_CHECKWORD);
    EXPECT_TRUE(version.isEmpty());
}

TEST_F(ParcelTest, DevSearchListsMatchingAnswersInArrivalOrder) {
    Fake.Answer(12, "21");
    Fake.Answer(3, "22");
    Fake.Answer(5, "21");
    Fake.Answer(12, "21");                                  // the same address twice stays twice
    Fake.Answers.push_back({0, KV_ERR_CHECKWORD, 9, "21"}); // analysis result is not looked at
    QStringList found{QStringLiteral("earlier")};
    EXPECT_EQ(DevSearch(Handle, 21, found), ExOk);
    EXPECT_EQ(found, (QStringList{"earlier", "12", "5", "12", "9"}));
    EXPECT_EQ(Fake.Requests(), Strings{":0;0;"});
}

TEST_F(ParcelTest, DevSearchEndsOnSilenceAndFailsOnlyBeforeSending) {
    QStringList found;
    EXPECT_EQ(DevSearch(Handle, 21, found), ExOk);
    EXPECT_TRUE(found.isEmpty());

    Fake.CheckWordCode = KV_ERR_BUFFER;
    EXPECT_EQ(DevSearch(Handle, 21, found), KV_ERR_BUFFER);
    Fake.CheckWordCode = 0;
    Fake.TransmitCode = KV_ERR_WRITE;
    EXPECT_EQ(DevSearch(Handle, 21, found), KV_ERR_WRITE);
}

TEST_F(ParcelTest, DevSearchStopsOnALineThatKeepsAnswering) {
    Fake.AnswerForever = true;
    Fake.Answer(4, "21");
    QStringList found;
    EXPECT_EQ(DevSearch(Handle, 21, found), ExOk);
    EXPECT_EQ(found.size(), TSearchBounds().MaxAnswers);
}

TEST(DevSearchBounds, WallClockBoundEndsASlowEndlessLine) {
    FakeKv fake;
    TKvApi api = fake.Api();
    // Each answer takes 2 ms; the time bound, not the answer count, must end the search.
    api.ReceiveParcel = [](int32_t, char* answer) -> int32_t {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        FakeKv::Current->Answers = {{0, 0, 4, "21"}};
        return FakeKv::Current->Api().ReceiveParcel(7, answer);
    };
    const ExchangeHandle handle{&api, 7};
    QStringList found;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(DevSearch(handle, 21, found, TSearchBounds{1000000, std::chrono::milliseconds(50)}), ExOk);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_GT(found.size(), 0);
    EXPECT_LT(found.size(), 1000000);
}

TEST(AnswerJudging, ReadAnswersWithDollarCodes) {
    const std::vector<std::pair<const char*, int>> codes{
        {"$0", ExOk},
        {"12$1", ExDeviceError},
        {"$A", ExBadReplyCode},
        {"$2", ExFailed},
        {"$", ExBadReplyCode},
        {"$1$", ExBadReplyCode},
        {"$65536", ExOk},
        {"$65537", ExDeviceError},
        {"$-1", ExFailed},
        {"$+1", ExDeviceError},
        {"$$1", ExDeviceError},
        {"$$10000", ExOk},
        {"ab$0;$7", ExBadReplyCode}, // everything after the first "$" is the code
    };
    for (const auto& [text, result] : codes)
        EXPECT_EQ(JudgeReadCode(QString::fromLatin1(text)), std::optional<int>(result)) << text;
    EXPECT_EQ(JudgeReadCode(QStringLiteral("1F")), std::nullopt);
    EXPECT_EQ(JudgeReadCode(QString()), std::nullopt);
}

TEST(AnswerJudging, WriteAnswers) {
    const std::vector<std::pair<const char*, int>> answers{
        {"$0", ExOk},    {"$01", ExOk},  {"$1", ExDeviceError}, {"$1x", ExDeviceError}, {"$2", ExFailed},
        {"$", ExFailed}, {"", ExFailed}, {"0", ExFailed},       {"x$0", ExFailed},      {" $0", ExFailed},
    };
    for (const auto& [text, result] : answers)
        EXPECT_EQ(JudgeWriteAnswer(QString::fromLatin1(text)), result) << text;
}
