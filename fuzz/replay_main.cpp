// Runs the fuzz target without libFuzzer, so the main build (g++) can run it as a smoke test:
// over the writer's seed files, any files or folders named (regression inputs), and then over
// randomly mutated copies of all of them.
//   fuzz_load_database_replay [-runs=N] [-seed=S] [FILE|FOLDER]...
#include "seeds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cstdint>
#include <cstdio>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

void run(const QByteArray &input)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(input.constData()),
                           std::size_t(input.size()));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Values that make lengths, sizes, indexes and tags go wrong.
constexpr std::uint32_t kInteresting[] = {0, 1, 0x7F, 0x80, 0xFF, 0x100, 0xFFFF, 0x7FFFFFFF,
                                          0x80000000, 0xFFFFFFFF, 0xFFFFFFFE, 1000, 256, 255};

void mutate(QByteArray &data, QRandomGenerator &random)
{
    const int count = 1 + random.bounded(4);
    for (int m = 0; m < count; ++m) {
        const int size = int(data.size());
        const int at = size > 0 ? random.bounded(size) : 0;
        switch (random.bounded(8)) {
        case 0: // flip a bit
            if (size > 0)
                data[at] = char(data[at] ^ (1 << random.bounded(8)));
            break;
        case 1: // a random byte
            if (size > 0)
                data[at] = char(random.bounded(256));
            break;
        case 2: { // an interesting 32-bit value
            const std::uint32_t v = kInteresting[random.bounded(int(std::size(kInteresting)))];
            for (int i = 0; i < 4 && at + i < size; ++i)
                data[at + i] = char(v >> (8 * i));
            break;
        }
        case 3: // cut the end off
            data.truncate(at);
            break;
        case 4: // remove a piece
            data.remove(at, random.bounded(1 + std::min(64, size - at)));
            break;
        case 5: // repeat a piece
            data.insert(at, data.mid(at, random.bounded(1 + std::min(64, size - at))));
            break;
        case 6: // insert random bytes
            for (int i = random.bounded(1, 9); i > 0; --i)
                data.insert(at, char(random.bounded(256)));
            break;
        case 7: // a tag byte
            if (size > 0)
                data[at] = char(std::initializer_list<int>{0, 1, 2, 3, 4, 6, 8, 9, 0x0C, 0x11, 0x12, 0x14}
                                    .begin()[random.bounded(12)]);
            break;
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    int runs = 1000;
    quint32 seed = 1;
    QList<QByteArray> corpus = lexora::fuzz::seedFiles();
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "-runs=", 6) == 0) {
            runs = std::atoi(argv[i] + 6);
        } else if (std::strncmp(argv[i], "-seed=", 6) == 0) {
            seed = quint32(std::strtoul(argv[i] + 6, nullptr, 10));
        } else {
            const QString path = QString::fromLocal8Bit(argv[i]);
            if (QFileInfo(path).isDir()) {
                for (const QFileInfo &entry : QDir(path).entryInfoList(QDir::Files))
                    corpus.append(readFile(entry.filePath()));
            } else {
                corpus.append(readFile(path));
            }
        }
    }
    for (const QByteArray &input : corpus)
        run(input);
    QRandomGenerator random(seed);
    for (int i = 0; i < runs; ++i) {
        QByteArray input = corpus[random.bounded(int(corpus.size()))];
        mutate(input, random);
        run(input);
    }
    std::printf("%lld corpus inputs and %d mutated inputs loaded without a fault\n",
                static_cast<long long>(corpus.size()), runs);
    return 0;
}
