#pragma once
// Line events as text, for trace files, the line monitor and copies; the event types and the tap
// interface are in model/LineTap.h so that the program's state can own the hub.
#include "model/LineTap.h"

#include <QString>
#include <cstdint>

// Parcel bytes as one line of text: printable ASCII and Windows-1251 letters as they are, every
// other byte (CR included) as \xHH; a backslash is doubled so the text reads back unambiguously.
QString EscapeParcelBytes(const QByteArray& bytes);

// "OK" for 0, else the code and its meaning: "-108 нет ответа в течение времени ожидания".
QString OutcomeText(int outcome);

// An event's purpose in the language in effect. The exchange names its own requests in Russian
// ("канал 2", "чтение 0x0010 = 1.5", "идентификация = тип 21, ожидался 22"), since the command
// line reads them back; those are translated here for people, parameter names (from the
// instrument's descriptions) and values stay as they are.
QString PurposeText(const QString& purpose);

// Local time of day of an event, "hh:mm:ss.zzz".
QString EventTimeText(int64_t timeMs);

// One line for a trace file or a copy: time, arrow (→ request, ← answer), port, address, text,
// outcome, purpose (as PurposeText shows it), separated by tabs.
QString FormatLineEvent(const TLineEvent& event);
