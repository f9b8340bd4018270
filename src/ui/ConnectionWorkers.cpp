#include "ui/ConnectionWorkers.h"

#include "exchange/DevLink.h"
#include "exchange/Workers.h"

namespace {
const QString LinkCheckText = QStringLiteral("Проверка связи с прибором...");
const QString LinkFoundText = QStringLiteral("Связь с прибором установлена!");
const QString LinkMissingText = QStringLiteral("Не удалось установить связь с прибором!");
const QString LinkErrorText = QStringLiteral("Не удалось проверить связь с прибором, ошибка: ");
constexpr int MaxVersionLength = 255;
} // namespace

TDevSetWorker::TDevSetWorker(TfrmDevSet& dialog, const TKvApi& api) : Dialog(dialog), Api(api) {}

void TDevSetWorker::run() {
    Dialog.Busy = true;
    RunOnThreadOf(&Dialog, [this] {
        Dialog.SetLocked(true);
        Dialog.SetStatus(StartText());
        if (Repaints())
            Dialog.repaint();
    });
    TDevSetInputs in;
    RunOnThreadOf(&Dialog, [this, &in] { in = Dialog.ReadInputs(UsesSearchGroup()); });
    int rc = ExFailed;
    {
        ExchangeHandle handle;
        handle.Tap = Dialog.LineTap();
        const TDevLinkCloser closer(handle);
        // Expected failures are result codes; anything thrown still ends in an error text and
        // an unlocked dialog.
        try {
            // Without a catalogue entry there is no type number to expect: nothing is opened.
            if (in.HasType) {
                rc = OpenLink(Api, in.Port, in.Speed, in.TimeOut, handle);
                if (rc == ExOk)
                    rc = Exchange(handle, in);
            }
        } catch (...) {
            rc = ExFailed;
        }
        RunOnThreadOf(&Dialog, [this, rc] {
            if (rc == ExOk)
                ShowOutcome();
            else
                Dialog.SetStatus(ErrorText() + QString::number(rc));
        });
    }
    RunOnThreadOf(&Dialog, [this] {
        Dialog.SetLocked(false);
        if (Repaints())
            Dialog.repaint();
    });
    Finish(rc);
    Dialog.Busy = false;
    Done = true;
}

QString ThreadDevCheck::StartText() const {
    return LinkCheckText;
}
QString ThreadDevCheck::ErrorText() const {
    return LinkErrorText;
}

int ThreadDevCheck::Exchange(const ExchangeHandle& handle, const TDevSetInputs& in) {
    return DevCheck(handle, in.Address, in.TypeNum, Linked);
}

void ThreadDevCheck::ShowOutcome() {
    Dialog.SetStatus(Linked ? LinkFoundText : LinkMissingText);
}

QString ThreadDevGetVersion::StartText() const {
    return LinkCheckText;
}
QString ThreadDevGetVersion::ErrorText() const {
    return LinkErrorText;
}

int ThreadDevGetVersion::Exchange(const ExchangeHandle& handle, const TDevSetInputs& in) {
    return DevGetVersion(handle, in.Address, in.TypeNum, MaxVersionLength, Linked, Version);
}

void ThreadDevGetVersion::ShowOutcome() {
    Dialog.SetStatus(Linked ? LinkFoundText : LinkMissingText);
    // An instrument that answers the identification but not the version request leaves the text
    // empty, which then matches only the base descriptions.
    if (Linked)
        Dialog.DeviceVersion = Version;
}

void ThreadDevGetVersion::Finish(int rc) {
    Dialog.LinkEstablished = rc == ExOk && Linked;
}

QString ThreadDevSearch::StartText() const {
    return QStringLiteral("Поиск приборов...");
}
QString ThreadDevSearch::ErrorText() const {
    return QStringLiteral("Поиск прерван, ошибка: ");
}

int ThreadDevSearch::Exchange(const ExchangeHandle& handle, const TDevSetInputs& in) {
    return DevSearch(handle, in.TypeNum, Found);
}

void ThreadDevSearch::ShowOutcome() {
    Dialog.ShowFound(Found);
    Dialog.SetStatus(QStringLiteral("Поиск приборов завершен!"));
}
