#pragma once

#include "database/model.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;
class QListView;
class QPushButton;
class QStatusBar;
class QTabBar;
class QToolBar;

namespace lexora {

class CodeField;
class CodeFieldSettings;
class Document;
class TemplateListModel;
struct Settings;

// "HTML- und CSS-Vorlagen": creates, edits, renames and deletes the HTML and CSS templates and
// chooses each list's default. The fields show the selected template; only "Speichern" writes
// them back, through the document (a changed name is rewritten in every item first). Before
// changed fields would go (closing, another template, the other tab, "Neu") the user is asked
// whether to take them.
class TemplateManager : public QDialog {
    Q_OBJECT

public:
    // copyEditorToolBar makes the item editor's tool bar for the code field's panel.
    TemplateManager(Document &document, CodeFieldSettings &look,
           const std::function<QToolBar *(QWidget *)> &copyEditorToolBar,
           QWidget *parent = nullptr);
    ~TemplateManager() override;

    // "F3_Wrap".
    void applySettings(const Settings &settings);
    void storeSettings(Settings &settings) const;

    void TabControlChange();
    void ListView_TemplatesSelectItem();
    void Button_NewClick();
    void Button_SaveClick();
    void Button_DelClick();

    // The template whose row is selected, or nullptr.
    TTemplate *selectedTemplate() const;

    // Escape, the title bar's close and "Schließen": changed fields are asked about first.
    void reject() override;

    QTabBar *TabControl = nullptr;
    QListView *ListView_Templates = nullptr;
    QLineEdit *Edit_Name = nullptr;
    QLineEdit *Edit_Description = nullptr;
    QWidget *Panel1 = nullptr;
    QToolBar *ToolBar = nullptr;
    CodeField *Memo_Content = nullptr;
    QCheckBox *CheckBox_Default = nullptr;
    QPushButton *Button_New = nullptr;
    QPushButton *Button_Del = nullptr;
    QPushButton *Button_Save = nullptr;
    QPushButton *Button_Close = nullptr;
    QStatusBar *StatusBar = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // What the fields were filled with: a template of a list, or nothing (a new template).
    struct Shown {
        int list = HtmlTemplates;
        TTemplate *tmpl = nullptr;
        QString name;
        QString description;
        Text code;
        bool isDefault = false;
    };

    void createComponents(const std::function<QToolBar *(QWidget *)> &copyEditorToolBar);
    void select(const TTemplate *tmpl);
    // Fills the fields with tmpl of the current list (nullptr: empty, for a new template).
    void fillFields(TTemplate *tmpl);
    bool fieldsChanged() const;
    // Asks about changed fields; true when the fields may be refilled.
    bool mayLeaveFields();
    // Saves the fields into what they show; nullptr when the name is refused (a balloon says why).
    const TTemplate *saveFields();

    Document &m_document;
    TemplateListModel *m_model = nullptr;
    Shown m_shown;
    // Set while the window itself changes tab, list or selection: no question then.
    bool m_refilling = false;
};

} // namespace lexora
