// kestrin-cli: the instruments' exchange from the command line, without a window.
#include "common/ProgDir.h"
#include "cli/CliCommands.h"

#include <QCoreApplication>
#include <atomic>
#include <csignal>

namespace {
std::atomic<bool> StopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void OnInterrupt(int) {
    StopRequested = true;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    StartupFiles::UseDotDecimalSeparator();
    // Ctrl+C only asks: the run ends at the next parameter and closes the port itself.
    struct sigaction sa {};
    sa.sa_handler = OnInterrupt;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    return RunCli(QCoreApplication::arguments().mid(1), StartupFiles::ResolveProgDir(), StopRequested);
}
