#include "support/test_document.h"

#include <QDir>

namespace lexora::test {

TestDocument::TestDocument() : m_folder(m_dir.path() + QLatin1Char('/'))
{
    QDir().mkpath(m_folder + QStringLiteral("files"));
    m_document.emplace(m_folder + QStringLiteral("files/"), "test", prompt, m_progress);
}

} // namespace lexora::test
