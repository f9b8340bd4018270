#include "ui/ConnectionWorkers.h"

#include "exchange/DevLink.h"
#include "exchange/Exchange.h"
#include "ui/ConnectionDialog.h"

#include <QStringList>
#include <memory>

namespace {
QString LinkCheckText() {
    return TfrmDevSet::tr("Проверка связи с прибором...");
}
QString LinkFoundText() {
    return TfrmDevSet::tr("Связь с прибором установлена!");
}
QString LinkMissingText() {
    return TfrmDevSet::tr("Не удалось установить связь с прибором!");
}
QString LinkErrorText() {
    return TfrmDevSet::tr("Не удалось проверить связь с прибором, ошибка: ");
}
constexpr int MaxVersionLength = 255;

// What tells the three workers apart.
struct TDevSetOperation {
    QString StartText;
    QString ErrorText;
    bool SearchGroup = false;
    // The version query repaints the dialog, whose thread is waiting for it.
    bool Repaints = false;
    // The parcel operation, on the worker's thread.
    std::function<int(const ExchangeHandle&, const TDevSetInputs&)> Exchange;
    // Outcome of a run that ended with result 0, on the user-interface thread.
    std::function<void()> ShowOutcome;
    // Last step of the run with its result, on the worker's thread.
    std::function<void(int)> Finish;
};

TExchangeWorker::TJob DevSetJob(TfrmDevSet& dialog, const TKvApi& api, TDevSetOperation op) {
    TExchangeWorker::TJob job;
    job.UiContext = &dialog;
    // The dialog claims the run when it starts it, so the lock runs before the thread does.
    job.Lock = [&dialog, op](bool on) {
        if (on)
            dialog.Busy = true;
        dialog.SetLocked(on);
        if (on)
            dialog.SetStatus(op.StartText);
        if (op.Repaints)
            dialog.repaint();
        if (!on)
            dialog.Busy = false;
    };
    job.Operation = [&dialog, &api, op] {
        TDevSetInputs in;
        RunOnThreadOf(&dialog, [&dialog, &op, &in] { in = dialog.ReadInputs(op.SearchGroup); });
        int rc = ExFailed;
        {
            ExchangeHandle handle;
            handle.Tap = dialog.LineTap();
            const TDevLinkCloser closer(handle);
            // Expected failures are result codes; anything thrown still ends in an error text and
            // an unlocked dialog.
            try {
                // Without a catalogue entry there is no type number to expect: nothing is opened.
                if (in.HasType) {
                    rc = OpenLink(api, in.Port, in.Speed, in.TimeOut, handle);
                    if (rc == ExOk)
                        rc = op.Exchange(handle, in);
                }
            } catch (...) {
                rc = ExFailed;
            }
            RunOnThreadOf(&dialog, [&dialog, &op, rc] {
                if (rc == ExOk)
                    op.ShowOutcome();
                else
                    dialog.SetStatus(op.ErrorText + QString::number(rc));
            });
        }
        if (op.Finish)
            op.Finish(rc);
    };
    return job;
}

TExchangeWorker::TJob LinkCheckJob(TfrmDevSet& dialog, const TKvApi& api) {
    auto linked = std::make_shared<bool>(false);
    TDevSetOperation op;
    op.StartText = LinkCheckText();
    op.ErrorText = LinkErrorText();
    op.Exchange = [linked](const ExchangeHandle& handle, const TDevSetInputs& in) {
        return DevCheck(handle, in.Address, in.TypeNum, *linked);
    };
    op.ShowOutcome = [&dialog, linked] { dialog.SetStatus(*linked ? LinkFoundText() : LinkMissingText()); };
    return DevSetJob(dialog, api, std::move(op));
}

TExchangeWorker::TJob VersionJob(TfrmDevSet& dialog, const TKvApi& api) {
    struct TFound {
        bool Linked = false;
        QString Version;
    };
    auto found = std::make_shared<TFound>();
    TDevSetOperation op;
    op.StartText = LinkCheckText();
    op.ErrorText = LinkErrorText();
    op.Repaints = true;
    op.Exchange = [found](const ExchangeHandle& handle, const TDevSetInputs& in) {
        return DevGetVersion(handle, in.Address, in.TypeNum, MaxVersionLength, found->Linked, found->Version);
    };
    op.ShowOutcome = [&dialog, found] {
        dialog.SetStatus(found->Linked ? LinkFoundText() : LinkMissingText());
        // An instrument that answers the identification but not the version request leaves the
        // text empty, which then matches only the base descriptions.
        if (found->Linked)
            dialog.DeviceVersion = found->Version;
    };
    op.Finish = [&dialog, found](int rc) { dialog.LinkEstablished = rc == ExOk && found->Linked; };
    return DevSetJob(dialog, api, std::move(op));
}

TExchangeWorker::TJob SearchJob(TfrmDevSet& dialog, const TKvApi& api) {
    auto found = std::make_shared<QStringList>();
    TDevSetOperation op;
    op.StartText = TfrmDevSet::tr("Поиск приборов...");
    op.ErrorText = TfrmDevSet::tr("Поиск прерван, ошибка: ");
    op.SearchGroup = true;
    op.Exchange = [found](const ExchangeHandle& handle, const TDevSetInputs& in) {
        return DevSearch(handle, in.TypeNum, *found);
    };
    op.ShowOutcome = [&dialog, found] {
        dialog.ShowFound(*found);
        dialog.SetStatus(TfrmDevSet::tr("Поиск приборов завершен!"));
    };
    return DevSetJob(dialog, api, std::move(op));
}
} // namespace

ThreadDevCheck::ThreadDevCheck(TfrmDevSet& dialog, const TKvApi& api)
    : TExchangeWorker(LinkCheckJob(dialog, api)) {}

ThreadDevGetVersion::ThreadDevGetVersion(TfrmDevSet& dialog, const TKvApi& api)
    : TExchangeWorker(VersionJob(dialog, api)) {}

ThreadDevSearch::ThreadDevSearch(TfrmDevSet& dialog, const TKvApi& api)
    : TExchangeWorker(SearchJob(dialog, api)) {}
