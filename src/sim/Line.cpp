#include "sim/Line.h"

#include <termios.h>

namespace Line {

namespace {
struct TSpeedPair {
    uint32_t Speed;
    speed_t Constant;
};
constexpr TSpeedPair Pairs[] = {{300, B300},   {600, B600},   {1200, B1200},  {2400, B2400},
                                {4800, B4800}, {9600, B9600}, {19200, B19200}};
} // namespace

std::chrono::microseconds WireTime(size_t bytes, uint32_t speed) {
    if (speed == 0)
        return std::chrono::microseconds(0);
    return std::chrono::microseconds(static_cast<long long>(bytes) * 10 * 1000000 / speed);
}

unsigned SpeedConstant(uint32_t speed) {
    for (const TSpeedPair& p : Pairs)
        if (p.Speed == speed)
            return p.Constant;
    return 0;
}

uint32_t SpeedOfConstant(unsigned constant) {
    for (const TSpeedPair& p : Pairs)
        if (p.Constant == constant)
            return p.Speed;
    return 0;
}

bool ConfigureRaw(int fd, uint32_t speed) {
    const speed_t constant = SpeedConstant(speed);
    if (constant == 0)
        return false;
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return false;
    cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | ISTRIP);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, constant);
    cfsetospeed(&t, constant);
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

bool SetSpeed(int fd, uint32_t speed, bool drain) {
    const speed_t constant = SpeedConstant(speed);
    if (constant == 0)
        return false;
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return false;
    cfsetispeed(&t, constant);
    cfsetospeed(&t, constant);
    return tcsetattr(fd, drain ? TCSADRAIN : TCSANOW, &t) == 0;
}

uint32_t CurrentSpeed(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return 0;
    return SpeedOfConstant(cfgetospeed(&t));
}

} // namespace Line
