// A USB adapter pulled out during a run and plugged back: the simulator process on a pseudo-terminal
// is killed, then started again behind the same link path, and the user answers "Да" to the retry.
// The same for a device server that goes away (its connection is lost) and comes back on its port.
#include "TestUi.h"
#include "exchange/Measure.h"
#include "exchange/ReadWriteAll.h"
#include "sim/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString ProgDir = QStringLiteral(KESTRIN_PROGDIR);
const QString RetryRead = QStringLiteral("Ошибка чтения данных! Повторить?");

class LineBack : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Library.Load(ProgDir)) << qPrintable(Library.ErrorText());
        Link = Links.path() + QStringLiteral("/usb-adapter-if00-port0");
        Plug();
        ASSERT_TRUE(Sim->Started());
        Type.Name = QStringLiteral("Kestrin K1");
        Type.TypeNum = 21;
        Type.Dir = QStringLiteral("K1");
        Type.TimeOut = 150;
        ASSERT_TRUE(LoadDescriptions(ProgDir, Type, QString()));
        Dev = TDev(Type.ParamCount());
        Dev.COMPort = Link;
        Dev.BaudRate = 9600;
        Dev.Address = 1;
        Ui = std::make_unique<TTestUi>(ProgDir, Type, Dev);
        // While the question is on the screen the adapter is plugged back; then "Да".
        Ui->OnAsk = [this](const QString&) {
            if (Unplugged) {
                Plug();
                Unplugged = false;
            }
        };
        Ui->Answers = {true};
    }
    // The line goes away as an unplugged adapter's does; its link stays behind, dangling.
    void Unplug() {
        Sim->Stop(SIGKILL);
        Unplugged = true;
    }
    void Plug() {
        Sim.reset();
        if (NetOption.isEmpty()) {
            Sim = std::make_unique<TestSupport::TSimProcess>(
                QStringList{"--progdir", ProgDir, "--device", "1:21", "--link", Link});
            return;
        }
        // The device server comes back on the port it had (a free one the first time).
        Sim = std::make_unique<TestSupport::TSimProcess>(
            QStringList{"--progdir", ProgDir, "--device", "1:21", NetOption, QString::number(NetPort)});
        NetPort = Sim->Path().toUShort();
    }
    // The line is a device server of kestrin-sim: "--tcp" or "--rfc2217".
    void ServeOnTcp(const QString& option) {
        NetOption = option;
        NetPort = 0;
        Plug();
        Dev.COMPort = QStringLiteral("%1://127.0.0.1:%2").arg(option.mid(2)).arg(NetPort);
    }

    TKvLibrary Library;
    QTemporaryDir Links;
    QString Link;
    std::unique_ptr<TestSupport::TSimProcess> Sim;
    bool Unplugged = false;
    QString NetOption;
    uint16_t NetPort = 0;
    TDevProp Type;
    TDev Dev;
    std::atomic<bool> Stop{false};
    std::unique_ptr<TTestUi> Ui;
};
} // namespace

TEST_F(LineBack, PollingGoesOnOnTheAdapterPluggedBack) {
    Type.Channels = 1;
    Type.Tmin = 0.02;
    Ui->OnShow = [this](int, const QString&) {
        if (Ui->Shown.size() == 3)
            Unplug();
        if (Ui->Shown.size() == 6)
            Stop = true;
    };
    TMeasureRun run{
        Library.Table(), Type, Dev, *Ui, Stop, 1, [] { return std::chrono::steady_clock::now(); }, {}};
    MeasureLoop(run);
    EXPECT_EQ(Ui->Questions.size(), 1) << "the retry went to the dead port";
    EXPECT_TRUE(Ui->Questions.value(0) == RetryRead);
    EXPECT_EQ(Ui->Shown.size(), 6u);
    EXPECT_EQ(Ui->Points.size(), 6u);
    EXPECT_TRUE(Ui->Errors.isEmpty()) << qPrintable(Ui->Errors.join('\n'));
    EXPECT_EQ(Ui->Messages.last(), QStringLiteral("Измерение остановлено"));
}

TEST_F(LineBack, ReadAllGoesOnOnTheAdapterPluggedBack) {
    Ui->OnStore = [this](int) {
        if (Ui->Stored.size() == 3)
            Unplug();
    };
    TExchangeRun run{Library.Table(), Type, Dev, *Ui, Stop, 1, {}};
    ReadAll(run);
    EXPECT_EQ(Ui->Questions.size(), 1) << "the retry went to the dead port";
    EXPECT_TRUE(Ui->Questions.value(0) == RetryRead);
    EXPECT_EQ(Ui->Messages.last(), QStringLiteral("Чтение завершено"));
    EXPECT_EQ(Ui->Progress.back(), 100);
    EXPECT_TRUE(Ui->Errors.isEmpty()) << qPrintable(Ui->Errors.join('\n'));
}

TEST_F(LineBack, ReadAllGoesOnWhenTheDeviceServerComesBack) {
    for (const QString& option : {QStringLiteral("--tcp"), QStringLiteral("--rfc2217")}) {
        SCOPED_TRACE(option.toStdString());
        ServeOnTcp(option);
        ASSERT_TRUE(Sim->Started() && NetPort != 0);
        std::vector<int> lostCodes;
        Ui->Stored.clear();
        Ui->Questions.clear();
        Ui->Answers = {true};
        Ui->OnStore = [this](int) {
            if (Ui->Stored.size() == 3)
                Unplug();
        };
        TExchangeRun run{Library.Table(), Type, Dev, *Ui, Stop, 1, {}};
        run.SkipFailed = [&lostCodes](int, int code) {
            lostCodes.push_back(code);
            return false;
        };
        ReadAll(run);
        EXPECT_EQ(Ui->Questions.size(), 1) << "the retry went to the lost connection";
        EXPECT_EQ(Ui->Messages.last(), QStringLiteral("Чтение завершено"));
        EXPECT_EQ(Ui->Progress.back(), 100);
        EXPECT_TRUE(lostCodes.empty());
        EXPECT_TRUE(Ui->Errors.isEmpty()) << qPrintable(Ui->Errors.join('\n'));
    }
}
