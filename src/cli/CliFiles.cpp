#include "cli/CliFiles.h"

#include "formats/DevTableGrid.h"
#include "formats/ParamSetFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>

QJsonObject DeviceJson(const TDevProp& type, const TDev& dev, const std::vector<bool>& delivered) {
    QJsonArray params;
    for (int i = 0; i < type.ParamCount(); ++i) {
        const TParam& p = type.Param(i);
        const QString v = i < dev.Values.size() ? dev.Values[i] : QString();
        QJsonObject o{{QStringLiteral("name"), p.Name}, {QStringLiteral("value"), v}};
        if (p.SType == 1)
            o.insert(QStringLiteral("text"), DisplayValue(p, v));
        o.insert(QStringLiteral("read"),
                 static_cast<size_t>(i) < delivered.size() && delivered[static_cast<size_t>(i)]);
        params.append(o);
    }
    return QJsonObject{{QStringLiteral("address"), dev.Address},
                       {QStringLiteral("type"), type.Name},
                       {QStringLiteral("version"), type.Version},
                       {QStringLiteral("parameters"), params}};
}

QByteArray ParamSetBytes(const TDevProp& type, const QStringList& values) {
    return EncodeParamSet(DevTableGridFromValues(type, values));
}

namespace {
// path with "_" + tag before its suffix.
QString Tagged(const QString& path, const QString& tag) {
    const QFileInfo fi(path);
    const QString suffix = fi.suffix();
    const QString base = suffix.isEmpty() ? path : path.left(path.size() - suffix.size() - 1);
    return base + QLatin1Char('_') + tag + (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);
}
} // namespace

QString PerAddressName(const QString& path, int address, bool several) {
    if (!several || path == QLatin1String("-"))
        return path;
    return Tagged(path, QString::number(address));
}

QString PerPortName(const QString& path, const QString& port) {
    if (path.isEmpty() || path == QLatin1String("-"))
        return path;
    QString name = port.startsWith(QStringLiteral("/dev/")) ? port.mid(5) : port;
    QString safe;
    for (const QChar c : name) {
        const bool keep = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                          (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                          (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.') ||
                          c == QLatin1Char('-');
        if (keep)
            safe += c;
        else if (!safe.endsWith(QLatin1Char('_')))
            safe += QLatin1Char('_');
    }
    while (safe.startsWith(QLatin1Char('_')) || safe.startsWith(QLatin1Char('.')))
        safe.remove(0, 1);
    while (safe.endsWith(QLatin1Char('_')))
        safe.chop(1);
    return Tagged(path, safe.isEmpty() ? QStringLiteral("port") : safe);
}

TFileResult ProbeWritable(const QString& path) {
    TFileSave file(path);
    if (!file.Open())
        return {false, QCoreApplication::translate("Cli", "Не удалось создать файл \"%1\": %2")
                           .arg(path, file.Reason())};
    return {}; // the temporary file goes with `file`
}
