// The calibration run against the simulator engine, with a clock the test moves.
#include "SimLine.h"
#include "exchange/Calib.h"
#include "exchange/Exchange.h"
#include "exchange/RecordingTap.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace {
using Clock = std::chrono::steady_clock;
// Shared with the simulator's thread, which reads the same clock.
std::atomic<int64_t> FakeMs{0};
Clock::time_point FakeNow() {
    return Clock::time_point{} + std::chrono::hours(1) + std::chrono::milliseconds(FakeMs);
}

// Library wrappers: handles are counted, and chosen reads are turned to a location the instrument
// does not have, so that it refuses them with "$1".
TKvApi Real;
int Created = 0, Freed = 0, Reads = 0;
std::set<int> RefusedReads;
int32_t CountedCreate() {
    ++Created;
    return Real.CreateCOM();
}
int32_t CountedFree(int32_t* h) {
    ++Freed;
    return Real.FreeCOM(h);
}
int32_t Transmit(int32_t handle, const char* parcel) {
    QByteArray p(parcel);
    if (p.contains(";37;001000;") && RefusedReads.count(++Reads)) {
        p = p.left(p.indexOf(";37;")) + ";37;00FFFE;";
        char crc[KV_BUFFER_SIZE]{};
        Real.ASCIICRCWord(p.constData(), crc);
        p += QByteArray(crc) + '\r';
    }
    return Real.TransmitParcel(handle, p.constData());
}

class CalibOp : public ::testing::Test, public ICalibUi {
protected:
    std::unique_ptr<TSimLine> Line;
    TAppState State;
    TKvApi Api;
    std::atomic<bool> Stop{false};
    QStringList Events; // busy changes and statuses, in order
    int Sleeps = 0;
    std::function<void()> OnSleep, OnBusy;

    void SetCalibBusy(bool on, uint8_t kind) override {
        Events << (on ? QStringLiteral("busy %1").arg(kind) : QStringLiteral("idle"));
        if (on && OnBusy)
            OnBusy();
    }
    void ShowStatus(const QString& text) override { Events << text; }

    // A fresh instrument; fakeBusClock makes its calibration end by the test's clock.
    void Start(double calibSeconds, bool fakeBusClock = false, Sim::TFaults faults = {}) {
        Sim::TConfig c = TSimLine::Config({{1, 21, QString(), 0}});
        c.CalibSeconds = calibSeconds;
        c.Faults = faults;
        Line.reset();
        Line = std::make_unique<TSimLine>(c);
        ASSERT_TRUE(Line->Ok());
        if (fakeBusClock)
            Line->WithBus([](Sim::TBus& bus) { bus.SetClock(&FakeNow); });
        Api = Real = Line->Api();
        Api.CreateCOM = &CountedCreate;
        Api.FreeCOM = &CountedFree;
        Api.TransmitParcel = &Transmit;
        State.DevTypes.clear();
        State.DevList.clear();
        State.DevTypes.push_back(std::make_unique<TDevProp>());
        State.DevTypes[0]->TypeNum = 21;
        State.DevTypes[0]->TimeOut = 150;
        State.DevList.push_back(std::make_unique<TDev>());
        State.DevList[0]->COMPort = Line->Port();
        Created = Freed = Reads = Sleeps = 0;
        RefusedReads.clear();
        Stop = false;
        FakeMs = 0;
    }
    QString Calibrate(uint8_t kind = CalibLine) {
        Events.clear();
        TCalibRun run{Api, State, kind, *this, Stop, &FakeNow, {}};
        run.Sleep = [this](std::chrono::milliseconds ms) {
            EXPECT_EQ(ms.count(), 50);
            FakeMs += ms.count();
            ++Sleeps;
            if (OnSleep)
                OnSleep();
        };
        const QString status = CalibLoop(run);
        // Every run frees what it created, and shows its outcome between lock and unlock.
        EXPECT_EQ(Created, Freed);
        EXPECT_EQ(Events.mid(Events.size() - 2), QStringList({status, QStringLiteral("idle")}));
        EXPECT_EQ(Events.mid(0, 2), QStringList({QStringLiteral("busy %1").arg(kind), "Калибровка..."}));
        return status;
    }
    int Requests(const char* part) {
        return Line->WithBus([part](Sim::TBus& bus) {
            return int(std::count_if(bus.Log().begin(), bus.Log().end(),
                                     [part](const QByteArray& f) { return f.contains(part); }));
        });
    }
    QByteArray CalibContent() {
        return Line->WithBus([](Sim::TBus& bus) { return bus.Content(0, "001000").value_or("?"); });
    }
};
} // namespace

TEST_F(CalibOp, CalibratedWhenTheInstrumentClearsTheLocation) {
    Start(0);          // cleared at once: one read, then the pause, then the verdict
    TRecordingTap tap; // the line monitor's view of the run
    State.LineTap.Attach(&tap);
    EXPECT_EQ(Calibrate(), "Параметр откалиброван");
    State.LineTap.Detach(&tap);
    EXPECT_EQ(Reads, 1);
    EXPECT_EQ(Sleeps, 1);
    EXPECT_EQ(Requests(":1;0;"), 1);
    EXPECT_EQ(Requests(":1;38;001000;01;"), 1);
    const std::vector<TLineEvent> e = tap.Take();
    ASSERT_EQ(e.size(), 6u);
    EXPECT_EQ(e[0].Purpose, QStringLiteral("идентификация"));
    EXPECT_TRUE(e[2].Bytes.startsWith(":1;38;001000;01;"));
    EXPECT_EQ(e[3].Purpose, QStringLiteral("калибровка = 01"));
    EXPECT_TRUE(e[4].Bytes.startsWith(":1;37;001000;"));
    EXPECT_EQ(e[5].Purpose, QStringLiteral("калибровка = 00"));
    for (const TLineEvent& x : e)
        EXPECT_EQ(x.Outcome, ExOk);

    Start(1.0, true); // rC takes a second: watched until then, and its byte is hexadecimal 10
    EXPECT_EQ(Calibrate(CalibCompensator), "Параметр откалиброван");
    EXPECT_EQ(Requests(":1;38;001000;10;"), 1);
    EXPECT_GE(FakeMs.load(), 1000);
    EXPECT_LT(FakeMs.load(), 1100);
    EXPECT_EQ(Reads, Sleeps);
}

TEST_F(CalibOp, TimeLimitIsJudgedAfterEachRead) {
    Start(60, true);
    EXPECT_EQ(Calibrate(), "Ошибка калибровки");
    EXPECT_GT(FakeMs.load(), 10000);
    EXPECT_LE(FakeMs.load(), 10050);
    EXPECT_EQ(CalibContent(), "01"); // stopping the watch does not stop the instrument

    Start(10.02, true); // "00" read after the limit still counts as a failure
    EXPECT_EQ(Calibrate(), "Ошибка калибровки");
    Start(9.98, true); // read at exactly 10 s: not more than the limit
    EXPECT_EQ(Calibrate(), "Параметр откалиброван");
}

TEST_F(CalibOp, ThreeFailedReadsInOneTurnEndTheRun) {
    Start(0);
    RefusedReads = {1, 2};
    EXPECT_EQ(Calibrate(), "Параметр откалиброван");
    EXPECT_EQ(Reads, 3);
    EXPECT_EQ(Sleeps, 1); // retried at once

    Start(60, true); // failures of separate turns do not add up
    RefusedReads = {2, 3, 5, 6, 8, 9, 10};
    EXPECT_EQ(Calibrate(), "Ошибка чтения: -22");
    EXPECT_EQ(Reads, 10);
    EXPECT_EQ(Sleeps, 3);
}

TEST_F(CalibOp, StopEndsAtTheTopOfTheLoopWithoutAnotherRequest) {
    Start(60, true);
    OnSleep = [this] { Stop = Sleeps == 3; };
    EXPECT_EQ(Calibrate(), "Остановлено пользователем");
    EXPECT_EQ(Requests(";37;"), 3);
    EXPECT_EQ(CalibContent(), "01");

    Start(60, true); // stopped before the command: it is still sent, nothing is watched
    OnSleep = nullptr;
    OnBusy = [this] { Stop = true; };
    EXPECT_EQ(Calibrate(CalibCompensator), "Остановлено пользователем");
    EXPECT_EQ(Requests(";38;"), 1);
    EXPECT_EQ(Requests(";37;"), 0);

    Start(0); // a stop outweighs a cleared location
    OnBusy = nullptr;
    OnSleep = [this] { Stop = true; };
    EXPECT_EQ(Calibrate(), "Остановлено пользователем");
}

TEST_F(CalibOp, LinkAndWriteFailuresSendNoCommand) {
    Start(0);
    State.DevList[0]->Address = 2; // nobody answers there
    EXPECT_EQ(Calibrate(), "Нет связи с прибором!");
    State.DevList[0]->Address = 1;
    State.DevTypes[0]->TypeNum = 22; // another type answers
    EXPECT_EQ(Calibrate(), "Нет связи с прибором!");
    State.DevList[0]->COMPort = QStringLiteral("ttyKestrinAbsent");
    EXPECT_EQ(Calibrate(), "Ошибка записи: -101");
    EXPECT_EQ(Requests(";38;"), 0);
    EXPECT_EQ(Created, 3);

    State.DevTypes.clear(); // no catalogue entry: nothing to open
    State.DevList.clear();
    EXPECT_EQ(Calibrate(), "Нет связи с прибором!");
    EXPECT_EQ(Created, 3);

    Sim::TFaults refuse;
    refuse.Dollar1Every = 1;
    Start(0, false, refuse);
    EXPECT_EQ(Calibrate(), "Ошибка записи: -22");
    EXPECT_EQ(Requests(";37;"), 0);
}
