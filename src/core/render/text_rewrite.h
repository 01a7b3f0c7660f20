#pragma once

#include "database/model.h"

#include <QByteArrayView>

#include <utility>

namespace lexora {

// Position of the first needle in text at or after from; -1 when there is none.
qsizetype findText(QByteArrayView text, QByteArrayView needle, qsizetype from);

// Empties output for a step's result of about size bytes, keeping its memory.
void prepareOutput(Text &output, qsizetype size);

// How far the texts of one page may grow, all steps and nested expansions together. A page
// that would need more is cut: the step that ran out ends its text where the budget ended, and
// from then on no text grows any more, so every later step still runs, but over a text no
// longer than it was.
class PageBudget {
public:
    explicit PageBudget(qsizetype bytes) : m_left(bytes) {}

    qsizetype left() const { return m_left; }
    // Whether the page has been cut.
    bool isCut() const { return m_cut; }
    // Takes up to bytes and returns how many it took; taking fewer than asked cuts the page.
    qsizetype take(qsizetype bytes);
    // Cuts the page: whatever is left is gone.
    void cut();

private:
    qsizetype m_left;
    bool m_cut = false;
};

// Builds the result of one rewriting step in one left-to-right pass: the pieces between the
// replaced spans are copied once, so a step costs time linear in the size of the text however
// many places it replaces.
//
// With a budget, the output grows beyond the input's size only as far as the budget pays for
// it; where the budget runs out, the output ends and everything after is left out.
class TextRewriter {
public:
    // The result is written to output, whose memory is reused.
    TextRewriter(const Text &input, Text &output, PageBudget *budget = nullptr)
        : m_input(input), m_output(output), m_budget(budget) {}

    // Replaces input[start, end) by value. Spans are given from left to right and do not overlap.
    void replace(qsizetype start, qsizetype end, QByteArrayView value);
    // Ends the output at input position `at` and cuts the page: the rest is left out.
    void cutAt(qsizetype at);
    // Whether the output has ended early; further replacements change nothing.
    bool isCut() const { return m_cut; }
    // Completes the output. False when nothing was replaced: the output is then left alone and
    // the input is the result.
    bool finish();

private:
    void startOutput(qsizetype firstValueSize);
    void append(const char *data, qsizetype size);

    const Text &m_input;
    Text &m_output;
    PageBudget *m_budget;
    qsizetype m_copied = 0; // input before this is in m_output
    qsizetype m_paid = 0;   // growth beyond the input's size taken from the budget
    bool m_changed = false;
    bool m_cut = false;
};

// Writes text with every non-overlapping needle, from left to right, replaced by value to out;
// false (out untouched) when there is no needle.
bool replaceAll(const Text &text, QByteArrayView needle, QByteArrayView value, Text &out,
                PageBudget *budget = nullptr);

// A text that steps rewrite one after the other. Two buffers take turns, so that each step
// writes into memory an earlier step has used instead of into fresh memory: for large pages,
// fresh memory costs more than the step.
class RewrittenText {
public:
    // Steps that build their output with a TextRewriter take the budget from budget().
    explicit RewrittenText(Text text, PageBudget *budget = nullptr)
        : m_text(std::move(text)), m_budget(budget) {}

    const Text &text() const { return m_text; }
    PageBudget *budget() const { return m_budget; }
    // Runs step(text, output); when it reports a change, the output becomes the text.
    template <class Step>
    void apply(Step step)
    {
        if (step(m_text, m_spare))
            std::swap(m_text, m_spare);
    }
    void replaceAll(QByteArrayView needle, QByteArrayView value)
    {
        apply([&](const Text &in, Text &out) {
            return lexora::replaceAll(in, needle, value, out, m_budget);
        });
    }
    Text take() { return std::move(m_text); }

private:
    Text m_text;
    Text m_spare;
    PageBudget *m_budget;
};

} // namespace lexora
