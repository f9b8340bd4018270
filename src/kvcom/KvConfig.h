#pragma once
// The library's own settings file "kvcom.ini" beside libkvcom.so (Windows-1251 INI):
//   [Ports]  Demo=1             offer the demo line "SIM1" (default 1)
//            Extra=/a;/b        further port paths to offer (pseudo-terminals, symbolic links)
//            Links=/dev/serial/by-id   directories of stable link names (udev's), offered
//                               beside the devices they point to (";"-separated; default as shown)
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

namespace Kv {

struct TLibConfig {
    QString Dir; // the library's directory, ending in "/"
    bool Demo = true;
    QStringList Extra;
    QStringList Links;
    Sim::TConfig DemoBus;
};

// Directory of the loaded library file, ending in "/".
QString LibraryDir();
TLibConfig ReadConfig();

} // namespace Kv
