#pragma once
// Windows-1251 text at the file boundary: every file the program reads or writes (INI files,
// projects, parameter sets, exports) holds single-byte Windows-1251 text.
#include <QByteArray>
#include <QString>

namespace Cp1251 {
// Every byte maps to one character. 0x98, unassigned in the code page, maps to the control
// character U+0098 and back, so a file's untouched text survives a read and a write unchanged.
QString Decode(const QByteArray& bytes);
QString Decode(const char* data, qsizetype size);
// Characters without a Windows-1251 code become '?'.
QByteArray Encode(const QString& text);
// Code of one character, or -1 when the code page has none.
int CodeOf(char16_t ch);
} // namespace Cp1251
