#pragma once
// The window's side of the commissioning record: the entry of a write-all made in the window, and
// the command "Отчет о наладке..." that exports the record as a page to print.
#include "exchange/ReadWriteAll.h"
#include "formats/Commissioning.h"
#include "model/AppState.h"
#include "ui/UserDialogs.h"

#include <QCoreApplication>
#include <functional>
#include <map>
#include <optional>
#include <vector>

// What the window last read from each instrument (port, address, type and version): a later
// write-all records its changes against these values, and leaves what it wrote as the new ones.
class TCommissionBaseline {
public:
    // Reads happen on a worker; these run on the user-interface thread.
    void BeginRead(int paramCount) {
        Read.assign(static_cast<size_t>(std::max(0, paramCount)), std::nullopt);
    }
    void ValueRead(int index, const QString& value);
    // The read ended: what it delivered joins what was known of that instrument.
    void EndRead(const TDev& dev, const TDevProp& type);
    std::vector<std::optional<QString>> Before(const QString& port, int address, const TDevProp& type) const;
    // The instrument now holds what was written (at its new address, where it took one).
    void Written(const TCommissionEntry& entry, const TDevProp& type, const TWriteReport& report);

private:
    static QString Key(const QString& port, int address, const TDevProp& type);
    std::vector<std::optional<QString>> Read;
    std::map<QString, std::vector<std::optional<QString>>> Known;
};

// The entry of a write-all the window made.
TCommissionEntry WindowCommissionEntry(const TDevProp& type, const TDev& dev, const QString& port,
                                       int address, int speed, const QDateTime& when,
                                       const TWriteReport& report,
                                       const std::vector<std::optional<QString>>& before,
                                       const QString& status);

// "Отчет о наладке...": the records of the current instrument or all of them, into a chosen page.
// showMessage gets the outcome for the status bar.
void ExportCommissionReport(TAppState& state, IUserDialogs& dialogs,
                            const std::function<void(const QString&)>& showMessage);
