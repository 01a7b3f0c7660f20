#include "database/default_database.h"

#include "support/atomic_file.h"
#include "support/error.h"


#include <QDir>

#include <cstddef>

namespace lexora {
namespace embedded {
extern const unsigned char default_database[];
extern const std::size_t default_database_size;
} // namespace embedded

QByteArray DefaultDatabaseBytes()
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(embedded::default_database),
                                   qsizetype(embedded::default_database_size));
}

void WriteDefaultDatabase(const QString &fileName)
{
    AtomicFile file(fileName);
    const QByteArray bytes = DefaultDatabaseBytes();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        || file.device().write(bytes) != bytes.size() || !file.commit())
        throw Error(Error::Kind::IoError, QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2")
                        .arg(QDir::toNativeSeparators(fileName), file.errorString()));
}

} // namespace lexora
