#pragma once
// The library's own settings file "kvcom.ini" beside libkvcom.so (Windows-1251 INI):
//   [Ports]  Demo=1             offer the demo line "SIM1" (default 1)
//            Extra=/a;/b        further port paths to offer (pseudo-terminals, symbolic links)
//            Links=/dev/serial/by-id   directories of stable link names (udev's), offered
//                               beside the devices they point to (";"-separated; default as shown)
//   [Net]    NET1=tcp://10.0.0.5:4001      named ports behind device servers, offered after the
//            NET2=rfc2217://10.0.0.6:2217  serial ports in file order (see NetPortProblem)
//   [Demo]   Device1=1:21       simulated instruments of SIM1: ADDR:TYPENUM[:VERSION[:SPEED]];
//            Device2=2:21:K1_205  every key starting with "Device", in file order; none given:
//            ...                  1:21, 2:21:K1_205, 5:7
//            Speed=9600         speed of instruments without their own
//            Timing=1           simulate line timing at the chosen speed (default 0)
//            CalibSeconds=2     how long a calibration takes
//            ProgDir=           description files (default: the library's directory; relative
//                               paths are taken from there)
//            Drop, BadCrc, Foreign, Dollar1, DelayMs, SilenceAfter, Noise, Echo: fault injection,
//            as the simulator's options of the same meaning (default 0).
#include "sim/SimBus.h"

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace Kv {

struct TLibConfig {
    QString Dir; // the library's directory, ending in "/"
    bool Demo = true;
    QStringList Extra;
    QStringList Links;
    std::vector<std::pair<QString, QString>> Net; // name, address, in file order
    Sim::TConfig DemoBus;
};

// Directory of the loaded library file, ending in "/".
QString LibraryDir();
TLibConfig ReadConfig();

// Why a [Net] entry cannot be offered, in Russian; empty when it can. The name must be short (at
// most MaxNetName characters, no "/", ";", ":" or blanks) and must not be a name the system already
// has: a device under /dev (compared without regard to case) or the demo line. The system's port
// wins such a clash, as KV_OpenCOM opens the device of that name.
constexpr qsizetype MaxNetName = 32;
QString NetPortProblem(const QString& name, const QString& address);
// A device of this name under /dev, letter case ignored, or the demo line.
bool SystemHasName(const QString& name);
// Says once per process on stderr why a [Net] entry or an address is not used.
void ReportOnce(const QString& text);

} // namespace Kv
