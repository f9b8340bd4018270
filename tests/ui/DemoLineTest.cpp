// The program's own wiring on the demo line SIM1 of the real exchange library: a new project
// through the connection dialog, a search, read-all and a measurement.
#include "MainFixture.h"
#include "chart/Chart.h"
#include "exchange/KvLibrary.h"
#include "exchange/PortList.h"
#include "ui/ConnectionDialog.h"
#include "ui/DevTable.h"
#include "ui/MainExchange.h"
#include "ui/MeasureView.h"

#include "FullDisk.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

namespace {
class DemoLine : public MainFixture {
protected:
    TKvLibrary Library;
    std::unique_ptr<TMainExchange> Exchange;
    TfrmDevSet* DevSet = nullptr;

    bool StartProgram() {
        State.ProgDir = ProgDir;
        Main = std::make_unique<TfrmMain>(State, Dialogs);
        Main->LoadPortList = [this](TAppState& s) {
            if (!Library.Load(s.ProgDir))
                return false;
            LoadPortList(Library.Table(), s.PortList, s.SpeedList, Main.get());
            return true;
        };
        if (!Main->FormCreate())
            return false;
        Exchange = std::make_unique<TMainExchange>(*Main, Library.Table());
        Main->CreateDialogs();
        DevSet = new TfrmDevSet(*Main, State, Dialogs, Library.Table(), Main.get());
        Main->ShowDevSetDialog = [this] { return DevSet->Execute(); };
        return true;
    }
    void TearDown() override {
        Exchange.reset();
        MainFixture::TearDown();
    }
    bool WaitFor(const std::function<bool()>& done, int ms = 20000) {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > ms)
                return false;
            QTest::qWait(10);
        }
        return true;
    }
};
} // namespace

TEST_F(DemoLine, NewProjectSearchReadAllAndMeasureOnSim1) {
    ASSERT_TRUE(StartProgram()) << Library.ErrorText().toStdString();
    ASSERT_TRUE(State.PortList.contains("SIM1"));
    ASSERT_EQ(State.SpeedList.size(), 7);
    State.Settings.Confirm = false;

    // The dialog: SIM1 at 9600, address 1; search first, then OK with the version query.
    QTimer::singleShot(0, DevSet, [this] {
        const int port = Control<QComboBox>(DevSet, "Combo1")->findText("SIM1");
        Control<QComboBox>(DevSet, "Combo1")->setCurrentIndex(port);
        Control<QComboBox>(DevSet, "Combo2")
            ->setCurrentIndex(Control<QComboBox>(DevSet, "Combo2")->findText("9600"));
        Control<QComboBox>(DevSet, "Combo4")->setCurrentIndex(port);
        Control<QComboBox>(DevSet, "Combo5")
            ->setCurrentIndex(Control<QComboBox>(DevSet, "Combo5")->findText("9600"));
        Control<QPushButton>(DevSet, "btnSearch")->click();
        QTimer::singleShot(0, DevSet, [this] {
            ASSERT_TRUE(WaitFor(
                [this] { return !DevSet->Busy && Control<QPushButton>(DevSet, "btnOk")->isEnabled(); }));
            QStringList found;
            for (int i = 0; i < Control<QComboBox>(DevSet, "Combo6")->count(); ++i)
                found << Control<QComboBox>(DevSet, "Combo6")->itemText(i);
            EXPECT_EQ(found, QStringList({"1", "2"})); // the instrument at 5 is of another type
            Control<QPushButton>(DevSet, "btnOk")->click();
        });
    });
    Trigger("actNew");
    ASSERT_EQ(State.PrjState, TPrjState::PrjSaved) << Dialogs.LastText().toStdString();
    EXPECT_EQ(State.CurDev().COMPort, "SIM1");

    Trigger("actDevDef");
    Trigger("actReadAll");
    ASSERT_TRUE(
        WaitFor([this] { return State.ExchangeState == TExchState::ExchIdle && !Exchange->AnyRunning(); }));
    EXPECT_EQ(Pane("spMessage"), QStringLiteral("Чтение завершено"));
    EXPECT_EQ(DevView().CellText(1, 1), "1"); // the network address the instrument reports

    State.CurDevType().Tmin = 0.05;
    Widget<QTabWidget>("pcMain")->setCurrentIndex(2);
    Control<QPushButton>(&MeasureView(), "btnMeasure")->click();
    EXPECT_TRUE(WaitFor([this] { return Control<TChart>(&MeasureView(), "Chart")->Series(0).Count() >= 2; }));
    Control<QPushButton>(&MeasureView(), "btnMeasureStop")->click();
    ASSERT_TRUE(
        WaitFor([this] { return State.ExchangeState == TExchState::ExchIdle && !Exchange->AnyRunning(); }));
    EXPECT_EQ(Pane("spMessage"), QStringLiteral("Измерение остановлено"));
}

// Recording the measurement onto a disk that fills up: the user is told once, the polling and the
// chart go on, the file ends in a whole line; the record file is the project's and comes back
// with it.
TEST_F(DemoLine, RecordingOntoAFullDiskIsToldOnceAndThePollingGoesOn) {
    TFullDisk disk(64);
    if (!disk.Ok())
        GTEST_SKIP() << disk.WhyNot().toStdString();
    ASSERT_TRUE(StartProgram()) << Library.ErrorText().toStdString();
    QTimer::singleShot(0, DevSet, [this] {
        Control<QComboBox>(DevSet, "Combo1")
            ->setCurrentIndex(Control<QComboBox>(DevSet, "Combo1")->findText("SIM1"));
        Control<QComboBox>(DevSet, "Combo2")
            ->setCurrentIndex(Control<QComboBox>(DevSet, "Combo2")->findText("9600"));
        ASSERT_TRUE(
            WaitFor([this] { return !DevSet->Busy && Control<QPushButton>(DevSet, "btnOk")->isEnabled(); }));
        Control<QPushButton>(DevSet, "btnOk")->click();
    });
    Trigger("actNew");
    ASSERT_EQ(State.PrjState, TPrjState::PrjSaved) << Dialogs.LastText().toStdString();
    State.CurDevType().Tmin = 0.05;
    Widget<QTabWidget>("pcMain")->setCurrentIndex(2);
    TfrmMeasure& view = MeasureView();
    State.PrjState =
        TPrjState::PrjSaved; // the page switch is a change; only the record file's choice is looked at

    Dialogs.FileNames.push_back(disk.Path("pump.csv"));
    Control<QCheckBox>(&view, "cbRecord")->click();
    EXPECT_TRUE(Control<QCheckBox>(&view, "cbRecord")->isChecked());
    EXPECT_EQ(State.RecordFile, disk.Path("pump.csv"));
    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);
    Control<QPushButton>(&view, "btnMeasure")->click();
    ASSERT_TRUE(WaitFor([&] {
        return Control<TChart>(&view, "Chart")->PointCount() >= 8 && !view.RecordingFile().isEmpty();
    }));
    const QString file = view.RecordingFile();
    ASSERT_TRUE(disk.Fill());
    const QString told = QStringLiteral("Запись измерения в файл прекращена");
    const auto toldCount = [&] {
        return std::count_if(Dialogs.Asked.begin(), Dialogs.Asked.end(),
                             [&](const TAskedMessage& m) { return m.Text.startsWith(told); });
    };
    ASSERT_TRUE(WaitFor([&] { return toldCount() > 0; }));
    EXPECT_TRUE(Dialogs.LastText().contains(QStringLiteral("нет места"))) << Dialogs.LastText().toStdString();
    EXPECT_FALSE(Control<QCheckBox>(&view, "cbRecord")->isChecked());
    const qlonglong atFailure = Control<TChart>(&view, "Chart")->PointCount();
    EXPECT_TRUE(WaitFor([&] { return Control<TChart>(&view, "Chart")->PointCount() >= atFailure + 20; }))
        << "the polling stopped";
    EXPECT_EQ(toldCount(), 1);
    EXPECT_EQ(State.ExchangeState, TExchState::ExchMeasure);
    Control<QPushButton>(&view, "btnMeasureStop")->click();
    ASSERT_TRUE(
        WaitFor([this] { return State.ExchangeState == TExchState::ExchIdle && !Exchange->AnyRunning(); }));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.endsWith('\n'));
    EXPECT_GE(text.count('\n'), 8 + 9); // the header and the readings before the disk filled

    // The record file belongs to the project: saved with it and back when it is opened.
    QTemporaryDir dir;
    const QString project = dir.filePath("pump.prj");
    ASSERT_TRUE(Prj().SaveToPath(project));
    Trigger("actClose");
    EXPECT_TRUE(State.RecordFile.isEmpty());
    ASSERT_TRUE(Prj().OpenFile(project));
    EXPECT_EQ(State.RecordFile, disk.Path("pump.csv"));
}

// The window on lines behind device servers: the [Net] names of kvcom.ini are offered by the
// connection dialog like serial ports, and read-all goes through them, raw TCP and RFC 2217 alike,
// with the name on every parcel the line monitor gets.
TEST_F(DemoLine, ReadAllOverNamedNetworkPorts) {
    const QString sim = QStringLiteral(KESTRIN_PROGDIR) + "kestrin-sim";
    std::vector<std::unique_ptr<QProcess>> servers;
    QByteArray net = "\r\n[Net]\r\n";
    for (const QString& scheme : {QStringLiteral("tcp"), QStringLiteral("rfc2217")}) {
        auto& p = *servers.emplace_back(std::make_unique<QProcess>());
        p.start(sim, {"--progdir", QStringLiteral(KESTRIN_PROGDIR), "--" + scheme, "0", "--device", "1:21"});
        ASSERT_TRUE(p.waitForStarted(5000));
        while (!p.canReadLine() && p.waitForReadyRead(5000)) {
        }
        const QStringList banner = QString::fromUtf8(p.readLine()).trimmed().split(' ');
        ASSERT_EQ(banner.size(), 2) << banner.join(' ').toStdString();
        net += QStringLiteral("NET%1=%2://127.0.0.1:%3\r\n")
                   .arg(servers.size())
                   .arg(scheme, banner[1])
                   .toLatin1();
    }
    QFile ini(ProgDir + "kvcom.ini");
    ASSERT_TRUE(ini.open(QIODevice::Append));
    ini.write(net);
    ini.close();
    struct TPorts : ILineTap {
        QStringList Seen;
        void Parcel(const TLineEvent& e) override { Seen << e.Port; }
    } tap;
    ASSERT_TRUE(StartProgram()) << Library.ErrorText().toStdString();
    State.LineTap.Attach(&tap);
    for (const QString& name : {QStringLiteral("NET1"), QStringLiteral("NET2")}) {
        SCOPED_TRACE(name.toStdString());
        tap.Seen.clear();
        QTimer::singleShot(0, DevSet, [this, name] {
            ASSERT_GE(Control<QComboBox>(DevSet, "Combo1")->findText(name), 0);
            Control<QComboBox>(DevSet, "Combo1")
                ->setCurrentIndex(Control<QComboBox>(DevSet, "Combo1")->findText(name));
            Control<QComboBox>(DevSet, "Combo2")
                ->setCurrentIndex(Control<QComboBox>(DevSet, "Combo2")->findText("9600"));
            ASSERT_TRUE(WaitFor(
                [this] { return !DevSet->Busy && Control<QPushButton>(DevSet, "btnOk")->isEnabled(); }));
            Control<QPushButton>(DevSet, "btnOk")->click();
        });
        Trigger("actNew");
        ASSERT_EQ(State.PrjState, TPrjState::PrjSaved) << Dialogs.LastText().toStdString();
        EXPECT_EQ(State.CurDev().COMPort, name);
        Trigger("actReadAll");
        ASSERT_TRUE(WaitFor(
            [this] { return State.ExchangeState == TExchState::ExchIdle && !Exchange->AnyRunning(); }));
        EXPECT_EQ(Pane("spMessage"), QStringLiteral("Чтение завершено"));
        EXPECT_GT(tap.Seen.size(), 20);
        EXPECT_EQ(tap.Seen.count(name), tap.Seen.size());
        State.PrjState = TPrjState::PrjSaved; // the read changed it: closed without the question
        Trigger("actClose");
    }
    State.LineTap.Detach(&tap);
    for (auto& p : servers) {
        p->kill();
        p->waitForFinished(5000);
    }
}
