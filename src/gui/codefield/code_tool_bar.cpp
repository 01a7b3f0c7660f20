#include "codefield/code_tool_bar.h"

#include "codefield/code_field.h"
#include "database/win1252.h"
#include "render/placeholders.h"
#include "text/code_insertions.h"

#include <QFontDatabase>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace lexora {

namespace {

constexpr int kButtonWidth = 78;
constexpr char kTagProperty[] = "tag";
// The named entries of a submenu follow its first entry and a separator.
constexpr int kFixedSubmenuEntries = 2;

int tagOf(const QObject *object)
{
    return object->property(kTagProperty).toInt();
}

QAction *addEntry(QMenu *menu, const QString &caption, const QString &hint, int tag)
{
    QAction *entry = menu->addAction(caption);
    entry->setStatusTip(hint);
    entry->setData(tag);
    return entry;
}

CodeField *codeFieldOf(QWidget *window)
{
    return window->findChild<CodeField *>(QStringLiteral("Memo_Content"));
}

} // namespace

CodeMenus::CodeMenus(std::function<const Database &()> database, QObject *parent)
    : QObject(parent), m_database(std::move(database)), m_tags(new QMenu), m_keywords(new QMenu)
{
    m_tags->setObjectName(QStringLiteral("PopupMenu_Tags"));
    m_keywords->setObjectName(QStringLiteral("PopupMenu_Keywords"));
    buildTagMenu();
    buildKeywordMenu();
}

CodeMenus::~CodeMenus()
{
    delete m_tags;
    delete m_keywords;
}

void CodeMenus::buildTagMenu()
{
    for (int row = 0; row < int(TagTable.size()); ++row)
        addEntry(m_tags, tagCaption(row), TagTable[std::size_t(row)].hint.toString(), row);
}

void CodeMenus::buildKeywordMenu()
{
    for (int row = 0; row < PlaceholderCount; ++row) {
        const QString caption = win1252::toUnicode(placeholderCaption(row));
        const QString hint = PlaceholderTable[std::size_t(row)].description.toString();
        if (!hasSubmenu(row)) {
            addEntry(m_keywords, caption, hint, row);
            continue;
        }
        QMenu *submenu = m_keywords->addMenu(caption);
        submenu->menuAction()->setStatusTip(hint);
        submenu->menuAction()->setData(row);
        addEntry(submenu, caption, hint, row);
        submenu->addSeparator();
        connect(submenu, &QMenu::aboutToShow, this,
                [this, submenu, row] { refillSubmenu(submenu, row); });
    }
}

void CodeMenus::refillSubmenu(QMenu *submenu, int row)
{
    const QList<QAction *> entries = submenu->actions();
    for (qsizetype i = kFixedSubmenuEntries; i < entries.size(); ++i) {
        submenu->removeAction(entries[i]);
        delete entries[i];
    }
    const Database &db = m_database();
    for (const SubmenuEntry &entry : submenuEntries(db, row))
        addEntry(submenu, entry.caption, entry.hint, entry.tag);
    if (const int beyond = recordsBeyondSubmenu(db, row)) {
        QAction *note = submenu->addAction(
            QStringLiteral("… %1 weitere (Namen bitte von Hand eingeben)").arg(beyond));
        note->setEnabled(false);
    }
}

QToolButton *CodeMenus::addDropDownButton(QToolBar *bar, const char *name, const QString &hint,
                                          QMenu *menu, int tag)
{
    auto *button = new QToolButton(bar);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setAccessibleName(hint);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setMinimumWidth(kButtonWidth);
    button->setAutoRaise(true);
    for (QAction *entry : menu->actions())
        if (entry->data().toInt() == tag && !entry->menu()) {
            SetDropDownButton(button, entry);
            break;
        }
    bar->addWidget(button);
    return button;
}

QToolBar *CodeMenus::createToolBar(QWidget *target)
{
    auto *bar = new QToolBar(target);
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->setMovable(false);
    bar->setFloatable(false);
    if (QFontDatabase::hasFamily(QStringLiteral("Arial"))) {
        QFont font = bar->font();
        font.setFamily(QStringLiteral("Arial"));
        bar->setFont(font);
    }

    QToolButton *tag = addDropDownButton(bar, "ToolButton_Tag", QStringLiteral("Tag einfügen"),
                                         m_tags, InitialTagRow);
    const Insertion insertTag = [](int index, Selection selection, QStringView selected) {
        return tagAction(tagRow(index), selection, selected);
    };
    connect(tag, &QToolButton::clicked, this,
            [this, tag, insertTag] { insertChosen(tag, nullptr, insertTag); });
    connect(tag, &QToolButton::triggered, this,
            [this, tag, insertTag](QAction *entry) { insertChosen(tag, entry, insertTag); });

    QToolButton *keyword = addDropDownButton(bar, "ToolButton_Keyword",
                                             QStringLiteral("Platzhalter einfügen"), m_keywords,
                                             PhCss);
    const Insertion insertPlaceholder = [this](int index, Selection selection, QStringView selected) {
        return placeholderAction(m_database(), index, selection, selected);
    };
    connect(keyword, &QToolButton::clicked, this, [this, keyword, insertPlaceholder] {
        insertChosen(keyword, nullptr, insertPlaceholder);
    });
    connect(keyword, &QToolButton::triggered, this,
            [this, keyword, insertPlaceholder](QAction *entry) {
                insertChosen(keyword, entry, insertPlaceholder);
            });

    bar->addSeparator();

    auto *wrap = new QToolButton(bar);
    wrap->setObjectName(QStringLiteral("ToolButton_WantWrap"));
    wrap->setText(QStringLiteral("Zeilenumbruch"));
    wrap->setAccessibleName(wrap->text());
    wrap->setCheckable(true);
    wrap->setToolButtonStyle(Qt::ToolButtonTextOnly);
    wrap->setMinimumWidth(kButtonWidth);
    wrap->setAutoRaise(true);
    connect(wrap, &QToolButton::toggled, wrap, [wrap](bool down) {
        if (CodeField *field = codeFieldOf(wrap->window()))
            field->setWrap(down);
    });
    bar->addWidget(wrap);
    return bar;
}

void CodeMenus::SetDropDownButton(QToolButton *button, const QAction *entry)
{
    const int tag = entry->data().toInt();
    const auto *parentMenu = qobject_cast<const QMenu *>(entry->parent());
    button->setText(tag >= 256 && parentMenu ? parentMenu->title() : entry->text());
    button->setProperty(kTagProperty, tag);
}

void CodeMenus::insertChosen(QToolButton *button, const QAction *entry, const Insertion &insertion)
{
    CodeField *field = codeFieldOf(button->window());
    if (!field || field->isReadOnly())
        return;
    if (entry)
        SetDropDownButton(button, entry);
    field->applyEdit(insertion(tagOf(button), field->selection(), field->selectedFieldText()));
    field->setFocus(Qt::OtherFocusReason);
}

QToolBar *CopyEditorToolBar(CodeMenus &menus, const QToolBar &editorToolBar, QWidget *target)
{
    QToolBar *bar = menus.createToolBar(target);
    for (const char *name : {"ToolButton_Tag", "ToolButton_Keyword"}) {
        const auto *source = editorToolBar.findChild<QToolButton *>(QLatin1String(name));
        auto *copy = bar->findChild<QToolButton *>(QLatin1String(name));
        if (!source || !copy)
            continue;
        copy->setText(source->text());
        copy->setProperty(kTagProperty, source->property(kTagProperty));
    }
    return bar;
}

} // namespace lexora
