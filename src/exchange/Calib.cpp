#include "exchange/Calib.h"

#include "exchange/DevLink.h"
#include "exchange/Exchange.h"

#include <QCoreApplication>
#include <thread>

namespace {
constexpr uint8_t CalibWriteCode = 10; // one hex byte to the calibration control location
constexpr uint8_t CalibReadCode = 6;   // the location's content as it comes
constexpr int ReadAttempts = 3;
constexpr auto TimeLimit = std::chrono::seconds(10);
constexpr auto Pause = std::chrono::milliseconds(50);

QString Busy() {
    return QCoreApplication::translate("Exchange", "Калибровка...");
}
QString NoLink() {
    return QCoreApplication::translate("Exchange", "Нет связи с прибором!");
}
QString WriteError() {
    return QCoreApplication::translate("Exchange", "Ошибка записи: %1");
}
QString ReadError() {
    return QCoreApplication::translate("Exchange", "Ошибка чтения: %1");
}
QString Stopped() {
    return QCoreApplication::translate("Exchange", "Остановлено пользователем");
}
QString Done() {
    return QCoreApplication::translate("Exchange", "Параметр откалиброван");
}
QString TimedOut() {
    return QCoreApplication::translate("Exchange", "Ошибка калибровки");
}
const QString Cleared = QStringLiteral("00");

// The command as a decimal value text; code 10 writes it as one hex byte (16 becomes 10).
QString CommandText(uint8_t kind) {
    return kind == CalibCompensator ? QStringLiteral("16") : QStringLiteral("01");
}

QString Watch(TCalibRun& run, const TDev& dev, const ExchangeHandle& h) {
    const auto now = [&run] { return run.Now ? run.Now() : std::chrono::steady_clock::now(); };
    QString value;
    const auto start = now();
    for (;;) {
        // Read once, so that the text shown matches the decision taken.
        const bool stopped = run.StopRequested;
        if (stopped || value == Cleared)
            return stopped ? Stopped() : Done();
        int rc = ExOk;
        for (int attempt = 0; attempt < ReadAttempts; ++attempt) {
            rc = ReadParam(dev, h, 0, value, CalibReadCode);
            if (rc == ExOk)
                break;
        }
        if (rc != ExOk)
            return ReadError().arg(rc);
        // Judged before the value: a "00" that comes too late is still a failed calibration.
        if (now() - start > TimeLimit)
            return TimedOut();
        if (run.Sleep)
            run.Sleep(Pause);
        else
            std::this_thread::sleep_for(Pause);
    }
}

// Open, identify, command and watch; returns the status text of the outcome. The caller closes h.
QString Command(TCalibRun& run, ExchangeHandle& h) {
    const TDevProp& type = run.State.CurDevType();
    const TDev& dev = run.State.CurDev();
    h.Tap = &run.State.LineTap;
    int rc = OpenDevLink(run.Api, dev, type, h);
    if (rc != ExOk)
        return WriteError().arg(rc);
    bool linked = false;
    rc = DevCheck(h, dev.Address, type.TypeNum, linked);
    if (rc != ExOk || !linked)
        return NoLink();
    rc = WriteParam(dev, h, 0, 0, CommandText(run.Kind), CalibWriteCode);
    if (rc != ExOk)
        return WriteError().arg(rc);
    return Watch(run, dev, h);
}
} // namespace

QString CalibLoop(TCalibRun& run) {
    run.Ui.SetCalibBusy(true, run.Kind);
    run.Ui.ShowStatus(Busy());
    QString status;
    if (!run.State.HasCurType()) {
        // A program without catalogue entries has no device to talk to.
        status = NoLink();
        run.Ui.ShowStatus(status);
    } else {
        ExchangeHandle h;
        const TDevLinkCloser closer(h); // on every path, after the outcome is shown
        status = Command(run, h);
        run.Ui.ShowStatus(status);
    }
    run.Ui.SetCalibBusy(false, run.Kind);
    return status;
}
