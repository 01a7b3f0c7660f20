#pragma once

#include "sorting/sort_criteria.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;

namespace lexora {

class Document;
struct Settings;

// "Sortierreihenfolge": up to three sort criteria, each in its own numbered group. OK checks the
// groups, makes their list the document's sort order, sorts the whole tree by it and keeps it in
// the settings; Cancel changes nothing.
class SortCriteriaWindow : public QDialog {
    Q_OBJECT

public:
    SortCriteriaWindow(Document &document, Settings &settings, QWidget *parent = nullptr);

    // FormShow, then the dialog; true when OK took a new list.
    bool execute();

    void FormShow();
    void CheckBox_CriteriumClick(int group);
    void ComboBox_CriteriumClick(int group);
    void Button_OKClick();

    static constexpr int kGroups = kMaxSortCriteria;
    std::array<QGroupBox *, kGroups> GroupBox_Criterium{};
    std::array<QCheckBox *, kGroups> CheckBox_Criterium{};
    std::array<QComboBox *, kGroups> ComboBox_Criterium{};
    std::array<QComboBox *, kGroups> ComboBox_CriteriumMode{};
    QPushButton *Button_OK = nullptr;
    QPushButton *Button_Cancel = nullptr;

private:
    void createGroup(int group);

    Document &m_document;
    Settings &m_settings;
};

} // namespace lexora
