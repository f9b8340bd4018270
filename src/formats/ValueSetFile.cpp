#include "formats/ValueSetFile.h"

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
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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

TValueSetLoad Refuse(TValueSetStatus status, const QStringList& problems) {
    return {status, problems};
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

TValueSetLoad LoadKpr(const QString& progDir, TDevProp& type, const QString& path, TValueSet& set,
                      const QString* preferredVersion) {
    TGridData grid;
    const TParamSetReadResult r = ReadParamSetFile(grid, path);
    if (!r.Ok)
        return Refuse(TValueSetStatus::FileError, {r.Error});
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
        QStringList problems{QCoreApplication::translate(
                                 "ValueSetFile", "файл не подходит к типу \"%1\" ни в одной версии описаний:")
                                 .arg(type.Name)};
        problems += firstMismatch.mid(0, 5);
        if (firstMismatch.size() > 5)
            problems
                << QCoreApplication::translate("ValueSetFile", "... и ещё %1").arg(firstMismatch.size() - 5);
        return Refuse(TValueSetStatus::Refused, problems);
    }
    // The option texts of the version asked for turn into its option numbers.
    if (preferredVersion && set.Versions.contains(*preferredVersion))
        set.Versions.move(set.Versions.indexOf(*preferredVersion), 0);
    LoadDescriptions(progDir, type, set.Versions.first());
    set.Values = DevTableValuesFromGrid(type, grid);
    return {};
}

TValueSetLoad LoadJson(const QString& progDir, TDevProp& type, const QString& path, int address,
                       TValueSet& set) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Refuse(TValueSetStatus::FileError,
                      {QCoreApplication::translate("ValueSetFile", "не удалось открыть файл \"%1\": %2")
                           .arg(path, file.errorString())});
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &err);
    if (doc.isNull() || !doc.isObject())
        return Refuse(
            TValueSetStatus::FileError,
            {QCoreApplication::translate("ValueSetFile", "файл \"%1\" не является документом JSON: %2")
                 .arg(path, err.error == QJsonParseError::NoError
                                ? QCoreApplication::translate("ValueSetFile", "нужен объект")
                                : err.errorString())});
    QJsonObject device = doc.object();
    if (device.contains(QStringLiteral("devices"))) {
        const QJsonArray devices = device.value(QStringLiteral("devices")).toArray();
        if (devices.isEmpty())
            return Refuse(TValueSetStatus::Refused,
                          {QCoreApplication::translate("ValueSetFile", "в файле нет приборов")});
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
                return Refuse(TValueSetStatus::Refused,
                              {QCoreApplication::translate("ValueSetFile",
                                                           "в файле нет прибора с адресом %1 (есть: %2)")
                                   .arg(address)
                                   .arg(present.join(QStringLiteral(", ")))});
        }
    }
    const QString typeName = device.value(QStringLiteral("type")).toString();
    if (!typeName.isEmpty() && typeName.compare(type.Name, Qt::CaseInsensitive) != 0)
        return Refuse(TValueSetStatus::Refused,
                      {QCoreApplication::translate("ValueSetFile", "файл для типа \"%1\", выбран тип \"%2\"")
                           .arg(typeName, type.Name)});
    const QString version = device.value(QStringLiteral("version")).toString();
    if (!LoadDescriptions(progDir, type, version)) {
        LoadDescriptions(progDir, type, QString());
        return Refuse(TValueSetStatus::Refused,
                      {QCoreApplication::translate("ValueSetFile", "нет описаний параметров версии \"%1\"")
                           .arg(version)});
    }
    const QJsonValue params = device.value(QStringLiteral("parameters"));
    if (!params.isArray())
        return Refuse(TValueSetStatus::Refused,
                      {QCoreApplication::translate("ValueSetFile", "в файле нет списка \"parameters\"")});
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
        problems << QCoreApplication::translate("ValueSetFile", "неизвестные параметры: %1")
                        .arg(unknown.join(QStringLiteral(", ")));
    if (!missing.isEmpty())
        problems << QCoreApplication::translate("ValueSetFile", "нет параметров: %1")
                        .arg(missing.join(QStringLiteral(", ")));
    if (!repeated.isEmpty())
        problems << QCoreApplication::translate("ValueSetFile", "параметры заданы дважды: %1")
                        .arg(repeated.join(QStringLiteral(", ")));
    if (!problems.isEmpty())
        return Refuse(TValueSetStatus::Refused, problems);
    set.Versions = {version};
    set.Values = values;
    return {};
}
} // namespace

TValueSetLoad LoadValueSet(const QString& progDir, TDevProp& type, const QString& path, bool checkValues,
                           int address, TValueSet& set, const QString* preferredVersion) {
    set = TValueSet();
    if (!QFileInfo(path).isFile())
        return Refuse(TValueSetStatus::FileError,
                      {QCoreApplication::translate("ValueSetFile", "файл не найден: %1").arg(path)});
    const QString suffix = QFileInfo(path).suffix().toLower();
    TValueSetLoad r;
    if (suffix == QLatin1String("json"))
        r = LoadJson(progDir, type, path, address, set);
    else if (suffix == type.DevExt.toLower())
        r = LoadKpr(progDir, type, path, set, preferredVersion);
    else
        return Refuse(TValueSetStatus::FileError,
                      {QCoreApplication::translate("ValueSetFile", "файл \"%1\": нужен .%2 или .json")
                           .arg(path, type.DevExt)});
    if (r.Status != TValueSetStatus::Ok || !checkValues)
        return r;
    const QStringList problems = CheckValueSet(type, set.Values);
    if (!problems.isEmpty())
        return Refuse(TValueSetStatus::Refused, problems);
    return {};
}

QString CheckSetValue(const TParam& p, QString& v) {
    if (v.isEmpty())
        return QCoreApplication::translate("ValueSetFile", "Неверно введен параметр \"%1\" .").arg(p.Name);
    if (p.SType == 1) {
        const auto k = Numbers::ParseInt(v);
        const bool ok = p.Menu && k && *k >= 0 && *k < MenuSize && *k < p.Menu->size() &&
                        !p.Menu->at(*k).isEmpty() && p.Menu->at(*k) != MenuNoneText;
        return ok ? QString()
                  : QCoreApplication::translate("ValueSetFile",
                                                "параметр \"%1\": нет варианта с номером \"%2\"")
                        .arg(p.Name, v);
    }
    if (p.SType == 2) {
        const bool ok = v == QLatin1String("0") || v == QLatin1String("1");
        return ok ? QString()
                  : QCoreApplication::translate("ValueSetFile", "параметр \"%1\": нужно 0 или 1, а не \"%2\"")
                        .arg(p.Name, v);
    }
    QString checked = v;
    switch (CheckParamValue(p, checked)) {
    case TValueVerdict::Ok:
        v = checked;
        return QString();
    case TValueVerdict::Bad:
        return QCoreApplication::translate("ValueSetFile", "параметр \"%1\": неверное значение \"%2\"")
            .arg(p.Name, v);
    case TValueVerdict::BelowMin:
        return QCoreApplication::translate("ValueSetFile", "параметр \"%1\": значение %2 меньше минимума %3")
            .arg(p.Name, v, p.Vmin);
    case TValueVerdict::AboveMax:
        return QCoreApplication::translate("ValueSetFile", "параметр \"%1\": значение %2 больше максимума %3")
            .arg(p.Name, v, p.Vmax);
    }
    return QString();
}

QStringList CheckValueSet(const TDevProp& type, QStringList& values) {
    QStringList problems;
    for (int i = 0; i < type.ParamCount() && i < values.size(); ++i)
        if (const QString problem = CheckSetValue(type.Param(i), values[i]); !problem.isEmpty())
            problems << problem;
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

TValueSetComparison CompareValueSets(const TDevProp& type, const QStringList& file, const QStringList& device,
                                     const std::vector<bool>& delivered, bool deviceAsStored) {
    TValueSetComparison out;
    for (int i = 0; i < type.ParamCount(); ++i) {
        const TParam& p = type.Param(i);
        const QString fileValue = i < file.size() ? file[i] : QString();
        if (p.VType == KBitStringCode) {
            out.BitStrings.push_back(i);
            if (fileValue != p.Value)
                out.BitStringsChanged.push_back(i);
            continue;
        }
        if (static_cast<size_t>(i) >= delivered.size() || !delivered[static_cast<size_t>(i)] ||
            i >= device.size())
            continue;
        ++out.Compared;
        const QString& actual = device[i];
        if (ExpectedReadBack(p, fileValue) != (deviceAsStored ? actual : ExpectedReadBack(p, actual)))
            out.Differences.push_back({i, fileValue, actual});
    }
    return out;
}
