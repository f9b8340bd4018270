#include "ui/CommissionReport.h"

#include "app/Launch.h"
#include "common/FileSave.h"
#include "exchange/CodeMeaning.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

namespace {
// The write-all's own last message when it went to the end, in the language it is shown in.
QString WriteDone() {
    return QCoreApplication::translate("Exchange", "Запись завершена");
}
} // namespace

QString TCommissionBaseline::Key(const QString& port, int address, const TDevProp& type) {
    return QStringLiteral("%1\n%2\n%3\n%4").arg(port).arg(address).arg(type.Name, type.Version);
}

void TCommissionBaseline::ValueRead(int index, const QString& value) {
    // Descriptions loaded for the instrument's version during the read may have more parameters.
    if (index < 0)
        return;
    if (static_cast<size_t>(index) >= Read.size())
        Read.resize(static_cast<size_t>(index) + 1);
    Read[static_cast<size_t>(index)] = value;
}

void TCommissionBaseline::EndRead(const TDev& dev, const TDevProp& type) {
    if (std::none_of(Read.begin(), Read.end(), [](const auto& v) { return v.has_value(); }))
        return;
    auto& known = Known[Key(dev.COMPort, dev.Address, type)];
    known.resize(static_cast<size_t>(type.ParamCount()));
    for (size_t i = 0; i < Read.size() && i < known.size(); ++i)
        if (Read[i])
            known[i] = Read[i];
    Read.clear();
}

std::vector<std::optional<QString>> TCommissionBaseline::Before(const QString& port, int address,
                                                                const TDevProp& type) const {
    const auto it = Known.find(Key(port, address, type));
    return it == Known.end() ? std::vector<std::optional<QString>>{} : it->second;
}

void TCommissionBaseline::Written(const TCommissionEntry& entry, const TDevProp& type,
                                  const TWriteReport& report) {
    std::vector<std::optional<QString>> known = Before(entry.Port, entry.Address, type);
    Known.erase(Key(entry.Port, entry.Address, type));
    known.resize(static_cast<size_t>(type.ParamCount()));
    for (const int i : report.Written)
        if (i >= 0 && i < type.ParamCount() && i < report.Values.size())
            known[static_cast<size_t>(i)] = ExpectedReadBack(type.Param(i), report.Values[i]);
    Known[Key(entry.Port, entry.NewAddress >= 0 ? entry.NewAddress : entry.Address, type)] = std::move(known);
}

TCommissionEntry WindowCommissionEntry(const TDevProp& type, const TDev& dev, const QString& port,
                                       int address, int speed, const QDateTime& when,
                                       const TWriteReport& report,
                                       const std::vector<std::optional<QString>>& before,
                                       const QString& status) {
    const TWriteSite site{QStringLiteral("kestrin"), QString::fromLatin1(Launch::Version()), port, speed,
                          address};
    return WriteCommissionEntry(site, type, dev, when, report, before, status, status == WriteDone());
}

void ExportCommissionReport(TAppState& state, IUserDialogs& dialogs,
                            const std::function<void(const QString&)>& showMessage) {
    const QString caption = QCoreApplication::translate("CommissionReport", "Отчет о наладке");
    const QString path = CommissioningFile();
    TCommissionLog log = ReadCommissionLog(path);
    if (!log.Error.isEmpty()) {
        dialogs.Message(
            QCoreApplication::translate("CommissionReport", "Не удалось прочитать журнал наладки \"%1\": %2")
                .arg(path, log.Error),
            caption, TMsgButtons::Ok);
        return;
    }
    const QString skipped =
        log.Skipped > 0
            ? QCoreApplication::translate("CommissionReport", "пропущено неверных строк журнала: %1")
                  .arg(log.Skipped)
            : QString();
    if (log.Entries.empty()) {
        QString text =
            QCoreApplication::translate("CommissionReport", "В журнале наладки нет записей.\r%1").arg(path);
        if (!skipped.isEmpty())
            text += QStringLiteral("\r") + skipped;
        dialogs.Message(text, caption, TMsgButtons::Ok);
        return;
    }
    std::vector<TCommissionEntry> chosen = log.Entries;
    if (state.HasCurType()) {
        const TDev& dev = state.CurDev();
        const auto isCurrent = [&dev](const TCommissionEntry& e) {
            return e.Port == dev.COMPort && (e.Address == dev.Address || e.NewAddress == dev.Address);
        };
        const auto own = std::count_if(log.Entries.begin(), log.Entries.end(), isCurrent);
        if (own > 0 && own < static_cast<qsizetype>(log.Entries.size())) {
            const TMsgAnswer a = dialogs.Message(
                QCoreApplication::translate(
                    "CommissionReport",
                    "Включить в отчет только записи текущего прибора (порт %1, адрес %2): %3?\r"
                    "Нет: все записи журнала (%4).")
                    .arg(dev.COMPort)
                    .arg(dev.Address)
                    .arg(own)
                    .arg(log.Entries.size()),
                caption, TMsgButtons::YesNoCancel);
            if (a == TMsgAnswer::Cancel)
                return;
            if (a == TMsgAnswer::Yes)
                chosen.erase(
                    std::remove_if(chosen.begin(), chosen.end(),
                                   [&isCurrent](const TCommissionEntry& e) { return !isCurrent(e); }),
                    chosen.end());
        }
    }
    TFileDialogSpec dialogDef;
    dialogDef.Title = caption;
    dialogDef.Directory = UserFilesDir(state.LastUserDir, state.ProgDir);
    dialogDef.Filters = {QCoreApplication::translate("CommissionReport", "Страница HTML (*.html)")};
    dialogDef.DefaultExt = QStringLiteral("html");
    const QString file = dialogs.SaveFileName(dialogDef);
    if (file.isEmpty())
        return;
    state.LastUserDir = QFileInfo(file).absolutePath();
    if (const TFileResult w = SaveFileBytes(file, CommissionReportHtml(chosen)); !w.Ok) {
        dialogs.Message(w.Error, QCoreApplication::translate("CommissionReport", "Ошибка"), TMsgButtons::Ok);
        return;
    }
    QString done =
        QCoreApplication::translate("CommissionReport", "Отчет о наладке записан: %1 (записей: %2)")
            .arg(QFileInfo(file).fileName())
            .arg(chosen.size());
    if (!skipped.isEmpty())
        done += QStringLiteral("; ") + skipped;
    showMessage(done);
}
