#include "cli/CliFiles.h"

#include "cli/CliArgs.h"
#include "common/Numbers.h"
#include "exchange/Encodings.h"
#include "exchange/Exchange.h"
#include "exchange/ReadWriteAll.h"
#include "formats/DevTableGrid.h"
#include "formats/ParamSetFile.h"
#include "model/ValueCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

namespace {
// Versions whose descriptions exist for the type: the base first, then data_ver in name order.
QStringList KnownVersions(const QString& progDir, const TDevProp& type) {
    QStringList out{QString()};
    const QFileInfo base(DescriptionPath(progDir, type, QStringLiteral("x")));
    const QStringList files = base.dir().entryList({QStringLiteral("*.dv")}, QDir::Files, QDir::Name);
    for (const QString& f : files)
        out << f.left(f.size() - 3);
    return out;
}

TValueSetLoad Refuse(int exit, const QStringList& problems) {
    return {exit, problems};
}

QString ValueText(const QJsonValue& v) {
    if (v.isString())
        return v.toString();
    if (v.isDouble())
        return Numbers::FormatGeneral(v.toDouble());
    if (v.isBool())
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    return QString();
}

TValueSetLoad LoadKpr(const QString& progDir, TDevProp& type, const QString& path, TValueSet& set) {
    TGridData grid;
    const TParamSetReadResult r = ReadParamSetFile(grid, path);
    if (!r.Ok)
        return Refuse(CliFileError, {r.Error});
    QStringList firstMismatch;
    for (const QString& v : KnownVersions(progDir, type)) {
        if (!LoadDescriptions(progDir, type, v))
            continue;
        const QStringList mismatches = DevTableNameMismatches(type, grid);
        if (mismatches.isEmpty())
            set.Versions << v;
        else if (firstMismatch.isEmpty())
            firstMismatch = mismatches;
    }
    if (set.Versions.isEmpty()) {
        LoadDescriptions(progDir, type, QString());
        QStringList problems{
            QCoreApplication::translate("Cli", "файл не подходит к типу \"%1\" ни в одной версии описаний:")
                .arg(type.Name)};
        problems += firstMismatch.mid(0, 5);
        if (firstMismatch.size() > 5)
            problems << QCoreApplication::translate("Cli", "... и ещё %1").arg(firstMismatch.size() - 5);
        return Refuse(CliRefused, problems);
    }
    LoadDescriptions(progDir, type, set.Versions.first());
    set.Values = DevTableValuesFromGrid(type, grid);
    return {};
}

TValueSetLoad LoadJson(const QString& progDir, TDevProp& type, const QString& path, int address,
                       TValueSet& set) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Refuse(CliFileError, {QCoreApplication::translate("Cli", "не удалось открыть файл \"%1\": %2")
                                         .arg(path, file.errorString())});
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &err);
    if (doc.isNull() || !doc.isObject())
        return Refuse(CliFileError,
                      {QCoreApplication::translate("Cli", "файл \"%1\" не является документом JSON: %2")
                           .arg(path, err.error == QJsonParseError::NoError
                                          ? QCoreApplication::translate("Cli", "нужен объект")
                                          : err.errorString())});
    QJsonObject device = doc.object();
    if (device.contains(QStringLiteral("devices"))) {
        const QJsonArray devices = device.value(QStringLiteral("devices")).toArray();
        if (devices.isEmpty())
            return Refuse(CliRefused, {QCoreApplication::translate("Cli", "в файле нет приборов")});
        device = devices.first().toObject();
        // A read of several addresses: each instrument gets the device read at its address.
        if (devices.size() > 1) {
            set.Several = true;
            QStringList present;
            bool found = false;
            for (const QJsonValue& d : devices) {
                const int a = d.toObject().value(QStringLiteral("address")).toInt();
                present << QString::number(a);
                if (a == address && !found) {
                    device = d.toObject();
                    found = true;
                }
            }
            if (!found)
                return Refuse(CliRefused, {QCoreApplication::translate(
                                               "Cli", "в файле нет прибора с адресом %1 (есть: %2)")
                                               .arg(address)
                                               .arg(present.join(QStringLiteral(", ")))});
        }
    }
    const QString typeName = device.value(QStringLiteral("type")).toString();
    if (!typeName.isEmpty() && typeName.compare(type.Name, Qt::CaseInsensitive) != 0)
        return Refuse(CliRefused,
                      {QCoreApplication::translate("Cli", "файл для типа \"%1\", выбран тип \"%2\"")
                           .arg(typeName, type.Name)});
    const QString version = device.value(QStringLiteral("version")).toString();
    if (!LoadDescriptions(progDir, type, version)) {
        LoadDescriptions(progDir, type, QString());
        return Refuse(
            CliRefused,
            {QCoreApplication::translate("Cli", "нет описаний параметров версии \"%1\"").arg(version)});
    }
    const QJsonValue params = device.value(QStringLiteral("parameters"));
    if (!params.isArray())
        return Refuse(CliRefused, {QCoreApplication::translate("Cli", "в файле нет списка \"parameters\"")});
    QHash<QString, int> index;
    for (int i = 0; i < type.ParamCount(); ++i)
        index.insert(type.Param(i).Name, i);
    QStringList values(type.ParamCount());
    QVector<bool> given(type.ParamCount(), false);
    QStringList unknown, repeated;
    for (const QJsonValue& entry : params.toArray()) {
        const QJsonObject o = entry.toObject();
        const QString name = o.value(QStringLiteral("name")).toString();
        const auto it = index.constFind(name);
        if (it == index.constEnd()) {
            unknown << QStringLiteral("\"%1\"").arg(name);
            continue;
        }
        if (given[*it])
            repeated << QStringLiteral("\"%1\"").arg(name);
        given[*it] = true;
        values[*it] = ValueText(o.value(QStringLiteral("value")));
    }
    QStringList missing;
    for (int i = 0; i < type.ParamCount(); ++i)
        if (!given[i])
            missing << QStringLiteral("\"%1\"").arg(type.Param(i).Name);
    QStringList problems;
    if (!unknown.isEmpty())
        problems << QCoreApplication::translate("Cli", "неизвестные параметры: %1")
                        .arg(unknown.join(QStringLiteral(", ")));
    if (!missing.isEmpty())
        problems << QCoreApplication::translate("Cli", "нет параметров: %1")
                        .arg(missing.join(QStringLiteral(", ")));
    if (!repeated.isEmpty())
        problems << QCoreApplication::translate("Cli", "параметры заданы дважды: %1")
                        .arg(repeated.join(QStringLiteral(", ")));
    if (!problems.isEmpty())
        return Refuse(CliRefused, problems);
    set.Versions = {version};
    set.Values = values;
    return {};
}
} // namespace

TValueSetLoad LoadValueSet(const QString& progDir, TDevProp& type, const QString& path, bool checkValues,
                           int address, TValueSet& set) {
    set = TValueSet();
    if (!QFileInfo(path).isFile())
        return Refuse(CliFileError, {QCoreApplication::translate("Cli", "файл не найден: %1").arg(path)});
    const QString suffix = QFileInfo(path).suffix().toLower();
    TValueSetLoad r;
    if (suffix == QLatin1String("json"))
        r = LoadJson(progDir, type, path, address, set);
    else if (suffix == type.DevExt.toLower())
        r = LoadKpr(progDir, type, path, set);
    else
        return Refuse(
            CliFileError,
            {QCoreApplication::translate("Cli", "файл \"%1\": нужен .%2 или .json").arg(path, type.DevExt)});
    if (r.Exit != 0 || !checkValues)
        return r;
    const QStringList problems = CheckValueSet(type, set.Values);
    if (!problems.isEmpty())
        return Refuse(CliRefused, problems);
    return {};
}

QStringList CheckValueSet(const TDevProp& type, QStringList& values) {
    QStringList problems;
    for (int i = 0; i < type.ParamCount() && i < values.size(); ++i) {
        const TParam& p = type.Param(i);
        QString& v = values[i];
        if (v.isEmpty()) {
            problems << QCoreApplication::translate("Cli", "Неверно введен параметр \"%1\" .").arg(p.Name);
            continue;
        }
        if (p.SType == 1) {
            const auto k = Numbers::ParseInt(v);
            const bool ok = p.Menu && k && *k >= 0 && *k < MenuSize && *k < p.Menu->size() &&
                            !p.Menu->at(*k).isEmpty() && p.Menu->at(*k) != MenuNoneText;
            if (!ok)
                problems << QCoreApplication::translate("Cli",
                                                        "параметр \"%1\": нет варианта с номером \"%2\"")
                                .arg(p.Name, v);
            continue;
        }
        if (p.SType == 2) {
            if (v != QLatin1String("0") && v != QLatin1String("1"))
                problems << QCoreApplication::translate("Cli", "параметр \"%1\": нужно 0 или 1, а не \"%2\"")
                                .arg(p.Name, v);
            continue;
        }
        QString checked = v;
        switch (CheckParamValue(p, checked)) {
        case TValueVerdict::Ok:
            v = checked;
            break;
        case TValueVerdict::Bad:
            problems << QCoreApplication::translate("Cli", "параметр \"%1\": неверное значение \"%2\"")
                            .arg(p.Name, v);
            break;
        case TValueVerdict::BelowMin:
            problems << QCoreApplication::translate("Cli", "параметр \"%1\": значение %2 меньше минимума %3")
                            .arg(p.Name, v, p.Vmin);
            break;
        case TValueVerdict::AboveMax:
            problems << QCoreApplication::translate("Cli", "параметр \"%1\": значение %2 больше максимума %3")
                            .arg(p.Name, v, p.Vmax);
            break;
        }
    }
    return problems;
}

QString DisplayValue(const TParam& p, const QString& value) {
    if (p.SType == 1 && p.Menu) {
        const auto k = Numbers::ParseInt(value);
        if (k && *k >= 0 && *k < p.Menu->size())
            return p.Menu->at(*k);
    }
    return value;
}

QString ExpectedReadBack(const TParam& p, const QString& value) {
    QString location, field, decoded;
    if (EncodeValue(p.VType, p.Address, 0, value, location, field) == ExOk &&
        DecodeValue(p.VType, field, decoded) == ExOk)
        return NormalReadValue(decoded);
    return NormalReadValue(value);
}

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
