#include "exchange/Measure.h"
#include "SimLine.h"
#include "TestUi.h"
#include "common/Numbers.h"
#include "exchange/Exchange.h"
#include "exchange/RecordingTap.h"

#include <gtest/gtest.h>

namespace {
const QString ProgDir = QStringLiteral(KESTRIN_PROGDIR);
using Clock = std::chrono::steady_clock;

// A clock the test moves: every received answer costs ReadCost, every pause its length.
Clock::time_point FakeNow{};
std::chrono::milliseconds ReadCost{0};
decltype(&::KV_ReceiveParcel) RealReceive = nullptr;
int32_t TimedReceive(int32_t handle, char* answer) {
    const int32_t r = RealReceive(handle, answer);
    FakeNow += ReadCost;
    return r;
}

class MeasureTest : public ::testing::Test {
protected:
    std::unique_ptr<TSimLine> Line;
    TDevProp Type;
    TDev Dev;
    std::atomic<bool> Stop{false};
    std::unique_ptr<TTestUi> Ui;
    TKvApi Api;
    std::vector<std::chrono::milliseconds> Sleeps;

    void Start(int channels, double tmin, const Sim::TFaults& faults = {}, uint8_t typeNum = 21) {
        Sim::TConfig c = TSimLine::Config({{1, typeNum, QString(), 0}});
        c.Faults = faults;
        Line.reset(); // one simulator at a time; its library table is taken anew below
        Line = std::make_unique<TSimLine>(c);
        ASSERT_TRUE(Line->Ok());
        Api = Line->Api();
        RealReceive = Api.ReceiveParcel;
        Api.ReceiveParcel = &TimedReceive;
        FakeNow = Clock::time_point{} + std::chrono::hours(1);
        Stop = false;
        Sleeps.clear();
        ReadCost = std::chrono::milliseconds(0);
        Type.TypeNum = 21;
        Type.Channels = static_cast<uint8_t>(channels);
        Type.Tmin = tmin;
        Type.TimeOut = 150;
        Dev.COMPort = Line->Port();
        Ui = std::make_unique<TTestUi>(ProgDir, Type, Dev);
    }
    TMeasureRun Run(int retries = 1) {
        TMeasureRun run{Api, Type, Dev, *Ui, Stop, retries, {}, {}};
        run.Now = [] { return FakeNow; };
        run.Sleep = [this](std::chrono::milliseconds ms) {
            Sleeps.push_back(ms);
            FakeNow += ms;
        };
        return run;
    }
    // Stops the run after n values were shown.
    void StopAfter(size_t n) {
        Ui->OnShow = [this, n](int, const QString&) {
            if (Ui->Shown.size() >= n)
                Stop = true;
        };
    }
    std::chrono::milliseconds Slept() const {
        std::chrono::milliseconds total{0};
        for (auto s : Sleeps)
            total += s;
        return total;
    }
};
} // namespace

TEST_F(MeasureTest, OneChannelIsReadOncePerPeriod) {
    Start(1, 0.7);
    StopAfter(3);
    TMeasureRun run = Run();
    MeasureLoop(run);
    EXPECT_EQ(Ui->Messages.front(), QStringLiteral("Чтение из прибора..."));
    EXPECT_EQ(Ui->Messages.back(), QStringLiteral("Измерение остановлено"));
    EXPECT_EQ(Ui->ExchangeStatus, QStringList({QStringLiteral("идет обмен"), QStringLiteral("нет обмена")}));
    ASSERT_EQ(Ui->Points.size(), 3u);
    ASSERT_EQ(Ui->Minutes.size(), 3u);
    EXPECT_NEAR(Ui->Minutes[1] - Ui->Minutes[0], 0.7 / 60, 1e-9);
    EXPECT_NEAR(Ui->Minutes[2] - Ui->Minutes[1], 0.7 / 60, 1e-9);
    EXPECT_EQ(Slept(), std::chrono::milliseconds(1400));
    for (const auto& [k, text] : Ui->Shown) {
        EXPECT_EQ(k, 1);
        EXPECT_TRUE(Numbers::ParseFloat(text).has_value()) << text.toStdString();
    }
}

TEST_F(MeasureTest, PausesOverlapTheReadsOfTheOtherChannels) {
    Start(3, 0.5);
    ReadCost = std::chrono::milliseconds(300);
    StopAfter(6);
    TMeasureRun fast = Run();
    MeasureLoop(fast);
    ASSERT_EQ(Ui->Shown.size(), 6u);
    EXPECT_EQ(Slept(), std::chrono::milliseconds(0)); // 0.6 s passed for each channel: no wait

    Start(3, 0.7);
    ReadCost = std::chrono::milliseconds(300);
    Sleeps.clear();
    StopAfter(4);
    TMeasureRun slow = Run();
    MeasureLoop(slow);
    ASSERT_EQ(Ui->Shown.size(), 4u);
    EXPECT_EQ(Slept(), std::chrono::milliseconds(100)); // channel 1 waits 0.1 s before its second read
    EXPECT_EQ(Ui->Shown[3].first, 1);
}

TEST_F(MeasureTest, UnselectedChannelsAreSkippedWithoutWaiting) {
    Start(4, 0.7);
    Ui->Selected = [](int k) { return k == 2 || k == 4; };
    StopAfter(4);
    TMeasureRun run = Run();
    MeasureLoop(run);
    ASSERT_EQ(Ui->Shown.size(), 4u);
    for (const auto& [k, text] : Ui->Shown)
        EXPECT_TRUE(k == 2 || k == 4);
    for (const auto& [k, v] : Ui->Points)
        EXPECT_TRUE(k == 2 || k == 4);
}

namespace {
// Sets the stop request while the user is being asked whether to retry.
class TStopOnQuestion : public TTestUi {
public:
    TStopOnQuestion(QString progDir, TDevProp& t, TDev& d, std::atomic<bool>& stop)
        : TTestUi(std::move(progDir), t, d), StopFlag(stop) {}
    bool AskYesNo(const QString& text, const QString& caption) override {
        StopFlag = true;
        return TTestUi::AskYesNo(text, caption);
    }
    std::atomic<bool>& StopFlag;
};
} // namespace

TEST_F(MeasureTest, RetriesAskAndStopDuringRetryEndsAtOnce) {
    // The instrument has four channels: the sixth is answered "$1".
    Start(6, 0.7);
    Ui->Selected = [](int k) { return k == 6; };
    Ui->Answers = {true, false};
    TMeasureRun run = Run(1);
    MeasureLoop(run);
    EXPECT_EQ(Ui->Questions.size(), 2);
    EXPECT_EQ(Ui->Questions[0], QStringLiteral("Ошибка чтения данных! Повторить?"));
    EXPECT_EQ(Ui->Messages.back(), QStringLiteral("Ошибка чтения"));
    EXPECT_TRUE(Ui->Points.empty());
    // Each question is a gap in the readings, told before it is asked.
    EXPECT_EQ(Ui->Failed, std::vector<int>({6, 6}));

    TStopOnQuestion stopper(ProgDir, Type, Dev, Stop);
    stopper.Selected = [](int k) { return k == 6; };
    stopper.Answers = {true};
    TMeasureRun run2{Api, Type, Dev, stopper, Stop, 1, {}, {}};
    run2.Now = [] { return FakeNow; };
    run2.Sleep = [](std::chrono::milliseconds ms) { FakeNow += ms; };
    const auto logSize = [this] { return Line->WithBus([](Sim::TBus& bus) { return bus.Log().size(); }); };
    const size_t before = logSize();
    MeasureLoop(run2);
    EXPECT_EQ(stopper.Messages.back(), QStringLiteral("Измерение остановлено"));
    // Identification and two attempts; nothing after the stop.
    EXPECT_EQ(logSize() - before, 3u);
}

TEST_F(MeasureTest, WrongTypeAndNoChannelsEndAtOnce) {
    Start(2, 0.7, {}, 7);
    TMeasureRun run = Run();
    Ui->Points.push_back({1, 1.0}); // a series from an earlier run
    MeasureLoop(run);
    EXPECT_EQ(Ui->Messages.back(), QStringLiteral("Нет связи с прибором!"));
    EXPECT_EQ(Ui->Points.size(), 1u); // nothing cleared

    Start(0, 0.7);
    TMeasureRun none = Run();
    MeasureLoop(none);
    EXPECT_EQ(Ui->Messages.back(), QStringLiteral("Нет каналов для измерения"));
    EXPECT_EQ(Ui->ExchangeStatus.back(), QStringLiteral("нет обмена"));
}

TEST_F(MeasureTest, TapSeesTheIdentificationAndEveryChannelReadWithItsValue) {
    Start(2, 0.0);
    StopAfter(4);
    TRecordingTap tap;
    TMeasureRun run = Run();
    run.Tap = &tap;
    MeasureLoop(run);
    ASSERT_EQ(Ui->Shown.size(), 4u);
    const std::vector<TLineEvent> e = tap.Take();
    ASSERT_EQ(e.size(), 10u);
    EXPECT_EQ(e[0].Purpose, QStringLiteral("идентификация"));
    EXPECT_TRUE(e[0].Bytes.startsWith(":1;0;"));
    for (size_t i = 0; i < 4; ++i) {
        const auto& [k, text] = Ui->Shown[i];
        const TLineEvent& request = e[2 + 2 * i];
        const TLineEvent& answer = e[3 + 2 * i];
        EXPECT_EQ(request.Purpose, QStringLiteral("канал %1").arg(k));
        EXPECT_TRUE(request.Bytes.startsWith(QStringLiteral(":1;1;%1;").arg(k - 1).toLatin1()));
        EXPECT_EQ(answer.Purpose, QStringLiteral("канал %1 = ").arg(k) + text);
        EXPECT_EQ(answer.Outcome, ExOk);
    }
}
