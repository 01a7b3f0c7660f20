#pragma once

#include "search/search_engine.h"

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>


class QTimer;
class QWidget;

namespace lexora {

// One search at a time on a thread of its own, so that the windows stay responsive while it
// builds and reads thousands of pages. While it runs, the program takes no input (the database
// must not change under it) except Escape, which ends it; after a moment a progress window with
// "Abbrechen" appears. Results come in batches as they are found, in their final order.
class SearchRun : public QObject, private SearchMonitor {
    Q_OBJECT

public:
    SearchRun(SearchEngine &engine, QWidget *window);
    ~SearchRun() override;

    void start(SearchQuery query);
    bool isRunning() const { return m_thread.joinable(); }
    // Ends a running search now, with the results found so far delivered first.
    void cancelAndWait();
    // The progress window, while it exists.
    QProgressDialog *progressWindow() const { return m_progressWindow; }

Q_SIGNALS:
    void found(const std::vector<lexora::SearchResult> &batch);
    // scope: the query's scope as the search left it. complete: not cancelled. error: the
    // message of an error that ended it, else empty.
    void finished(const std::vector<const lexora::Node *> &scope, bool complete, const QString &error);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool cancelled() const override { return m_cancel.load(); }
    void progress(qint64 done, qint64 total, const std::vector<SearchResult> &results) override;
    // On the window's thread: hands on what the search found since the last time.
    void deliver();
    void finish();
    void showProgressWindow();

    SearchEngine &m_engine;
    QWidget *m_window;
    std::thread m_thread;
    SearchQuery m_query;
    bool m_complete = false;
    QString m_error;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_deliveryPosted{false};
    // The buffers keep their memory from search to search: fresh memory costs a page fault per
    // page, which with 100,000 results is a good part of a search's time.
    std::vector<SearchResult> m_results; // the search's own, on its thread
    std::vector<SearchResult> m_batch;   // the window's, while it takes a batch
    std::mutex m_mutex; // guards the three below
    std::vector<SearchResult> m_pending;
    std::size_t m_taken = 0;
    qint64 m_progressDone = 0;
    qint64 m_progressTotal = 0;
    QTimer *m_tick = nullptr;
    QTimer *m_showDelay = nullptr;
    QPointer<QProgressDialog> m_progressWindow;
};

} // namespace lexora
