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

std::optional<QString> run(QFileDialog &dialog, QString &last)
{
    prepare(dialog);
    dialog.setNameFilter(QStringLiteral("Lexora (*.lxd)"));
    dialog.setDefaultSuffix(QStringLiteral("lxd"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    last = dialog.selectedFiles().constFirst();
    return last;
}

} // namespace

std::optional<QString> QtFileDialogs::openDatabase(QWidget *parent)
{
    QFileDialog dialog(parent, QStringLiteral("Öffnen"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!m_lastOpened.isEmpty())
        dialog.selectFile(m_lastOpened);
    return run(dialog, m_lastOpened);
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
    return run(dialog, m_lastSaved);
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
