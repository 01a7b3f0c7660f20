#pragma once

#include "exchange/import.h"

#include <QDialog>
#include <QList>
#include <QUrl>

class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QWidget;

namespace lexora {

class Document;
class FileDialogs;
class UserPrompt;

// The window ImportWindow "Datenbank importieren": the page "Dateien" collects the databases to import
// (chosen with "Hinzufügen" or dropped from the file manager), the page "Elemente" what to take
// from them; "Importieren" merges them into the open database through the Document. Input errors
// are shown in the warning balloon at the list concerned; the window closes after the import.
class ImportWindow : public QDialog {
    Q_OBJECT

public:
    ImportWindow(Document &document, UserPrompt &prompt, FileDialogs &dialogs,
           QWidget *parent = nullptr);

    // Adds the files of one adding (a choice in the open dialog, or a drop), in their order.
    // Files without the extension ".lxd" are taken only when the user agrees, asked once.
    void AddImportFiles(const QStringList &paths);
    void Button_AddClick();
    void Button_DelClick();
    void ImportDatabases();
    // Files dropped onto the window, in drop order; anything but local files is ignored.
    void FilesDropped(const QList<QUrl> &urls);

    QTabWidget *PageControl = nullptr;
    QWidget *TabSheet1 = nullptr;
    QLabel *Label1 = nullptr;
    QListWidget *ListView_Files = nullptr;
    QPushButton *Button_Add = nullptr;
    QPushButton *Button_Del = nullptr;
    QPushButton *Button_Next = nullptr;
    QWidget *TabSheet2 = nullptr;
    QLabel *Label2 = nullptr;
    QListWidget *CheckListBox_Elements = nullptr;
    QPushButton *Button_Back = nullptr;
    QPushButton *Button_Import = nullptr;
    QPushButton *Button_Cancel = nullptr;

protected:
    // FormShow: an empty list, every element checked, the page "Dateien".
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createFilesPage();
    void createElementsPage();
    void showFiles();
    // Which rows of CheckListBox_Elements are checked; headers never are.
    std::array<bool, ImportElements.size()> checkedElements() const;
    // Shows the page that holds control, then the warning at it.
    void warn(QWidget *control, const QString &text);

    Document &m_document;
    UserPrompt &m_prompt;
    FileDialogs &m_dialogs;
    ImportFileList m_files;
};

} // namespace lexora
