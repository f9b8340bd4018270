#pragma once
// Why a file could not be read or written, for the user: the common causes in Russian, anything
// else in the system's own words.
#include <QString>

// systemText is the system's description (QFile::errorString()). When writing, a missing path
// component means a missing folder; when reading, a missing file.
QString FileErrorReason(const QString& systemText, bool writing = true);
