#pragma once
// The connection dialog's workers: link check, version query and bus search. Each opens its own
// link with the dialog's settings, runs one identification operation and reports in the dialog's
// status line; every effect on the dialog is handed to the user-interface thread.
#include "exchange/Exchange.h"
#include "ui/ConnectionDialog.h"

#include <QStringList>
#include <QThread>
#include <atomic>

class TDevSetWorker : public QThread {
    Q_OBJECT
public:
    TDevSetWorker(TfrmDevSet& dialog, const TKvApi& api);
    // Set as the very last step: from then on the worker hands nothing more to the dialog's thread,
    // so that thread may wait for it without an event loop.
    bool Ended() const { return Done; }

protected:
    void run() final;

    virtual QString StartText() const = 0;
    virtual QString ErrorText() const = 0;
    virtual bool UsesSearchGroup() const { return false; }
    // The version query repaints the dialog, whose thread is waiting for it.
    virtual bool Repaints() const { return false; }
    // The parcel operation, on the worker's thread.
    virtual int Exchange(const ExchangeHandle& handle, const TDevSetInputs& in) = 0;
    // Outcome of a run that ended with result 0, on the user-interface thread.
    virtual void ShowOutcome() = 0;
    // Last step before Busy is cleared, on the worker's thread.
    virtual void Finish(int) {}

    TfrmDevSet& Dialog;
    const TKvApi& Api;

private:
    std::atomic<bool> Done{false};
};

class ThreadDevCheck : public TDevSetWorker {
    Q_OBJECT
public:
    using TDevSetWorker::TDevSetWorker;

protected:
    QString StartText() const override;
    QString ErrorText() const override;
    int Exchange(const ExchangeHandle& handle, const TDevSetInputs& in) override;
    void ShowOutcome() override;

private:
    bool Linked = false;
};

class ThreadDevGetVersion : public TDevSetWorker {
    Q_OBJECT
public:
    using TDevSetWorker::TDevSetWorker;

protected:
    QString StartText() const override;
    QString ErrorText() const override;
    bool Repaints() const override { return true; }
    int Exchange(const ExchangeHandle& handle, const TDevSetInputs& in) override;
    void ShowOutcome() override;
    void Finish(int rc) override;

private:
    bool Linked = false;
    QString Version;
};

class ThreadDevSearch : public TDevSetWorker {
    Q_OBJECT
public:
    using TDevSetWorker::TDevSetWorker;

protected:
    QString StartText() const override;
    QString ErrorText() const override;
    bool UsesSearchGroup() const override { return true; }
    int Exchange(const ExchangeHandle& handle, const TDevSetInputs& in) override;
    void ShowOutcome() override;

private:
    QStringList Found;
};
