#include "exchange/PortAccess.h"

#include <QCoreApplication>
#include <QFile>
#include <grp.h>
#include <sys/stat.h>
#include <vector>

QString PortDevicePath(const QString& portName) {
    return portName.startsWith(QLatin1Char('/')) ? portName : QStringLiteral("/dev/") + portName;
}

namespace {
// Name of a group; empty when the system has no name for it.
QString GroupName(gid_t gid) {
    std::vector<char> buffer(4096);
    group entry{};
    group* found = nullptr;
    while (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
           buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);
    return found ? QString::fromLocal8Bit(found->gr_name) : QString();
}
} // namespace

QString PortPermissionHelp(const QString& portName) {
    const QString path = PortDevicePath(portName);
    struct stat node {};
    const QString group = ::stat(QFile::encodeName(path).constData(), &node) == 0 && node.st_gid != 0
                              ? GroupName(node.st_gid)
                              : QString();
    if (group.isEmpty())
        return QCoreApplication::translate(
                   "Exchange", "Нет прав на порт %1. Доступ к нему настраивает администратор системы "
                               "(группа устройства или правило udev).")
            .arg(path);
    return QCoreApplication::translate(
               "Exchange", "Порт %1 принадлежит группе %2. Чтобы работать с ним, добавьте себя в эту группу "
                           "и войдите в систему заново:\nsudo usermod -aG %2 $USER")
        .arg(path, group);
}
