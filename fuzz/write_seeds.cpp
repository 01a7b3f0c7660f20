// Writes the seed corpus of the fuzz target into a folder: fuzz_write_seeds FOLDER
#include "seeds.h"

#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: fuzz_write_seeds ORDNER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(folder.path());
    int n = 0;
    for (const QByteArray &seed : lexora::fuzz::seedFiles()) {
        QFile file(folder.filePath(QStringLiteral("seed%1.lxd").arg(++n)));
        if (!file.open(QIODevice::WriteOnly) || file.write(seed) != seed.size()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(file.fileName()), qPrintable(file.errorString()));
            return 1;
        }
    }
    return 0;
}
