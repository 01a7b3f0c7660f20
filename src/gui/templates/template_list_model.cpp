#include "templates/template_list_model.h"

#include "database/win1252.h"
#include "document/document.h"

#include <QFont>

namespace lexora {

TemplateListModel::TemplateListModel(Document &document, QObject *parent)
    : QAbstractListModel(parent), m_document(document)
{
    for (auto changed : {&Document::templatesChanged, &Document::databaseReplaced,
                         &Document::databaseMerged})
        connect(&document, changed, this, [this] {
            beginResetModel();
            endResetModel();
        });
}

const Database &TemplateListModel::database() const
{
    return m_document.database();
}

void TemplateListModel::setList(int list)
{
    beginResetModel();
    m_list = list;
    endResetModel();
}

TTemplate *TemplateListModel::templateAt(const QModelIndex &index) const
{
    const auto &templates = database().templates(m_list);
    if (!index.isValid() || index.row() >= int(templates.size()))
        return nullptr;
    return templates[std::size_t(index.row())].get();
}

QModelIndex TemplateListModel::indexOf(const TTemplate *tmpl) const
{
    const int row = database().templateIndex(m_list, tmpl);
    return row < 0 ? QModelIndex() : index(row);
}

int TemplateListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(database().templates(m_list).size());
}

QVariant TemplateListModel::data(const QModelIndex &index, int role) const
{
    const TTemplate *tmpl = templateAt(index);
    if (!tmpl)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return win1252::toUnicode(tmpl->Name);
    case Qt::FontRole:
        if (tmpl == database().defaultTemplate(m_list)) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

} // namespace lexora
