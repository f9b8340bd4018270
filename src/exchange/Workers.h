#pragma once
// Background exchange workers of the main window: each runs one operation on the active device,
// locking the commands that would start a competing exchange while it runs.
#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>

// Runs fn on the thread of context and waits for it; runs it at once when already there. What either
// thread wrote before is visible to the other afterwards, also to the thread sanitizer.
void RunOnThreadOf(QObject* context, const std::function<void()>& fn);

class TExchangeWorker : public QThread {
    Q_OBJECT
public:
    struct TJob {
        std::atomic<bool>* Stop = nullptr;
        std::function<void(bool)> Lock;                  // lock callback, called on the UI thread
        std::function<void()> Operation;                 // runs on the worker
        std::function<void(const QString&)> ReportError; // unexpected failure, on the UI thread
        QObject* UiContext = nullptr;
    };
    explicit TExchangeWorker(TJob job, QObject* parent = nullptr);

    // Takes the exchange before the thread starts: clears the stop request and runs the lock
    // callback here, on the user-interface thread, so that a second start right after this one
    // already finds the exchange taken. The thread then only runs and unlocks.
    void Claim();

protected:
    // Clear the stop request and lock (unless claimed), run, unlock.
    void Execute(bool skipWhenStopped);
    TJob Job;

private:
    bool Claimed = false;
};

class ThreadDevRead : public TExchangeWorker {
    Q_OBJECT
public:
    using TExchangeWorker::TExchangeWorker;

protected:
    void run() override { Execute(false); }
};

class ThreadDevWrite : public TExchangeWorker {
    Q_OBJECT
public:
    using TExchangeWorker::TExchangeWorker;

protected:
    void run() override { Execute(false); }
};

class ThreadAllRead : public TExchangeWorker {
    Q_OBJECT
public:
    using TExchangeWorker::TExchangeWorker;

protected:
    void run() override { Execute(true); }
};

class ThreadAllWrite : public TExchangeWorker {
    Q_OBJECT
public:
    using TExchangeWorker::TExchangeWorker;

protected:
    void run() override { Execute(true); }
};

class ThreadMeasure : public TExchangeWorker {
    Q_OBJECT
public:
    using TExchangeWorker::TExchangeWorker;

protected:
    void run() override { Execute(false); }
};
