// kestrin-cli: the instruments' exchange from the command line, without a window.
#include "cli/CliArgs.h"
#include "cli/CliCommands.h"
#include "common/Language.h"
#include "common/ProgDir.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {
std::atomic<bool> StopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);
std::atomic<int> Interrupts{0};
static_assert(std::atomic<int>::is_always_lock_free);
volatile sig_atomic_t ErrIsTerminal = 0;

// The handler's texts, in the language of the run: translated before any signal can come.
QByteArray Interrupted, Stopping, HungUp, PipeClosed;

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
            Say(Interrupted.constData());
            // The port's lock is an flock on its descriptor: the kernel drops it with the process.
            ::_exit(CliExchangeFailed); // as a stopped run ends
        }
        Say(Stopping.constData());
    } else if (first && sig == SIGHUP) {
        Say(HungUp.constData());
    } else if (first && sig == SIGPIPE) {
        // Every later write to the closed pipe fails with EPIPE and raises this again: said once.
        Say(PipeClosed.constData());
    }
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    StartupFiles::UseDotDecimalSeparator();
    const QStringList args = QCoreApplication::arguments().mid(1);
    const QString progDir = StartupFiles::ResolveProgDir();
    // A JSON document is for programs: its texts (messages included) stay in Russian whatever the
    // language, so a run that writes one speaks Russian throughout. A bad --lang is left to the parser.
    TCliOptions pre;
    (void)ParseCliArgs(args, pre);
    const bool json = pre.Json || args.contains(QStringLiteral("--json")) || pre.Out == QLatin1String("-") ||
                      QFileInfo(pre.Out).suffix().compare(QLatin1String("json"), Qt::CaseInsensitive) == 0;
    const std::optional<QString> lang = Language::ArgValue(args);
    const Language::TLanguage wanted = Language::Choose(lang ? Language::Parse(*lang) : std::nullopt,
                                                        QString(), Language::FromSystemLocale());
    if (!json) {
        QString warning;
        Language::Install(wanted, progDir, false, &warning);
        if (!warning.isEmpty())
            std::fprintf(stderr, "kestrin-cli: %s\n", warning.toUtf8().constData());
    }
    Interrupted =
        QCoreApplication::translate("Cli", "kestrin-cli: прервано без ожидания конца обмена\n").toUtf8();
    Stopping =
        QCoreApplication::translate("Cli", "kestrin-cli: остановка… (повторное Ctrl+C завершает сразу)\n")
            .toUtf8();
    HungUp =
        QCoreApplication::translate("Cli", "kestrin-cli: терминал закрыт (SIGHUP), остановка…\n").toUtf8();
    PipeClosed = QCoreApplication::translate(
                     "Cli", "kestrin-cli: получатель вывода закрыл канал (SIGPIPE), остановка…\n")
                     .toUtf8();
    ErrIsTerminal = isatty(STDERR_FILENO) == 1 ? 1 : 0;
    // Ctrl+C, a lost terminal and a closed output pipe only ask: the run ends at the next parameter
    // and closes the port itself, as it does after every command.
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    for (const int sig : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        sigaction(sig, &sa, nullptr);
    return RunCli(args, progDir, StopRequested);
}
