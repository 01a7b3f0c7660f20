#pragma once

#include <QDialog>

#include <optional>

class QComboBox;
class QGroupBox;
class QPushButton;

namespace lexora {

// The template-database choice TemplateChoiceWindow, used by "New" (caption "Neue Datenbank") and by the
// standard-template command (caption "Standard-Vorlage"). Entry 0 is "Keine Vorlage verwenden",
// then the "*.lxd" files of the templates folder sorted alphabetically without regard to case.
class TemplateChoiceWindow : public QDialog {
    Q_OBJECT
public:
    explicit TemplateChoiceWindow(QWidget *parent = nullptr);

    // Fills the list from templatesFolder (ending with '/'), preselects defTemplate (compared
    // without regard to case; entry 0 when absent), sets the caption and shows the window modally.
    // Returns the chosen file name (without folder), an empty string for "Keine Vorlage
    // verwenden", or nothing when the window was cancelled.
    std::optional<QString> choose(const QString &caption, const QString &templatesFolder,
                                  const QString &defTemplate);

    // The filling step of choose(), for a caller that shows the window itself.
    void fill(const QString &templatesFolder, const QString &defTemplate);
    // The chosen entry as choose() returns it.
    QString chosenTemplate() const;

    QGroupBox *GroupBox1 = nullptr;
    QComboBox *ComboBox_Template = nullptr;
    QPushButton *Button_OK = nullptr;
    QPushButton *Button_Cancel = nullptr;
};

} // namespace lexora
