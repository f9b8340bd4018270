#include "common/FileSave.h"

#include "common/FileErrors.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <unistd.h>

TFileSave::TFileSave(const QString& fileName) : FileName(fileName) {}

TFileSave::~TFileSave() {
    Cancel();
}

bool TFileSave::Fail(const QString& systemText) {
    if (Why.isEmpty())
        Why = FileErrorReason(systemText, true);
    if (Why.isEmpty())
        Why = QCoreApplication::translate("Common", "ошибка записи");
    return false;
}

bool TFileSave::Open() {
    const QFileInfo target(FileName);
    Direct = target.exists() && !target.isFile() && !target.isDir();
    if (Direct)
        Device = std::make_unique<QFile>(FileName);
    else
        Device = std::make_unique<QSaveFile>(FileName);
    // Unbuffered: a write that fails says so at once, not in a flush whose error is dropped.
    const QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Unbuffered;
    if (!Device->open(Direct ? mode | QIODevice::Append : mode)) {
        AtOpen = true;
        return Fail(Device->errorString());
    }
    Opened = true;
    return true;
}

bool TFileSave::Write(const QByteArray& bytes) {
    return Write(bytes.constData(), bytes.size());
}

bool TFileSave::Write(const char* data, qint64 size) {
    if (!Opened || Failed())
        return false;
    while (size > 0) {
        // A short count means the disk took part of it; the next write gives the reason.
        const qint64 n = Device->write(data, size);
        if (n <= 0)
            return Fail(Device->errorString());
        data += n;
        size -= n;
    }
    return true;
}

bool TFileSave::Commit() {
    if (!Opened || Failed()) {
        Cancel();
        return Fail(QCoreApplication::translate("Common", "файл не открыт"));
    }
    // Some file systems (network ones) report a lost write only when the data goes to the disk.
    if (::fsync(Device->handle()) != 0 && errno != EINVAL && errno != ENOTSUP) {
        Fail(qt_error_string(errno));
        Cancel();
        return false;
    }
    Opened = false;
    const std::unique_ptr<QFileDevice> device = std::move(Device);
    if (Direct) {
        device->close();
        return true;
    }
    auto* file = static_cast<QSaveFile*>(device.get());
    if (!file->commit()) // removes the temporary file when the rename fails
        return Fail(file->errorString());
    return true;
}

void TFileSave::Cancel() {
    if (!Opened)
        return;
    Opened = false;
    if (!Direct)
        static_cast<QSaveFile*>(Device.get())->cancelWriting();
    Device.reset(); // QSaveFile removes its temporary file when it goes without a commit
}

TFileResult TFileSave::Result() const {
    if (!Failed())
        return {};
    const QString name = QFileInfo(FileName).fileName();
    return {false, (AtOpen ? QCoreApplication::translate("Common", "Не удалось создать файл \"%1\": %2")
                           : QCoreApplication::translate("Common", "Ошибка записи файла \"%1\": %2"))
                       .arg(name, Why)};
}

TFileResult SaveFileBytes(const QString& fileName, const QByteArray& bytes) {
    TFileSave file(fileName);
    if (file.Open() && file.Write(bytes))
        file.Commit();
    return file.Result();
}

TLineFile::TLineFile(const QString& fileName) : FileName(fileName) {}

bool TLineFile::Start(const QByteArray& firstLine) {
    {
        TFileSave first(FileName);
        if (!first.Open() || !first.Write(firstLine) || !first.Commit()) {
            Why = first.Reason();
            return false;
        }
    }
    File.setFileName(FileName);
    if (!File.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        Why = FileErrorReason(File.errorString(), true);
        return false;
    }
    Size = File.size();
    return true;
}

bool TLineFile::Continue(const QByteArray& lines) {
    if (!QFileInfo(FileName).isFile())
        return Start(lines);
    QFile old(FileName);
    if (!old.open(QIODevice::ReadWrite)) {
        Why = FileErrorReason(old.errorString(), true);
        return false;
    }
    qint64 keep = old.size();
    // Whole lines end in a line feed; a line cut short by a crash or a full disk goes.
    constexpr qint64 Tail = 65536;
    const qint64 from = std::max<qint64>(0, keep - Tail);
    if (keep > 0 && old.seek(from)) {
        const QByteArray tail = old.read(keep - from);
        const qsizetype nl = tail.lastIndexOf('\n');
        if (nl < 0 && from == 0)
            keep = 0;
        else if (nl >= 0)
            keep = from + nl + 1;
        if (keep != old.size() && !old.resize(keep)) {
            Why = FileErrorReason(old.errorString(), true);
            return false;
        }
    }
    old.close();
    File.setFileName(FileName);
    if (!File.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        Why = FileErrorReason(File.errorString(), true);
        return false;
    }
    Size = File.size();
    return Append(lines);
}

bool TLineFile::Append(const QByteArray& line) {
    if (!Why.isEmpty() || !File.isOpen())
        return false;
    const char* data = line.constData();
    qint64 left = line.size();
    while (left > 0) {
        const qint64 n = File.write(data, left);
        if (n <= 0) {
            Why = FileErrorReason(File.errorString(), true);
            if (Why.isEmpty())
                Why = QCoreApplication::translate("Common", "ошибка записи");
            // The part of the line that got in goes again (a device has no size to go back to).
            if (!File.isSequential() && File.size() != Size)
                File.resize(Size);
            File.close();
            return false;
        }
        data += n;
        left -= n;
    }
    Size += line.size();
    return true;
}
