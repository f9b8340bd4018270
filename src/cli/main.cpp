// kestrin-cli: the instruments' exchange from the command line, without a window.
#include "cli/CliArgs.h"
#include "cli/CliCommands.h"
#include "common/ProgDir.h"

#include <QCoreApplication>
#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {
std::atomic<bool> StopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);
std::atomic<int> Interrupts{0};
static_assert(std::atomic<int>::is_always_lock_free);
volatile sig_atomic_t ErrIsTerminal = 0;

// Only write(2) and _exit(2) here: they are safe in a signal handler.
void Say(const char* text) {
    if (ErrIsTerminal)
        (void)!::write(STDERR_FILENO, "\r\033[K", 4); // over the progress bar
    (void)!::write(STDERR_FILENO, text, std::strlen(text));
}

void OnSignal(int sig) {
    const bool first = !StopRequested.exchange(true);
    if (sig == SIGINT || sig == SIGTERM) {
        if (Interrupts.fetch_add(1) > 0) {
            Say("kestrin-cli: прервано без ожидания конца обмена\n");
            // The port's lock is an flock on its descriptor: the kernel drops it with the process.
            ::_exit(CliExchangeFailed); // as a stopped run ends
        }
        Say("kestrin-cli: остановка… (повторное Ctrl+C завершает сразу)\n");
    } else if (first && sig == SIGHUP) {
        Say("kestrin-cli: терминал закрыт (SIGHUP), остановка…\n");
    } else if (first && sig == SIGPIPE) {
        // Every later write to the closed pipe fails with EPIPE and raises this again: said once.
        Say("kestrin-cli: получатель вывода закрыл канал (SIGPIPE), остановка…\n");
    }
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    StartupFiles::UseDotDecimalSeparator();
    ErrIsTerminal = isatty(STDERR_FILENO) == 1 ? 1 : 0;
    // Ctrl+C, a lost terminal and a closed output pipe only ask: the run ends at the next parameter
    // and closes the port itself, as it does after every command.
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    for (const int sig : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        sigaction(sig, &sa, nullptr);
    return RunCli(QCoreApplication::arguments().mid(1), StartupFiles::ResolveProgDir(), StopRequested);
}
