#pragma once
// The measurement record: every reading of the polling appended to a CSV file as it is taken, so
// that a crash or a power cut loses at most the reading being written. The columns are those of
// `kestrin-cli measure --csv` (time,minutes,address,channel,value), preceded by "# key: value"
// lines that name the instrument; a pause in the readings is a "# gap:" line. Files rotate by day
// and by size; the reader takes these files and those of kestrin-cli alike.
#include "common/FileSave.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <map>
#include <memory>
#include <string_view>
#include <utility>

// What the header of a record names: the instrument and the run its readings come from.
struct TRecordHeader {
    QString Type;
    QString Version;
    QString Port;
    int Speed = 0;
    int Address = 0;
    QList<int> Channels;
    QDateTime Start; // the run's start: the minutes column counts from here
};

// The file of a day: NAME_YYYY-MM-DD.EXT beside the chosen NAME.EXT (".csv" when it has none);
// the second and later files of a day whose file reached the size limit, NAME_YYYY-MM-DD_2.EXT
// and so on.
QString RecordFileName(const QString& chosen, QDate day, int part);

class TMeasureRecorder {
public:
    static constexpr qint64 DefaultLimit = 100'000'000;
    explicit TMeasureRecorder(const QString& chosen, qint64 sizeLimit = DefaultLimit);

    // Starts a section for a run: goes on in the day's latest file below the limit (or makes the
    // next one) and writes the header. False: nothing more is written; Reason() says why.
    bool Begin(const TRecordHeader& header, const QDateTime& now);
    // One reading, in the file when this returns true. A new day, or a file that would pass the
    // limit, goes on in the next file (header first), so no reading is lost to the rotation.
    bool Reading(const QDateTime& when, double minutes, int channel, const QString& value);
    // A pause in the readings (a line error, the end of the run); the reason as the user reads it.
    bool Gap(const QDateTime& when, const QString& reason);
    // Closes the file; a later Begin starts again.
    void End();

    bool Active() const { return File != nullptr; }
    bool Failed() const { return !Why.isEmpty(); }
    // The reason of the failure ("на диске нет места" ...) with the file's name.
    QString Reason() const { return Why; }
    // The file written now (or last).
    QString FileName() const { return Current; }
    qint64 Readings() const { return Count; }

private:
    bool OpenFor(QDate day, bool nextPart);
    bool Put(const QByteArray& line);
    bool Fail(const QString& reason);
    QByteArray HeaderLines() const;

    QString Chosen;
    qint64 Limit;
    TRecordHeader Header;
    std::unique_ptr<TLineFile> File;
    QString Current;
    QDate Day;
    int Part = 1;
    qint64 InFile = 0; // readings in the current file
    qint64 Count = 0;
    QString Why;
};

// What a record holds, handed over while it is read.
class IRecordSink {
public:
    virtual ~IRecordSink() = default;
    // A new series for an address and channel, at its first reading; returns its number.
    virtual int NewSeries(int address, int channel) = 0;
    // X: minutes from the start of the file's first run.
    virtual void Point(int series, double minutes, double value) = 0;
    // A pause in the readings: every series breaks here.
    virtual void Gap() = 0;
};

struct TRecordRead {
    bool Ok = false;
    QString Error; // the file could not be read
    qint64 Readings = 0;
    qint64 Skipped = 0; // lines that are no reading, no header and no comment
    int Gaps = 0;
    TRecordHeader Header; // of the first section (empty for a file of kestrin-cli)
};

// Reads a record from memory or from a file (mapped, not copied). A last line without its line
// feed (a write cut short) is not taken.
TRecordRead ReadMeasureRecord(std::string_view text, IRecordSink& sink);
TRecordRead ReadMeasureRecordFile(const QString& fileName, IRecordSink& sink);
