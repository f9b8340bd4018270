// What the line tap is told about each parcel of every operation, against the recording fake
// library, and how events read as text.
#include "FakeKv.h"
#include "exchange/CodeMeaning.h"
#include "exchange/DevLink.h"
#include "exchange/RecordingTap.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <set>

namespace {
class LineTapTest : public testing::Test {
protected:
    FakeKv Fake;
    TKvApi Api = Fake.Api();
    TRecordingTap Tap;
    ExchangeHandle Handle{&Api, 7, &Tap, QStringLiteral("/dev/ttyUSB0"), QString()};
    TDev Dev = [] {
        TDev d(1);
        d.Address = 7;
        return d;
    }();

    static QByteArray Parcel(const std::string& request) {
        return QByteArray::fromStdString(request + FakeKv::CheckWordOf(request) + "\r");
    }
};
} // namespace

TEST_F(LineTapTest, EveryOperationReportsRequestAndAnswerWithItsVerdictAndPurpose) {
    Fake.Answer(7, "21");       // identification
    Fake.Answer(7, "K1_205");   // version
    Fake.Answer(7, "0000C03F"); // a single: 1.5
    Fake.Answer(8, "$0");       // a write answered from another address
    Fake.Answer(7, "$1");       // a read the instrument refuses
    bool linked = false;
    QString version;
    ASSERT_EQ(DevGetVersion(Handle, 7, 21, 255, linked, version), ExOk);
    QString value;
    {
        const TLinePurpose purpose(Handle, QStringLiteral("Коэффициент"));
        ASSERT_EQ(ReadParam(Dev, Handle, 0x13, value, 3), ExOk);
        ASSERT_EQ(WriteParam(Dev, Handle, 0x13, 0, QStringLiteral("2.5"), 3), ExWrongAddress);
    }
    ASSERT_EQ(ReadParam(Dev, Handle, 0x13, value, 3), ExDeviceError);
    ASSERT_EQ(ReadParam(Dev, Handle, 5, value, 5), KV_ERR_NO_ANSWER); // the script is exhausted

    const std::vector<TLineEvent> e = Tap.Take();
    ASSERT_EQ(e.size(), 12u);
    for (size_t i = 0; i < e.size(); ++i) {
        EXPECT_EQ(e[i].Direction, i % 2 ? TLineDirection::Answer : TLineDirection::Request) << i;
        EXPECT_EQ(e[i].Port, QStringLiteral("/dev/ttyUSB0")) << i;
        EXPECT_GT(e[i].TimeMs, 0) << i;
        if (i > 0) {
            EXPECT_GE(e[i].TimeMs, e[i - 1].TimeMs) << i;
        }
    }
    EXPECT_EQ(e[0].Bytes, Parcel(":7;0;")); // exactly what went to the library
    EXPECT_EQ(e[0].Address, 7);
    EXPECT_EQ(e[0].Purpose, QStringLiteral("идентификация"));
    EXPECT_EQ(e[1].Bytes, QByteArray("!7;21;"));
    EXPECT_EQ(e[1].Outcome, ExOk);
    EXPECT_EQ(e[2].Purpose, QStringLiteral("версия"));
    EXPECT_EQ(e[3].Purpose, QStringLiteral("версия = K1_205"));
    EXPECT_EQ(e[4].Bytes, Parcel(":7;37;000113;"));
    EXPECT_EQ(e[4].Purpose, QStringLiteral("Коэффициент"));
    EXPECT_EQ(e[5].Purpose, QStringLiteral("Коэффициент = 1.50000"));
    EXPECT_EQ(e[6].Bytes, Parcel(":7;38;000113;00002040;"));
    EXPECT_EQ(e[6].Purpose, QStringLiteral("Коэффициент = 2.5"));
    EXPECT_EQ(e[7].Address, 8); // the answering address, judged foreign
    EXPECT_EQ(e[7].Outcome, ExWrongAddress);
    EXPECT_EQ(e[7].Purpose, QStringLiteral("Коэффициент = 2.5"));
    EXPECT_EQ(e[8].Purpose, QStringLiteral("чтение 13")); // the name's scope has ended
    EXPECT_EQ(e[9].Outcome, ExDeviceError);
    EXPECT_EQ(e[10].Bytes, Parcel(":7;1;4;"));
    EXPECT_EQ(e[10].Purpose, QStringLiteral("канал 5"));
    EXPECT_TRUE(e[11].Bytes.isEmpty()); // a receive that failed is reported too
    EXPECT_EQ(e[11].Address, 7);
    EXPECT_EQ(e[11].Outcome, KV_ERR_NO_ANSWER);
}

TEST_F(LineTapTest, SearchFailuresAndOverlongAnswersAreReportedAsTheyHappened) {
    Fake.Answer(3, "21");
    Fake.Answer(4, "5");
    QStringList found;
    ASSERT_EQ(DevSearch(Handle, 21, found), ExOk);
    std::vector<TLineEvent> e = Tap.Take();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].Address, 0);
    EXPECT_EQ(e[0].Purpose, QStringLiteral("поиск"));
    EXPECT_EQ(e[1].Address, 3);
    EXPECT_EQ(e[1].Purpose, QStringLiteral("поиск: найден"));
    EXPECT_EQ(e[2].Address, 4);
    EXPECT_EQ(e[2].Purpose, QStringLiteral("поиск"));
    EXPECT_EQ(e[3].Outcome, KV_ERR_NO_ANSWER);

    // An answer that did not fit, a foreign identification and one of another type.
    Fake.Answers.push_back({KV_ERR_TOO_LONG, 0, 0, {}});
    Fake.Answer(9, "21");
    Fake.Answer(7, "5");
    bool linked = true;
    QString value;
    EXPECT_EQ(ReadParam(Dev, Handle, 1, value, 0), KV_ERR_TOO_LONG);
    EXPECT_EQ(DevCheck(Handle, 7, 21, linked), ExOk);
    EXPECT_EQ(DevCheck(Handle, 7, 21, linked), ExOk);
    EXPECT_FALSE(linked);
    // A check word that cannot be computed: the request is reported as far as it got, no answer.
    Fake.CheckWordCode = KV_ERR_BUFFER;
    EXPECT_EQ(ReadParam(Dev, Handle, 1, value, 0), KV_ERR_BUFFER);
    // Nothing is sent for a value that cannot be encoded, so nothing is reported.
    EXPECT_EQ(WriteParam(Dev, Handle, 1, 0, QStringLiteral("12x"), 0), ExFailed);

    e = Tap.Take();
    ASSERT_EQ(e.size(), 7u);
    EXPECT_TRUE(e[1].Bytes.isEmpty());
    EXPECT_EQ(e[1].Outcome, KV_ERR_TOO_LONG);
    EXPECT_EQ(e[3].Address, 9);
    EXPECT_EQ(e[3].Outcome, ExWrongAddress);
    EXPECT_EQ(e[5].Outcome, ExOk);
    EXPECT_EQ(e[5].Purpose, QStringLiteral("идентификация = тип 5, ожидался 21"));
    EXPECT_EQ(e[6].Bytes, QByteArray(":7;37;000101;"));
    EXPECT_EQ(e[6].Outcome, KV_ERR_BUFFER);
}

TEST_F(LineTapTest, HubReachesOnlyAttachedTapsAndAnIdleHubIsNotFed) {
    TLineTapHub hub;
    TRecordingTap other;
    Handle.Tap = &hub;
    Fake.Answer(7, "21");
    bool linked = false;
    EXPECT_EQ(DevCheck(Handle, 7, 21, linked), ExOk); // nobody attached
    hub.Attach(&Tap);
    hub.Attach(&other);
    Fake.Answer(7, "21");
    EXPECT_EQ(DevCheck(Handle, 7, 21, linked), ExOk);
    hub.Detach(&other);
    Fake.Answer(7, "21");
    EXPECT_EQ(DevCheck(Handle, 7, 21, linked), ExOk);
    EXPECT_EQ(Tap.Take().size(), 4u);
    EXPECT_EQ(other.Take().size(), 2u);
}

TEST(LineText, BytesOutsideThePrintableRangeAreEscapedAndLettersKept) {
    const QByteArray bytes("!1;\x01\x7F\x98\x80\xA0\xA8\xB8\xC0\xFF\\x;AB\r\n\0", 20);
    EXPECT_EQ(EscapeParcelBytes(bytes),
              QStringLiteral("!1;\\x01\\x7F\\x98\\x80\\xA0ЁёАя\\\\x;AB\\x0D\\x0A\\x00"));
    EXPECT_EQ(EscapeParcelBytes(QByteArray()), QString());
}

TEST(LineText, EveryCodeHasItsOwnMeaningAndALineHasEveryField) {
    std::set<QString> meanings;
    std::vector<int> codes{ExFailed, ExWrongAddress, ExBadReplyCode, ExDeviceError};
    for (int c = KV_ERR_NO_RFC2217; c <= KV_ERR_HANDLE; ++c)
        codes.push_back(c);
    for (const int c : codes) {
        const QString m = ResultCodeMeaning(c);
        EXPECT_FALSE(m.isEmpty()) << c;
        meanings.insert(m);
    }
    EXPECT_EQ(meanings.size(), codes.size());
    EXPECT_EQ(ResultCodeMeaning(101), QString());
    EXPECT_EQ(ResultCodeDetails(0), QString());
    EXPECT_EQ(ResultCodeDetails(KV_ERR_NO_PORT), QStringLiteral("Код -101: порт не существует"));
    EXPECT_EQ(OutcomeText(0), QStringLiteral("OK"));
    EXPECT_EQ(OutcomeText(-108), QStringLiteral("-108 нет ответа в течение времени ожидания"));
    EXPECT_EQ(OutcomeText(-7), QStringLiteral("-7"));

    TLineEvent e;
    e.TimeMs = QDateTime(QDate(2026, 1, 2), QTime(13, 4, 5, 67)).toMSecsSinceEpoch();
    e.Direction = TLineDirection::Answer;
    e.Port = QStringLiteral("SIM1");
    e.Address = 12;
    e.Bytes = "!12;$1;ABCD\r";
    e.Outcome = ExDeviceError;
    e.Purpose = QStringLiteral("Адрес");
    EXPECT_EQ(FormatLineEvent(e), QStringLiteral("13:04:05.067\t←\tSIM1\t12\t!12;$1;ABCD\\x0D\t-22 ") +
                                      ResultCodeMeaning(ExDeviceError) + QStringLiteral("\tАдрес"));
}
