#pragma once

#include "database/model.h"

#include <QDialog>

class QPushButton;
class QTreeView;

namespace lexora {

class Document;
class FileDialogs;
class IncludedFilesModel;

// "Eingebundene Dateien": lists the files carried in the database and adds (through the file
// dialog or dropped from the file manager), renames (in place) and removes them. Every change
// goes straight to the document; there is nothing to cancel.
class IncludedFilesWindow : public QDialog {
    Q_OBJECT

public:
    IncludedFilesWindow(Document &document, FileDialogs &fileDialogs, QWidget *parent = nullptr);

    // Adds the files, then sorts the list (the add button and a drop).
    void addFiles(const QStringList &paths);
    void Button_AddClick();
    void Button_DelClick();
    void Button_RenameClick();

    // The files of the selected rows, top down.
    QList<TInclFile *> selectedFiles() const;

    QTreeView *ListView_Files = nullptr;
    QPushButton *Button_Add = nullptr;
    QPushButton *Button_Del = nullptr;
    QPushButton *Button_Rename = nullptr;
    QPushButton *Button_Close = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void updateButtons();

    Document &m_document;
    FileDialogs &m_fileDialogs;
    IncludedFilesModel *m_model = nullptr;
};

} // namespace lexora
