#pragma once

#include "database/model.h"

#include <QByteArrayView>

#include <utility>

namespace lexora {

// Position of the first needle in text at or after from; -1 when there is none.
qsizetype findText(QByteArrayView text, QByteArrayView needle, qsizetype from);

// Empties output for a step's result of about size bytes, keeping its memory.
void prepareOutput(Text &output, qsizetype size);

// Builds the result of one rewriting step in one left-to-right pass: the pieces between the
// replaced spans are copied once, so a step costs time linear in the size of the text however
// many places it replaces.
class TextRewriter {
public:
    // The result is written to output, whose memory is reused.
    TextRewriter(const Text &input, Text &output) : m_input(input), m_output(output) {}

    // Replaces input[start, end) by value. Spans are given from left to right and do not overlap.
    void replace(qsizetype start, qsizetype end, QByteArrayView value);
    // Completes the output. False when nothing was replaced: the output is then left alone and
    // the input is the result.
    bool finish();

private:
    const Text &m_input;
    Text &m_output;
    qsizetype m_copied = 0; // input before this is in m_output
    bool m_changed = false;
};

// Writes text with every non-overlapping needle, from left to right, replaced by value to out;
// false (out untouched) when there is no needle.
bool replaceAll(const Text &text, QByteArrayView needle, QByteArrayView value, Text &out);

// A text that steps rewrite one after the other. Two buffers take turns, so that each step
// writes into memory an earlier step has used instead of into fresh memory: for large pages,
// fresh memory costs more than the step.
class RewrittenText {
public:
    explicit RewrittenText(Text text) : m_text(std::move(text)) {}

    const Text &text() const { return m_text; }
    // Runs step(text, output); when it reports a change, the output becomes the text.
    template <class Step>
    void apply(Step step)
    {
        if (step(m_text, m_spare))
            std::swap(m_text, m_spare);
    }
    void replaceAll(QByteArrayView needle, QByteArrayView value)
    {
        apply([&](const Text &in, Text &out) { return lexora::replaceAll(in, needle, value, out); });
    }
    Text take() { return std::move(m_text); }

private:
    Text m_text;
    Text m_spare;
};

} // namespace lexora
