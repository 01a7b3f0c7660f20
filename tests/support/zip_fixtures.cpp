#include "support/zip_fixtures.h"

#include <QFile>

#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

#include <zip.h>

namespace lexora::test {

void writeZip(const QString &path, const QList<ZipEntry> &entries)
{
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr) << "zip_open: " << error;
    for (const ZipEntry &entry : entries) {
        // The source takes the bytes along; libzip frees them when the archive is closed.
        void *bytes = malloc(std::max<qsizetype>(1, entry.data.size()));
        memcpy(bytes, entry.data.constData(), size_t(entry.data.size()));
        zip_source_t *source = zip_source_buffer(zip, bytes, zip_uint64_t(entry.data.size()), 1);
        ASSERT_NE(source, nullptr);
        const zip_int64_t index =
            zip_file_add(zip, entry.name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
        ASSERT_GE(index, 0) << zip_strerror(zip);
        ASSERT_EQ(zip_file_set_external_attributes(zip, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                                   entry.unixMode << 16),
                  0);
    }
    ASSERT_EQ(zip_close(zip), 0);
}

} // namespace lexora::test
