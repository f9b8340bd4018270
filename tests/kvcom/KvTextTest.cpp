// Check words of requests and the analysis of answer parcels, through the loaded library.
#include "KvLib.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace TestSupport;

namespace {

class KvText : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(L.Module, nullptr) << dlerror(); }
    QByteArray Word(const QByteArray& request, int32_t* rc = nullptr) {
        char word[KV_BUFFER_SIZE];
        std::memset(word, 'x', sizeof word);
        const int32_t r = L.ASCIICRCWord(request.constData(), word);
        if (rc)
            *rc = r;
        return r == KV_OK ? QByteArray(word) : QByteArray();
    }
    int32_t Analyse(const QByteArray& answer, int* address = nullptr, QByteArray* data = nullptr) {
        uint8_t a = 0xEE;
        char d[KV_BUFFER_SIZE];
        std::memset(d, 'x', sizeof d);
        const int32_t rc = L.AnalysisAnswerParcel(answer.constData(), &a, d);
        EXPECT_LT(std::strlen(d), static_cast<size_t>(KV_BUFFER_SIZE)); // always terminated
        if (address)
            *address = a;
        if (data)
            *data = d;
        return rc;
    }
    TKvLib& L = ShippedLib();
};

TEST_F(KvText, CheckWordIsModbusCrcOverColonToLastSemicolon) {
    EXPECT_EQ(Word(":7;0;"), "6FD6");
    EXPECT_EQ(Word(":1;37;0001FF;"), "BD14");
    EXPECT_EQ(Word(":255;38;000101;0A;"), "C8BC");
    for (const QByteArray text : {":0;0;", ":12;1;3;", ":1;38;20;;", ":1;38;000112C;CDCCCC3D;"})
        EXPECT_EQ(Word(text), RefWord(text)) << text.constData();
    // Only ":" through the last ";" counts.
    EXPECT_EQ(Word("xx:7;0;"), "6FD6");
    EXPECT_EQ(Word(":7;0;ABCD"), "6FD6");
    // Four upper-case digits with leading zeros kept, and a terminating zero.
    for (int i = 0; i < 200; ++i) {
        const QByteArray text = ":" + QByteArray::number(i) + ";37;0001" + QByteArray::number(i, 16) + ";";
        const QByteArray w = Word(text);
        ASSERT_EQ(w.size(), 4) << text.constData();
        EXPECT_EQ(w, RefWord(text)) << text.constData();
    }
}

TEST_F(KvText, CheckWordRejectsWhatIsNoRequest) {
    int32_t rc = 0;
    Word("7;0;", &rc);
    EXPECT_EQ(rc, KV_ERR_MALFORMED);
    Word(":7", &rc);
    EXPECT_EQ(rc, KV_ERR_MALFORMED);
    Word(";:7", &rc);
    EXPECT_EQ(rc, KV_ERR_MALFORMED);
    Word(":" + QByteArray(250, '1') + ";0;", &rc); // 254 characters still fit
    EXPECT_EQ(rc, KV_OK);
    Word(":" + QByteArray(251, '1') + ";0;", &rc);
    EXPECT_EQ(rc, KV_ERR_BUFFER);
    char word[8];
    EXPECT_EQ(L.ASCIICRCWord(nullptr, word), KV_ERR_BUFFER);
    EXPECT_EQ(L.ASCIICRCWord(":1;0;", nullptr), KV_ERR_BUFFER);
}

TEST_F(KvText, AnalysisSplitsAddressAndData) {
    int address = 0;
    QByteArray data;
    EXPECT_EQ(Analyse(Answer(7, "3"), &address, &data), KV_OK);
    EXPECT_EQ(address, 7);
    EXPECT_EQ(data, "3");
    // Without the CR, empty data, data with ";" inside, extreme addresses.
    EXPECT_EQ(Analyse(Answer(7, "3").chopped(1), &address, &data), KV_OK);
    EXPECT_EQ(data, "3");
    EXPECT_EQ(Analyse(Answer(1, ""), &address, &data), KV_OK);
    EXPECT_EQ(data, "");
    EXPECT_EQ(Analyse(Answer(0, "a;b;;c"), &address, &data), KV_OK);
    EXPECT_EQ(address, 0);
    EXPECT_EQ(data, "a;b;;c");
    EXPECT_EQ(Analyse(Answer(255, "$1"), &address, &data), KV_OK);
    EXPECT_EQ(address, 255);
    EXPECT_EQ(data, "$1");
    // The longest parcel a buffer holds: 254 characters with the CR.
    const QByteArray longest = Answer(1, QByteArray(254 - 9, 'D'));
    ASSERT_EQ(longest.size(), 254);
    EXPECT_EQ(Analyse(longest, &address, &data), KV_OK);
    EXPECT_EQ(data.size(), 245);
}

TEST_F(KvText, AnalysisRejectsBrokenParcels) {
    const QByteArray good = Answer(12, "21");
    QByteArray wrongWord = good;
    wrongWord[wrongWord.size() - 2] = wrongWord[wrongWord.size() - 2] == '1' ? '2' : '1';
    EXPECT_EQ(Analyse(wrongWord), KV_ERR_CHECKWORD);
    // A check word with letters reads in either case.
    for (int i = 0; i < 50; ++i) {
        const QByteArray a = Answer(1, QByteArray::number(i));
        const QByteArray word = a.mid(a.lastIndexOf(';') + 1, 4);
        if (word == word.toLower())
            continue;
        EXPECT_EQ(Analyse(a.left(a.lastIndexOf(';') + 1) + word.toLower() + "\r"), KV_OK);
        break;
    }

    const QByteArray malformed[] = {
        "",
        "\r",
        good.mid(1),                           // no "!"
        "x" + good,                            // noise left in front
        Answer(256, "21"),                     // address out of range
        Answer(1000, "21"),                    // too many digits
        "!;21;" + RefWord("!;21;") + "\r",     // no address
        "!1a;21;" + RefWord("!1a;21;") + "\r", // address not decimal
        "!1;" + RefWord("!1;") + "\r",         // only one ";"
        "!1;21;",                              // no check word
        "!1;21;" + RefWord("!1;21;").left(3),  // short check word
        "!1;21;" + RefWord("!1;21;") + "0",    // long check word
        "!1;21;G00D\r",                        // not hexadecimal
        good + "\r",                           // a second CR
    };
    for (const QByteArray& a : malformed) {
        int address = -1;
        QByteArray data = "untouched";
        EXPECT_EQ(Analyse(a, &address, &data), KV_ERR_MALFORMED) << a.toStdString();
        EXPECT_TRUE(data.isEmpty()) << "data must be cleared on failure";
    }
    // Longer than any buffer holds.
    EXPECT_EQ(Analyse(Answer(1, QByteArray(250, 'D'))), KV_ERR_BUFFER);
    uint8_t address = 0;
    char data[KV_BUFFER_SIZE];
    EXPECT_EQ(L.AnalysisAnswerParcel(nullptr, &address, data), KV_ERR_BUFFER);
    EXPECT_EQ(L.AnalysisAnswerParcel(good.constData(), nullptr, data), KV_ERR_BUFFER);
    EXPECT_EQ(L.AnalysisAnswerParcel(good.constData(), &address, nullptr), KV_ERR_BUFFER);
}

TEST_F(KvText, HandlesAreCheckedAndThreadSafe) {
    int32_t none = 0;
    EXPECT_EQ(L.FreeCOM(&none), KV_ERR_HANDLE);
    EXPECT_EQ(L.FreeCOM(nullptr), KV_ERR_HANDLE);
    EXPECT_EQ(L.OpenCOM(-5, "SIM1"), KV_ERR_HANDLE);
    EXPECT_EQ(L.SetTimeout(123456, 10), KV_ERR_HANDLE);
    int32_t h = L.CreateCOM();
    EXPECT_GT(h, 0);
    char buf[KV_BUFFER_SIZE];
    EXPECT_EQ(L.TransmitParcel(h, ":1;0;E7D6\r"), KV_ERR_NOT_OPEN);
    EXPECT_EQ(L.ReceiveParcel(h, buf), KV_ERR_NOT_OPEN);
    EXPECT_EQ(L.CloseCOM(h), KV_ERR_NOT_OPEN);
    EXPECT_EQ(L.SetTimeout(h, 0), KV_ERR_TIMEOUT_ARG);
    for (uint16_t speed : {0, 110, 1000, 38400, 57600, 65535})
        EXPECT_EQ(L.SetBaudRate(h, speed), KV_ERR_SPEED) << speed;
    for (uint16_t speed : {300, 600, 1200, 2400, 4800, 9600, 19200})
        EXPECT_EQ(L.SetBaudRate(h, speed), KV_OK) << speed;
    const int32_t copy = h;
    EXPECT_EQ(L.FreeCOM(&h), KV_OK);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(L.SetTimeout(copy, 10), KV_ERR_HANDLE); // freed handles are gone

    // Many threads creating and freeing at once never share or lose a handle.
    std::vector<std::thread> threads;
    std::vector<std::vector<int32_t>> seen(4);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 500; ++i) {
                int32_t x = L.CreateCOM();
                seen[t].push_back(x);
                if (L.SetTimeout(x, 100) != KV_OK || L.FreeCOM(&x) != KV_OK)
                    seen[t].push_back(-1);
            }
        });
    for (auto& th : threads)
        th.join();
    std::set<int32_t> all;
    for (const auto& v : seen)
        for (int32_t x : v) {
            EXPECT_GT(x, 0);
            all.insert(x);
        }
    EXPECT_EQ(all.size(), 2000u);
}

} // namespace
