#pragma once

// The parts an undo step is made of, one per kind of thing a change touches. Each is made
// holding the state before its change; its swap exchanges what it holds with the database.
#include "database/model.h"
#include "document/undo_stack.h"

#include <optional>
#include <utility>
#include <vector>

namespace lexora {

// A node's title.
class TitlePart final : public UndoPart {
public:
    TitlePart(Node *node, Text title) : m_node(node), m_title(std::move(title)) {}
    void swap(Document &document, Database &db, UndoEffects &effects) override;
    qint64 cost() const override { return qint64(sizeof *this) + m_title.size(); }

private:
    Node *m_node;
    Text m_title;
};

// A subtree that is in the tree or held here: a new node's part holds nothing until undone, a
// removed one's holds the subtree until redone. A node keeps its identity either way, so that
// the parts of other steps that name it stay right.
class SubtreePart final : public UndoPart {
public:
    // For a node that was just added.
    explicit SubtreePart(Node *added);
    // For a subtree that was just taken out of container at row.
    SubtreePart(std::unique_ptr<Node> removed, Node *container, int row);
    void swap(Document &document, Database &db, UndoEffects &effects) override;
    qint64 cost() const override;
    const Node *heldSubtree() const override { return m_held ? m_root : nullptr; }

    // Takes root with its subtree out of the tree, announcing it as a removal.
    static std::unique_ptr<Node> takeOut(Document &document, Database &db, Node *root);

private:
    Node *m_root;
    Node *m_container;
    int m_row;
    std::unique_ptr<Node> m_held;
    qint64 m_bytes; // what the subtree takes, counted when it leaves the tree
};

// A node's place before a move: its container and row.
class MovePart final : public UndoPart {
public:
    MovePart(Node *node, Node *container, int row) : m_node(node), m_container(container), m_row(row) {}
    void swap(Document &document, Database &db, UndoEffects &effects) override;
    qint64 cost() const override { return qint64(sizeof *this); }

    // Moves node to row of container (its index there afterwards), announcing the move.
    static void move(Document &document, Database &db, Node *node, Node *container, int row);

private:
    Node *m_node;
    Node *m_container;
    int m_row;
};

// The order of the children of one node (a sort of its children) or of many (a sort of the
// tree, an import). Only the range that a sort changed is kept; a range that one node moved
// through is kept as a turn of it, so that a rename in a long list costs a few bytes.
class OrderPart final : public UndoPart {
public:
    // The orders of the children before a change: of container, or of every node below it
    // (container included) for the whole tree.
    struct Before {
        Node *top = nullptr;
        bool wholeTree = false;
        std::vector<std::pair<Node *, std::vector<Node *>>> orders;
    };
    static Before capture(Node &container, bool wholeTree);
    // The part that takes the orders back to before; nullptr when none changed.
    static std::unique_ptr<OrderPart> since(Before before);

    void swap(Document &document, Database &db, UndoEffects &effects) override;
    qint64 cost() const override;

private:
    struct Range {
        Node *container;
        int first;
        int last;
        enum class Kind { Nodes, FirstToEnd, LastToFront } kind;
        std::vector<Node *> nodes; // the order of first..last, for Kind::Nodes
    };
    OrderPart(Node *top, bool wholeTree, std::vector<Range> ranges)
        : m_top(top), m_wholeTree(wholeTree), m_ranges(std::move(ranges)) {}

    Node *m_top;
    bool m_wholeTree;
    std::vector<Range> m_ranges;
};

// The values of items: one edited item or many rewritten ones.
class ItemsPart final : public UndoPart {
public:
    using Values = std::vector<std::pair<Node *, TTipItem>>;
    explicit ItemsPart(Values values);
    ItemsPart(Node *node, TTipItem value);
    void swap(Document &document, Database &db, UndoEffects &effects) override;
    qint64 cost() const override { return m_bytes; }

private:
    Values m_values;
    qint64 m_bytes;
};

// Name, description and code of templates.
class TemplateFieldsPart final : public UndoPart {
public:
    void add(TTemplate *tmpl) { m_fields.emplace_back(tmpl, *tmpl); }
    bool isEmpty() const { return m_fields.empty(); }
    void swap(Document &document, Database &db, UndoEffects &effects) override;
    qint64 cost() const override;

private:
    std::vector<std::pair<TTemplate *, TTemplate>> m_fields;
};

// Which templates a list has, in which order, and its default: a template that leaves the list
// is held here, so that the items that refer to it stay right when it comes back.
class TemplateListPart final : public UndoPart {
public:
    TemplateListPart(const Database &db, int list);
    // Holds a template just taken out of the list.
    void hold(std::unique_ptr<TTemplate> tmpl) { m_held.push_back(std::move(tmpl)); }
    // Whether the list is as this part holds it.
    bool matches(const Database &db) const;
    void swap(Document &document, Database &db, UndoEffects &effects) override;
    qint64 cost() const override;

private:
    int m_list;
    std::vector<TTemplate *> m_order;
    TTemplate *m_default;
    std::vector<std::unique_ptr<TTemplate>> m_held;
};

// Which included files the list has and in which order; removed entries are held here.
class FileListPart final : public UndoPart {
public:
    explicit FileListPart(const Database &db);
    void hold(std::unique_ptr<TInclFile> file) { m_held.push_back(std::move(file)); }
    bool matches(const Database &db) const;
    void swap(Document &document, Database &db, UndoEffects &effects) override;
    qint64 cost() const override;

private:
    std::vector<TInclFile *> m_order;
    std::vector<std::unique_ptr<TInclFile>> m_held;
};

// The bytes of an included file, or that it has none (not stored): what an add, a removal or
// an import's replacement changed in the included-files folder.
class FileBytesPart final : public UndoPart {
public:
    FileBytesPart(TInclFile *file, std::optional<QByteArray> bytes)
        : m_file(file), m_bytes(std::move(bytes)) {}
    void swap(Document &document, Database &db, UndoEffects &effects) override;
    qint64 cost() const override { return qint64(sizeof *this) + (m_bytes ? m_bytes->size() : 0); }

    // The stored bytes of file; nullopt when they cannot be read.
    static std::optional<QByteArray> read(const Database &db, const TInclFile &file);

private:
    TInclFile *m_file;
    std::optional<QByteArray> m_bytes;
};

// An included file's name, in the list and in the folder.
class FileNamePart final : public UndoPart {
public:
    FileNamePart(TInclFile *file, Text name) : m_file(file), m_name(std::move(name)) {}
    void swap(Document &document, Database &db, UndoEffects &effects) override;
    qint64 cost() const override { return qint64(sizeof *this) + m_name.size(); }

private:
    TInclFile *m_file;
    Text m_name;
};

// The tray's nodes.
class TrayPart final : public UndoPart {
public:
    explicit TrayPart(std::vector<Node *> nodes) : m_nodes(std::move(nodes)) {}
    void swap(Document &document, Database &db, UndoEffects &effects) override;
    qint64 cost() const override { return qint64(sizeof *this + m_nodes.size() * sizeof(Node *)); }

private:
    std::vector<Node *> m_nodes;
};

// The encryption of the next save.
class EncryptionPart final : public UndoPart {
public:
    explicit EncryptionPart(const Database &db);
    void swap(Document &document, Database &db, UndoEffects &effects) override;
    qint64 cost() const override { return qint64(sizeof *this) + m_password.size(); }

private:
    bool m_encrypted;
    EncryptionMode m_mode;
    SecretBytes m_password;
    std::shared_ptr<const StrongKey> m_key;
};

} // namespace lexora
