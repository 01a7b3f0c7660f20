#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lexora {

class Document;
class FileDialogs;
class Progress;
class UserPrompt;

// The window HtmlExportWindow "Datenbank exportieren": writes the whole open database as one HTML page
// (ExportDatabaseHTML) with a title, a preferred font and font size, into the file the user
// names. Invalid file names are shown in the warning balloon at Edit_File; the window closes
// after a successful export and stays open otherwise.
class HtmlExportWindow : public QDialog {
    Q_OBJECT

public:
    HtmlExportWindow(const Document &document, UserPrompt &prompt, Progress &progress,
            FileDialogs &dialogs, QWidget *parent = nullptr);

    void Button_SearchFileClick();
    void Button_ExportClick();

    QGroupBox *GroupBox1 = nullptr;
    QLabel *Label_Title = nullptr;
    QLineEdit *Edit_Title = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *ComboBox_Font = nullptr;
    QComboBox *ComboBox_FontSize = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QLineEdit *Edit_File = nullptr;
    QPushButton *Button_SearchFile = nullptr;
    QPushButton *Button_Export = nullptr;
    QPushButton *Button_Cancel = nullptr;

protected:
    // FormShow: empty fields, the font families with the preferred one chosen, "sehr klein".
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void fillFonts();

    const Document &m_document;
    UserPrompt &m_prompt;
    Progress &m_progress;
    FileDialogs &m_dialogs;
};

} // namespace lexora
