#include "ui/MainExchange.h"

#include "exchange/CodeMeaning.h"
#include "exchange/Measure.h"
#include "exchange/PortAccess.h"
#include "exchange/ReadWriteAll.h"
#include "exchange/Workers.h"
#include "ui/ChanTable.h"
#include "ui/DevTable.h"
#include "ui/MeasureView.h"

namespace {
enum { KindDevRead, KindDevWrite, KindAllRead, KindAllWrite, KindMeasure };
} // namespace

TMainExchange::TMainExchange(TfrmMain& main, const TKvApi& api) : QObject(&main), Main(main), Api(api) {
    connect(&main, &TfrmMain::StartExchange, this, &TMainExchange::Start);
    connect(&main, &TfrmMain::WaitForWorkers, this, &TMainExchange::WaitForWorkers);
    connect(this, &TMainExchange::Running, &main, &TfrmMain::ExchangeRunning);
    connect(main.frmMeasure, &TfrmMeasure::MeasureClicked, this,
            [this] { Start(TExchangeCommand::Measure); });
    connect(main.frmMeasure, &TfrmMeasure::MeasureStopClicked, this,
            [this] { Main.State.MeasureStop = true; });
}

TMainExchange::~TMainExchange() {
    // The window is going away: no worker may outlive it.
    Main.State.ReadStop = true;
    Main.State.WriteStop = true;
    Main.State.MeasureStop = true;
    WaitForWorkers();
}

void TMainExchange::Start(TExchangeCommand command) {
    TAppState& s = Main.State;
    if (!s.HasCurType() || s.ExchangeState != TExchState::ExchIdle || !Api.IsComplete())
        return;
    TExchangeWorker::TJob job;
    job.UiContext = &Main;
    job.Priority = QThread::TimeCriticalPriority; // the line waits for no one
    job.ReportError = [this](const QString& error) {
        Main.Dialogs.Message(tr("Непредвиденная ошибка при обмене с прибором:\r%1").arg(error), tr("Ошибка"),
                             TMsgButtons::Ok);
    };
    const auto readAll = [this] {
        TAppState& st = Main.State;
        TExchangeRun run{Api,         st.CurDevType(),    st.CurDev(), *this,
                         st.ReadStop, st.Settings.ReRead, st.SpeedList};
        run.Tap = &st.LineTap;
        ReadAll(run);
    };
    const auto writeAll = [this] {
        TAppState& st = Main.State;
        TExchangeRun run{Api,          st.CurDevType(),     st.CurDev(), *this,
                         st.WriteStop, st.Settings.ReWrite, st.SpeedList};
        run.Tap = &st.LineTap;
        // A project save during the run rebuilds the values on this window's thread: the worker
        // writes from a copy taken there.
        run.TakeValues = [this] {
            QStringList values;
            Ui([&] { values = Main.State.CurDev().Values; });
            return values;
        };
        WriteAll(run);
    };
    int kind = 0;
    std::unique_ptr<TExchangeWorker> worker;
    switch (command) {
    case TExchangeCommand::DevRead:
        kind = KindDevRead;
        job.Stop = &s.ReadStop;
        job.Lock = [this, command](bool on) { Lock(command, on); };
        job.Operation = readAll;
        worker = std::make_unique<ThreadDevRead>(std::move(job));
        break;
    case TExchangeCommand::DevWrite:
        kind = KindDevWrite;
        job.Stop = &s.WriteStop;
        job.Lock = [this, command](bool on) { Lock(command, on); };
        job.Operation = writeAll;
        worker = std::make_unique<ThreadDevWrite>(std::move(job));
        break;
    case TExchangeCommand::ReadAll:
        kind = KindAllRead;
        job.Stop = &s.ReadStop;
        job.Lock = [this, command](bool on) { Lock(command, on); };
        job.Operation = readAll;
        job.SkipWhenStopped = true;
        worker = std::make_unique<ThreadAllRead>(std::move(job));
        break;
    case TExchangeCommand::WriteAll:
        kind = KindAllWrite;
        job.Stop = &s.WriteStop;
        job.Lock = [this, command](bool on) { Lock(command, on); };
        job.Operation = writeAll;
        job.SkipWhenStopped = true;
        worker = std::make_unique<ThreadAllWrite>(std::move(job));
        break;
    case TExchangeCommand::Measure:
        kind = KindMeasure;
        job.Stop = &s.MeasureStop;
        job.Lock = [this, command](bool on) { Lock(command, on); };
        job.Operation = [this] {
            TAppState& st = Main.State;
            TMeasureRun run{Api, st.CurDevType(), st.CurDev(), *this, st.MeasureStop, st.Settings.ReRead, {},
                            {}};
            run.Now = [] { return std::chrono::steady_clock::now(); };
            run.Tap = &st.LineTap;
            MeasureLoop(run);
        };
        worker = std::make_unique<ThreadMeasure>(std::move(job));
        break;
    }
    // The previous worker of this kind has unlocked (the exchange is idle), so it has no hand-over
    // left and ends at once; release it now.
    if (Workers[static_cast<size_t>(kind)])
        Workers[static_cast<size_t>(kind)]->wait();
    // Taken here, before the thread runs: a second start finds ExchangeState set and is refused.
    worker->Claim();
    Workers[static_cast<size_t>(kind)] = std::move(worker);
    Workers[static_cast<size_t>(kind)]->start();
}

bool TMainExchange::AnyRunning() const {
    for (const auto& w : Workers)
        if (w && w->isRunning())
            return true;
    return false;
}

void TMainExchange::WaitForWorkers() {
    TExchangeWorker::Await([this] {
        std::vector<TExchangeWorker*> all;
        for (const auto& w : Workers)
            all.push_back(w.get());
        return all;
    });
}

void TMainExchange::Lock(TExchangeCommand command, bool on) {
    const TExchState held =
        command == TExchangeCommand::Measure ? TExchState::ExchMeasure : TExchState::ExchReadWrite;
    Main.State.ExchangeState = on ? held : TExchState::ExchIdle;
    emit Running(on ? std::optional<TExchangeCommand>(command) : std::nullopt);
}

void TMainExchange::Ui(const std::function<void()>& fn) {
    RunOnThreadOf(&Main, fn);
}

void TMainExchange::ShowMessage(const QString& text) {
    Ui([&] { Main.ShowMessage(text); });
}

void TMainExchange::ShowExchangeStatus(const QString& text) {
    Ui([&] { Main.ShowExchangeStatus(text); });
}

void TMainExchange::ShowProgress(bool on) {
    Ui([&] { Main.ShowProgress(on); });
}

void TMainExchange::SetProgress(int percent) {
    Ui([&] { Main.SetProgress(percent); });
}

bool TMainExchange::AskYesNo(const QString& text, const QString& caption) {
    bool yes = false;
    Ui([&] { yes = Main.Dialogs.Message(text, caption, TMsgButtons::YesNo) == TMsgAnswer::Yes; });
    return yes;
}

void TMainExchange::ShowError(const QString& text, const QString& caption) {
    // The text keeps its bare code; what the code means goes to the box's details.
    const int code = TrailingResultCode(text);
    QString details = ResultCodeDetails(code);
    Ui([&] {
        // A port the user may not open: which group owns it and the command that joins that group.
        if (code == KV_ERR_PERMISSION && Main.State.HasCurType())
            details += QStringLiteral("\n\n") + PortPermissionHelp(Main.State.CurDev().COMPort);
        if (details.isEmpty())
            Main.Dialogs.Message(text, caption, TMsgButtons::Ok);
        else
            Main.Dialogs.MessageWithDetails(text, caption, TMsgButtons::Ok, details);
    });
}

void TMainExchange::StoreValue(int index, const QString& value) {
    Ui([&] {
        TDev& dev = Main.State.CurDev();
        if (index < 0 || index >= dev.Values.size())
            return;
        dev.Values[index] = value;
        Main.frmDev->ShowParamRow(dev, index);
    });
}

void TMainExchange::TableToValues() {
    Ui([&] { Main.frmDev->TableToValues(Main.State.CurDev()); });
}

int TMainExchange::FirstEmptyValue() {
    int k = -1;
    Ui([&] { k = Main.frmDev->FirstEmptyValue(Main.State.CurDev()); });
    return k;
}

void TMainExchange::NotDelivered(int index) {
    Ui([&] { Main.frmDev->NotReadFromDevice(Main.State.CurDev(), index); });
}

bool TMainExchange::ReloadDescriptions(const QString& version) {
    bool ok = false;
    Ui([&] {
        TAppState& s = Main.State;
        ok = Reload(s.ProgDir, s.CurDevType(), s.CurDev(), version);
        if (ok) {
            Main.ApplyDevType(s.CurDevType());
            Main.frmDev->ValuesToTable(s.CurDev());
        }
    });
    return ok;
}

void TMainExchange::SetDevAddress(uint8_t address) {
    Ui([&] { Main.State.CurDev().Address = address; });
}

void TMainExchange::SetDevBaudRate(uint16_t baudRate) {
    Ui([&] { Main.State.CurDev().BaudRate = baudRate; });
}

void TMainExchange::ClearSeries() {
    Ui([&] { Main.frmMeasure->ClearSeries(); });
}

void TMainExchange::SwitchAutoScaleOn() {
    Ui([&] { Main.frmMeasure->SwitchAutoScaleOn(); });
}

bool TMainExchange::ChannelSelected(int k) {
    bool on = false;
    Ui([&] { on = Main.frmMeasure->ChannelSelected(k); });
    return on;
}

void TMainExchange::ShowValue(int k, const QString& text) {
    Ui([&] { Main.frmMeasure->ShowValue(k, text); });
}

void TMainExchange::AddPoint(int k, double minutes, double value) {
    Ui([&] { Main.frmMeasure->AddPoint(k, minutes, value); });
}

void TMainExchange::ReadingFailed(int k) {
    Ui([&] { Main.frmMeasure->ReadingFailed(k); });
}
