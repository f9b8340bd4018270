#pragma once
// What a result code of an exchange operation means, in the user's words (Russian), for the
// details of a message box, a status hint and the line monitor. The error texts themselves keep
// showing the bare number.
#include <QString>

// Meaning of a library code (-100 ... -114) or of the program's own (-1, -20, -21, -22); empty
// for 0 and for a code nobody defines.
QString ResultCodeMeaning(int code);

// "Код -108: нет ответа в течение времени ожидания"; empty when the code has no meaning.
QString ResultCodeDetails(int code);

// The result code a status or error text ends with ("Ошибка чтения: -101" gives -101); 0 when the
// text does not end in ": " and a negative number.
int TrailingResultCode(const QString& text);
