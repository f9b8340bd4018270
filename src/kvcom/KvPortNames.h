#pragma once
// Stable names of serial ports beside the system's own.
#include <QStringList>

namespace Kv {
// The system's ports (short names under /dev), each followed by the stable names that the link
// directories give it; links to other existing devices (for example pseudo-terminals) come after
// them. An adapter keeps its /dev/serial/by-id name when plugged back, while its ttyUSBn goes by
// the order of plugging. Dangling links (an unplugged adapter's, left behind) are not offered.
QStringList WithStableNames(const QStringList& systemPorts, const QStringList& linkDirs);

} // namespace Kv
