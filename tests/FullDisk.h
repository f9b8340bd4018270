#pragma once
// A real, small file system for tests of what the program does when the disk is full: a tmpfs the
// test mounts itself (root only). The mount is made in a mount namespace of the test's own
// (main) thread, so nobody else sees it and it ends with the test process even when the process
// crashes; the object unmounts it too. Child processes started from this thread (kestrin-cli) see
// it.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

class TFullDisk {
public:
    explicit TFullDisk(int kib = 64) {
        if (::geteuid() != 0) {
            Why = QStringLiteral("not root: cannot mount a tmpfs");
            return;
        }
        static const int privateNs = [] {
            if (::unshare(CLONE_NEWNS) != 0)
                return errno;
            // Mounts made here must not travel back to the system's namespace.
            return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 ? 0 : errno;
        }();
        if (privateNs != 0) {
            Why = QStringLiteral("no private mount namespace: ") +
                  QString::fromLocal8Bit(std::strerror(privateNs));
            return;
        }
        Root = Mount.path();
        const QByteArray options = "size=" + QByteArray::number(kib) + "k,mode=0777";
        if (::mount("tmpfs", QFile::encodeName(Root).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                    options.constData()) != 0) {
            Why = QStringLiteral("tmpfs mount failed: ") + QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        Mounted = true;
    }
    ~TFullDisk() {
        if (Mounted)
            ::umount2(QFile::encodeName(Root).constData(), MNT_DETACH);
    }
    TFullDisk(const TFullDisk&) = delete;
    TFullDisk& operator=(const TFullDisk&) = delete;

    bool Ok() const { return Mounted; }
    QString WhyNot() const { return Why; }
    QString Path(const QString& name) const { return Root + QLatin1Char('/') + name; }
    // Every name in the file system's top folder, hidden ones too (temporary files).
    QStringList Names() const {
        return QDir(Root).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                    QDir::Name);
    }
    // Writes a file while there is room; false when it did not fit.
    bool Put(const QString& name, const QByteArray& bytes) const {
        QFile f(Path(name));
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() &&
               f.flush();
    }
    // Takes every free block with a filler file, until the file system refuses a byte more.
    bool Fill() const {
        const int fd = ::open(QFile::encodeName(Path(QStringLiteral("filler"))).constData(),
                              O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd < 0)
            return false;
        const QByteArray block(4096, 'f');
        int err = 0;
        for (;;) {
            if (::write(fd, block.constData(), static_cast<size_t>(block.size())) < 0) {
                err = errno;
                break;
            }
        }
        // A part of a block may still fit; then the next single byte is refused.
        while (err == ENOSPC && ::write(fd, "f", 1) == 1) {
        }
        ::close(fd);
        return err == ENOSPC;
    }

private:
    QTemporaryDir Mount;
    QString Root;
    bool Mounted = false;
    QString Why;
};
