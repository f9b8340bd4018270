#include "app/Launch.h"

#include <QFile>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace Launch {

namespace {
bool IsSet(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && v[0] != '\0';
}

// The program's own directory, from the running executable (the toolkit is not up yet).
std::string OwnDirectory() {
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return std::string();
    const std::string p(path, static_cast<size_t>(n));
    return p.substr(0, p.rfind('/') + 1);
}

int TermPipe[2] = {-1, -1};

void TermSignal(int) {
    const char byte = 1;
    // Only async-signal-safe calls here; a full pipe already holds a pending request.
    const ssize_t n = ::write(TermPipe[0], &byte, 1);
    (void)n;
}
} // namespace

const char* Version() {
    return KESTRIN_VERSION;
}

QString NoDisplayText(bool haveCli) {
    QString text = QStringLiteral("kestrin: нужен графический сеанс (не заданы DISPLAY и WAYLAND_DISPLAY)");
    if (haveCli)
        text += QStringLiteral("; без экрана работает kestrin-cli");
    text += QStringLiteral(" / kestrin needs a graphical session (DISPLAY and WAYLAND_DISPLAY are not set)");
    if (haveCli)
        text += QStringLiteral("; without a display use kestrin-cli");
    return text;
}

std::optional<int> BeforeToolkit(int argc, char** argv) {
    bool platformArg = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("kestrin %s\n", Version());
            return 0;
        }
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            platformArg = true;
    }
    if (platformArg || IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY"))
        return std::nullopt;
    const std::string cli = OwnDirectory() + "kestrin-cli";
    const bool haveCli = ::access(cli.c_str(), X_OK) == 0;
    std::fprintf(stderr, "%s\n", NoDisplayText(haveCli).toLocal8Bit().constData());
    return 1;
}

void OnTerminate(QObject* context, std::function<void()> handler) {
    if (TermPipe[0] >= 0 ||
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, TermPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(TermPipe[1], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [handler = std::move(handler)] {
        char drain[16];
        while (::read(TermPipe[1], drain, sizeof drain) > 0) {
        }
        handler();
    });
    struct sigaction action {};
    action.sa_handler = TermSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
}

} // namespace Launch
