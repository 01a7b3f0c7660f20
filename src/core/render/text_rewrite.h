#pragma once

#include "database/model.h"

#include <QByteArrayView>

namespace lexora {

// Position of the first needle in text at or after from; -1 when there is none.
qsizetype findText(QByteArrayView text, QByteArrayView needle, qsizetype from);

// Builds the result of one rewriting step in one left-to-right pass: the pieces between the
// replaced spans are copied once, so a step costs time linear in the size of the text however
// many places it replaces.
class TextRewriter {
public:
    explicit TextRewriter(const Text &input) : m_input(input) {}

    // Replaces input[start, end) by value. Spans are given from left to right and do not overlap.
    void replace(qsizetype start, qsizetype end, QByteArrayView value);
    // The rewritten text; the input itself (not a copy) when nothing was replaced.
    Text finish();

private:
    const Text &m_input;
    Text m_output;
    qsizetype m_copied = 0; // input before this is in m_output
    bool m_changed = false;
};

// Every non-overlapping needle, from left to right, replaced by value.
Text replaceAll(const Text &text, QByteArrayView needle, QByteArrayView value);

} // namespace lexora
