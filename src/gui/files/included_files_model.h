#pragma once

#include "database/model.h"

#include <QAbstractTableModel>

namespace lexora {

class Document;

// The included files of the document, made on demand: "Dateiname" and "Größe". A name is edited
// in place; the edit renames the file through the document. Every change of the files resets it.
class IncludedFilesModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NameColumn = 0, SizeColumn = 1 };

    explicit IncludedFilesModel(Document &document, QObject *parent = nullptr);

    TInclFile *fileAt(const QModelIndex &index) const;
    QModelIndex indexOf(const TInclFile *file) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

Q_SIGNALS:
    // An edit in place renamed this file; the list is sorted again.
    void renamed(lexora::TInclFile *file);

private:
    Document &m_document;
};

} // namespace lexora
