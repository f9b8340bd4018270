// kestrin-sim: simulated instruments on a pseudo-terminal, a real serial port or a TCP port.
#include "sim/SimServer.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

Sim::TServer* ActiveServer = nullptr;

void OnSignal(int) {
    if (ActiveServer)
        ActiveServer->Stop();
}

const char* const Usage =
    "Usage: kestrin-sim [options]\n"
    "Simulated Kestrin instruments answering request parcels on a serial line.\n"
    "\n"
    "Line (default: a new pseudo-terminal; its slave path is printed as \"PTY <path>\"):\n"
    "  --port PATH            serve on a real serial port instead (prints \"PORT <path>\")\n"
    "  --link PATH            also make a symbolic link PATH to the pseudo-terminal's slave\n"
    "  --tcp [HOST:]PORT      serve as a device server with raw TCP (prints \"TCP <port>\");\n"
    "                         HOST defaults to 127.0.0.1, PORT 0 picks a free port; the line\n"
    "                         speed is fixed at the first instrument's\n"
    "  --rfc2217 [HOST:]PORT  the same with Telnet and RFC 2217 (prints \"RFC2217 <port>\");\n"
    "                         the client sets the line speed\n"
    "Instruments:\n"
    "  --device A:T[:V[:S]]   instrument with address A (1..255), type number T, version text V\n"
    "                         (empty: base descriptions) and speed S; repeatable;\n"
    "                         default one instrument 1:21\n"
    "  --speed BAUD           speed of instruments without their own (default 9600)\n"
    "  --progdir DIR          program directory with devices.ini and the description files\n"
    "                         (default: the directory of this program)\n"
    "  --timing               simulate line timing: 10 bits per byte at the line speed\n"
    "  --calib-seconds S      how long a calibration takes (default 2)\n"
    "Faults (N counts answers, or reads and writes for --dollar1; 0 = off):\n"
    "  --drop N               do not send every Nth answer\n"
    "  --bad-crc N            wrong check word on every Nth answer\n"
    "  --foreign N            every Nth answer from another address\n"
    "  --dollar1 N            answer every Nth read or write with \"$1\"\n"
    "  --delay MS             wait MS milliseconds before every answer\n"
    "  --silence-after N      answer nothing after N answers\n"
    "  --noise                garbage bytes before every answer\n"
    "  --echo                 send every request back before the answer (half-duplex adapter)\n"
    "  --unkept LOC           acknowledge writes to location LOC (hex, e.g. 000103) but keep nothing\n"
    "Other:\n"
    "  --trace                print each received request on stderr, one per line\n"
    "  --help                 this text\n"
    "Runs until SIGINT or SIGTERM.\n";

QString OwnDirectory() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return QStringLiteral("./");
    path[n] = '\0';
    QString p = QFile::decodeName(path);
    return p.left(p.lastIndexOf(QLatin1Char('/')) + 1);
}

std::optional<uint32_t> Count(const char* text) {
    char* end = nullptr;
    errno = 0;
    const unsigned long v = std::strtoul(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || v > 0xFFFFFFFFul || text[0] == '-')
        return std::nullopt;
    return static_cast<uint32_t>(v);
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "kestrin-sim: %s\n", message.c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    Sim::TConfig config;
    config.ProgDir = OwnDirectory();
    config.RequestLogLimit = 0; // --trace prints the requests; nothing else reads them
    QString port;
    QString link;
    QString listen; // [HOST:]PORT
    bool telnet = false;
    bool trace = false;

    for (int i = 1; i < argc; ++i) {
        const std::string opt = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        auto count = [&](uint32_t& field) -> bool {
            const char* v = value();
            const auto n = v ? Count(v) : std::nullopt;
            if (!n)
                return false;
            field = *n;
            return true;
        };
        if (opt == "--help" || opt == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        } else if (opt == "--device") {
            const char* v = value();
            if (!v)
                return Fail("--device needs a value");
            QString why;
            const auto deviceDef = Sim::ParseDeviceSpec(QString::fromUtf8(v), &why);
            if (!deviceDef)
                return Fail(why.toStdString());
            config.Devices.push_back(*deviceDef);
        } else if (opt == "--progdir") {
            const char* v = value();
            if (!v)
                return Fail("--progdir needs a value");
            config.ProgDir = QFile::decodeName(v);
        } else if (opt == "--port") {
            const char* v = value();
            if (!v)
                return Fail("--port needs a value");
            port = QFile::decodeName(v);
        } else if (opt == "--tcp" || opt == "--rfc2217") {
            const char* v = value();
            if (!v)
                return Fail(opt + " needs a port");
            listen = QString::fromUtf8(v);
            telnet = opt == "--rfc2217";
        } else if (opt == "--link") {
            const char* v = value();
            if (!v)
                return Fail("--link needs a value");
            link = QFile::decodeName(v);
        } else if (opt == "--speed") {
            uint32_t speed = 0;
            if (!count(speed) || Sim::SpeedIndexOf(speed) < 0)
                return Fail("--speed must be one of 300, 600, 1200, 2400, 4800, 9600, 19200");
            config.DefaultSpeed = speed;
        } else if (opt == "--timing") {
            config.LineTiming = true;
        } else if (opt == "--calib-seconds") {
            const char* v = value();
            char* end = nullptr;
            const double s = v ? std::strtod(v, &end) : -1;
            if (!v || end == v || *end != '\0' || !(s >= 0))
                return Fail("--calib-seconds needs a number of seconds");
            config.CalibSeconds = s;
        } else if (opt == "--drop") {
            if (!count(config.Faults.DropEvery))
                return Fail("--drop needs a count");
        } else if (opt == "--bad-crc") {
            if (!count(config.Faults.BadCrcEvery))
                return Fail("--bad-crc needs a count");
        } else if (opt == "--foreign") {
            if (!count(config.Faults.ForeignEvery))
                return Fail("--foreign needs a count");
        } else if (opt == "--dollar1") {
            if (!count(config.Faults.Dollar1Every))
                return Fail("--dollar1 needs a count");
        } else if (opt == "--delay") {
            if (!count(config.Faults.DelayMs))
                return Fail("--delay needs milliseconds");
        } else if (opt == "--silence-after") {
            if (!count(config.Faults.SilenceAfter))
                return Fail("--silence-after needs a count");
        } else if (opt == "--noise") {
            config.Faults.Noise = true;
        } else if (opt == "--echo") {
            config.Faults.Echo = true;
        } else if (opt == "--unkept") {
            const char* v = value();
            if (!v || !*v)
                return Fail("--unkept needs a location");
            config.Faults.UnkeptLocation = QByteArray(v).toUpper();
        } else if (opt == "--trace") {
            trace = true;
        } else {
            return Fail("unknown option " + opt + " (see --help)");
        }
    }
    if (config.Devices.empty())
        config.Devices.push_back(Sim::TDeviceSpec{});
    if (!port.isEmpty() && !link.isEmpty())
        return Fail("--link applies to the pseudo-terminal only");

    if (!listen.isEmpty() && (!port.isEmpty() || !link.isEmpty()))
        return Fail("--tcp and --rfc2217 serve no serial line: no --port or --link with them");
    QString listenHost;
    std::optional<uint32_t> listenPort;
    if (!listen.isEmpty()) {
        const qsizetype colon = listen.lastIndexOf(QLatin1Char(':'));
        listenHost = colon < 0 ? QString() : listen.left(colon);
        if (listenHost.startsWith(QLatin1Char('[')) && listenHost.endsWith(QLatin1Char(']')))
            listenHost = listenHost.mid(1, listenHost.size() - 2);
        listenPort = Count(listen.mid(colon + 1).toUtf8().constData());
        if (!listenPort || *listenPort > 65535)
            return Fail("the TCP port must be a number from 0 to 65535 (0: any free port)");
    }

    auto server = std::make_unique<Sim::TServer>(config);
    server->SetTrace(trace);
    QString error;
    const bool opened = listenPort
                            ? server->Listen(listenHost, static_cast<uint16_t>(*listenPort), telnet, &error)
                        : port.isEmpty() ? server->OpenPty(&error)
                                         : server->OpenPort(port, &error);
    if (!opened) {
        std::fprintf(stderr, "kestrin-sim: %s\n", error.toLocal8Bit().constData());
        return 1;
    }

    const QByteArray linkPath = QFile::encodeName(link);
    if (!link.isEmpty()) {
        struct stat st {};
        // Replace a link left by an earlier run, but never a real file.
        if (lstat(linkPath.constData(), &st) == 0 && S_ISLNK(st.st_mode))
            ::unlink(linkPath.constData());
        if (symlink(QFile::encodeName(server->SlavePath()).constData(), linkPath.constData()) != 0) {
            std::fprintf(stderr, "kestrin-sim: cannot link %s: %s\n", linkPath.constData(),
                         std::strerror(errno));
            return 1;
        }
    }

    ActiveServer = server.get();
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::printf("%s %s\n",
                listenPort       ? (telnet ? "RFC2217" : "TCP")
                : port.isEmpty() ? "PTY"
                                 : "PORT",
                QFile::encodeName(server->SlavePath()).constData());
    std::fflush(stdout);

    const bool ok = server->Run(&error);
    ActiveServer = nullptr;
    if (!link.isEmpty())
        ::unlink(linkPath.constData());
    if (!ok) {
        std::fprintf(stderr, "kestrin-sim: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
