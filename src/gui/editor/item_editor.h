#pragma once

#include "database/model.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSplitter;
class QStatusBar;
class QToolBar;

namespace lexora {

class BrowserView;
class CodeField;
class CodeFieldSettings;
class CodeMenus;
class Document;
class EditorPreview;
struct Settings;

// "Eintrag bearbeiten": the editor of one item's code, templates and line-break flag, with the
// tag and placeholder tool bar and a preview of the page. OK stores through the document, dated
// today and signed by the user; Cancel changes nothing.
class ItemEditor : public QDialog {
    Q_OBJECT

public:
    ItemEditor(Document &document, CodeMenus &menus, CodeFieldSettings &look,
           QWidget *parent = nullptr);
    ~ItemEditor() override;

    // Shows the editor modally for the item of node; true when it closed with OK.
    bool EditItem(Node *node);

    // The editor's tool bar, which CopyEditorToolBar copies for the other code fields.
    const QToolBar &toolBar() const { return *ToolBar; }

    // "F2_Wrap", "F2_RightArea", "F2_Width", "F2_Height", "F2_Maximized".
    void applySettings(const Settings &settings);
    void storeSettings(Settings &settings) const;

    // The minimum width of the code side; the splitter never makes it narrower.
    static constexpr int MinCodeAreaWidth = 321;

    // Escape and the title bar's close: changed fields are asked about first.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    // Whether the fields differ from the item.
    bool fieldsChanged() const;
    void createComponents(CodeMenus &menus);
    void fillTemplateList(QComboBox *box, int list, const TTemplate *current);
    const TTemplate *chosenTemplate(const QComboBox *box, int list) const;
    void Button_OKClick();

    Document &m_document;
    Node *m_node = nullptr;
    int m_rightAreaWidth = 330;
    bool m_maximized = false;
    EditorPreview *m_preview = nullptr;

    QToolBar *ToolBar = nullptr;
    CodeField *Memo_Content = nullptr;
    QComboBox *ComboBox_HTMLTemplate = nullptr;
    QComboBox *ComboBox_CSSTemplate = nullptr;
    QCheckBox *CheckBox_AutoFormat = nullptr;
    QSplitter *Splitter = nullptr;
    QWidget *Panel5 = nullptr;
    QWidget *Panel_RightArea = nullptr;
    BrowserView *WebBrowser = nullptr;
    QPushButton *Button_UpdatePreview = nullptr;
    QPushButton *Button_Cancel = nullptr;
    QPushButton *Button_OK = nullptr;
    QStatusBar *StatusBar = nullptr;
};

} // namespace lexora
