#include "exchange/Workers.h"

#include <QMetaObject>
#include <exception>

void RunOnThreadOf(QObject* context, const std::function<void()>& fn) {
    if (!context || QThread::currentThread() == context->thread()) {
        fn();
        return;
    }
    QMetaObject::invokeMethod(context, fn, Qt::BlockingQueuedConnection);
}

TExchangeWorker::TExchangeWorker(TJob job, QObject* parent) : QThread(parent), Job(std::move(job)) {}

void TExchangeWorker::Execute(bool skipWhenStopped) {
    setPriority(QThread::TimeCriticalPriority);
    if (Job.Stop)
        *Job.Stop = false;
    if (Job.Lock)
        RunOnThreadOf(Job.UiContext, [this] { Job.Lock(true); });
    if (!(skipWhenStopped && Job.Stop && *Job.Stop) && Job.Operation) {
        // Expected failures are result codes; anything thrown is reported and the controls are
        // still unlocked below.
        QString error;
        try {
            Job.Operation();
        } catch (const std::exception& e) {
            error = QString::fromLocal8Bit(e.what());
            if (error.isEmpty())
                error = QStringLiteral("?");
        } catch (...) {
            error = QStringLiteral("?");
        }
        if (!error.isEmpty() && Job.ReportError)
            RunOnThreadOf(Job.UiContext, [this, &error] { Job.ReportError(error); });
    }
    if (Job.Lock)
        RunOnThreadOf(Job.UiContext, [this] { Job.Lock(false); });
}
