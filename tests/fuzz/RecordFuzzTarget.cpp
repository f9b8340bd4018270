// Fuzz entry point for the measurement record's reader (its own files and kestrin-cli's): any input
// ends in a result, never a crash; every point it hands over is finite and belongs to a series it
// announced, and it takes at most one reading per complete line.
#include "formats/MeasureRecord.h"

#include <QByteArray>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

class TCheckingSink : public IRecordSink {
public:
    int Series = 0;
    long long Points = 0;
    int Gaps = 0;
    int NewSeries(int, int) override { return Series++; }
    void Point(int series, double minutes, double value) override {
        Check(series >= 0 && series < Series, "point of an announced series");
        Check(std::isfinite(minutes) && std::isfinite(value), "finite point");
        ++Points;
    }
    void Gap() override { ++Gaps; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TCheckingSink sink;
    const TRecordRead r =
        ReadMeasureRecord(std::string_view(reinterpret_cast<const char*>(data), size), sink);
    Check(r.Ok, "text in memory always reads");
    Check(r.Readings == sink.Points, "readings counted as handed over");
    long long lines = 0;
    for (size_t i = 0; i < size; ++i)
        lines += data[i] == '\n';
    Check(r.Readings + r.Skipped <= lines, "at most one reading per complete line");
    Check(r.Gaps <= sink.Gaps, "every gap line handed over");
    return 0;
}

std::vector<QByteArray> FuzzSeeds() {
    return {QByteArray("# Kestrin K1 measurement record\n# type: Kestrin K1\n# version: 2.1\n# port: SIM1\n"
                       "# speed: 9600\n# address: 3\n# channels: 1,2\n# start: 2026-12-09T23:58:00.000\n"
                       "time,minutes,address,channel,value\n2026-12-09T23:58:00.500,0.00833,3,1,12.5\n"
                       "2026-12-09T23:58:01.000,0.01667,3,2,-1E-6\n# gap: 2026-12-09T23:58:02.000 ошибка\n"
                       "# start: 2026-12-09T23:59:00.000\n2026-12-09T23:59:00.500,0.00833,3,1,+7\n"),
            QByteArray("time,minutes,address,channel,value\n2026-12-10T10:00:00.000,0.00000,1,1,20.5\n"
                       "2026-12-10T10:00:00.500,0.00833,2,1,7\r\n2026-12-10T10:00:01.000,0.0166")};
}
