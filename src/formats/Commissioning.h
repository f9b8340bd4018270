#pragma once
// The commissioning record: one entry per instrument written (by the window's write-all or by
// kestrin-cli write), appended as one JSON line to a file in the user's data folder, and the HTML
// report made of such entries that prints on one or two A4 sheets per instrument.
#include "common/FileSave.h"
#include "exchange/ReadWriteAll.h"
#include "model/Model.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// One parameter the write changed: before is the value read from the instrument before the write
// (absent where no read came first); after is what the instrument stores now.
struct TCommissionChange {
    QString Name;
    std::optional<QString> Before;
    QString After;
    QString BeforeText; // option texts of a list parameter; empty otherwise
    QString AfterText;
};

// A parameter the write did not get into the instrument: the code of its last attempt and why.
struct TCommissionFailure {
    QString Name;
    int Code = 0;
    QString Reason;
};

// A parameter the read-back after the write found different.
struct TCommissionMismatch {
    QString Name;
    QString Written;
    QString Read;
};

enum class TVerification { NotVerified, Verified, Differences };

struct TCommissionEntry {
    QDateTime Time; // local, kept with its offset
    QString User;
    QString Program; // "kestrin" or "kestrin-cli"
    QString ProgramVersion;
    QString Port;
    int Speed = 0;
    int Address = 0;
    int NewAddress = -1; // the address the instrument took from the write; -1: unchanged
    int NewSpeed = -1;
    QString Type;
    int TypeNum = 0;
    QString Version;
    bool ReadBefore = false; // a read of this instrument came before the write
    bool Interrupted = false;
    QString Status; // how the write ended, as the user was told
    int Written = 0;
    int Total = 0;
    std::vector<TCommissionChange> Changes;
    std::vector<TCommissionFailure> NotWritten;
    TVerification Verification = TVerification::NotVerified;
    int Checked = 0;
    QString VerifyStatus;
    std::vector<TCommissionMismatch> Mismatches;
};

// The stored form of a value after it was written (what reading it back gives).
using TStoredForm = std::function<QString(const TParam&, const QString&)>;

// The changes of a write: each acknowledged parameter (bit strings excepted, a write carries none
// of their value) whose stored value differs from the one read before, or every acknowledged one
// with its value alone where nothing was read before it.
std::vector<TCommissionChange> WrittenChanges(const TDevProp& type, const std::vector<int>& written,
                                              const QStringList& values,
                                              const std::vector<std::optional<QString>>& before,
                                              const TStoredForm& stored);

// Which program made a write, and where.
struct TWriteSite {
    QString Program; // "kestrin" or "kestrin-cli"
    QString ProgramVersion;
    QString Port;
    int Speed = 0;   // the speed the write began at
    int Address = 0; // the address the write began at
};

// The entry of a write just made on dev, the window's and the command line's alike: the values
// changed against `before` (compared in their stored forms), what was not written and why, and how
// it ended (`completed`: the write went through to its end; `status`: what the user was told).
TCommissionEntry WriteCommissionEntry(const TWriteSite& site, const TDevProp& type, const TDev& dev,
                                      const QDateTime& when, const TWriteReport& report,
                                      const std::vector<std::optional<QString>>& before,
                                      const QString& status, bool completed);

// The name of the user the program runs as.
QString SystemUserName();

// $XDG_DATA_HOME/kestrin/commissioning.jsonl (an absolute XDG_DATA_HOME only), else
// ~/.local/share/kestrin/commissioning.jsonl.
QString CommissioningFile();

// The entry as one JSON line, ending in a line feed.
QByteArray CommissionEntryLine(const TCommissionEntry& entry);
// An entry from one line; nothing for a line that is not one of ours (hand-edited, cut short).
std::optional<TCommissionEntry> ParseCommissionEntry(const QByteArray& line);

// Appends the entry to the file, its folder made where missing. A line cut short by an earlier
// crash is cut off first, and a line that does not fit is cut off again: the file only ever ends
// with a complete line. The error names the file and the reason.
TFileResult AppendCommissionEntry(const QString& path, const TCommissionEntry& entry);

struct TCommissionLog {
    std::vector<TCommissionEntry> Entries; // in the file's order
    int Skipped = 0;                       // lines that were not an entry
    bool Missing = false;                  // no file yet
    QString Error;                         // the file could not be read
};
TCommissionLog ReadCommissionLog(const QString& path);

// The report: a page per instrument (two where its table runs on), a compact table of the changed
// parameters. Every value is escaped.
QByteArray CommissionReportHtml(const std::vector<TCommissionEntry>& entries);
