#include "kvcom/KvNet.h"

#include "sim/Line.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace Kv {

namespace {

using TClock = std::chrono::steady_clock;

int MsLeft(TClock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
    // Rounded up, so that a wait never ends just before its deadline and spins.
    return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left + 1, 60000));
}

// Waits for the events on fd until the deadline; the events seen, 0 on time-out, -1 on error.
int WaitFor(int fd, short events, TClock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, MsLeft(deadline));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return r;
        return p.revents;
    }
}

} // namespace

TNetPort::~TNetPort() {
    Disconnect();
}

void TNetPort::Disconnect() {
    if (Fd >= 0)
        ::close(Fd);
    Fd = -1;
}

int32_t TNetPort::Open(uint32_t baud) {
    if (Line::SpeedConstant(baud) == 0)
        return KV_ERR_SPEED;
    Baud = baud;
    const TClock::time_point deadline = TClock::now() + ConnectTime;
    int32_t rc = Connect(deadline);
    if (rc == KV_OK && Telnet())
        rc = Negotiate(deadline);
    if (rc != KV_OK)
        Disconnect();
    return rc;
}

int32_t TNetPort::Connect(TClock::time_point deadline) {
    Disconnect();
    Pending.clear();
    Reader.Reset();
    Events.clear();
    Decoder = ::Telnet::TDecoder();
    LineFree = TClock::time_point();

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    // No AI_ADDRCONFIG: a computer whose only other address is the device server's network, or
    // none at all (loopback tests), must still find a numeric address.
    addrinfo* found = nullptr;
    const QByteArray host = QFile::encodeName(Address.Host);
    const QByteArray service = QByteArray::number(Address.Port);
    if (::getaddrinfo(host.constData(), service.constData(), &hints, &found) != 0 || found == nullptr)
        return KV_ERR_OPEN; // no such host
    int32_t rc = KV_ERR_OPEN;
    for (addrinfo* a = found; a != nullptr && Fd < 0 && TClock::now() < deadline; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0)
            continue;
        int r = ::connect(fd, a->ai_addr, a->ai_addrlen);
        if (r != 0 && errno == EINPROGRESS) {
            // Refused at once on a reachable host; an unreachable one is cut off by the deadline.
            const int ev = WaitFor(fd, POLLOUT, deadline);
            int err = 0;
            socklen_t len = sizeof err;
            r = ev > 0 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0 ? 0 : -1;
        }
        if (r != 0) {
            ::close(fd);
            continue;
        }
        // Parcels are small and each waits for its answer: no gathering of bytes.
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &one, sizeof one);
        Fd = fd;
        rc = KV_OK;
    }
    ::freeaddrinfo(found);
    return rc;
}

int32_t TNetPort::Negotiate(TClock::time_point deadline) {
    using namespace ::Telnet;
    Options = std::make_unique<TNegotiator>(std::vector<uint8_t>{OptComPort, OptBinary},
                                            std::vector<uint8_t>{OptBinary, OptSga});
    // Binary both ways: the line's bytes pass untouched (no CR NUL of the plain Telnet text).
    const QByteArray asks = Options->Ask(Will, OptComPort) + Options->Ask(Will, OptBinary) +
                            Options->Ask(Do, OptBinary) + Options->Ask(Do, OptSga);
    int32_t rc = SendAll(asks, deadline);
    while (rc == KV_OK && !Options->Local(OptComPort)) {
        if (Options->LocalRefused(OptComPort) || TClock::now() >= deadline)
            return KV_ERR_NO_RFC2217; // refused, or a server that does not speak Telnet at all
        rc = ReadSome(deadline);
    }
    if (rc != KV_OK)
        return rc == KV_ERR_LINE_LOST ? KV_ERR_OPEN : rc;
    // The serial side of the server: the chosen speed, 8 data bits, no parity, 1 stop bit, no flow
    // control. The server confirms the speed; exchanges start only once it is in force.
    ServerBaud = 0;
    rc = SendAll(ComPort32(SetBaudrate, Baud) + ComPort8(SetDatasize, 8) + ComPort8(SetParity, ParityNone) +
                     ComPort8(SetStopsize, StopOne) + ComPort8(SetControl, NoFlowControl),
                 deadline);
    while (rc == KV_OK && ServerBaud == 0) {
        if (TClock::now() >= deadline)
            return KV_ERR_NO_RFC2217;
        rc = ReadSome(deadline);
    }
    if (rc != KV_OK)
        return rc == KV_ERR_LINE_LOST ? KV_ERR_OPEN : rc;
    return ServerBaud == Baud ? KV_OK : KV_ERR_SPEED;
}

int32_t TNetPort::SendAll(const QByteArray& bytes, TClock::time_point deadline) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::send(Fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done), MSG_NOSIGNAL);
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            Disconnect();
            return KV_ERR_LINE_LOST;
        }
        const int ev = WaitFor(Fd, POLLOUT, deadline);
        if (ev == 0)
            return KV_ERR_WRITE; // the server takes nothing
        if (ev < 0 || (ev & (POLLERR | POLLHUP | POLLNVAL))) {
            Disconnect();
            return KV_ERR_LINE_LOST;
        }
    }
    return KV_OK;
}

int32_t TNetPort::ReadSome(TClock::time_point deadline) {
    const int ev = WaitFor(Fd, POLLIN, deadline);
    if (ev == 0)
        return KV_OK;
    char buf[4096];
    const ssize_t n = ev > 0 ? ::recv(Fd, buf, sizeof buf, MSG_DONTWAIT) : -1;
    if (n > 0) {
        if (!Telnet()) {
            Pending.append(buf, n);
            return KV_OK;
        }
        Decoder.Feed(buf, static_cast<size_t>(n), Pending, Events);
        return HandleEvents(deadline);
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return KV_OK;
    Disconnect(); // closed by the server (0 bytes), reset, or the network gone
    return KV_ERR_LINE_LOST;
}

int32_t TNetPort::HandleEvents(TClock::time_point deadline) {
    using namespace ::Telnet;
    std::vector<TEvent> events;
    events.swap(Events);
    QByteArray reply;
    for (const TEvent& e : events) {
        if (e.Verb != Sb) {
            reply += Options->Handle(e);
        } else if (e.Option == OptComPort && e.Payload.size() >= 5 &&
                   static_cast<uint8_t>(e.Payload[0]) == ServerReply + SetBaudrate) {
            uint32_t v = 0;
            for (int i = 1; i <= 4; ++i)
                v = (v << 8) | static_cast<uint8_t>(e.Payload[i]);
            ServerBaud = v;
        }
        // Line and modem state notices and the other confirmations change nothing here.
    }
    return reply.isEmpty() ? KV_OK : SendAll(reply, std::max(deadline, TClock::now() + ConnectTime));
}

int32_t TNetPort::SetSpeed(uint32_t baud) {
    if (Line::SpeedConstant(baud) == 0)
        return KV_ERR_SPEED;
    Baud = baud;
    // A raw port's speed is the device server's own setting; a lost connection takes the speed
    // when it connects again.
    if (!Telnet() || Fd < 0 || baud == ServerBaud)
        return KV_OK; // the server confirmed this speed already
    const TClock::time_point deadline = TClock::now() + ConnectTime;
    ServerBaud = 0;
    int32_t rc = SendAll(::Telnet::ComPort32(::Telnet::SetBaudrate, baud), deadline);
    while (rc == KV_OK && ServerBaud == 0 && TClock::now() < deadline)
        rc = ReadSome(deadline);
    if (rc != KV_OK)
        return rc;
    return ServerBaud == baud ? KV_OK : KV_ERR_SPEED;
}

int32_t TNetPort::Transmit(const char* data, size_t size) {
    // A late answer to an earlier request must not pass for the answer to this one; a connection
    // the server has closed meanwhile (restarted, timed out) is made again.
    // Bounded: a server that never stops talking must not hold the request back.
    for (int reads = 0; Fd >= 0 && reads < 64; ++reads) {
        const int32_t rc = ReadSome(TClock::now());
        if (rc != KV_OK || WaitFor(Fd, POLLIN, TClock::now()) == 0)
            break;
    }
    Pending.clear();
    Reader.Reset();
    if (Fd < 0 && Open(Baud) != KV_OK)
        return KV_ERR_LINE_LOST;

    const TClock::time_point start = TClock::now();
    const QByteArray bytes =
        Telnet() ? ::Telnet::Escape(data, size) : QByteArray(data, static_cast<qsizetype>(size));
    const int32_t rc = SendAll(bytes, start + std::chrono::seconds(5));
    if (rc != KV_OK)
        return rc;
    // With RFC 2217 the speed is known and the request's own time on the line does not eat the
    // answer's time-out; on a raw port it is not known, and the time-out counts from the send.
    LineFree = Telnet() ? std::max(start, LineFree) + Line::WireTime(size, Baud) : start;
    return KV_OK;
}

int32_t TNetPort::Receive(char* answer, uint16_t timeoutMs) {
    if (Fd < 0 && Pending.isEmpty())
        return KV_ERR_LINE_LOST;
    // The chosen speed paces the answer's bytes; for a raw port it is the best guess there is.
    TAnswerDeadline deadline(LineFree, timeoutMs, Baud);
    for (;;) {
        if (!Pending.isEmpty())
            if (const std::optional<int32_t> done = FeedPending(Reader, deadline, Pending, answer))
                return *done;
        if (TClock::now() >= deadline.At())
            return Reader.SeenTooLong() ? KV_ERR_TOO_LONG : KV_ERR_NO_ANSWER;
        if (Fd < 0)
            return KV_ERR_LINE_LOST;
        const int32_t rc = ReadSome(deadline.At());
        if (rc != KV_OK)
            return rc;
    }
}

} // namespace Kv
