// Read-all, edit, write-all and read-all again through the main window's workers, against the
// simulator on a pseudo-terminal.
#include "MainFixture.h"
#include "SimLine.h"
#include "chart/Chart.h"
#include "exchange/Exchange.h"
#include "ui/DevTable.h"
#include "ui/MainExchange.h"
#include "ui/MeasureView.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

namespace {
class ExchangeWindow : public MainFixture {
protected:
    std::unique_ptr<TSimLine> Line;
    std::unique_ptr<TMainExchange> Exchange;
    QElapsedTimer Clock;
    qint64 LongestStall = 0;

    void StartAll(std::vector<Sim::TDeviceSpec> devices, bool timing = false) {
        Sim::TConfig c = TSimLine::Config(std::move(devices));
        c.ProgDir = ProgDir;
        c.LineTiming = timing;
        Line = std::make_unique<TSimLine>(c);
        ASSERT_TRUE(Line->Ok());
        ASSERT_TRUE(Start());
        Exchange = std::make_unique<TMainExchange>(*Main, Line->Api());
        State.Settings.Confirm = false;
        NewProject();
        ASSERT_EQ(State.PrjState, TPrjState::PrjSaved);
        State.CurDev().COMPort = Line->Port();
    }
    void TearDown() override {
        // How long the window went without answering during the run (a figure, not a check).
        RecordProperty("longest_stall_ms", static_cast<int>(LongestStall));
        std::printf("longest stall of the user-interface thread: %lld ms\n",
                    static_cast<long long>(LongestStall));
        Exchange.reset();
        MainFixture::TearDown();
        Line.reset();
    }
    // Runs the event loop until the exchange is idle again, measuring the longest gap between two
    // turns of the user-interface thread.
    bool WaitIdle(int ms = 20000) {
        QElapsedTimer total;
        total.start();
        QElapsedTimer gap;
        gap.start();
        QTest::qWait(1);
        while (State.ExchangeState != TExchState::ExchIdle || Exchange->AnyRunning()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            LongestStall = std::max(LongestStall, gap.restart());
            if (total.elapsed() > ms)
                return false;
            QTest::qWait(1);
        }
        return true;
    }
    int IndexOf(const QString& name) const {
        for (int i = 0; i < State.DevTypes[0]->ParamCount(); ++i)
            if (State.DevTypes[0]->Param(i).Name == name)
                return i;
        return -1;
    }
    QByteArray Memory(int param) {
        const QByteArray loc = ("0001" + HexAddress(State.DevTypes[0]->Param(param).Address)).toLatin1();
        return Line->WithBus([&](Sim::TBus& bus) { return bus.Content(0, loc).value_or("?"); });
    }
};
} // namespace

TEST_F(ExchangeWindow, ReadEditWriteReadBackThroughTheWindow) {
    StartAll({{1, 21, QString(), 0}});
    TfrmDev& table = DevView();

    // Factory values first: a read never delivers the bit strings, and write-all refuses empty values.
    Trigger("actDevDef");
    Trigger("actReadAll");
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Pane("spMessage"), QStringLiteral("Чтение завершено"));
    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);
    EXPECT_TRUE(Enabled("actDevRead"));
    EXPECT_TRUE(Enabled("actReadAll"));
    EXPECT_FALSE(Widget<QProgressBar>("pbMain")->isVisibleTo(Main.get()));
    EXPECT_EQ(Widget<QProgressBar>("pbMain")->value(), 0);

    // The table shows what the instrument holds; now edit three values as a user would.
    const int addr = IndexOf(NetAddressParamName);
    const int speed = IndexOf(SpeedParamName);
    ASSERT_GE(addr, 0);
    ASSERT_GE(speed, 0);
    EXPECT_EQ(table.CellText(1, addr + 1), "1");
    int real = -1;
    for (int i = State.DevTypes[0]->ParamCount() - 1; i > speed && real < 0; --i)
        if (State.DevTypes[0]->Param(i).VType == 3 && State.DevTypes[0]->Param(i).SType == 0)
            real = i;
    ASSERT_GE(real, 0);
    table.SetCellText(1, addr + 1, "7");
    table.SetCellText(1, real + 1, "2.25");
    const QStringList& speeds = *State.DevTypes[0]->Param(speed).Menu;
    table.SetCellText(1, speed + 1, speeds[6]); // 19200

    Trigger("actDevWrite");
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Pane("spMessage"), QStringLiteral("Запись завершена"));
    EXPECT_EQ(State.CurDev().Address, 7);
    EXPECT_EQ(State.CurDev().BaudRate, 19200);
    EXPECT_EQ(Memory(real), "00001040"); // 2.25 as a single, least significant byte first
    Line->WithBus([](Sim::TBus& bus) {
        EXPECT_EQ(bus.Instrument(0).Address, 7);
        EXPECT_EQ(bus.Instrument(0).Speed, 19200u);
    });
    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);

    // Read back at the new address and speed.
    table.ClearTable(State.CurDevType());
    Trigger("actDevRead");
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Pane("spMessage"), QStringLiteral("Чтение завершено"));
    EXPECT_EQ(table.CellText(1, real + 1), "2.25");
    EXPECT_EQ(table.CellText(1, addr + 1), "7");
    EXPECT_EQ(table.CellText(1, speed + 1), speeds[6]);
}

TEST_F(ExchangeWindow, LockEffectsWhileAReadRunsAndStop) {
    Sim::TDeviceSpec dev{1, 21, QString(), 1200};
    StartAll({dev}, true); // a slow line: every parcel takes its wire time at 1200 baud
    State.CurDev().BaudRate = 1200;
    Trigger("actDevRead");
    QTest::qWait(50);
    EXPECT_EQ(State.ExchangeState, TExchState::ExchReadWrite);
    EXPECT_FALSE(Widget<QPushButton>("btnDevRead")->isVisibleTo(Main.get()));
    EXPECT_TRUE(Widget<QPushButton>("btnDevReadStop")->isVisibleTo(Main.get()));
    EXPECT_FALSE(Enabled("actDevWrite"));
    EXPECT_FALSE(Enabled("actCalib"));
    EXPECT_FALSE(Control<QPushButton>(&MeasureView(), "btnMeasure")->isEnabled());
    EXPECT_FALSE(Enabled("actNew"));
    EXPECT_TRUE(Enabled("actStop"));
    QTest::mouseClick(Widget<QPushButton>("btnDevReadStop"), Qt::LeftButton);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Pane("spMessage"), QStringLiteral("Чтение остановлено"));
    EXPECT_TRUE(Widget<QPushButton>("btnDevRead")->isVisibleTo(Main.get()));
    EXPECT_FALSE(Widget<QPushButton>("btnDevReadStop")->isVisibleTo(Main.get()));
    EXPECT_TRUE(Enabled("actDevWrite"));
    EXPECT_TRUE(Enabled("actCalib"));
    EXPECT_TRUE(Control<QPushButton>(&MeasureView(), "btnMeasure")->isEnabled());
    EXPECT_EQ(State.ExchangeState, TExchState::ExchIdle);

    // Close during a run: confirmed, the worker ends at its next check and the program closes.
    Trigger("actReadAll");
    QTest::qWait(50);
    ASSERT_EQ(State.ExchangeState, TExchState::ExchReadWrite);
    Dialogs.Answers = {TMsgAnswer::Yes, TMsgAnswer::No}; // go on closing; do not save the project
    EXPECT_TRUE(Main->close());
    EXPECT_FALSE(Exchange->AnyRunning());
}

TEST_F(ExchangeWindow, SilentInstrumentUnlocksWithTheStatus) {
    StartAll({{9, 21, QString(), 0}}); // nobody at address 1
    Trigger("actReadAll");
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Pane("spMessage"), QStringLiteral("Нет связи с прибором!"));
    EXPECT_TRUE(Enabled("actReadAll"));
    EXPECT_TRUE(Enabled("actDevRead"));
}

TEST_F(ExchangeWindow, MeasurementFeedsTheViewUntilStopped) {
    StartAll({{1, 21, QString(), 0}});
    State.CurDevType().Tmin = 0.05;
    Widget<QTabWidget>("pcMain")->setCurrentIndex(2);
    TfrmMeasure& view = MeasureView();
    ASSERT_EQ(view.ChannelCount(), 4);
    Control<QPushButton>(&view, "btnMeasure")->click();
    QElapsedTimer t;
    t.start();
    while (Control<TChart>(&view, "Chart")->Series(0).Count() < 3 && t.elapsed() < 10000)
        QTest::qWait(10);
    EXPECT_EQ(State.ExchangeState, TExchState::ExchMeasure);
    EXPECT_EQ(Pane("gsExchangeStatus"), QStringLiteral("идет обмен"));
    EXPECT_TRUE(Control<QPushButton>(&view, "btnMeasureStop")->isVisibleTo(Main.get()));
    EXPECT_FALSE(Enabled("actDevRead"));
    EXPECT_FALSE(Enabled("actCalib"));
    EXPECT_TRUE(DevView().isEnabled()); // the table stays editable during a measurement
    EXPECT_GE(Control<TChart>(&view, "Chart")->Series(3).Count(), 1u);
    EXPECT_FALSE(view.ValueText(1).isEmpty());
    EXPECT_TRUE(Control<QToolButton>(&view, "AutoX")->isChecked() &&
                Control<QToolButton>(&view, "AutoY")->isChecked());
    Control<QPushButton>(&view, "btnMeasureStop")->click();
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Pane("spMessage"), QStringLiteral("Измерение остановлено"));
    EXPECT_EQ(Pane("gsExchangeStatus"), QStringLiteral("нет обмена"));
    EXPECT_TRUE(Control<QPushButton>(&view, "btnMeasure")->isVisibleTo(Main.get()));
    EXPECT_TRUE(Enabled("actDevRead"));
}

TEST_F(ExchangeWindow, OneExchangeAtATimeFromTheFirstStart) {
    StartAll({{1, 21, QString(), 0}});
    Trigger("actDevDef"); // a complete set, so that a write would go out
    State.Settings.Confirm = true;
    // No turn of the event loop between the starts: the first one has taken the exchange at once.
    Trigger("actReadAll");
    ASSERT_EQ(State.ExchangeState, TExchState::ExchReadWrite);
    EXPECT_FALSE(Enabled("actDevRead"));
    EXPECT_FALSE(Control<QPushButton>(&MeasureView(), "btnMeasure")->isEnabled());
    Exchange->Start(TExchangeCommand::Measure);
    Exchange->Start(TExchangeCommand::DevWrite);
    Trigger("actDevWrite");                     // refused before its confirmation is asked
    Exchange->Start(TExchangeCommand::ReadAll); // the same kind again: no wait for the running one
    EXPECT_TRUE(Dialogs.Asked.empty());
    EXPECT_EQ(State.ExchangeState, TExchState::ExchReadWrite);

    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Pane("spMessage"), QStringLiteral("Чтение завершено"));
    EXPECT_TRUE(Dialogs.Asked.empty());
    // Only the one read-all went out: one identification, no writes, no channel polls.
    Line->WithBus([](Sim::TBus& bus) {
        int identifications = 0;
        for (const QByteArray& frame : bus.Log()) {
            const QByteArray command = frame.split(';').value(1);
            identifications += command == "0";
            EXPECT_TRUE(command == "0" || command == "37") << frame.constData();
        }
        EXPECT_EQ(identifications, 1);
    });
}

TEST_F(ExchangeWindow, ProjectSaveDuringWriteAll) {
    // Save stays enabled during a run and rebuilds the device record's values from the table on the
    // window's thread while the worker writes them (the thread-sanitizer build watches this).
    Sim::TDeviceSpec dev{1, 21, QString(), 19200};
    StartAll({dev}, true);
    State.CurDev().BaudRate = 19200;
    Trigger("actDevDef");
    const QString path = Dir.path() + "/during.prj";
    Trigger("actWriteAll");
    ASSERT_EQ(State.ExchangeState, TExchState::ExchReadWrite);
    int saves = 0;
    QElapsedTimer t;
    t.start();
    while ((State.ExchangeState != TExchState::ExchIdle || Exchange->AnyRunning()) && t.elapsed() < 20000) {
        EXPECT_TRUE(Prj().SaveToPath(path));
        ++saves;
        QTest::qWait(2);
    }
    ASSERT_TRUE(WaitIdle());
    EXPECT_GT(saves, 3);
    EXPECT_TRUE(Dialogs.Asked.empty());
    const int count = State.CurDevType().ParamCount();
    Line->WithBus([count](Sim::TBus& bus) {
        int writes = 0;
        for (const QByteArray& frame : bus.Log())
            writes += frame.split(';').value(1) == "38";
        EXPECT_EQ(writes, count); // every parameter written once: the run went through
    });
}
