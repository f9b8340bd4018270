// Seeded random mutation of a target's valid inputs, fed to its fuzz entry point. Runs everywhere
// (no compiler support needed) for a few seconds under ctest; the same seed repeats the same inputs.
// Each target supplies LLVMFuzzerTestOneInput and its seeds.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
std::vector<QByteArray> FuzzSeeds();

namespace {

const uint8_t KInterestingBytes[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08,
                                     0x09, 0x0A, 0x0B, 0x0C, 0x7F, 0x80, 0xFE, 0xFF};
const uint32_t KInterestingWords[] = {0,      1,      0x7F,       0xFF,       0x7FFF,
                                      0xFFFF, 100001, 0x7FFFFFFF, 0xFFFFFFF0, 0xFFFFFFFF};

QByteArray Mutate(QByteArray b, std::mt19937& rng, const std::vector<QByteArray>& seeds) {
    auto pick = [&rng](size_t n) { return n == 0 ? size_t(0) : size_t(rng() % n); };
    const int steps = 1 + int(rng() % 4);
    for (int s = 0; s < steps; ++s) {
        const size_t n = size_t(b.size());
        switch (rng() % 8) {
        case 0: // flip a bit
            if (n) {
                const qsizetype at = qsizetype(pick(n));
                b[at] = char(b[at] ^ (1 << (rng() % 8)));
            }
            break;
        case 1: // an interesting byte
            if (n)
                b[qsizetype(pick(n))] = char(KInterestingBytes[pick(sizeof KInterestingBytes)]);
            break;
        case 2: // an interesting 32-bit word
            if (n >= 4) {
                const uint32_t w = KInterestingWords[pick(sizeof KInterestingWords / 4)];
                const size_t at = pick(n - 3);
                for (int i = 0; i < 4; ++i)
                    b[qsizetype(at + i)] = char((w >> (8 * i)) & 0xFF);
            }
            break;
        case 3: // cut the end
            b.truncate(qsizetype(pick(n + 1)));
            break;
        case 4: // delete a range
            if (n)
                b.remove(qsizetype(pick(n)), qsizetype(1 + pick(16)));
            break;
        case 5: // insert random bytes
            for (size_t i = 0, k = 1 + pick(8), at = pick(n + 1); i < k; ++i)
                b.insert(qsizetype(at), char(rng() & 0xFF));
            break;
        case 6: // duplicate a chunk
            if (n) {
                const size_t at = pick(n);
                b.insert(qsizetype(pick(n)), b.mid(qsizetype(at), qsizetype(1 + pick(64))));
            }
            break;
        default: { // splice in part of another seed
            const QByteArray& other = seeds[pick(seeds.size())];
            b = b.left(qsizetype(pick(n + 1))) + other.mid(qsizetype(pick(size_t(other.size()))));
            break;
        }
        }
    }
    return b;
}

} // namespace

int main(int argc, char** argv) {
    double seconds = 3;
    unsigned seed = 20240611;
    QString seedDir;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--seconds"))
            seconds = std::atof(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--seed"))
            seed = unsigned(std::strtoul(argv[i + 1], nullptr, 10));
        else if (!std::strcmp(argv[i], "--write-seeds"))
            seedDir = QString::fromLocal8Bit(argv[i + 1]);
    }
    const std::vector<QByteArray> seeds = FuzzSeeds();
    if (!seedDir.isEmpty()) {
        QDir().mkpath(seedDir);
        for (size_t i = 0; i < seeds.size(); ++i) {
            QFile f(QDir(seedDir).filePath(QStringLiteral("seed%1").arg(i)));
            if (!f.open(QIODevice::WriteOnly) || f.write(seeds[i]) != seeds[i].size())
                return 1;
        }
        return 0;
    }

    std::mt19937 rng(seed);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    long long runs = 0;
    for (const QByteArray& s : seeds)
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(s.constData()), size_t(s.size()));
    while (std::chrono::steady_clock::now() < end) {
        for (int k = 0; k < 64; ++k, ++runs) {
            const QByteArray in = Mutate(seeds[size_t(rng() % seeds.size())], rng, seeds);
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(in.constData()), size_t(in.size()));
        }
    }
    std::printf("%lld mutated inputs, seed %u, no failure\n", runs, seed);
    return 0;
}
