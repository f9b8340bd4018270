#pragma once
// Saving a file so that a failure never costs the user the file it replaces: the new content goes
// to a temporary file beside the target, written without a buffer so that every failing write is
// seen, synced to the disk, and renamed over the target only when all of it got there. (QSaveFile
// alone is not enough: its commit() flushes the buffer but ignores the error of that flush, so a
// small file on a full disk would replace the target with a short or empty one.) A failure leaves
// the target as it was and no temporary file, and says why in Russian.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

class QFileDevice;

// Outcome of writing a file; Error is a Russian text for the user.
struct TFileResult {
    bool Ok = true;
    QString Error;
    explicit operator bool() const { return Ok; }
};

class TFileSave {
public:
    explicit TFileSave(const QString& fileName);
    ~TFileSave(); // without Commit() the target stays as it was
    TFileSave(const TFileSave&) = delete;
    TFileSave& operator=(const TFileSave&) = delete;

    // Creates the temporary file. A target that is a device or a pipe (/dev/stdout) is written
    // directly: there is nothing to keep and nothing to rename.
    bool Open();
    // All the bytes or a failure; after a failure nothing more is written.
    bool Write(const QByteArray& bytes);
    bool Write(const char* data, qint64 size);
    // Syncs and renames over the target. False leaves the target as it was.
    bool Commit();
    // Abandons the new content: the temporary file is removed, the target stays as it was.
    void Cancel();

    bool Failed() const { return !Why.isEmpty(); }
    // Why the save failed, in Russian ("на диске нет места" ...).
    QString Reason() const { return Why; }
    // Ok, or "Не удалось создать файл ..." / "Ошибка записи файла ..." with the file's name and the reason.
    TFileResult Result() const;

private:
    QString FileName;
    std::unique_ptr<QFileDevice> Device;
    bool Direct = false;
    bool Opened = false;
    bool AtOpen = false; // the failure was in creating the file
    QString Why;
    bool Fail(const QString& systemText);
};

// Writes the bytes through TFileSave.
TFileResult SaveFileBytes(const QString& fileName, const QByteArray& bytes);

// A file that grows by whole lines while a run goes on (readings of a measurement): it appears on
// the disk only with its first line (an existing file of that name stays as it was until then),
// each line reaches the file at once, and a line that does not fit is cut off again, so the file
// always ends with a complete line.
class TLineFile {
public:
    explicit TLineFile(const QString& fileName);
    // False: nothing was changed on the disk; Reason() says why.
    bool Start(const QByteArray& firstLine);
    // Goes on at the end of an existing file (one that does not end in a complete line, as after
    // a crash, is first cut back to its last one) with the given lines; a missing file is made as
    // Start does. False: Reason() says why.
    bool Continue(const QByteArray& lines);
    // Bytes of complete lines in the file.
    qint64 Bytes() const { return Size; }
    // False: the file is cut back to its last complete line and takes no more; Reason() says why.
    bool Append(const QByteArray& line);
    QString Reason() const { return Why; }

private:
    QString FileName;
    QFile File;
    qint64 Size = 0; // bytes of complete lines
    QString Why;
};
