#include "formats/MeasureRecord.h"

#include "common/FileErrors.h"
#include "common/Numbers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {
const QByteArray ColumnLine("time,minutes,address,channel,value\n");

QString TimeText(const QDateTime& t) {
    return t.toString(Qt::ISODateWithMs);
}

// One line of text in the file: no line breaks inside.
QString OneLine(QString text) {
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}
} // namespace

QString RecordFileName(const QString& chosen, QDate day, int part) {
    const QFileInfo info(chosen);
    QString suffix = info.suffix();
    QString base = info.completeBaseName();
    if (suffix.isEmpty())
        suffix = QStringLiteral("csv");
    QString name = base + QLatin1Char('_') + day.toString(QStringLiteral("yyyy-MM-dd"));
    if (part > 1)
        name += QLatin1Char('_') + QString::number(part);
    return info.dir().filePath(name + QLatin1Char('.') + suffix);
}

TMeasureRecorder::TMeasureRecorder(const QString& chosen, qint64 sizeLimit)
    : Chosen(chosen), Limit(sizeLimit) {}

bool TMeasureRecorder::Fail(const QString& reason) {
    Why = QStringLiteral("\"%1\": %2")
              .arg(QFileInfo(Current).fileName(),
                   reason.isEmpty() ? QCoreApplication::translate("Formats", "ошибка записи") : reason);
    File.reset();
    return false;
}

QByteArray TMeasureRecorder::HeaderLines() const {
    QStringList channels;
    for (const int k : Header.Channels)
        channels << QString::number(k);
    QString text = QStringLiteral("# Kestrin K1 measurement record\n");
    text += QStringLiteral("# type: %1\n").arg(OneLine(Header.Type));
    text += QStringLiteral("# version: %1\n").arg(OneLine(Header.Version));
    text += QStringLiteral("# port: %1\n").arg(OneLine(Header.Port));
    text += QStringLiteral("# speed: %1\n").arg(Header.Speed);
    text += QStringLiteral("# address: %1\n").arg(Header.Address);
    text += QStringLiteral("# channels: %1\n").arg(channels.join(QLatin1Char(',')));
    text += QStringLiteral("# start: %1\n").arg(TimeText(Header.Start));
    return text.toUtf8() + ColumnLine;
}

bool TMeasureRecorder::OpenFor(QDate day, bool nextPart) {
    File.reset();
    if (day != Day) {
        // The day's latest file: a record started again later that day goes on in it.
        Day = day;
        Part = 1;
        while (QFileInfo::exists(RecordFileName(Chosen, Day, Part + 1)))
            ++Part;
    }
    if (nextPart)
        ++Part;
    // A file already at the limit is not written into again.
    while (QFileInfo(RecordFileName(Chosen, Day, Part)).size() >= Limit)
        ++Part;
    Current = RecordFileName(Chosen, Day, Part);
    File = std::make_unique<TLineFile>(Current);
    InFile = 0;
    if (!File->Continue(HeaderLines()))
        return Fail(File->Reason());
    return true;
}

bool TMeasureRecorder::Begin(const TRecordHeader& header, const QDateTime& now) {
    Why.clear();
    Header = header;
    Day = QDate();
    return OpenFor(now.date(), false);
}

bool TMeasureRecorder::Put(const QByteArray& line) {
    if (!File->Append(line))
        return Fail(File->Reason());
    return true;
}

bool TMeasureRecorder::Reading(const QDateTime& when, double minutes, int channel, const QString& value) {
    if (!File)
        return false;
    const QByteArray line = QStringLiteral("%1,%2,%3,%4,%5\n")
                                .arg(TimeText(when), Numbers::FormatFixed(minutes, 5))
                                .arg(Header.Address)
                                .arg(channel)
                                .arg(value)
                                .toUtf8();
    const bool newDay = when.date() != Day;
    if ((newDay || (InFile > 0 && File->Bytes() + line.size() > Limit)) && !OpenFor(when.date(), !newDay))
        return false;
    if (!Put(line))
        return false;
    ++InFile;
    ++Count;
    return true;
}

bool TMeasureRecorder::Gap(const QDateTime& when, const QString& reason) {
    if (!File)
        return false;
    return Put(QStringLiteral("# gap: %1 %2\n").arg(TimeText(when), OneLine(reason)).toUtf8());
}

void TMeasureRecorder::End() {
    File.reset();
}

namespace {
std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool ParseDouble(std::string_view s, double& v) {
    s = Trim(s);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && end == s.data() + s.size() && std::isfinite(v);
}

bool ParseInt(std::string_view s, int& v) {
    s = Trim(s);
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && end == s.data() + s.size();
}

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

class TReader {
public:
    TReader(IRecordSink& sink) : Sink(sink) {}
    TRecordRead Result;

    void Line(std::string_view line) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            return;
        if (line.front() == '#') {
            Comment(line.substr(1));
            return;
        }
        if (line.starts_with("time,"))
            return;
        std::string_view f[5];
        size_t n = 0;
        while (n < 4) {
            const size_t comma = line.find(',');
            if (comma == std::string_view::npos)
                break;
            f[n++] = line.substr(0, comma);
            line.remove_prefix(comma + 1);
        }
        f[n++] = line;
        double minutes = 0;
        double value = 0;
        int address = 0;
        int channel = 0;
        if (n != 5 || !ParseDouble(f[1], minutes) || !ParseInt(f[2], address) || !ParseInt(f[3], channel) ||
            !ParseDouble(f[4], value)) {
            ++Result.Skipped;
            return;
        }
        if (address != LastAddress || channel != LastChannel) {
            const auto key = std::make_pair(address, channel);
            auto it = Series.find(key);
            if (it == Series.end())
                it = Series.emplace(key, Sink.NewSeries(address, channel)).first;
            LastAddress = address;
            LastChannel = channel;
            LastSeries = it->second;
        }
        Sink.Point(LastSeries, minutes + Offset, value);
        ++Result.Readings;
        AnyReading = true;
    }

private:
    void Comment(std::string_view c) {
        c = Trim(c);
        const size_t colon = c.find(':');
        if (colon == std::string_view::npos)
            return;
        const std::string_view key = Trim(c.substr(0, colon));
        const std::string_view value = Trim(c.substr(colon + 1));
        if (key == "gap") {
            ++Result.Gaps;
            Sink.Gap();
        } else if (key == "start") {
            // A new run: its minutes count from its own start, placed after the first run's.
            const QDateTime start = QDateTime::fromString(Text(value), Qt::ISODateWithMs);
            if (!First.isValid() && start.isValid()) {
                First = start;
                Result.Header.Start = start;
            } else if (start.isValid()) {
                Offset = static_cast<double>(First.msecsTo(start)) / 60000.0;
            }
            if (AnyReading)
                Sink.Gap();
            ++Sections;
        } else if (Sections == 0) {
            // The first section's header names the instrument.
            TRecordHeader& h = Result.Header;
            if (key == "type")
                h.Type = Text(value);
            else if (key == "version")
                h.Version = Text(value);
            else if (key == "port")
                h.Port = Text(value);
            else if (key == "speed")
                ParseInt(value, h.Speed);
            else if (key == "address")
                ParseInt(value, h.Address);
            else if (key == "channels")
                for (const QString& k : Text(value).split(QLatin1Char(','), Qt::SkipEmptyParts))
                    h.Channels << k.trimmed().toInt();
        }
    }

    IRecordSink& Sink;
    std::map<std::pair<int, int>, int> Series;
    int LastAddress = -1;
    int LastChannel = -1;
    int LastSeries = -1;
    double Offset = 0;
    QDateTime First;
    int Sections = 0;
    bool AnyReading = false;
};
} // namespace

TRecordRead ReadMeasureRecord(std::string_view text, IRecordSink& sink) {
    TReader reader(sink);
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const auto* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        if (!nl)
            break; // a line the writer did not finish
        reader.Line(std::string_view(p, static_cast<size_t>(nl - p)));
        p = nl + 1;
    }
    reader.Result.Ok = true;
    return reader.Result;
}

TRecordRead ReadMeasureRecordFile(const QString& fileName, IRecordSink& sink) {
    QFile file(fileName);
    TRecordRead failed;
    if (!file.open(QIODevice::ReadOnly)) {
        failed.Error = FileErrorReason(file.errorString(), false);
        return failed;
    }
    const qint64 size = file.size();
    if (size == 0)
        return ReadMeasureRecord({}, sink);
    // Mapped: a month of readings is read without a copy of it in memory.
    if (uchar* data = file.map(0, size)) {
        TRecordRead r = ReadMeasureRecord(
            std::string_view(reinterpret_cast<const char*>(data), static_cast<size_t>(size)), sink);
        file.unmap(data);
        return r;
    }
    const QByteArray all = file.readAll();
    if (all.size() != size) {
        failed.Error = FileErrorReason(file.errorString(), false);
        return failed;
    }
    return ReadMeasureRecord(std::string_view(all.constData(), static_cast<size_t>(all.size())), sink);
}
