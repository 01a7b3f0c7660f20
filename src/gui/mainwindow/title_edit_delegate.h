#pragma once

#include <QStyledItemDelegate>

namespace lexora {

// The in-place editor of a node's title in the tree. Titles are stored as Windows-1252: a title
// with a character that this code page lacks would silently become "?", so it is not taken; the
// warning balloon says why at the tree and the editor stays open until the title is mended or
// the edit is cancelled with Escape.
class TitleEditDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    void warn(const QString &character) const;
};

} // namespace lexora
