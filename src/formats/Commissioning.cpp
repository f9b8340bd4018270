#include "formats/Commissioning.h"

#include "common/FileErrors.h"
#include "common/Numbers.h"
#include "exchange/CodeMeaning.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <algorithm>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace {
// Marks our lines, so that a line of anything else in the file is never taken for an entry.
const QString Kind = QStringLiteral("kestrin-commissioning");
constexpr int FormatVersion = 1;

QString OptionText(const TParam& p, const QString& value) {
    if (p.SType != 1 || !p.Menu)
        return QString();
    const auto k = Numbers::ParseInt(value);
    return k && *k >= 0 && *k < p.Menu->size() ? p.Menu->at(*k) : QString();
}

const char* VerificationKey(TVerification v) {
    switch (v) {
    case TVerification::Verified:
        return "verified";
    case TVerification::Differences:
        return "differences";
    case TVerification::NotVerified:
        break;
    }
    return "not verified";
}

// Local time with its offset from UTC ("2026-05-14T09:30:00+03:00").
QString IsoWithOffset(const QDateTime& t) {
    const int offset = t.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return t.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
           (offset < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
           QStringLiteral("%1:%2")
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString Esc(const QString& text) {
    return text.toHtmlEscaped();
}

// A value with its option text, as the table shows it.
QString Shown(const QString& value, const QString& text) {
    return text.isEmpty()
               ? Esc(value)
               : Esc(text) + QStringLiteral(" <span class=\"n\">(") + Esc(value) + QStringLiteral(")</span>");
}
} // namespace

std::vector<TCommissionChange> WrittenChanges(const TDevProp& type, const std::vector<int>& written,
                                              const QStringList& values,
                                              const std::vector<std::optional<QString>>& before,
                                              const TStoredForm& stored) {
    constexpr uint8_t BitString = 4;
    std::vector<TCommissionChange> changes;
    for (const int i : written) {
        if (i < 0 || i >= type.ParamCount() || i >= values.size())
            continue;
        const TParam& p = type.Param(i);
        if (p.VType == BitString)
            continue;
        TCommissionChange c;
        c.Name = p.Name;
        c.After = stored ? stored(p, values[i]) : values[i];
        c.AfterText = OptionText(p, c.After);
        if (static_cast<size_t>(i) < before.size() && before[static_cast<size_t>(i)]) {
            c.Before = before[static_cast<size_t>(i)];
            if (*c.Before == c.After)
                continue;
            c.BeforeText = OptionText(p, *c.Before);
        }
        changes.push_back(std::move(c));
    }
    return changes;
}

QString SystemUserName() {
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? QStringLiteral("uid %1").arg(::geteuid()) : user;
}

QString CommissioningFile() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base) + QStringLiteral("/kestrin/commissioning.jsonl");
}

QByteArray CommissionEntryLine(const TCommissionEntry& e) {
    QJsonArray changes;
    for (const TCommissionChange& c : e.Changes) {
        QJsonObject o{{QStringLiteral("name"), c.Name}, {QStringLiteral("after"), c.After}};
        if (c.Before)
            o.insert(QStringLiteral("before"), *c.Before);
        if (!c.AfterText.isEmpty())
            o.insert(QStringLiteral("afterText"), c.AfterText);
        if (!c.BeforeText.isEmpty())
            o.insert(QStringLiteral("beforeText"), c.BeforeText);
        changes.append(o);
    }
    QJsonArray notWritten;
    for (const TCommissionFailure& f : e.NotWritten)
        notWritten.append(QJsonObject{{QStringLiteral("name"), f.Name},
                                      {QStringLiteral("code"), f.Code},
                                      {QStringLiteral("reason"), f.Reason}});
    QJsonArray mismatches;
    for (const TCommissionMismatch& m : e.Mismatches)
        mismatches.append(QJsonObject{{QStringLiteral("name"), m.Name},
                                      {QStringLiteral("written"), m.Written},
                                      {QStringLiteral("read"), m.Read}});
    QJsonObject verify{{QStringLiteral("outcome"), QLatin1String(VerificationKey(e.Verification))}};
    if (e.Verification != TVerification::NotVerified) {
        verify.insert(QStringLiteral("checked"), e.Checked);
        verify.insert(QStringLiteral("mismatches"), mismatches);
    }
    if (!e.VerifyStatus.isEmpty())
        verify.insert(QStringLiteral("status"), e.VerifyStatus);
    QJsonObject o{{QStringLiteral("kind"), Kind},
                  {QStringLiteral("format"), FormatVersion},
                  {QStringLiteral("time"), IsoWithOffset(e.Time)},
                  {QStringLiteral("user"), e.User},
                  {QStringLiteral("program"), e.Program},
                  {QStringLiteral("programVersion"), e.ProgramVersion},
                  {QStringLiteral("port"), e.Port},
                  {QStringLiteral("speed"), e.Speed},
                  {QStringLiteral("address"), e.Address},
                  {QStringLiteral("type"), e.Type},
                  {QStringLiteral("typeNum"), e.TypeNum},
                  {QStringLiteral("version"), e.Version},
                  {QStringLiteral("readBefore"), e.ReadBefore},
                  {QStringLiteral("interrupted"), e.Interrupted},
                  {QStringLiteral("status"), e.Status},
                  {QStringLiteral("written"), e.Written},
                  {QStringLiteral("total"), e.Total},
                  {QStringLiteral("changes"), changes},
                  {QStringLiteral("notWritten"), notWritten},
                  {QStringLiteral("verification"), verify}};
    if (e.NewAddress >= 0)
        o.insert(QStringLiteral("newAddress"), e.NewAddress);
    if (e.NewSpeed >= 0)
        o.insert(QStringLiteral("newSpeed"), e.NewSpeed);
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<TCommissionEntry> ParseCommissionEntry(const QByteArray& line) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject o = doc.object();
    if (o.value(QStringLiteral("kind")).toString() != Kind || !o.value(QStringLiteral("port")).isString() ||
        !o.value(QStringLiteral("changes")).isArray())
        return std::nullopt;
    TCommissionEntry e;
    e.Time = QDateTime::fromString(o.value(QStringLiteral("time")).toString(), Qt::ISODate);
    if (!e.Time.isValid())
        return std::nullopt;
    e.User = o.value(QStringLiteral("user")).toString();
    e.Program = o.value(QStringLiteral("program")).toString();
    e.ProgramVersion = o.value(QStringLiteral("programVersion")).toString();
    e.Port = o.value(QStringLiteral("port")).toString();
    e.Speed = o.value(QStringLiteral("speed")).toInt();
    e.Address = o.value(QStringLiteral("address")).toInt();
    e.NewAddress = o.value(QStringLiteral("newAddress")).toInt(-1);
    e.NewSpeed = o.value(QStringLiteral("newSpeed")).toInt(-1);
    e.Type = o.value(QStringLiteral("type")).toString();
    e.TypeNum = o.value(QStringLiteral("typeNum")).toInt();
    e.Version = o.value(QStringLiteral("version")).toString();
    e.ReadBefore = o.value(QStringLiteral("readBefore")).toBool();
    e.Interrupted = o.value(QStringLiteral("interrupted")).toBool();
    e.Status = o.value(QStringLiteral("status")).toString();
    e.Written = o.value(QStringLiteral("written")).toInt();
    e.Total = o.value(QStringLiteral("total")).toInt();
    for (const QJsonValue& v : o.value(QStringLiteral("changes")).toArray()) {
        const QJsonObject c = v.toObject();
        TCommissionChange change;
        change.Name = c.value(QStringLiteral("name")).toString();
        change.After = c.value(QStringLiteral("after")).toString();
        if (c.contains(QStringLiteral("before")))
            change.Before = c.value(QStringLiteral("before")).toString();
        change.AfterText = c.value(QStringLiteral("afterText")).toString();
        change.BeforeText = c.value(QStringLiteral("beforeText")).toString();
        e.Changes.push_back(std::move(change));
    }
    for (const QJsonValue& v : o.value(QStringLiteral("notWritten")).toArray()) {
        const QJsonObject f = v.toObject();
        e.NotWritten.push_back({f.value(QStringLiteral("name")).toString(),
                                f.value(QStringLiteral("code")).toInt(),
                                f.value(QStringLiteral("reason")).toString()});
    }
    const QJsonObject verify = o.value(QStringLiteral("verification")).toObject();
    const QString outcome = verify.value(QStringLiteral("outcome")).toString();
    e.Verification = outcome == QLatin1String("verified")      ? TVerification::Verified
                     : outcome == QLatin1String("differences") ? TVerification::Differences
                                                               : TVerification::NotVerified;
    e.Checked = verify.value(QStringLiteral("checked")).toInt();
    e.VerifyStatus = verify.value(QStringLiteral("status")).toString();
    for (const QJsonValue& v : verify.value(QStringLiteral("mismatches")).toArray()) {
        const QJsonObject m = v.toObject();
        e.Mismatches.push_back({m.value(QStringLiteral("name")).toString(),
                                m.value(QStringLiteral("written")).toString(),
                                m.value(QStringLiteral("read")).toString()});
    }
    return e;
}

TFileResult AppendCommissionEntry(const QString& path, const TCommissionEntry& entry) {
    const auto failed = [&path](const QString& why) {
        return TFileResult{
            false, QCoreApplication::translate("Commissioning",
                                               "Не удалось дописать запись в журнал наладки \"%1\": %2")
                       .arg(path, why)};
    };
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return failed(QCoreApplication::translate("Commissioning", "не удалось создать папку %1")
                          .arg(info.absolutePath()));
    // The window and kestrin-cli may finish a write at the same moment: one appends at a time (a
    // lock that cannot be had, on a full disk say, does not stop the append, which says why itself).
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(10000);
    const bool locked = lock.tryLock(3000);
    TLineFile file(path);
    const bool ok = file.Continue(CommissionEntryLine(entry));
    if (locked)
        lock.unlock();
    if (!ok)
        return failed(file.Reason().isEmpty() ? QCoreApplication::translate("Commissioning", "ошибка записи")
                                              : file.Reason());
    return {};
}

TCommissionLog ReadCommissionLog(const QString& path) {
    TCommissionLog log;
    QFile f(path);
    if (!f.exists()) {
        log.Missing = true;
        return log;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        log.Error = FileErrorReason(f.errorString(), false);
        if (log.Error.isEmpty())
            log.Error = f.errorString();
        return log;
    }
    const QByteArray all = f.readAll();
    qsizetype from = 0;
    while (from < all.size()) {
        qsizetype end = all.indexOf('\n', from);
        const bool whole = end >= 0;
        if (!whole)
            end = all.size();
        const QByteArray line = all.mid(from, end - from).trimmed();
        from = end + 1;
        if (line.isEmpty())
            continue;
        // A last line without its line feed was cut short: it is not taken even if it parses.
        std::optional<TCommissionEntry> e = whole ? ParseCommissionEntry(line) : std::nullopt;
        if (e)
            log.Entries.push_back(std::move(*e));
        else
            ++log.Skipped;
    }
    return log;
}

QByteArray CommissionReportHtml(const std::vector<TCommissionEntry>& entries) {
    QString h;
    h += QStringLiteral("<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n<title>") +
         Esc(QCoreApplication::translate("Commissioning", "Отчет о наладке")) +
         QStringLiteral("</title>\n<style>\n");
    h += QStringLiteral(
        "@page { size: A4; margin: 12mm 12mm 14mm 12mm; }\n"
        "body { font-family: 'DejaVu Sans', Arial, sans-serif; font-size: 9pt; color: #000; }\n"
        "div.device { page-break-after: always; break-after: page; }\n"
        "div.device:last-of-type { page-break-after: auto; break-after: auto; }\n"
        "h1 { font-size: 13pt; margin: 0 0 4pt 0; }\n"
        "h2 { font-size: 10pt; margin: 8pt 0 3pt 0; }\n"
        "table { border-collapse: collapse; width: 100%; }\n"
        "th, td { border: 0.5pt solid #777; padding: 1pt 4pt; text-align: left; vertical-align: top; }\n"
        "th { background: #eee; }\n"
        "table.head th { width: 30%; }\n"
        "tr { page-break-inside: avoid; break-inside: avoid; }\n"
        "thead { display: table-header-group; }\n"
        ".n { color: #555; }\n"
        ".bad { color: #a00; font-weight: bold; }\n"
        ".ok { color: #060; font-weight: bold; }\n"
        ".sign { margin-top: 14pt; }\n"
        "@media screen { div.device { border-bottom: 1px dashed #999; padding-bottom: 12px; "
        "margin-bottom: 12px; } }\n"
        "</style>\n</head>\n<body>\n");
    if (entries.empty())
        h += QStringLiteral("<p>") +
             Esc(QCoreApplication::translate("Commissioning", "В журнале наладки нет записей.")) +
             QStringLiteral("</p>\n");
    for (const TCommissionEntry& e : entries) {
        h += QStringLiteral("<div class=\"device\">\n<h1>") +
             Esc(QCoreApplication::translate("Commissioning", "Отчет о наладке: %1, адрес %2")
                     .arg(e.Type)
                     .arg(e.Address)) +
             QStringLiteral("</h1>\n");
        const auto row = [&h](const QString& name, const QString& valueHtml) {
            h += QStringLiteral("<tr><th>") + Esc(name) + QStringLiteral("</th><td>") + valueHtml +
                 QStringLiteral("</td></tr>\n");
        };
        h += QStringLiteral("<table class=\"head\">\n");
        row(QCoreApplication::translate("Commissioning", "Дата и время"),
            Esc(e.Time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss t"))));
        row(QCoreApplication::translate("Commissioning", "Пользователь"), Esc(e.User));
        row(QCoreApplication::translate("Commissioning", "Порт, скорость"),
            Esc(QCoreApplication::translate("Commissioning", "%1, %2 бод").arg(e.Port).arg(e.Speed)));
        QString address = Esc(QString::number(e.Address));
        if (e.NewAddress >= 0)
            address += Esc(QCoreApplication::translate("Commissioning", " → %1 (новый сетевой адрес)")
                               .arg(e.NewAddress));
        row(QCoreApplication::translate("Commissioning", "Сетевой адрес"), address);
        if (e.NewSpeed >= 0)
            row(QCoreApplication::translate("Commissioning", "Новая скорость обмена"),
                Esc(QCoreApplication::translate("Commissioning", "%1 бод").arg(e.NewSpeed)));
        row(QCoreApplication::translate("Commissioning", "Тип прибора"),
            Esc(QCoreApplication::translate("Commissioning", "%1 (номер типа %2)")
                    .arg(e.Type)
                    .arg(e.TypeNum)));
        row(QCoreApplication::translate("Commissioning", "Версия"),
            Esc(e.Version.isEmpty() ? QCoreApplication::translate("Commissioning", "базовая") : e.Version));
        QString outcome = Esc(e.Status);
        if (e.Interrupted)
            outcome = QStringLiteral("<span class=\"bad\">") +
                      Esc(QCoreApplication::translate("Commissioning", "Запись прервана")) +
                      QStringLiteral("</span>: ") + outcome;
        row(QCoreApplication::translate("Commissioning", "Запись"),
            outcome + Esc(QCoreApplication::translate("Commissioning", "; записано параметров: %1 из %2")
                              .arg(e.Written)
                              .arg(e.Total)));
        QString verify;
        switch (e.Verification) {
        case TVerification::Verified:
            verify = QStringLiteral("<span class=\"ok\">") +
                     Esc(QCoreApplication::translate(
                             "Commissioning", "проверено чтением, расхождений нет (сверено параметров: %1)")
                             .arg(e.Checked)) +
                     QStringLiteral("</span>");
            break;
        case TVerification::Differences:
            verify = QStringLiteral("<span class=\"bad\">") +
                     Esc(QCoreApplication::translate("Commissioning",
                                                     "расхождения при проверке: %1 (сверено параметров: %2)")
                             .arg(e.Mismatches.size())
                             .arg(e.Checked)) +
                     QStringLiteral("</span>");
            break;
        case TVerification::NotVerified:
            verify = Esc(QCoreApplication::translate("Commissioning", "не проверено"));
            break;
        }
        if (!e.VerifyStatus.isEmpty())
            verify +=
                QStringLiteral(" <span class=\"n\">(") + Esc(e.VerifyStatus) + QStringLiteral(")</span>");
        row(QCoreApplication::translate("Commissioning", "Проверка"), verify);
        row(QCoreApplication::translate("Commissioning", "Программа"),
            Esc(QStringLiteral("%1 %2").arg(e.Program, e.ProgramVersion)));
        h += QStringLiteral("</table>\n");

        h += QStringLiteral("<h2>") +
             Esc(e.ReadBefore
                     ? QCoreApplication::translate("Commissioning", "Измененные параметры (%1)")
                           .arg(e.Changes.size())
                     : QCoreApplication::translate(
                           "Commissioning", "Записанные параметры (%1); прибор перед записью не читался")
                           .arg(e.Changes.size())) +
             QStringLiteral("</h2>\n");
        if (e.Changes.empty()) {
            h += QStringLiteral("<p>") +
                 Esc(QCoreApplication::translate("Commissioning", "Значения не изменились.")) +
                 QStringLiteral("</p>\n");
        } else {
            h += QStringLiteral("<table>\n<thead><tr><th>") +
                 Esc(QCoreApplication::translate("Commissioning", "Параметр")) + QStringLiteral("</th><th>") +
                 Esc(QCoreApplication::translate("Commissioning", "Было")) + QStringLiteral("</th><th>") +
                 Esc(QCoreApplication::translate("Commissioning", "Стало")) +
                 QStringLiteral("</th></tr></thead>\n<tbody>\n");
            for (const TCommissionChange& c : e.Changes)
                h += QStringLiteral("<tr><td>") + Esc(c.Name) + QStringLiteral("</td><td>") +
                     (c.Before ? Shown(*c.Before, c.BeforeText) : QStringLiteral("—")) +
                     QStringLiteral("</td><td>") + Shown(c.After, c.AfterText) +
                     QStringLiteral("</td></tr>\n");
            h += QStringLiteral("</tbody>\n</table>\n");
        }
        if (!e.NotWritten.empty()) {
            h += QStringLiteral("<h2>") + Esc(QCoreApplication::translate("Commissioning", "Не записано")) +
                 QStringLiteral("</h2>\n<table>\n<thead><tr><th>") +
                 Esc(QCoreApplication::translate("Commissioning", "Параметр")) + QStringLiteral("</th><th>") +
                 Esc(QCoreApplication::translate("Commissioning", "Причина")) +
                 QStringLiteral("</th></tr></thead>\n<tbody>\n");
            for (const TCommissionFailure& f : e.NotWritten)
                h += QStringLiteral("<tr><td>") + Esc(f.Name) + QStringLiteral("</td><td>") +
                     Esc(f.Reason.isEmpty()
                             ? QCoreApplication::translate("Commissioning", "ошибка %1").arg(f.Code)
                             : QCoreApplication::translate("Commissioning", "ошибка %1: %2")
                                   .arg(f.Code)
                                   .arg(f.Reason)) +
                     QStringLiteral("</td></tr>\n");
            h += QStringLiteral("</tbody>\n</table>\n");
        }
        if (!e.Mismatches.empty()) {
            h += QStringLiteral("<h2>") +
                 Esc(QCoreApplication::translate("Commissioning", "Расхождения при проверке")) +
                 QStringLiteral("</h2>\n<table>\n<thead><tr><th>") +
                 Esc(QCoreApplication::translate("Commissioning", "Параметр")) + QStringLiteral("</th><th>") +
                 Esc(QCoreApplication::translate("Commissioning", "Записано")) + QStringLiteral("</th><th>") +
                 Esc(QCoreApplication::translate("Commissioning", "Прочитано")) +
                 QStringLiteral("</th></tr></thead>\n<tbody>\n");
            for (const TCommissionMismatch& m : e.Mismatches)
                h += QStringLiteral("<tr><td>") + Esc(m.Name) + QStringLiteral("</td><td>") + Esc(m.Written) +
                     QStringLiteral("</td><td>") + Esc(m.Read) + QStringLiteral("</td></tr>\n");
            h += QStringLiteral("</tbody>\n</table>\n");
        }
        h += QStringLiteral("<p class=\"sign\">") +
             Esc(QCoreApplication::translate(
                 "Commissioning", "Наладку выполнил: ____________________  Подпись: ____________")) +
             QStringLiteral("</p>\n</div>\n");
    }
    h += QStringLiteral("</body>\n</html>\n");
    return h.toUtf8();
}

TCommissionEntry WriteCommissionEntry(const TWriteSite& site, const TDevProp& type, const TDev& dev,
                                      const QDateTime& when, const TWriteReport& report,
                                      const std::vector<std::optional<QString>>& before,
                                      const QString& status, bool completed) {
    TCommissionEntry e;
    e.Time = when;
    e.User = SystemUserName();
    e.Program = site.Program;
    e.ProgramVersion = site.ProgramVersion;
    e.Port = site.Port;
    e.Speed = site.Speed;
    e.Address = site.Address;
    if (dev.Address != site.Address)
        e.NewAddress = dev.Address;
    if (dev.BaudRate != site.Speed)
        e.NewSpeed = dev.BaudRate;
    e.Type = type.Name;
    e.TypeNum = type.TypeNum;
    e.Version = type.Version;
    e.ReadBefore = std::any_of(before.begin(), before.end(), [](const auto& v) { return v.has_value(); });
    e.Interrupted = !completed;
    e.Status = status;
    e.Written = static_cast<int>(report.Written.size());
    e.Total = type.ParamCount();
    e.Changes = WrittenChanges(type, report.Written, report.Values, before, ExpectedReadBack);
    for (const auto& [index, code] : report.Failed)
        e.NotWritten.push_back(
            {index < type.ParamCount() ? type.Param(index).Name : QString(), code, ResultCodeMeaning(code)});
    return e;
}
