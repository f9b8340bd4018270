#pragma once
// The one design of every background worker of the program: the main window's device read and
// write, read-all, write-all and measurement (below), the connection dialog's link check, version
// query and bus search (ui/ConnectionWorkers.h) and the calibration (ThreadCalib, ui/CalibDialog.h).
// Each is a TExchangeWorker configured with its operation; the named classes add nothing but how
// they are configured (and ThreadCalib its stop request).
//
// Why every hand-over to the user interface blocks: a run asks the user midway (a Yes/No question,
// the values the table holds now, whether a chart channel is selected) and cannot go on without the
// answer, while widgets may be touched only on the user-interface thread; a worker never touches a
// widget itself. So each effect is handed to that thread and the worker waits until it has been
// carried out (RunOnThreadOf). The other side of it: wherever the user-interface thread has to wait
// for a worker (the connection dialog's OK, closing the calibration, closing the program) it waits
// in a local event loop (Await), which goes on carrying out the worker's hand-overs; a plain wait
// would leave the two waiting for each other.
#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <functional>
#include <vector>

// Runs fn on the thread of context and waits for it; runs it at once when already there. What either
// thread wrote before is visible to the other afterwards, also to the thread sanitizer.
void RunOnThreadOf(QObject* context, const std::function<void()>& fn);

class TExchangeWorker : public QThread {
    Q_OBJECT
public:
    struct TJob {
        QObject* UiContext = nullptr;                    // whose thread carries out the hand-overs
        std::atomic<bool>* Stop = nullptr;               // the run's stop request, cleared at its start
        std::function<void(bool)> Lock;                  // lock (true) and unlock, on the UI thread
        std::function<void()> Operation;                 // runs on the worker, handing its effects over
        std::function<void(const QString&)> ReportError; // something thrown, on the UI thread
        // A stop requested while the lock was being taken skips the operation.
        bool SkipWhenStopped = false;
        QThread::Priority Priority = QThread::InheritPriority;
    };
    explicit TExchangeWorker(TJob job, QObject* parent = nullptr);
    // Only once the run has ended and its thread has been waited for.
    ~TExchangeWorker() override;

    // Takes the exchange before the thread starts: clears the stop request and runs the lock
    // callback here, on the user-interface thread, so that a second start right after this one
    // already finds the exchange taken. The thread then only runs and unlocks.
    void Claim();

    // Set as the very last step of the run: from then on the worker hands nothing more over, so its
    // thread may be waited for without an event loop.
    bool Ended() const { return Done; }
    // Returns once none of the workers that current() lists runs, carrying out their hand-overs
    // meanwhile in a local event loop; called on the user-interface thread. current() is asked
    // again whenever one ends, so a worker that a command started during the wait, in place of one
    // that had ended, is waited for too. Workers never started count as ended.
    static void Await(const std::function<std::vector<TExchangeWorker*>()>& current);

protected:
    // Raise the priority; clear the stop request and lock (unless claimed); run; unlock.
    void run() final;

private:
    TJob Job;
    bool Claimed = false;
    std::atomic<bool> Done{false};
};

// The main window's workers, one per command (the window keeps the last one of each kind).
class ThreadDevRead : public TExchangeWorker {
public:
    using TExchangeWorker::TExchangeWorker;
};

class ThreadDevWrite : public TExchangeWorker {
public:
    using TExchangeWorker::TExchangeWorker;
};

class ThreadAllRead : public TExchangeWorker {
public:
    using TExchangeWorker::TExchangeWorker;
};

class ThreadAllWrite : public TExchangeWorker {
public:
    using TExchangeWorker::TExchangeWorker;
};

class ThreadMeasure : public TExchangeWorker {
public:
    using TExchangeWorker::TExchangeWorker;
};
