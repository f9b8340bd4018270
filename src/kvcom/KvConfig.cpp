#include "kvcom/KvConfig.h"

#include "common/Cp1251.h"
#include "common/IniFile.h"
#include "common/NetAddress.h"
#include "common/ProgDir.h"
#include "kvcom/kvcom.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <dlfcn.h>
#include <mutex>

namespace Kv {

QString LibraryDir() {
    Dl_info info{};
    // Any symbol of this library names the file it was loaded from.
    if (dladdr(reinterpret_cast<void*>(&KV_CreateCOM), &info) == 0 || info.dli_fname == nullptr)
        return QStringLiteral("./");
    const QString path = QFile::decodeName(info.dli_fname);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QStringLiteral("./") : path.left(slash + 1);
}

namespace {
// An installed library's directory is read-only to its users; a kvcom.ini of their own (a whole
// replacement, for example with their Extra ports) then stands in the user's configuration
// directory. Relative paths in it are still taken from the library's directory.
QString ConfigFile(const QString& libDir) {
    if (!StartupFiles::IsProgDirWritable(libDir)) {
        const QString own = StartupFiles::UserConfigDir() + QStringLiteral("kvcom.ini");
        if (QFileInfo::exists(own))
            return own;
    }
    return libDir + QStringLiteral("kvcom.ini");
}
} // namespace

TLibConfig ReadConfig() {
    TLibConfig cfg;
    cfg.Dir = LibraryDir();
    const TIniFile ini(ConfigFile(cfg.Dir));
    const QString ports = QStringLiteral("Ports");
    const QString demo = QStringLiteral("Demo");

    cfg.Demo = ini.ReadInteger(ports, QStringLiteral("Demo"), 1) != 0;
    for (const QString& p :
         ini.ReadString(ports, QStringLiteral("Extra"), QString()).split(QLatin1Char(';'))) {
        const QString path = p.trimmed();
        if (!path.isEmpty())
            cfg.Extra.append(path);
    }

    for (const QString& d :
         ini.ReadString(ports, QStringLiteral("Links"), QStringLiteral("/dev/serial/by-id"))
             .split(QLatin1Char(';'))) {
        const QString dir = d.trimmed();
        if (!dir.isEmpty())
            cfg.Links.append(dir);
    }

    const QString net = QStringLiteral("Net");
    for (const QString& key : ini.ReadSection(net))
        cfg.Net.emplace_back(key, ini.ReadString(net, key, QString()).trimmed());

    Sim::TConfig& bus = cfg.DemoBus;
    bus.RequestLogLimit = 0; // nobody reads the demo line's request log
    for (const QString& key : ini.ReadSection(demo)) {
        if (!key.startsWith(QStringLiteral("Device"), Qt::CaseInsensitive))
            continue;
        if (const auto deviceDef = Sim::ParseDeviceSpec(ini.ReadString(demo, key, QString())))
            bus.Devices.push_back(*deviceDef);
    }
    if (bus.Devices.empty()) {
        bus.Devices.push_back({1, 21, QString(), 0});
        bus.Devices.push_back({2, 21, QStringLiteral("K1_205"), 0});
        bus.Devices.push_back({5, 7, QString(), 0});
    }
    const int32_t speed =
        ini.ReadInteger(demo, QStringLiteral("Speed"), static_cast<int32_t>(Sim::DefaultSpeed));
    if (speed > 0 && Sim::SpeedIndexOf(static_cast<uint32_t>(speed)) >= 0)
        bus.DefaultSpeed = static_cast<uint32_t>(speed);
    bus.LineTiming = ini.ReadBool(demo, QStringLiteral("Timing"), false);
    bus.CalibSeconds = std::max(0.0, ini.ReadFloat(demo, QStringLiteral("CalibSeconds"), 2.0));
    const QString progDir = ini.ReadString(demo, QStringLiteral("ProgDir"), QString());
    bus.ProgDir = progDir.isEmpty() ? cfg.Dir : QDir(cfg.Dir).absoluteFilePath(progDir);

    auto count = [&](const char* key) {
        return static_cast<uint32_t>(std::max(0, ini.ReadInteger(demo, QLatin1String(key), 0)));
    };
    bus.Faults.DropEvery = count("Drop");
    bus.Faults.BadCrcEvery = count("BadCrc");
    bus.Faults.ForeignEvery = count("Foreign");
    bus.Faults.Dollar1Every = count("Dollar1");
    bus.Faults.DelayMs = count("DelayMs");
    bus.Faults.SilenceAfter = count("SilenceAfter");
    bus.Faults.Noise = count("Noise") != 0;
    bus.Faults.Echo = count("Echo") != 0;
    return cfg;
}

bool SystemHasName(const QString& name) {
    if (name.compare(QStringLiteral("SIM1"), Qt::CaseInsensitive) == 0)
        return true;
    const QStringList devices =
        QDir(QStringLiteral("/dev")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    return std::any_of(devices.begin(), devices.end(),
                       [&](const QString& d) { return d.compare(name, Qt::CaseInsensitive) == 0; });
}

QString NetPortProblem(const QString& name, const QString& address) {
    if (name.isEmpty() || name.size() > MaxNetName)
        return QStringLiteral("имя должно быть не длиннее %1 символов").arg(MaxNetName);
    for (QChar c : name)
        if (c.isSpace() || c == QLatin1Char('/') || c == QLatin1Char(';') || c == QLatin1Char(':') ||
            Cp1251::CodeOf(c.unicode()) <= 0)
            return QStringLiteral("недопустимый символ «%1» в имени").arg(c);
    if (SystemHasName(name))
        return QStringLiteral("имя уже занято портом системы; действует порт системы");
    QString why;
    if (!NetAddress::Parse(address, &why))
        return QStringLiteral("адрес «%1»: %2").arg(address, why);
    return QString();
}

void ReportOnce(const QString& text) {
    static std::mutex mutex;
    static QSet<QString> said;
    std::lock_guard<std::mutex> lock(mutex);
    if (said.contains(text))
        return;
    said.insert(text);
    const QByteArray line = QStringLiteral("libkvcom: %1\n").arg(text).toLocal8Bit();
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace Kv
