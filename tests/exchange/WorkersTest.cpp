// The one worker design: hand-overs carried out on the user-interface thread while the run waits,
// and the user-interface thread's wait for runs that still hand over.
#include "exchange/Workers.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace {
// A wait that never returns is a failure too: the test ends it instead of hanging the suite.
class TWatchdog {
public:
    TWatchdog()
        : Thread([this] {
              std::unique_lock<std::mutex> lock(Mutex);
              if (!Ended.wait_for(lock, std::chrono::seconds(20), [this] { return Over; })) {
                  std::fprintf(stderr, "the user-interface thread waited for a worker for 20 s\n");
                  std::abort();
              }
          }) {}
    ~TWatchdog() {
        {
            std::lock_guard<std::mutex> lock(Mutex);
            Over = true;
        }
        Ended.notify_all();
        Thread.join();
    }

private:
    std::mutex Mutex;
    std::condition_variable Ended;
    bool Over = false;
    std::thread Thread;
};

struct TApp {
    int Argc = 1;
    char Name[8] = "workers";
    char* Argv[1] = {Name};
    QCoreApplication App{Argc, Argv};
};

// The user's answer to a question, given after the box has been open for a while, as a box run in
// its own event loop does.
bool AnswerLater(bool answer) {
    QEventLoop box;
    QTimer::singleShot(100, &box, &QEventLoop::quit);
    box.exec();
    return answer;
}
} // namespace

TEST(Workers, AQuestionMidwayHoldsTheRunWhileTheProgramWaitsForItAndAThrowStillUnlocks) {
    TApp app;
    TWatchdog watchdog;
    QObject ui;
    QStringList log; // written on the user-interface thread only
    bool allOnUiThread = true;
    const auto note = [&](const QString& entry) {
        log << entry;
        allOnUiThread = allOnUiThread && QThread::currentThread() == ui.thread();
    };
    std::atomic<bool> stop{true}; // left set by an earlier run
    bool answer = false;

    TExchangeWorker::TJob job;
    job.UiContext = &ui;
    job.Stop = &stop;
    job.Lock = [&](bool on) { note(on ? "lock" : "unlock"); };
    job.ReportError = [&](const QString& error) { note("error " + error); };
    job.Operation = [&] {
        RunOnThreadOf(&ui, [&] {
            note("question");
            answer = AnswerLater(true);
        });
        const bool yes = answer;
        RunOnThreadOf(&ui, [&, yes] { note(yes ? "went on after yes" : "went on without the answer"); });
        throw std::runtime_error("broken value");
    };
    std::unique_ptr<TExchangeWorker> worker = std::make_unique<TExchangeWorker>(std::move(job));
    worker->start();
    // As at program close: the wait begins before the run has even locked.
    TExchangeWorker::Await([&] { return std::vector<TExchangeWorker*>{worker.get()}; });

    EXPECT_TRUE(worker->Ended());
    EXPECT_FALSE(worker->isRunning());
    EXPECT_EQ(log, QStringList({"lock", "question", "went on after yes", "error broken value", "unlock"}));
    EXPECT_TRUE(allOnUiThread);
    EXPECT_FALSE(stop); // cleared by the run's start
}

TEST(Workers, TheWaitAlsoCoversARunStartedInPlaceOfOneThatEndedDuringIt) {
    TApp app;
    TWatchdog watchdog;
    QObject ui;
    std::unique_ptr<TExchangeWorker> slot;
    QStringList log;
    const auto run = [&](const QString& name, const std::function<void()>& afterUnlock) {
        TExchangeWorker::TJob job;
        job.UiContext = &ui;
        job.Lock = [&log, name, afterUnlock](bool on) {
            log << name + (on ? " locked" : " unlocked");
            if (!on && afterUnlock)
                afterUnlock();
        };
        job.Operation = [&ui, &log, name] {
            RunOnThreadOf(&ui, [&log, name] { log << name + (AnswerLater(true) ? " answered" : ""); });
        };
        return std::make_unique<TExchangeWorker>(std::move(job));
    };
    // The first run's unlock enables the commands again; a click waiting in the queue is carried
    // out by the wait's own event loop and starts the next run in the same place.
    slot = run("first", [&] {
        QTimer::singleShot(0, &ui, [&] {
            slot->wait(); // it has handed over its last effect
            slot = run("second", {});
            slot->start();
        });
    });
    slot->start();
    TExchangeWorker::Await([&] { return std::vector<TExchangeWorker*>{slot.get()}; });

    EXPECT_EQ(log, QStringList({"first locked", "first answered", "first unlocked", "second locked",
                                "second answered", "second unlocked"}));
    EXPECT_TRUE(slot->Ended());
    EXPECT_FALSE(slot->isRunning());
}
