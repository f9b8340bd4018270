#include "exchange/Exchange.h"
#include "common/Numbers.h"
#include "exchange/ReadWriteAll.h"
#include "SimLine.h"
#include "TestUi.h"
#include "exchange/RecordingTap.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {
const QString ProgDir = QStringLiteral(KESTRIN_PROGDIR);

class ReadWriteAllTest : public ::testing::Test {
protected:
    std::unique_ptr<TSimLine> Line;
    TDevProp Type;
    TDev Dev;
    std::atomic<bool> Stop{false};
    std::unique_ptr<TTestUi> Ui;

    void Start(std::vector<Sim::TDeviceSpec> devices, const Sim::TFaults& faults = {}, uint32_t speed = 9600) {
        Sim::TConfig c = TSimLine::Config(std::move(devices));
        c.Faults = faults;
        c.DefaultSpeed = speed;
        Line.reset(); // one simulator at a time; its library table is taken anew below
        Line = std::make_unique<TSimLine>(c);
        ASSERT_TRUE(Line->Ok());
        Type.Name = "Kestrin K1";
        Type.TypeNum = 21;
        Type.Dir = "K1";
        Type.TimeOut = 150;
        ASSERT_TRUE(LoadDescriptions(ProgDir, Type, QString()));
        Dev = TDev(Type.ParamCount());
        Dev.COMPort = Line->Port();
        Dev.BaudRate = static_cast<uint16_t>(speed);
        Dev.Address = 1;
        Ui = std::make_unique<TTestUi>(ProgDir, Type, Dev);
    }
    TExchangeRun Run(int retries = 1) {
        return TExchangeRun{Line->Api(), Type, Dev, *Ui, Stop, retries,
                            {"300", "600", "1200", "2400", "4800", "9600", "19200"}};
    }
    int IndexOf(const QString& name) const {
        for (int i = 0; i < Type.ParamCount(); ++i)
            if (Type.Param(i).Name == name)
                return i;
        return -1;
    }
    QByteArray Memory(size_t instrument, int param) {
        const QByteArray loc = ("0001" + HexAddress(Type.Param(param).Address)).toLatin1();
        return Line->WithBus([&](Sim::TBus& bus) { return bus.Content(instrument, loc).value_or("?"); });
    }
    size_t Requests() {
        return Line->WithBus([](Sim::TBus& bus) { return bus.Log().size(); });
    }
};
} // namespace

TEST(ReadWriteAllHelpers, ProgressHalvesGoToEvenAndValuesTakeTheirNormalForm) {
    std::vector<int> bar;
    for (int i = 1; i <= 8; ++i)
        bar.push_back(ProgressPercent(i, 8));
    EXPECT_EQ(bar, std::vector<int>({12, 25, 38, 50, 62, 75, 88, 100}));
    EXPECT_EQ(NormalReadValue("1.50000"), "1.5");
    EXPECT_EQ(NormalReadValue("12"), "12");
    EXPECT_EQ(NormalReadValue("-0.25000"), "-0.25");
    EXPECT_EQ(NormalReadValue("0.00000"), "0");
    EXPECT_EQ(NormalReadValue("0.000001"), "1E-6");
    EXPECT_EQ(NormalReadValue("0A1F"), "0A1F"); // not a decimal number: stored as received
    EXPECT_EQ(NormalReadValue(""), "");
}

TEST_F(ReadWriteAllTest, ReadsEveryParameterAndKeepsValuesThatCarryNone) {
    Start({{1, 21, QString(), 0}});
    const int bits = IndexOf(QStringLiteral("Маска опроса каналов"));
    ASSERT_GE(bits, 0);
    ASSERT_EQ(Type.Param(bits).VType, 4);
    Dev.Values[bits] = "1010"; // a bit string is never delivered by a read: it keeps its value
    TExchangeRun run = Run();
    ReadAll(run);
    EXPECT_EQ(std::count(Ui->Stored.begin(), Ui->Stored.end(), bits), 0);
    EXPECT_EQ(Ui->Messages.front(), QStringLiteral("Чтение из прибора..."));
    EXPECT_EQ(Ui->Messages.back(), QStringLiteral("Чтение завершено"));
    EXPECT_TRUE(Ui->Errors.isEmpty());
    EXPECT_TRUE(Ui->Questions.isEmpty()); // same version: nothing asked
    EXPECT_FALSE(Ui->ProgressShown);
    int bitStrings = 0;
    for (int i = 0; i < Type.ParamCount(); ++i)
        bitStrings += Type.Param(i).VType == 4;
    ASSERT_EQ(static_cast<int>(Ui->Stored.size()), Type.ParamCount() - bitStrings);
    EXPECT_EQ(Ui->Progress.back(), 100);
    EXPECT_EQ(Dev.Values[bits], "1010");
    // Every other value is the instrument's factory value in its normal form.
    for (int i = 0; i < Type.ParamCount(); ++i) {
        const TParam& p = Type.Param(i);
        if (p.VType == 4)
            continue;
        const auto expected = Numbers::ParseFloat(p.Value);
        ASSERT_TRUE(expected.has_value()) << p.Name.toStdString();
        // Reals travel as singles and come back with five decimals.
        EXPECT_NEAR(Numbers::ParseFloat(Dev.Values[i]).value_or(-12345), *expected, 1e-5 * std::max(1.0, std::abs(*expected)))
            << p.Name.toStdString();
    }
}

TEST_F(ReadWriteAllTest, NoInstrumentOrAnotherTypeEndsWithoutABox) {
    Start({{5, 7, QString(), 0}}); // another type at address 5, nobody at 1
    TExchangeRun run = Run();
    ReadAll(run);
    EXPECT_EQ(Ui->Messages.back(), QStringLiteral("Нет связи с прибором!"));
    EXPECT_TRUE(Ui->Errors.isEmpty());
    EXPECT_TRUE(Ui->Stored.empty());
    Dev.Address = 5;
    ReadAll(run);
    EXPECT_EQ(Ui->Messages.back(), QStringLiteral("Нет связи с прибором!"));
    EXPECT_TRUE(Ui->Stored.empty());
}

TEST_F(ReadWriteAllTest, OtherVersionIsOfferedAndUnknownVersionIsRefused) {
    Start({{1, 21, QStringLiteral("K1_205"), 0}, {2, 21, QStringLiteral("K1_999"), 0}});
    TExchangeRun run = Run();
    Ui->Answers = {false};
    ReadAll(run);
    EXPECT_EQ(Ui->Messages.back(), QStringLiteral("Чтение остановлено"));
    EXPECT_EQ(Ui->Questions.size(), 1);
    EXPECT_TRUE(Type.Version.isEmpty());

    Ui->Answers = {true};
    ReadAll(run);
    EXPECT_EQ(Ui->Reloads, 1);
    EXPECT_EQ(Type.Version, "K1_205");
    EXPECT_EQ(Dev.Values.size(), Type.ParamCount());
    EXPECT_EQ(Ui->Messages.back(), QStringLiteral("Чтение завершено"));

    Dev.Address = 2;
    Ui->Answers = {true};
    ReadAll(run);
    EXPECT_EQ(Ui->Messages.back(), QStringLiteral("Файл не найден"));
    ASSERT_FALSE(Ui->Errors.isEmpty());
    EXPECT_TRUE(Ui->Errors.back().startsWith(QStringLiteral("Данная модификация прибора не поддерживается")));
    EXPECT_EQ(Type.Version, "K1_205"); // the loaded descriptions stay
}

TEST_F(ReadWriteAllTest, FailingParameterIsRetriedThenTheUserDecides) {
    Start({{1, 21, QString(), 0}});
    Type.Param(0).Address = 0xFE; // a location the instrument does not have: answered "$1"
    TExchangeRun run = Run(1);
    const size_t before = Requests();
    Ui->Answers = {true, false}; // Yes once, then No
    ReadAll(run);
    EXPECT_EQ(Ui->Messages.back(), QStringLiteral("Ошибка чтения"));
    ASSERT_EQ(Ui->Questions.size(), 2);
    EXPECT_EQ(Ui->Questions[0], QStringLiteral("Ошибка чтения данных! Повторить?"));
    // Identification and version, then 2 attempts, the question, 2 more attempts, the question.
    EXPECT_EQ(Requests() - before, 2u + 4u);
    EXPECT_TRUE(Ui->Stored.empty());
}

TEST_F(ReadWriteAllTest, StopAndVanishingInstrumentKeepWhatWasRead) {
    Start({{1, 21, QString(), 0}});
    TExchangeRun run = Run();
    Ui->OnStore = [this](int i) {
        if (i == 3)
            Stop = true;
    };
    ReadAll(run);
    EXPECT_EQ(Ui->Messages.back(), QStringLiteral("Чтение остановлено"));
    ASSERT_FALSE(Ui->Stored.empty());
    EXPECT_EQ(Ui->Stored.back(), 3); // nothing after the stop
    const QString kept = Dev.Values[0];
    EXPECT_FALSE(kept.isEmpty());

    Stop = false;
    Ui->Stored.clear();
    Ui->OnStore = [this](int i) {
        if (i == 5)
            Line->Stop(); // unplugged in the middle of the run
    };
    Ui->Answers = {false};
    ReadAll(run);
    EXPECT_EQ(Ui->Messages.back(), QStringLiteral("Ошибка чтения"));
    ASSERT_FALSE(Ui->Stored.empty());
    EXPECT_EQ(Ui->Stored.back(), 5);
    EXPECT_EQ(Dev.Values[0], kept);

    // The port is gone now: opening fails with the library's code and a box.
    Ui->OnStore = nullptr;
    ReadAll(run);
    ASSERT_FALSE(Ui->Errors.isEmpty());
    EXPECT_TRUE(Ui->Errors.back().startsWith(QStringLiteral("Чтение остановлено, ошибка: -")));
    EXPECT_TRUE(Ui->Messages.back().startsWith(QStringLiteral("Ошибка чтения: -")));
}

TEST_F(ReadWriteAllTest, WriteRefusesAnIncompleteSetAndSendsNothing) {
    Start({{1, 21, QString(), 0}});
    for (int i = 0; i < Type.ParamCount(); ++i)
        Dev.Values[i] = Type.Param(i).Value;
    Dev.Values[2].clear();
    const size_t before = Requests();
    TExchangeRun run = Run();
    WriteAll(run);
    ASSERT_EQ(Ui->Errors.size(), 1);
    EXPECT_EQ(Ui->Errors[0], QStringLiteral("Неверно введен параметр \"") + Type.Param(2).Name + "\" .");
    EXPECT_EQ(Ui->Messages.back(), QStringLiteral("Неверные данные"));
    EXPECT_EQ(Requests(), before);
}

TEST_F(ReadWriteAllTest, WriteStoresWireEncodingsAndFollowsNewAddressAndSpeed) {
    Start({{1, 21, QString(), 0}});
    for (int i = 0; i < Type.ParamCount(); ++i)
        Dev.Values[i] = Type.Param(i).Value;
    const int addr = IndexOf(NetAddressParamName);
    const int speed = IndexOf(SpeedParamName);
    ASSERT_GE(addr, 0);
    ASSERT_GE(speed, 0);
    ASSERT_LT(addr, speed); // the speed changes after the address, and more parameters follow both
    ASSERT_LT(speed, Type.ParamCount() - 5);
    Dev.Values[addr] = "12";
    Dev.Values[speed] = "6"; // 19200
    int real = -1, word = -1;
    for (int i = Type.ParamCount() - 1; i > speed; --i) {
        if (Type.Param(i).VType == 3 && real < 0)
            real = i;
        if (Type.Param(i).VType == 2 && word < 0)
            word = i;
    }
    ASSERT_GE(real, 0);
    ASSERT_GE(word, 0);
    Dev.Values[real] = "1.5";
    Dev.Values[word] = "-2";
    TExchangeRun run = Run();
    WriteAll(run);
    EXPECT_EQ(Ui->Messages.back(), QStringLiteral("Запись завершена")) << Ui->Errors.join(" | ").toStdString();
    EXPECT_EQ(Dev.Address, 12);
    EXPECT_EQ(Dev.BaudRate, 19200);
    Line->WithBus([](Sim::TBus& bus) {
        EXPECT_EQ(bus.Instrument(0).Address, 12);
        EXPECT_EQ(bus.Instrument(0).Speed, 19200u);
        // Every request after the address parameter went to the new address.
        bool afterAddress = false;
        for (const QByteArray& r : bus.Log()) {
            if (afterAddress) {
                EXPECT_TRUE(r.startsWith(":12;")) << r.toStdString();
            }
            if (r.startsWith(":1;38;") && r.contains(";0C;"))
                afterAddress = true;
        }
        EXPECT_TRUE(afterAddress);
    });
    EXPECT_EQ(Memory(0, real), "0000C03F");
    EXPECT_EQ(Memory(0, word), "FEFF");
    // Read back through the new address and speed: the same values.
    Ui->Stored.clear();
    ReadAll(run);
    EXPECT_EQ(Ui->Messages.back(), QStringLiteral("Чтение завершено"));
    EXPECT_EQ(Dev.Values[real], "1.5");
    EXPECT_EQ(Dev.Values[word], "-2");
    EXPECT_EQ(Dev.Values[addr], "12");
}

TEST_F(ReadWriteAllTest, UnknownSpeedIndexKeepsTheSpeedAndFailedOpenIsReported) {
    Start({{1, 21, QString(), 0}});
    for (int i = 0; i < Type.ParamCount(); ++i)
        Dev.Values[i] = Type.Param(i).Value;
    Dev.Values[IndexOf(SpeedParamName)] = "7"; // no such entry
    TExchangeRun run = Run();
    WriteAll(run);
    // Whatever the instrument makes of an index outside the list, the program's speed stays.
    EXPECT_EQ(Dev.BaudRate, 9600);

    Dev.COMPort = "/dev/no-such-port-kestrin";
    Ui->Errors.clear();
    WriteAll(run);
    ASSERT_EQ(Ui->Errors.size(), 1);
    EXPECT_EQ(Ui->Errors[0], QStringLiteral("Запись остановлена, ошибка: -101"));
    EXPECT_EQ(Ui->Messages.back(), QStringLiteral("Ошибка записи: -101"));
}

TEST_F(ReadWriteAllTest, TapSeesEveryParcelOfReadAllAndWriteAllWithItsParameter) {
    Start({{1, 21, QString(), 0}});
    for (int i = 0; i < Type.ParamCount(); ++i)
        Dev.Values[i] = Type.Param(i).Value;
    TRecordingTap tap;
    TExchangeRun run = Run();
    run.Tap = &tap;
    const auto check = [&](bool write) {
        const std::vector<TLineEvent> e = tap.Take();
        std::vector<QByteArray> log;
        Line->WithBus([&](Sim::TBus& bus) { log.assign(bus.Log().begin(), bus.Log().end()); });
        // Request and answer in turn, each request exactly what reached the instrument.
        ASSERT_EQ(e.size(), 2 * log.size());
        for (size_t i = 0; i < e.size(); ++i) {
            EXPECT_EQ(e[i].Direction, i % 2 ? TLineDirection::Answer : TLineDirection::Request) << i;
            EXPECT_EQ(e[i].Port, Line->Port());
            EXPECT_EQ(e[i].Address, 1);
            EXPECT_EQ(e[i].Outcome, ExOk) << i;
            if (i % 2 == 0) {
                EXPECT_EQ(e[i].Bytes, log[i / 2] + "\r");
            } else {
                EXPECT_TRUE(e[i].Bytes.startsWith("!1;") && e[i].Bytes.endsWith("\r"))
                    << e[i].Bytes.toStdString();
            }
        }
        EXPECT_EQ(e[0].Purpose, QStringLiteral("идентификация"));
        EXPECT_EQ(e[2].Purpose, QStringLiteral("версия"));
        // Then one parameter per transaction, in order, named with its value.
        ASSERT_EQ(e.size(), 4 + 2 * static_cast<size_t>(Type.ParamCount()));
        for (int k = 0; k < Type.ParamCount(); ++k) {
            const TParam& p = Type.Param(k);
            const TLineEvent& request = e[4 + 2 * k];
            const TLineEvent& answer = e[5 + 2 * k];
            if (write) {
                EXPECT_EQ(request.Purpose, p.Name + " = " + Dev.Values[k]);
                EXPECT_EQ(answer.Purpose, request.Purpose);
            } else if (p.VType == 4) {
                EXPECT_EQ(answer.Purpose, p.Name); // nothing decoded
            } else {
                EXPECT_EQ(request.Purpose, p.Name);
                ASSERT_TRUE(answer.Purpose.startsWith(p.Name + " = ")) << answer.Purpose.toStdString();
                EXPECT_EQ(NormalReadValue(answer.Purpose.mid(p.Name.size() + 3)), Dev.Values[k]);
            }
        }
        Line->WithBus([](Sim::TBus& bus) { bus.ClearLog(); });
    };
    Line->WithBus([](Sim::TBus& bus) { bus.ClearLog(); });
    WriteAll(run);
    ASSERT_EQ(Ui->Messages.back(), QStringLiteral("Запись завершена"));
    check(true);
    ReadAll(run);
    ASSERT_EQ(Ui->Messages.back(), QStringLiteral("Чтение завершено"));
    check(false);
}
