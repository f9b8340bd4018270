#include "sim/SimServer.h"

#include "sim/Line.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace Sim {

namespace {
QString ErrnoText(const char* what) {
    return QString::fromLatin1(what) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}
} // namespace

TServer::TServer(TConfig config) : Bus(std::move(config)) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        WakeRead = fds[0];
        WakeWrite = fds[1];
    }
    PortSpeed = Bus.Count() > 0 ? Bus.Instrument(0).Speed : Bus.Config().DefaultSpeed;
}

TServer::~TServer() {
    for (int fd : {LineFd, SlaveFd, WakeRead, WakeWrite, ListenFd, ClientFd})
        if (fd >= 0)
            ::close(fd);
}

bool TServer::OpenPty(QString* error) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        if (error)
            *error = ErrnoText("posix_openpt");
        return false;
    }
    char name[256];
    if (grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, name, sizeof name) != 0) {
        if (error)
            *error = ErrnoText("pseudo-terminal set-up");
        ::close(master);
        return false;
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    // Holding the slave open keeps the master from seeing a hang-up whenever a client closes it,
    // and lets us put the line in raw mode before any client comes.
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0 || !Line::ConfigureRaw(slave, Bus.Config().DefaultSpeed)) {
        if (error)
            *error = ErrnoText("pseudo-terminal slave");
        if (slave >= 0)
            ::close(slave);
        ::close(master);
        return false;
    }
    LineFd = master;
    SlaveFd = slave;
    IsPty = true;
    Slave = QFile::decodeName(name);
    return true;
}

bool TServer::OpenPort(const QString& path, QString* error) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = ErrnoText("open");
        return false;
    }
    ioctl(fd, TIOCEXCL);
    if (!Line::ConfigureRaw(fd, PortSpeed)) {
        if (error)
            *error = ErrnoText("serial port set-up");
        ::close(fd);
        return false;
    }
    tcflush(fd, TCIOFLUSH);
    LineFd = fd;
    IsPty = false;
    Slave = path;
    return true;
}

bool TServer::Listen(const QString& host, uint16_t port, bool telnet, QString* error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const QByteArray h = host.isEmpty() ? QByteArrayLiteral("127.0.0.1") : host.toUtf8();
    const QByteArray service = QByteArray::number(port);
    if (const int rc = ::getaddrinfo(h.constData(), service.constData(), &hints, &found); rc != 0) {
        if (error)
            *error = QStringLiteral("address %1: %2").arg(host, QString::fromLocal8Bit(gai_strerror(rc)));
        return false;
    }
    const int fd = ::socket(found->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int one = 1;
    // A restarted simulator takes its port back at once.
    if (fd >= 0)
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    const bool ok = fd >= 0 && ::bind(fd, found->ai_addr, found->ai_addrlen) == 0 && ::listen(fd, 4) == 0;
    ::freeaddrinfo(found);
    if (!ok) {
        if (error)
            *error = ErrnoText("listen");
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    sockaddr_storage bound{};
    socklen_t len = sizeof bound;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &len);
    BoundPort = ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                                  : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    ListenFd = fd;
    TelnetMode = telnet;
    IsPty = false;
    Slave = QString::number(BoundPort);
    return true;
}

void TServer::Accept() {
    const int fd = ::accept4(ListenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0)
        return;
    DropClient();
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    ClientFd = fd;
    NetSpeed = PortSpeed;
    Decoder = Telnet::TDecoder();
    if (TelnetMode) {
        using namespace Telnet;
        Options = std::make_unique<TNegotiator>(std::vector<uint8_t>{OptBinary, OptSga},
                                                std::vector<uint8_t>{OptBinary, OptComPort});
        // As device servers do: offer the option first, the client's own offer crosses it.
        Out += Options->Ask(Do, OptComPort);
    }
}

void TServer::DropClient() {
    if (ClientFd >= 0)
        ::close(ClientFd);
    ClientFd = -1;
    Queue.clear();
    Out.clear();
}

void TServer::HandleTelnet(const char* data, size_t size, QByteArray& lineData) {
    using namespace Telnet;
    std::vector<TEvent> events;
    Decoder.Feed(data, size, lineData, events);
    for (const TEvent& e : events) {
        if (e.Verb != Sb) {
            Out += Options->Handle(e);
            continue;
        }
        if (e.Option != OptComPort || e.Payload.isEmpty() ||
            static_cast<uint8_t>(e.Payload[0]) >= ServerReply)
            continue;
        const auto command = static_cast<uint8_t>(e.Payload[0]);
        if (command == SetBaudrate && e.Payload.size() >= 5) {
            uint32_t v = 0;
            for (int i = 1; i <= 4; ++i)
                v = (v << 8) | static_cast<uint8_t>(e.Payload[i]);
            if (SpeedIndexOf(v) >= 0)
                NetSpeed = v; // 0 asks for the speed; others are not the instruments'
            Out += ComPort32(ServerReply + SetBaudrate, NetSpeed);
        } else {
            // The line is always 8N1 without flow control: the settings are confirmed as asked.
            QByteArray reply = e.Payload;
            reply[0] = static_cast<char>(command + ServerReply);
            Out += Subnegotiation(OptComPort, reply);
        }
    }
}

void TServer::SetTrace(bool on) {
    std::lock_guard<std::mutex> lock(BusMutex);
    if (!on) {
        Bus.SetTrace(nullptr);
        return;
    }
    Bus.SetTrace([](const QByteArray& frame) {
        // One write per line so that lines never interleave.
        QByteArray line = frame + '\n';
        const ssize_t n = ::write(STDERR_FILENO, line.constData(), static_cast<size_t>(line.size()));
        (void)n;
    });
}

void TServer::Stop() {
    Stopping.store(true);
    if (WakeWrite >= 0) {
        const char c = 'x';
        const ssize_t n = ::write(WakeWrite, &c, 1);
        (void)n;
    }
}

uint32_t TServer::LineSpeed() const {
    if (ListenFd >= 0)
        return TelnetMode ? NetSpeed : PortSpeed;
    return IsPty ? Line::CurrentSpeed(LineFd) : PortSpeed;
}

bool TServer::SetPortSpeed(uint32_t speed) {
    // A device server's speed is its own setting or its client's, never the instrument's.
    if (IsPty || ListenFd >= 0 || speed == PortSpeed)
        return true;
    if (!Line::SetSpeed(LineFd, speed, true))
        return false;
    PortSpeed = speed;
    return true;
}

bool TServer::Flush(QString* error) {
    const int fd = WriteFd();
    while (!Out.isEmpty() && fd >= 0) {
        const ssize_t n = ListenFd >= 0
                              ? ::send(fd, Out.constData(), static_cast<size_t>(Out.size()), MSG_NOSIGNAL)
                              : ::write(fd, Out.constData(), static_cast<size_t>(Out.size()));
        if (n > 0) {
            Out.remove(0, n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return true; // the client is not reading; wait until the line takes more
        } else if (ListenFd >= 0) {
            DropClient(); // the client went away; the next one is served afresh
            return true;
        } else {
            if (error)
                *error = ErrnoText("write");
            return false;
        }
    }
    return true;
}

bool TServer::WritePending(QString* error) {
    if (WriteFd() < 0) {
        Queue.clear(); // nobody to answer
        return true;
    }
    const TClock::time_point now = TClock::now();
    while (!Queue.empty() && Queue.front().NextDue() <= now) {
        TPending& p = Queue.front();
        // With line timing only the bytes whose time has come go out now; the rest follow.
        qsizetype due = p.Bytes.size();
        if (p.ByteTime.count() != 0 && p.Due > now) {
            const auto ahead = std::chrono::duration_cast<std::chrono::microseconds>(p.Due - now);
            due -= static_cast<qsizetype>((ahead + p.ByteTime - std::chrono::microseconds(1)) / p.ByteTime);
        }
        if (p.Written < due) {
            const char* from = p.Bytes.constData() + p.Written;
            const auto count = static_cast<size_t>(due - p.Written);
            Out += TelnetMode ? Telnet::Escape(from, count) : QByteArray(from, static_cast<qsizetype>(count));
            p.Written = due;
        }
        if (!Flush(error))
            return false;
        if (WriteFd() < 0 || !Out.isEmpty())
            return true; // the client went away, or the line takes no more for now
        if (p.Written < p.Bytes.size())
            return true; // more bytes of this output later
        if (p.SpeedAfter != 0 && !SetPortSpeed(p.SpeedAfter)) {
            if (error)
                *error = ErrnoText("speed change");
            return false;
        }
        Queue.pop_front();
    }
    return Flush(error);
}

bool TServer::Run(QString* error) {
    if ((LineFd < 0 && ListenFd < 0) || WakeRead < 0) {
        if (error)
            *error = QStringLiteral("no line open");
        return false;
    }
    char buf[4096];
    while (!Stopping.load()) {
        timespec timeout{};
        timespec* wait = nullptr;
        bool wantWrite = !Out.isEmpty();
        if (!Queue.empty()) {
            const auto left = Queue.front().NextDue() - TClock::now();
            if (left <= TClock::duration::zero()) {
                wantWrite = true; // due but the line was full
            } else {
                const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
                timeout.tv_sec = static_cast<time_t>(ns / 1000000000);
                timeout.tv_nsec = static_cast<long>(ns % 1000000000);
                wait = &timeout;
            }
        }
        const int lineFd = WriteFd();
        pollfd fds[3] = {{lineFd, static_cast<short>(POLLIN | (wantWrite ? POLLOUT : 0)), 0},
                         {WakeRead, POLLIN, 0},
                         {ListenFd, POLLIN, 0}};
        const int r = ppoll(fds, 3, wait, nullptr);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            if (error)
                *error = ErrnoText("poll");
            return false;
        }
        if (fds[1].revents != 0)
            break;
        const bool tcp = ListenFd >= 0;
        if (lineFd >= 0 && (fds[0].revents & POLLIN)) {
            const ssize_t n = ::read(lineFd, buf, sizeof buf);
            if (n > 0) {
                QByteArray decoded;
                const char* data = buf;
                size_t size = static_cast<size_t>(n);
                if (TelnetMode) {
                    HandleTelnet(buf, size, decoded);
                    data = decoded.constData();
                    size = static_cast<size_t>(decoded.size());
                }
                const uint32_t speed = LineSpeed();
                std::vector<TOutput> outputs;
                {
                    std::lock_guard<std::mutex> lock(BusMutex);
                    outputs = Bus.Receive(data, size, speed);
                }
                const TClock::time_point arrived = TClock::now();
                for (TOutput& o : outputs)
                    Queue.push_back({arrived + o.Delay, std::move(o.Bytes), 0, o.SpeedAfter, o.ByteTime});
            } else if (tcp && (n == 0 || (errno != EAGAIN && errno != EINTR))) {
                DropClient();
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                if (error)
                    *error = n == 0 ? QStringLiteral("line hung up") : ErrnoText("read");
                return false;
            }
        } else if (lineFd >= 0 && (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL))) {
            if (!tcp) {
                if (error)
                    *error = QStringLiteral("line hung up");
                return false;
            }
            DropClient();
        }
        if (tcp && (fds[2].revents & POLLIN))
            Accept();
        if (!WritePending(error))
            return false;
    }
    return true;
}

} // namespace Sim
