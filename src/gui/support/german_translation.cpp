#include "support/german_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace lexora {

namespace {

bool install(const QString &name)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace

bool installGermanTranslation()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const bool base = install(QStringLiteral("qtbase_de"));
    install(QStringLiteral("qtwebengine_de"));
    return base;
}

} // namespace lexora
