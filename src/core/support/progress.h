#pragma once

#include <QString>

namespace lexora {

// Long work (load, save, import, export, template rename) reports through this. The GUI shows
// its progress window and lets pending events run in step(); step() is called often, so an
// implementation must be cheap and repaint at most every few milliseconds.
class Progress {
public:
    virtual ~Progress() = default;
    // total is the amount of work in bytes or records, 0 when it is not known.
    virtual void begin(const QString &caption, const QString &text, qint64 total) = 0;
    virtual void step(qint64 done) = 0;
    virtual void end() = 0;
};

// For callers that want no progress display (lexora-cli, tests, benchmarks).
class NoProgress final : public Progress {
public:
    void begin(const QString &, const QString &, qint64) override {}
    void step(qint64) override {}
    void end() override {}
};

// Ends the progress display when the work ends, also through an error.
class ProgressScope {
public:
    ProgressScope(Progress &progress, const QString &caption, const QString &text, qint64 total)
        : m_progress(progress) { m_progress.begin(caption, text, total); }
    ~ProgressScope() { m_progress.end(); }
    ProgressScope(const ProgressScope &) = delete;
    ProgressScope &operator=(const ProgressScope &) = delete;

private:
    Progress &m_progress;
};

} // namespace lexora
