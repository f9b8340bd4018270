// Read-all, edit, write-all and read-all again through the main window's workers, against the
// simulator on a pseudo-terminal.
#include "MainFixture.h"
#include "SimLine.h"
#include "chart/Chart.h"
#include "common/Numbers.h"
#include "exchange/Exchange.h"
#include "formats/Commissioning.h"
#include "formats/DevTableGrid.h"
#include "formats/ParamSetFile.h"
#include "formats/ValueSetFile.h"
#include "ui/DevTable.h"
#include "ui/DevTableFiles.h"
#include "ui/MainExchange.h"
#include "ui/MeasureView.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <set>

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

TEST_F(ExchangeWindow, WriteAllRecordsWhatChangedSinceTheReadAndTheReportExportsIt) {
    // The user's data folder of this test, given back however the test ends.
    struct TDataHome {
        QTemporaryDir Dir;
        QByteArray Old = qgetenv("XDG_DATA_HOME");
        TDataHome() { qputenv("XDG_DATA_HOME", Dir.path().toUtf8()); }
        ~TDataHome() { qputenv("XDG_DATA_HOME", Old); }
    } home;
    const QString record = home.Dir.path() + "/kestrin/commissioning.jsonl";
    StartAll({{1, 21, QString(), 0}});
    TfrmDev& table = DevView();
    Trigger("actDevDef");

    // Refused before sending (the user says No): nothing is recorded.
    State.Settings.Confirm = true;
    Dialogs.Answers = {TMsgAnswer::No};
    Trigger("actWriteAll");
    ASSERT_TRUE(WaitIdle());
    State.Settings.Confirm = false;
    EXPECT_FALSE(QFileInfo::exists(record));

    Trigger("actReadAll");
    ASSERT_TRUE(WaitIdle());
    int real = -1;
    for (int i = State.CurDevType().ParamCount() - 1; i >= 0 && real < 0; --i)
        if (State.CurDevType().Param(i).VType == 3 && State.CurDevType().Param(i).SType == 0)
            real = i;
    ASSERT_GE(real, 0);
    const QString before = table.CellText(1, real + 1);
    ASSERT_NE(before, "2.25");
    table.SetCellText(1, real + 1, "2.25");
    Trigger("actWriteAll");
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Pane("spMessage"), QStringLiteral("Запись завершена"));
    EXPECT_TRUE(Dialogs.Asked.size() == 1) << "only the declined confirmation was asked";

    TCommissionLog log = ReadCommissionLog(record);
    ASSERT_EQ(log.Entries.size(), 1u);
    const TCommissionEntry& e = log.Entries[0];
    EXPECT_EQ(e.Program, QStringLiteral("kestrin"));
    EXPECT_EQ(e.Port, Line->Port());
    EXPECT_EQ(e.Address, 1);
    EXPECT_TRUE(e.ReadBefore);
    EXPECT_FALSE(e.Interrupted);
    EXPECT_EQ(e.Verification, TVerification::NotVerified);
    ASSERT_EQ(e.Changes.size(), 1u);
    EXPECT_EQ(e.Changes[0].Name, State.CurDevType().Param(real).Name);
    EXPECT_EQ(e.Changes[0].Before, before);
    EXPECT_EQ(e.Changes[0].After, "2.25");

    // Written again unchanged: the instrument already holds these values, so nothing changed.
    Trigger("actWriteAll");
    ASSERT_TRUE(WaitIdle());
    log = ReadCommissionLog(record);
    ASSERT_EQ(log.Entries.size(), 2u);
    EXPECT_TRUE(log.Entries[1].Changes.empty());

    // The report of the record, into the page the user chose.
    const QString page = Dir.path() + "/report.html";
    Dialogs.FileNames.push_back(page);
    ASSERT_TRUE(Trigger("actCommReport"));
    QFile f(page);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(html.contains(State.CurDevType().Param(real).Name) && html.contains("2.25"));
    EXPECT_EQ(html.count("<div class=\"device\">"), 2);
    EXPECT_TRUE(Pane("spMessage").contains(QStringLiteral("Отчет о наладке записан")))
        << Pane("spMessage").toStdString();
}

TEST_F(ExchangeWindow, ComparedWithAFileReadsFirstMarksTheDifferencesAndTakesThemForWriteAll) {
    StartAll({{1, 21, QString(), 0}});
    TfrmDev& table = DevView();
    const TDevProp& type = *State.DevTypes[0];
    // The instrument starts with the factory values: the file is those, as a read gives them (bit
    // strings as they are: no read gives them), with a few rows changed.
    QStringList values;
    for (int i = 0; i < type.ParamCount(); ++i) {
        const TParam& p = type.Param(i);
        values << (p.VType == KBitStringCode ? p.Value : ExpectedReadBack(p, p.Value));
    }
    std::vector<int> reals;
    int menu = -1, check = -1, bits = -1;
    for (int i = 0; i < type.ParamCount(); ++i) {
        const TParam& p = type.Param(i);
        const auto v = Numbers::ParseFloat(p.Value);
        if (p.VType == 3 && p.SType == 0 && v && std::abs(*v) >= 1)
            reals.push_back(i);
        else if (p.SType == 1 && p.Name != SpeedParamName && menu < 0)
            menu = i;
        else if (p.SType == 2 && i != type.SqrtIndex && i != type.SqrtLinIndex && check < 0)
            check = i;
        else if (p.VType == KBitStringCode && bits < 0)
            bits = i;
    }
    ASSERT_GE(reals.size(), 2u);
    ASSERT_GE(menu, 0);
    ASSERT_GE(check, 0);
    ASSERT_GE(bits, 0);
    const int real = reals[0], fine = reals[1], addr = IndexOf(NetAddressParamName);
    ASSERT_NE(values[real], "2.25");
    values[real] = "2.25";
    // Differs only below a single's precision: the instrument would store the same value.
    values[fine] = QString::number(values[fine].toDouble() * (1 + 1e-9), 'g', 12);
    ASSERT_NE(values[fine], ExpectedReadBack(type.Param(fine), type.Param(fine).Value));
    const int option = values[menu] == "1" ? 0 : 1;
    values[menu] = QString::number(option);
    values[check] = values[check] == "1" ? "0" : "1";
    values[addr] = "5"; // marked, never taken: the instrument stays at its address
    values[bits] = values[bits] == "1010" ? "0101" : "1010";
    const QString set = Dir.path() + "/set." + type.DevExt;
    ASSERT_TRUE(WriteParamSetFile(DevTableGridFromValues(type, values), set).Ok);

    // Nothing read yet: the comparison offers the read first; No compares nothing, sends nothing.
    Dialogs.FileNames = {set};
    Dialogs.Answers = {TMsgAnswer::No};
    ASSERT_TRUE(Trigger("actDevCompare"));
    ASSERT_EQ(Dialogs.FileDialogs.size(), 1u);
    EXPECT_TRUE(Dialogs.FileDialogs[0].Filters.join(" ").contains("*.json"));
    EXPECT_TRUE(Dialogs.FileDialogs[0].Filters.join(" ").contains("*." + type.DevExt));
    EXPECT_EQ(Dialogs.Asked.size(), 1u);
    EXPECT_EQ(State.ExchangeState, TExchState::ExchIdle);
    Line->WithBus([](Sim::TBus& bus) { EXPECT_TRUE(bus.Log().empty()); });

    // Yes: the normal read-all, then the comparison; Yes again takes the file's values.
    Dialogs.FileNames = {set};
    Dialogs.Answers = {TMsgAnswer::Yes, TMsgAnswer::Yes};
    Dialogs.Asked.clear();
    ASSERT_TRUE(Trigger("actDevCompare"));
    ASSERT_TRUE(WaitIdle());
    QTRY_COMPARE_WITH_TIMEOUT(Dialogs.Asked.size(), size_t(2), 5000);
    const QString report = Dialogs.Asked[1].Text;
    EXPECT_TRUE(report.contains(QStringLiteral("различий: 4."))) << report.toStdString();
    EXPECT_TRUE(report.contains(
        QStringLiteral("\"%1\" = %2 в файле: не сравнено").arg(type.Param(bits).Name, values[bits])))
        << report.toStdString();
    EXPECT_EQ(Dialogs.Asked[1].Buttons, TMsgButtons::YesNo);
    for (int i = 0; i < type.ParamCount(); ++i)
        EXPECT_EQ(table.IsMarkedDifferent(i), i == real || i == menu || i == check || i == addr) << i;
    EXPECT_EQ(table.DifferenceText(real),
              QStringLiteral("было: %1").arg(ExpectedReadBack(type.Param(real), type.Param(real).Value)));
    EXPECT_EQ(table.DifferenceText(addr), QStringLiteral("в файле: 5"));
    EXPECT_EQ(table.CellText(1, real + 1), "2.25");
    EXPECT_EQ(table.CellText(1, menu + 1), type.Param(menu).Menu->at(option));
    EXPECT_EQ(table.IsChecked(1, check + 1), values[check] == "1");
    EXPECT_EQ(table.CellText(1, addr + 1), "1");
    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);
    // Marks are the screen's alone: a saved set or an export of the table carries the values only.
    EXPECT_EQ(GridFromTable(table, &type).Cell(0, real + 1).Text, " " + type.Param(real).Name);

    // Write-all writes exactly the taken values into the instrument's memory.
    const auto memory = [this] {
        return Line->WithBus([](Sim::TBus& bus) { return bus.Instrument(0).Memory; });
    };
    const std::map<QByteArray, QByteArray> before = memory();
    Trigger("actWriteAll");
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Pane("spMessage"), QStringLiteral("Запись завершена"));
    const std::map<QByteArray, QByteArray> after = memory();
    const auto location = [&](int i) { return ("0001" + HexAddress(type.Param(i).Address)).toLatin1(); };
    // Among the parameters' locations (bit strings go out as bare locations of their own, never a value).
    std::set<QByteArray> changed;
    for (int i = 0; i < type.ParamCount(); ++i)
        if (const QByteArray loc = location(i); before.count(loc) == 0 || after.at(loc) != before.at(loc))
            changed.insert(loc);
    EXPECT_EQ(changed, (std::set<QByteArray>{location(real), location(menu), location(check)}));
    EXPECT_EQ(Memory(real), "00001040"); // 2.25 as a single, least significant byte first

    // A kestrin-cli read of two instruments: the one at the window's address is compared, and finds
    // the instrument as the file but for the address. A ticked box read as 7 is the table's tick.
    const auto document = [&](int address, const QString& typeName, const QStringList& v) {
        QJsonArray params;
        for (int i = 0; i < type.ParamCount(); ++i)
            params.append(QJsonObject{{"name", type.Param(i).Name}, {"value", v[i]}});
        return QJsonObject{{"address", address}, {"type", typeName}, {"version", ""}, {"parameters", params}};
    };
    int ticked = -1;
    for (int i = 0; i < type.ParamCount() && ticked < 0; ++i)
        if (type.Param(i).SType == 2 && values[i] == "1")
            ticked = i;
    ASSERT_GE(ticked, 0);
    QStringList read = values, elsewhere = values;
    read[ticked] = "7";
    elsewhere[real] = "3.5";
    const QString two = Dir.path() + "/two.json";
    TestUtil::WriteBytes(two,
                         QJsonDocument(QJsonObject{{"devices", QJsonArray{document(2, type.Name, elsewhere),
                                                                          document(1, type.Name, read)}}})
                             .toJson());
    Dialogs.FileNames = {two};
    Dialogs.Asked.clear();
    // A read-all clears the marks.
    Trigger("actReadAll");
    ASSERT_TRUE(WaitIdle());
    for (int i = 0; i < type.ParamCount(); ++i)
        EXPECT_FALSE(table.IsMarkedDifferent(i)) << i;
    ASSERT_TRUE(Trigger("actDevCompare"));
    ASSERT_EQ(Dialogs.Asked.size(), 1u);
    EXPECT_TRUE(Dialogs.Asked[0].Text.contains(QStringLiteral("различий: 1.")))
        << Dialogs.Asked[0].Text.toStdString();
    EXPECT_TRUE(table.IsMarkedDifferent(addr));
    EXPECT_EQ(Dialogs.Asked[0].Buttons, TMsgButtons::Ok); // nothing to take: the address never is

    // Another type's file, or one that is no file of values: said so, nothing compared, no marks.
    const QString other = Dir.path() + "/other.json";
    TestUtil::WriteBytes(other, QJsonDocument(document(1, State.DevTypes[1]->Name, values)).toJson());
    const QString broken = Dir.path() + "/broken.json";
    TestUtil::WriteBytes(broken, "{\"devices\": [");
    for (const QString& file : {other, broken}) {
        Dialogs.FileNames = {file};
        Dialogs.Asked.clear();
        ASSERT_TRUE(Trigger("actDevCompare"));
        ASSERT_EQ(Dialogs.Asked.size(), 1u);
        const QString said = Dialogs.Asked[0].Text;
        EXPECT_TRUE(said.contains(QStringLiteral("ничего не сравнено"))) << said.toStdString();
        EXPECT_FALSE(said.contains(QStringLiteral("различий"))) << said.toStdString();
        for (int i = 0; i < type.ParamCount(); ++i)
            EXPECT_FALSE(table.IsMarkedDifferent(i)) << i;
    }
    EXPECT_TRUE(Dialogs.Asked[0].Text.contains(QStringLiteral("JSON")));
    Dialogs.FileNames = {other};
    Dialogs.Asked.clear();
    Trigger("actDevCompare");
    EXPECT_TRUE(Dialogs.LastText().contains(State.DevTypes[1]->Name) &&
                Dialogs.LastText().contains(type.Name))
        << Dialogs.LastText().toStdString();
}
