#include "support/file_dialogs.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace lexora {

namespace {

// Qt's file list writes sizes and dates in the session's language; Lexora speaks German
// throughout, so they are written again in the program's locale.
class FileDetailsInProgramLocale : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        enum { SizeColumn = 1, DateColumn = 3 };
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role == Qt::DisplayRole && files) {
            const QModelIndex source = mapToSource(index);
            if (index.column() == SizeColumn && !files->isDir(source))
                return QLocale().formattedDataSize(files->size(source));
            if (index.column() == DateColumn)
                return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        }
        return QIdentityProxyModel::data(index, role);
    }
};

void prepare(QFileDialog &dialog)
{
    dialog.setProxyModel(new FileDetailsInProgramLocale(&dialog));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(true);
}

struct Kind {
    const char16_t *filter;
    const char16_t *suffix;
};
// Qt separates the patterns of one filter by blanks.
constexpr Kind kDatabase{u"Lexora (*.lxd)", u"lxd"};
constexpr Kind kHtml{u"HTML-Dateien (*.htm *.html)", u"htm"};

std::optional<QStringList> run(QFileDialog &dialog, const Kind &kind, QString &last)
{
    prepare(dialog);
    dialog.setNameFilter(QString::fromUtf16(kind.filter));
    dialog.setDefaultSuffix(QString::fromUtf16(kind.suffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    last = dialog.selectedFiles().constFirst();
    return dialog.selectedFiles();
}

std::optional<QString> first(const std::optional<QStringList> &files)
{
    return files ? std::optional<QString>(files->constFirst()) : std::nullopt;
}

} // namespace

std::optional<QString> QtFileDialogs::openDatabase(QWidget *parent)
{
    QFileDialog dialog(parent, QStringLiteral("Öffnen"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!m_lastOpened.isEmpty())
        dialog.selectFile(m_lastOpened);
    return first(run(dialog, kDatabase, m_lastOpened));
}

std::optional<QStringList> QtFileDialogs::openDatabases(QWidget *parent)
{
    QFileDialog dialog(parent, QStringLiteral("Öffnen"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (!m_lastOpened.isEmpty())
        dialog.selectFile(m_lastOpened);
    return run(dialog, kDatabase, m_lastOpened);
}

std::optional<QString> QtFileDialogs::saveDatabase(QWidget *parent, const QString &folder)
{
    QFileDialog dialog(parent, QStringLiteral("Speichern unter"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    else if (!m_lastSaved.isEmpty())
        dialog.selectFile(m_lastSaved);
    return first(run(dialog, kDatabase, m_lastSaved));
}

std::optional<QString> QtFileDialogs::saveHtml(QWidget *parent, Overwrite overwrite)
{
    QFileDialog dialog(parent, QStringLiteral("Speichern unter"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, overwrite == Overwrite::DoNotAsk);
    if (!m_lastHtml.isEmpty())
        dialog.selectFile(m_lastHtml);
    return first(run(dialog, kHtml, m_lastHtml));
}

QStringList QtFileDialogs::openIncludedFiles(QWidget *parent)
{
    QFileDialog dialog(parent, QStringLiteral("Öffnen"));
    prepare(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    // "*" rather than "*.*": here many files have no extension.
    dialog.setNameFilter(QStringLiteral("Alle Dateien (*)"));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

} // namespace lexora
