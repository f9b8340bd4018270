#include "kvcom/KvPortNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace Kv {

QStringList WithStableNames(const QStringList& systemPorts, const QStringList& linkDirs) {
    // Every link whose device exists, by the device it resolves to, in name order.
    std::vector<std::pair<QString, QString>> links; // device, link path
    for (const QString& dir : linkDirs)
        for (const QFileInfo& link :
             QDir(dir).entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
            if (!link.isSymLink())
                continue;
            const QString device = link.canonicalFilePath();
            struct stat st {};
            if (device.isEmpty() || ::stat(QFile::encodeName(device).constData(), &st) != 0 ||
                !S_ISCHR(st.st_mode))
                continue;
            links.emplace_back(device, link.absoluteFilePath());
        }
    QStringList names;
    std::vector<bool> placed(links.size(), false);
    for (const QString& port : systemPorts) {
        names.append(port);
        const QString device = QFileInfo(QStringLiteral("/dev/") + port).canonicalFilePath();
        for (size_t i = 0; i < links.size(); ++i)
            if (!placed[i] && !device.isEmpty() && links[i].first == device) {
                names.append(links[i].second);
                placed[i] = true;
            }
    }
    for (size_t i = 0; i < links.size(); ++i)
        if (!placed[i])
            names.append(links[i].second);
    return names;
}

} // namespace Kv
