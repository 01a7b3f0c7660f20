#include "files/included_files_model.h"

#include "database/win1252.h"
#include "document/document.h"
#include "text/file_size.h"

namespace lexora {

IncludedFilesModel::IncludedFilesModel(Document &document, QObject *parent)
    : QAbstractTableModel(parent), m_document(document)
{
    for (auto changed : {&Document::includedFilesChanged, &Document::databaseReplaced,
                         &Document::databaseMerged})
        connect(&document, changed, this, [this] {
            beginResetModel();
            endResetModel();
        });
}

TInclFile *IncludedFilesModel::fileAt(const QModelIndex &index) const
{
    const auto &files = m_document.database().IncludedFiles;
    if (!index.isValid() || index.row() >= int(files.size()))
        return nullptr;
    return files[std::size_t(index.row())].get();
}

QModelIndex IncludedFilesModel::indexOf(const TInclFile *file) const
{
    const auto &files = m_document.database().IncludedFiles;
    for (std::size_t row = 0; row < files.size(); ++row)
        if (files[row].get() == file)
            return index(int(row), NameColumn);
    return {};
}

int IncludedFilesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_document.database().IncludedFiles.size());
}

int IncludedFilesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant IncludedFilesModel::data(const QModelIndex &index, int role) const
{
    const TInclFile *file = fileAt(index);
    if (!file)
        return {};
    if (role == Qt::DisplayRole || (role == Qt::EditRole && index.column() == NameColumn))
        return index.column() == NameColumn ? win1252::toUnicode(file->Name)
                                            : FormatFileSize(file->Size);
    if (role == Qt::TextAlignmentRole && index.column() == SizeColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant IncludedFilesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return section == NameColumn ? QStringLiteral("Dateiname") : QStringLiteral("Größe");
    if (role == Qt::TextAlignmentRole && section == SizeColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags IncludedFilesModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == NameColumn)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool IncludedFilesModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    TInclFile *file = fileAt(index);
    if (!file || role != Qt::EditRole || index.column() != NameColumn)
        return false;
    const Text name = win1252::fromUnicode(value.toString());
    if (name == file->Name || !m_document.renameIncludedFile(file, name))
        return false;
    Q_EMIT renamed(file);
    return true;
}

} // namespace lexora
