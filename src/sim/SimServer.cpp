#include "sim/SimServer.h"

#include "sim/Line.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
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
    for (int fd : {LineFd, SlaveFd, WakeRead, WakeWrite})
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
    return IsPty ? Line::CurrentSpeed(LineFd) : PortSpeed;
}

bool TServer::SetPortSpeed(uint32_t speed) {
    if (IsPty || speed == PortSpeed)
        return true;
    if (!Line::SetSpeed(LineFd, speed, true))
        return false;
    PortSpeed = speed;
    return true;
}

bool TServer::WritePending(QString* error) {
    const TClock::time_point now = TClock::now();
    while (!Queue.empty() && Queue.front().NextDue() <= now) {
        TPending& p = Queue.front();
        // With line timing only the bytes whose time has come go out now; the rest follow.
        qsizetype due = p.Bytes.size();
        if (p.ByteTime.count() != 0 && p.Due > now) {
            const auto ahead = std::chrono::duration_cast<std::chrono::microseconds>(p.Due - now);
            due -= static_cast<qsizetype>((ahead + p.ByteTime - std::chrono::microseconds(1)) / p.ByteTime);
        }
        while (p.Written < due) {
            const ssize_t n =
                ::write(LineFd, p.Bytes.constData() + p.Written, static_cast<size_t>(due - p.Written));
            if (n > 0) {
                p.Written += n;
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else if (n < 0 && errno == EAGAIN) {
                return true; // the client is not reading; wait until the line takes more
            } else {
                if (error)
                    *error = ErrnoText("write");
                return false;
            }
        }
        if (p.Written < p.Bytes.size())
            return true; // more bytes of this output later
        if (p.SpeedAfter != 0 && !SetPortSpeed(p.SpeedAfter)) {
            if (error)
                *error = ErrnoText("speed change");
            return false;
        }
        Queue.pop_front();
    }
    return true;
}

bool TServer::Run(QString* error) {
    if (LineFd < 0 || WakeRead < 0) {
        if (error)
            *error = QStringLiteral("no line open");
        return false;
    }
    char buf[4096];
    while (!Stopping.load()) {
        timespec timeout{};
        timespec* wait = nullptr;
        bool wantWrite = false;
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
        pollfd fds[2] = {{LineFd, static_cast<short>(POLLIN | (wantWrite ? POLLOUT : 0)), 0},
                         {WakeRead, POLLIN, 0}};
        const int r = ppoll(fds, 2, wait, nullptr);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            if (error)
                *error = ErrnoText("poll");
            return false;
        }
        if (fds[1].revents != 0)
            break;
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(LineFd, buf, sizeof buf);
            if (n > 0) {
                const uint32_t speed = LineSpeed();
                std::vector<TOutput> outputs;
                {
                    std::lock_guard<std::mutex> lock(BusMutex);
                    outputs = Bus.Receive(buf, static_cast<size_t>(n), speed);
                }
                const TClock::time_point arrived = TClock::now();
                for (TOutput& o : outputs)
                    Queue.push_back({arrived + o.Delay, std::move(o.Bytes), 0, o.SpeedAfter, o.ByteTime});
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                if (error)
                    *error = n == 0 ? QStringLiteral("line hung up") : ErrnoText("read");
                return false;
            }
        } else if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            if (error)
                *error = QStringLiteral("line hung up");
            return false;
        }
        if (!WritePending(error))
            return false;
    }
    return true;
}

} // namespace Sim
