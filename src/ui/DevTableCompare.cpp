#include "ui/DevTableCompare.h"

#include "common/Numbers.h"
#include "formats/ValueSetFile.h"
#include "ui/DevTable.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

namespace {
QString Caption() {
    return QCoreApplication::translate("DevTableCompare", "Сравнение с файлом");
}

QString VersionName(const QString& version) {
    return version.isEmpty() ? QCoreApplication::translate("DevTableCompare", "базовая")
                             : QStringLiteral("\"%1\"").arg(version);
}

// A value as the table shows it: the option text of a list, the state of a check box.
QString Shown(const TParam& p, const QString& value) {
    if (p.SType == 2)
        return value == QLatin1String("1") ? QCoreApplication::translate("DevTableCompare", "отмечено")
                                           : QCoreApplication::translate("DevTableCompare", "не отмечено");
    return DisplayValue(p, value);
}

// A scratch entry of the same type: loading the file's descriptions must not touch the table's.
void CopyEntry(const TDevProp& from, TDevProp& to) {
    to.Name = from.Name;
    to.TypeNum = from.TypeNum;
    to.BaudRate = from.BaudRate;
    to.TimeOut = from.TimeOut;
    to.Tmin = from.Tmin;
    to.Dir = from.Dir;
    to.DevExt = from.DevExt;
    to.ChExt = from.ChExt;
    to.Channels = from.Channels;
}

int Nothing(const TDevCompareHost& host, const QString& text) {
    host.Dialogs.Message(text, Caption(), TMsgButtons::Ok);
    host.ShowMessage(
        QCoreApplication::translate("DevTableCompare", "Сравнение с файлом: ничего не сравнено"));
    return -1;
}

// Bit strings are never compared (the protocol carries none of their values): named, those whose
// file value is not the factory one each on a line of its own.
QString BitStringLines(const TDevProp& type, const TValueSetComparison& c, const QStringList& file) {
    QStringList lines;
    QStringList same;
    for (const int i : c.BitStrings) {
        const TParam& p = type.Param(i);
        if (std::find(c.BitStringsChanged.begin(), c.BitStringsChanged.end(), i) != c.BitStringsChanged.end())
            lines
                << QCoreApplication::translate(
                       "DevTableCompare",
                       "\"%1\" = %2 в файле: не сравнено — значения битовых строк этот протокол не передаёт")
                       .arg(p.Name, i < file.size() ? file[i] : QString());
        else
            same << QStringLiteral("\"%1\"").arg(p.Name);
    }
    if (!same.isEmpty())
        lines << QCoreApplication::translate(
                     "DevTableCompare", "Битовые строки не сравнены (протокол не передаёт их значений): %1")
                     .arg(same.join(QStringLiteral(", ")));
    return lines.join(QLatin1Char('\r'));
}

// The file's values into the differing rows, all or none: each must pass the table's own check.
void TakeValues(const TDevCompareHost& host, const TDevProp& type,
                const std::vector<TValueDifference>& diffs) {
    std::vector<std::pair<int, QString>> taken;
    QStringList problems;
    for (const TValueDifference& d : diffs) {
        const TParam& p = type.Param(d.Index);
        QString value = d.File;
        if (const QString problem = CheckSetValue(p, value); !problem.isEmpty())
            problems << problem;
        else
            taken.emplace_back(d.Index, value);
    }
    if (!problems.isEmpty()) {
        host.Dialogs.Message(
            QCoreApplication::translate("DevTableCompare", "Значения из файла не взяты в таблицу:\r%1")
                .arg(problems.join(QLatin1Char('\r'))),
            Caption(), TMsgButtons::Ok);
        return;
    }
    if (taken.empty())
        return;
    for (const auto& [i, value] : taken) {
        const TParam& p = type.Param(i);
        const QString was = std::find_if(diffs.begin(), diffs.end(), [i = i](const TValueDifference& d) {
                                return d.Index == i;
                            })->Device;
        host.Table.SetParamValue(i, value);
        host.Table.MarkDifference(
            i, QCoreApplication::translate("DevTableCompare", "было: %1").arg(Shown(p, was)),
            QCoreApplication::translate("DevTableCompare", "Взято из файла: %1\nВ таблице было: %2")
                .arg(Shown(p, value), Shown(p, was)));
    }
    host.PrjChange();
    host.ShowMessage(
        QCoreApplication::translate("DevTableCompare", "Взято из файла значений: %1").arg(taken.size()));
}
} // namespace

QString ChooseCompareFile(TAppState& state, IUserDialogs& dialogs) {
    if (!state.HasCurType())
        return QString();
    const TDevProp& type = state.CurDevType();
    TFileDialogSpec dialogDef;
    dialogDef.Title = QCoreApplication::translate("DevTableCompare", "Сравнение параметров прибора с файлом");
    dialogDef.Directory = UserFilesDir(state.LastUserDir, state.ProgDir);
    dialogDef.Filters = {
        QCoreApplication::translate("DevTableCompare", "Параметры прибора (*.%1 *.json)").arg(type.DevExt),
        QCoreApplication::translate("DevTableCompare", "Файлы параметров прибора (*.%1)").arg(type.DevExt),
        QCoreApplication::translate("DevTableCompare", "Чтение kestrin-cli (*.json)")};
    dialogDef.DefaultExt = type.DevExt;
    const QString chosen = dialogs.OpenFileName(dialogDef);
    if (!chosen.isEmpty())
        state.LastUserDir = QFileInfo(chosen).absolutePath();
    return chosen;
}

int CompareDevTable(const TDevCompareHost& host, const QString& path) {
    TAppState& state = host.State;
    if (!state.HasCurType())
        return -1;
    const TDevProp& type = state.CurDevType();
    host.Table.ClearDifferences();
    const QString name = QFileInfo(path).fileName();

    TDevProp fileType;
    CopyEntry(type, fileType);
    TValueSet set;
    const TValueSetLoad load =
        LoadValueSet(state.ProgDir, fileType, path, false, state.CurDev().Address, set, &type.Version);
    if (load.Status == TValueSetStatus::FileError)
        return Nothing(host, QCoreApplication::translate("DevTableCompare",
                                                         "Файл %1 не прочитан, ничего не сравнено:\r%2")
                                 .arg(path, load.Problems.join(QLatin1Char('\r'))));
    if (load.Status != TValueSetStatus::Ok)
        return Nothing(
            host,
            QCoreApplication::translate("DevTableCompare",
                                        "Файл %1 не подходит к прибору (тип \"%2\", версия описаний %3), "
                                        "ничего не сравнено:\r%4")
                .arg(path, type.Name, VersionName(type.Version), load.Problems.join(QLatin1Char('\r'))));
    if (!set.Versions.contains(type.Version) || fileType.ParamCount() != type.ParamCount()) {
        QStringList versions;
        for (const QString& v : set.Versions)
            versions << VersionName(v);
        return Nothing(
            host, QCoreApplication::translate(
                      "DevTableCompare",
                      "Файл %1 составлен для версии описаний %2, а прибор \"%3\" имеет версию %4: "
                      "ничего не сравнено.")
                      .arg(path, versions.join(QStringLiteral(", ")), type.Name, VersionName(type.Version)));
    }

    TDev table;
    host.Table.TableToValues(table);
    std::vector<bool> read(static_cast<size_t>(type.ParamCount()));
    for (int i = 0; i < type.ParamCount(); ++i)
        read[static_cast<size_t>(i)] = host.Table.ReadFromDevice(i);
    // A check box shows any non-zero value of a read as ticked and gives "1" back: a file's value
    // (a kestrin-cli read keeps the instrument's) is taken the same way.
    QStringList fileValues = set.Values;
    for (int i = 0; i < type.ParamCount() && i < fileValues.size(); ++i)
        if (const auto v = Numbers::ParseInt(fileValues[i]); type.Param(i).SType == 2 && v)
            fileValues[i] = *v != 0 ? QStringLiteral("1") : QStringLiteral("0");
    // The table's values may have been typed since the read: both sides as the instrument stores them.
    const TValueSetComparison c = CompareValueSets(type, fileValues, table.Values, read, false);
    if (c.Compared == 0)
        return Nothing(host, QCoreApplication::translate(
                                 "DevTableCompare",
                                 "В таблице нет значений, считанных из прибора: ничего не сравнено."));

    for (const TValueDifference& d : c.Differences) {
        const TParam& p = type.Param(d.Index);
        host.Table.MarkDifference(
            d.Index, QCoreApplication::translate("DevTableCompare", "в файле: %1").arg(Shown(p, d.File)),
            QCoreApplication::translate("DevTableCompare", "В файле: %1\nВ таблице: %2")
                .arg(Shown(p, d.File), Shown(p, d.Device)));
    }
    const int n = static_cast<int>(c.Differences.size());
    host.ShowMessage(QCoreApplication::translate("DevTableCompare", "Сравнение с %1: различий %2")
                         .arg(name, QString::number(n)));

    QString text =
        QCoreApplication::translate("DevTableCompare", "Файл %1: сравнено параметров %2, различий: %3.")
            .arg(path, QString::number(c.Compared), QString::number(n));
    if (const QString bits = BitStringLines(type, c, set.Values); !bits.isEmpty())
        text += QStringLiteral("\r\r") + bits;
    if (n > 0)
        text += QStringLiteral("\r\r") +
                QCoreApplication::translate("DevTableCompare", "Отличающиеся строки отмечены в таблице.");
    // The network address is never taken: the instrument stays where it is on the line.
    std::vector<TValueDifference> takeable;
    for (const TValueDifference& d : c.Differences)
        if (type.Param(d.Index).Name == NetAddressParamName)
            text += QLatin1Char('\r') +
                    QCoreApplication::translate(
                        "DevTableCompare",
                        "Сетевой адрес из файла не берется: прибор остается по своему адресу.");
        else
            takeable.push_back(d);
    if (takeable.empty()) {
        host.Dialogs.Message(text, Caption(), TMsgButtons::Ok);
        return n;
    }
    text += QStringLiteral("\r\r") +
            QCoreApplication::translate("DevTableCompare",
                                        "Взять в отличающиеся строки значения из файла? В прибор их запишет "
                                        "\"Записать все параметры в прибор\".");
    if (host.Dialogs.Message(text, Caption(), TMsgButtons::YesNo, TMsgAnswer::No) == TMsgAnswer::Yes)
        TakeValues(host, type, takeable);
    return n;
}
