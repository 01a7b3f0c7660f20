#include "sorting/sort_criteria_window.h"

#include "document/document.h"
#include "help/balloons.h"
#include "settings/sort_settings.h"
#include "support/dialog_buttons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lexora {

namespace {

// The criteria in the order of their numbers, each with its two modes.
struct CriterionNames {
    const char16_t *name;
    const char16_t *modes[2];
};
constexpr CriterionNames kCriteria[] = {
    {u"Elementtyp (Schlüssel/Eintrag)", {u"mit Schlüsseln beginnend", u"mit Einträgen beginnend"}},
    {u"Titel", {u"aufsteigend", u"absteigend"}},
    {u"Erstellungsdatum", {u"aufsteigend", u"absteigend"}},
    {u"Änderungsdatum", {u"aufsteigend", u"absteigend"}},
};

} // namespace

SortCriteriaWindow::SortCriteriaWindow(Document &document, Settings &settings, QWidget *parent)
    : QDialog(parent), m_document(document), m_settings(settings)
{
    setObjectName(QStringLiteral("TForm11"));
    setWindowTitle(QStringLiteral("Sortierreihenfolge"));
    auto *layout = new QVBoxLayout(this);
    for (int group = 0; group < kGroups; ++group) {
        createGroup(group);
        layout->addWidget(GroupBox_Criterium[std::size_t(group)]);
    }
    const DialogButtons buttons = makeDialogButtons(this);
    Button_OK = buttons.accept;
    Button_Cancel = buttons.cancel;
    layout->addLayout(buttons.row);
    connect(Button_OK, &QPushButton::clicked, this, &SortCriteriaWindow::Button_OKClick);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void SortCriteriaWindow::createGroup(int group)
{
    const std::size_t g = std::size_t(group);
    const QString number = QString::number(group + 1);
    auto *box = new QGroupBox(number + QStringLiteral(". Kriterium"), this);
    box->setObjectName(QStringLiteral("GroupBox_Criterium") + number);
    auto *check = new QCheckBox(QStringLiteral("Aktiviert"), box);
    check->setObjectName(QStringLiteral("CheckBox_Criterium") + number);
    auto *criterion = new QComboBox(box);
    criterion->setObjectName(QStringLiteral("ComboBox_Criterium") + number);
    for (const CriterionNames &c : kCriteria)
        criterion->addItem(QString::fromUtf16(c.name));
    criterion->setAccessibleName(box->title() + QStringLiteral(": Kriterium"));
    auto *mode = new QComboBox(box);
    mode->setObjectName(criterion->objectName() + QStringLiteral("Mode"));
    mode->setAccessibleName(box->title() + QStringLiteral(": Modus"));
    criterion->setMinimumContentsLength(26);
    mode->setMinimumContentsLength(22);
    auto *row = new QHBoxLayout(box);
    row->addWidget(check);
    row->addWidget(criterion, 1);
    row->addWidget(mode, 1);
    GroupBox_Criterium[g] = box;
    CheckBox_Criterium[g] = check;
    ComboBox_Criterium[g] = criterion;
    ComboBox_CriteriumMode[g] = mode;
    connect(check, &QCheckBox::toggled, this, [this, group] { CheckBox_CriteriumClick(group); });
    connect(criterion, &QComboBox::activated, this, [this, group] { ComboBox_CriteriumClick(group); });
}

bool SortCriteriaWindow::execute()
{
    FormShow();
    if (parentWidget())
        move(parentWidget()->window()->geometry().center() - rect().center());
    return exec() == QDialog::Accepted;
}

void SortCriteriaWindow::FormShow()
{
    const SortCriteria &criteria = m_document.sortCriteria();
    for (int group = 0; group < kGroups; ++group) {
        const std::size_t g = std::size_t(group);
        const bool used = g < criteria.size();
        CheckBox_Criterium[g]->setChecked(used);
        CheckBox_CriteriumClick(group);
        ComboBox_Criterium[g]->setCurrentIndex(used ? criteria[g].criterion : -1);
        ComboBox_CriteriumClick(group);
        ComboBox_CriteriumMode[g]->setCurrentIndex(used ? criteria[g].mode : -1);
    }
}

void SortCriteriaWindow::CheckBox_CriteriumClick(int group)
{
    const std::size_t g = std::size_t(group);
    const bool on = CheckBox_Criterium[g]->isChecked();
    ComboBox_Criterium[g]->setEnabled(on);
    ComboBox_CriteriumMode[g]->setEnabled(on);
}

void SortCriteriaWindow::ComboBox_CriteriumClick(int group)
{
    const std::size_t g = std::size_t(group);
    QComboBox *mode = ComboBox_CriteriumMode[g];
    mode->clear();
    const int criterion = ComboBox_Criterium[g]->currentIndex();
    if (criterion < 0)
        return;
    for (const char16_t *name : kCriteria[criterion].modes)
        mode->addItem(QString::fromUtf16(name));
    mode->setCurrentIndex(-1);
}

void SortCriteriaWindow::Button_OKClick()
{
    SortCriteria criteria;
    const auto fail = [](QComboBox *control, const QString &message) {
        control->setFocus();
        Balloons::warn(control, message);
    };
    for (std::size_t g = 0; g < std::size_t(kGroups); ++g) {
        if (!CheckBox_Criterium[g]->isChecked())
            continue;
        const int criterion = ComboBox_Criterium[g]->currentIndex();
        if (criterion < 0) {
            fail(ComboBox_Criterium[g],
                 QStringLiteral("Sie müssen ein Kriterium definieren oder das Feld deaktivieren."));
            return;
        }
        for (const SortCriterion &earlier : criteria)
            if (earlier.criterion == criterion) {
                fail(ComboBox_Criterium[g],
                     QStringLiteral("Ein Kriterium kann nicht mehrfach angewandt werden."));
                return;
            }
        const int mode = ComboBox_CriteriumMode[g]->currentIndex();
        if (mode < 0) {
            fail(ComboBox_CriteriumMode[g],
                 QStringLiteral("Sie müssen den Modus definieren, mit dem das Kriterium angewandt "
                                "werden soll."));
            return;
        }
        criteria.push_back({criterion, mode});
    }
    m_document.setSortCriteria(criteria);
    storeSortCriteria(m_settings, criteria);
    m_document.sortTree();
    accept();
}

} // namespace lexora
