#include "kvcom/KvSerial.h"

#include "sim/Line.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace Kv {

namespace {

using TClock = std::chrono::steady_clock;

int32_t OpenErrorCode(int err) {
    switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
        return KV_ERR_NO_PORT;
    case EACCES:
    case EPERM:
    case EROFS:
        return KV_ERR_PERMISSION;
    default:
        return KV_ERR_OPEN;
    }
}

// Errors that mean the device has gone (unplugged adapter, closed pseudo-terminal master).
bool LineLost(int err) {
    return err == EIO || err == ENXIO || err == ENODEV || err == EPIPE || err == EBADF;
}

timespec Remaining(TClock::time_point deadline) {
    const auto left = deadline - TClock::now();
    const auto ns = left > TClock::duration::zero()
                        ? std::chrono::duration_cast<std::chrono::nanoseconds>(left).count()
                        : 0;
    return timespec{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
}

} // namespace

TSerialPort::~TSerialPort() {
    if (Fd >= 0)
        ::close(Fd); // the lock goes with the descriptor
}

int32_t TSerialPort::Open(const QByteArray& path, uint32_t baud) {
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return OpenErrorCode(errno);
    if (!isatty(fd)) {
        ::close(fd);
        return KV_ERR_OPEN;
    }
    // The port is ours through an advisory lock on the device, which the kernel drops with the
    // last descriptor however the process ends (SIGKILL, a lost SSH session). The terminal's
    // exclusive flag is not set: on a pseudo-terminal it outlives its setter while the other end
    // stays open, and every later open would fail. A flag another program set is still respected
    // (it stops only unprivileged openers by itself).
    int exclusive = 0;
    if ((ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive) || flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return KV_ERR_OPEN;
    }
    if (!Line::ConfigureRaw(fd, baud)) {
        ::close(fd);
        return Line::SpeedConstant(baud) == 0 ? KV_ERR_SPEED : KV_ERR_OPEN;
    }
    tcflush(fd, TCIOFLUSH);
    Fd = fd;
    Baud = baud;
    return KV_OK;
}

int32_t TSerialPort::SetSpeed(uint32_t baud) {
    if (Line::SpeedConstant(baud) == 0)
        return KV_ERR_SPEED;
    // Output still leaving goes out at the old speed first.
    if (!Line::SetSpeed(Fd, baud, true))
        return LineLost(errno) ? KV_ERR_LINE_LOST : KV_ERR_SPEED;
    Baud = baud;
    return KV_OK;
}

int32_t TSerialPort::Transmit(const char* data, size_t size) {
    // An answer that came too late for an earlier request must not pass for the answer to this one.
    tcflush(Fd, TCIFLUSH);
    Pending.clear();
    Reader.Reset();

    // The line takes the bytes at once unless the driver's buffer is full; allow generous time.
    const TClock::time_point start = TClock::now();
    const TClock::time_point deadline = start + std::chrono::seconds(5);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(Fd, data + done, size - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return LineLost(errno) ? KV_ERR_LINE_LOST : KV_ERR_WRITE;
        pollfd p{Fd, POLLOUT, 0};
        const timespec left = Remaining(deadline);
        if (left.tv_sec == 0 && left.tv_nsec == 0)
            return KV_ERR_WRITE;
        const int r = ppoll(&p, 1, &left, nullptr);
        if (r < 0 && errno != EINTR)
            return KV_ERR_WRITE;
        if (r > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)))
            return KV_ERR_LINE_LOST;
    }
    // The bytes leave the line at its speed, after anything still queued from before. Computed
    // rather than asked of tcdrain(): a pseudo-terminal drains at once whatever its speed, and the
    // drain of USB adapters is not to be trusted.
    LineFree = std::max(start, LineFree) + Line::WireTime(size, Baud);
    return KV_OK;
}

int32_t TSerialPort::Receive(char* answer, uint16_t timeoutMs) {
    TAnswerDeadline deadline(LineFree, timeoutMs, Baud);
    char buf[512];
    for (;;) {
        // Bytes left over from the last read first: a broadcast brings several answers at once.
        if (!Pending.isEmpty())
            if (const std::optional<int32_t> done = FeedPending(Reader, deadline, Pending, answer))
                return *done;
        const timespec left = Remaining(deadline.At());
        if (left.tv_sec == 0 && left.tv_nsec == 0)
            return Reader.SeenTooLong() ? KV_ERR_TOO_LONG : KV_ERR_NO_ANSWER;
        pollfd p{Fd, POLLIN, 0};
        const int r = ppoll(&p, 1, &left, nullptr);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return KV_ERR_LINE_LOST;
        }
        if (r == 0)
            continue;
        if (p.revents & POLLIN) {
            const ssize_t n = ::read(Fd, buf, sizeof buf);
            if (n > 0) {
                Pending.append(buf, n);
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            return KV_ERR_LINE_LOST; // 0 bytes: hung up
        }
        if (p.revents & (POLLHUP | POLLERR | POLLNVAL))
            return KV_ERR_LINE_LOST;
    }
}

} // namespace Kv
