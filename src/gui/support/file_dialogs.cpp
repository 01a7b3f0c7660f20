#include "support/file_dialogs.h"

#include <QFileDialog>

namespace lexora {

namespace {

std::optional<QString> run(QFileDialog &dialog, QString &last)
{
    dialog.setNameFilter(QStringLiteral("Lexora (*.lxd)"));
    dialog.setDefaultSuffix(QStringLiteral("lxd"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(true);
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

} // namespace lexora
