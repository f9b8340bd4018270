#include "exchange/Workers.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <algorithm>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>

namespace {
// One lock for every hand-over: they are short, and a single lock carries the ordering between the
// two threads where the sanitizer can see it (Qt's own blocking call waits on a futex it cannot).
std::recursive_mutex HandOverMutex;
std::condition_variable_any HandOverDone;
// The user-interface thread's waits for workers (Await) now running, innermost last; used on that
// thread only.
std::vector<QEventLoop*> AwaitLoops;
} // namespace

void RunOnThreadOf(QObject* context, const std::function<void()>& fn) {
    if (!context || QThread::currentThread() == context->thread()) {
        fn();
        return;
    }
    // Marks the hand-over finished when the call is done with, also when it is dropped unrun
    // because the context went away (as Qt's blocking call does).
    struct TDone {
        explicit TDone(bool* finished) : Finished(finished) {}
        TDone(const TDone&) = delete;
        TDone& operator=(const TDone&) = delete;
        bool* Finished;
        ~TDone() {
            std::lock_guard<std::recursive_mutex> lock(HandOverMutex);
            *Finished = true;
            HandOverDone.notify_all();
        }
    };
    bool finished = false;
    std::unique_lock<std::recursive_mutex> lock(HandOverMutex);
    QMetaObject::invokeMethod(
        context,
        [done = std::make_shared<TDone>(&finished), &fn] {
            { std::lock_guard<std::recursive_mutex> sync(HandOverMutex); }
            fn();
        },
        Qt::QueuedConnection);
    HandOverDone.wait(lock, [&finished] { return finished; });
}

TExchangeWorker::TExchangeWorker(TJob job, QObject* parent) : QThread(parent), Job(std::move(job)) {}

void TExchangeWorker::Claim() {
    if (Job.Stop)
        *Job.Stop = false;
    if (Job.Lock)
        Job.Lock(true);
    Claimed = true;
}

TExchangeWorker::~TExchangeWorker() {
    // The owner has waited for the thread; taking the lock the run's last step held makes that
    // ordering visible to the thread sanitizer too, which cannot see Qt's own wait.
    std::lock_guard<std::recursive_mutex> lock(HandOverMutex);
}

void TExchangeWorker::Await(const std::function<std::vector<TExchangeWorker*>()>& current) {
    for (;;) {
        QEventLoop loop;
        {
            // A run ends under this lock and then wakes the waits: one that ends after the look
            // below wakes this loop, one that ended before is seen ended.
            std::lock_guard<std::recursive_mutex> lock(HandOverMutex);
            bool running = false;
            for (TExchangeWorker* w : current())
                running = running || (w && w->isRunning() && !w->Ended());
            if (!running)
                break;
            AwaitLoops.push_back(&loop);
        }
        loop.exec();
        AwaitLoops.erase(std::find(AwaitLoops.begin(), AwaitLoops.end(), &loop));
        // current() is asked again: a command carried out by the loop may have started a worker in
        // place of one that ended.
    }
    // Each has handed over its last effect; what is left of its thread ends without help.
    for (TExchangeWorker* w : current())
        if (w)
            w->wait();
}

void TExchangeWorker::run() {
    if (Job.Priority != QThread::InheritPriority)
        setPriority(Job.Priority);
    if (!Claimed) {
        if (Job.Stop)
            *Job.Stop = false;
        if (Job.Lock)
            RunOnThreadOf(Job.UiContext, [this] { Job.Lock(true); });
    }
    if (!(Job.SkipWhenStopped && Job.Stop && *Job.Stop) && Job.Operation) {
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
    std::lock_guard<std::recursive_mutex> lock(HandOverMutex);
    Done = true;
    // Wake the waits without waiting for them; each looks again at the workers it waits for.
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            app,
            [] {
                { std::lock_guard<std::recursive_mutex> sync(HandOverMutex); }
                for (QEventLoop* loop : AwaitLoops)
                    loop->quit();
            },
            Qt::QueuedConnection);
}
