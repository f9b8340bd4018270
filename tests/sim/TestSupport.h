#pragma once
// Helpers for tests that talk over serial lines: a program directory with small description files,
// kestrin-sim as a child process, a pseudo-terminal whose master side the test drives itself, and a
// plain reference check word independent of the code under test.
#include "common/Cp1251.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace TestSupport {

using TClock = std::chrono::steady_clock;

inline double MsSince(TClock::time_point t) {
    return std::chrono::duration<double, std::milli>(TClock::now() - t).count();
}

// Bit by bit, straight from the definition (reflected 0xA001, initial 0xFFFF).
inline uint16_t RefCrc(const QByteArray& bytes) {
    uint16_t crc = 0xFFFF;
    for (char ch : bytes) {
        crc ^= static_cast<uint8_t>(ch);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
    }
    return crc;
}
inline QByteArray RefWord(const QByteArray& covered) {
    return QByteArray::number(RefCrc(covered), 16).toUpper().rightJustified(4, '0');
}
// ":" ... ";" + check word + CR.
inline QByteArray Request(const QByteArray& text) {
    return text + RefWord(text) + '\r';
}
// "!" address ";" data ";" + check word + CR.
inline QByteArray Answer(int address, const QByteArray& data) {
    const QByteArray covered = '!' + QByteArray::number(address) + ';' + data + ';';
    return covered + RefWord(covered) + '\r';
}

inline void WriteCp1251(const QString& path, const QStringList& lines) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(Cp1251::Encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
}

// A program directory: devices.ini with type 21 ("K1", 4 channels), its base descriptions and the
// version K1_205. Factory values are chosen so that every encoding is exercised.
class TProgDir {
public:
    TProgDir() {
        WriteCp1251(Path() + "devices.ini", {"[K1]", "Name=Kestrin K1", "TypeNum=21", "Channels=4", "Dir=K1",
                                             "[Other]", "TypeNum=9", "Dir=Missing"});
        const QStringList base = {
            "[Сетевой адрес]",
            "VType=0",
            "Address=1",
            "Value=1",
            "[Скорость обмена]",
            "VType=0",
            "Address=2",
            "Value=5",
            "SType=1",
            "[Задержка ответа]",
            "VType=0",
            "Address=$03",
            "Value=300",
            "[Звук]",
            "VType=0",
            "Address=7",
            "Value=1",
            "SType=2",
            "[Смещение]",
            "VType=2",
            "Address=0x10",
            "Value=-2",
            "[Слово]",
            "VType=2",
            "Address=0x12",
            "Value=4660",
            "[Коэффициент]",
            "VType=3",
            "Address=0x11",
            "Value=1.5",
            "[Порог]",
            "VType=3",
            "Address=300",
            "Value=0.1",
            "[Команда]",
            "VType=4",
            "Address=0x20",
            "[Канал 1]",
            "VType=5",
            "Address=1",
            "[Состояние калибровки]",
            "VType=6",
            "Address=0",
        };
        WriteCp1251(Path() + "K1/data/device.ini", base);
        const QStringList menu = {"[Скорость обмена]", "M0=300",  "M1=600",  "M2=1200",
                                  "M3=2400",           "M4=4800", "M5=9600", "M6=19200"};
        WriteCp1251(Path() + "K1/data/dev_menu.ini", menu);
        QStringList v205 = base;
        v205[v205.indexOf("Value=1.5")] = "Value=2.5";
        v205 += {"[Новый]", "VType=0", "Address=0x30", "Value=26"};
        WriteCp1251(Path() + "K1/data_ver/K1_205.dv", v205);
        WriteCp1251(Path() + "K1/data_ver/K1_205.dm", menu);
    }
    QString Path() const { return Dir.path() + "/"; }

private:
    QTemporaryDir Dir;
};

// Waits up to timeoutMs for fd to become readable.
inline bool WaitReadable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, timeoutMs) > 0 && (p.revents & POLLIN);
}

// Starts kestrin-sim with its stdout and stderr on the given descriptors.
inline pid_t SpawnSim(const QStringList& args, int outFd, int errFd) {
    std::vector<std::string> argv = {std::string(KESTRIN_PROGDIR) + "kestrin-sim"};
    for (const QString& a : args)
        argv.push_back(a.toStdString());
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(outFd, STDOUT_FILENO);
        dup2(errFd, STDERR_FILENO);
        std::vector<char*> raw;
        for (std::string& s : argv)
            raw.push_back(s.data());
        raw.push_back(nullptr);
        execv(raw[0], raw.data());
        _exit(127);
    }
    return pid;
}

// Runs kestrin-sim to its end (for --help and usage errors); its exit code.
inline int RunSimToEnd(const QStringList& args, QByteArray* out) {
    int p[2];
    if (pipe(p) != 0)
        return -1;
    const pid_t pid = SpawnSim(args, p[1], p[1]);
    ::close(p[1]);
    char buf[4096];
    ssize_t n;
    while ((n = ::read(p[0], buf, sizeof buf)) > 0)
        if (out)
            out->append(buf, n);
    ::close(p[0]);
    int st = 0;
    waitpid(pid, &st, 0);
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

// kestrin-sim serving in the background; stopped with SIGTERM when destroyed.
class TSimProcess {
public:
    explicit TSimProcess(const QStringList& args) {
        char errName[] = "/tmp/kestrin-sim-stderr-XXXXXX";
        const int errFd = mkstemp(errName);
        ErrPath = errName;
        int out[2];
        if (errFd < 0 || pipe(out) != 0)
            return;
        Pid = SpawnSim(args, out[1], errFd);
        ::close(out[1]);
        ::close(errFd);
        OutFd = out[0];
        // The first line names the line: "PTY /dev/pts/N" or "PORT <path>".
        QByteArray line;
        char c = 0;
        while (!line.endsWith('\n') && WaitReadable(OutFd, 20000) && ::read(OutFd, &c, 1) == 1)
            line += c;
        FirstLine = QString::fromLocal8Bit(line.trimmed());
        Line = FirstLine.section(QLatin1Char(' '), 1);
    }
    ~TSimProcess() {
        Stop(SIGTERM);
        if (OutFd >= 0)
            ::close(OutFd);
        QFile::remove(ErrPath);
    }
    TSimProcess(const TSimProcess&) = delete;
    TSimProcess& operator=(const TSimProcess&) = delete;

    bool Started() const { return !Line.isEmpty(); }
    const QString& Path() const { return Line; }
    const QString& Banner() const { return FirstLine; }
    // Sends the signal and waits: the exit code, 128 + signal when killed.
    int Stop(int sig) {
        if (Pid > 0) {
            ::kill(Pid, sig);
            int st = 0;
            waitpid(Pid, &st, 0);
            Pid = -1;
            Status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
        }
        return Status;
    }
    QByteArray Stderr() const {
        QFile f(ErrPath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    pid_t Pid = -1;
    int OutFd = -1;
    int Status = -1;
    QString ErrPath;
    QString FirstLine;
    QString Line;
};

// A raw client on a serial line path (the slave side of the simulator's pseudo-terminal).
class TRawLine {
public:
    explicit TRawLine(const QString& path, speed_t speed = B9600) {
        Fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (Fd >= 0)
            SetSpeed(speed);
    }
    ~TRawLine() {
        if (Fd >= 0)
            ::close(Fd);
    }
    TRawLine(const TRawLine&) = delete;
    TRawLine& operator=(const TRawLine&) = delete;
    bool Ok() const { return Fd >= 0; }
    void SetSpeed(speed_t speed) {
        termios t{};
        tcgetattr(Fd, &t);
        cfmakeraw(&t);
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
        tcsetattr(Fd, TCSANOW, &t);
    }
    void Send(const QByteArray& bytes) {
        tcflush(Fd, TCIFLUSH);
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(Fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
            if (n > 0)
                done += n;
            else
                usleep(1000); // the line is full for a moment
        }
    }
    // Everything that arrives until `crs` CRs came or timeoutMs passed.
    QByteArray Read(int crs, int timeoutMs) {
        QByteArray got;
        const auto start = TClock::now();
        while (got.count('\r') < crs) {
            const int left = timeoutMs - static_cast<int>(MsSince(start));
            if (left <= 0 || !WaitReadable(Fd, left))
                break;
            char buf[512];
            const ssize_t n = ::read(Fd, buf, sizeof buf);
            if (n <= 0)
                break;
            got.append(buf, n);
        }
        return got;
    }
    QByteArray Exchange(const QByteArray& text, int crs = 1, int timeoutMs = 1000) {
        Send(Request(text));
        return Read(crs, timeoutMs);
    }

private:
    int Fd = -1;
};

} // namespace TestSupport
