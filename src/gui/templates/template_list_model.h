#pragma once

#include "database/model.h"

#include <QAbstractListModel>

namespace lexora {

class Document;

// The names of one template list of the document (HTML or CSS), made on demand; the list's
// default template in bold. It follows the document: every change of the templates resets it.
class TemplateListModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit TemplateListModel(Document &document, QObject *parent = nullptr);

    // HtmlTemplates or CssTemplates.
    void setList(int list);
    int list() const { return m_list; }

    TTemplate *templateAt(const QModelIndex &index) const;
    QModelIndex indexOf(const TTemplate *tmpl) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    const Database &database() const;

    Document &m_document;
    int m_list = HtmlTemplates;
};

} // namespace lexora
