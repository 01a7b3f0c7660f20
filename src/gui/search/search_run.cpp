#include "search/search_run.h"

#include "support/error.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProgressDialog>
#include <QTimer>

namespace lexora {

namespace {

constexpr int kTickMs = 50;           // progress repainted at least this often
constexpr int kProgressDelayMs = 300; // short searches end before a window would flash up

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Close:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

} // namespace

SearchRun::SearchRun(SearchEngine &engine, QWidget *window)
    : QObject(window), m_engine(engine), m_window(window)
{
    m_tick = new QTimer(this);
    m_tick->setInterval(kTickMs);
    connect(m_tick, &QTimer::timeout, this, &SearchRun::deliver);
    m_showDelay = new QTimer(this);
    m_showDelay->setSingleShot(true);
    m_showDelay->setInterval(kProgressDelayMs);
    connect(m_showDelay, &QTimer::timeout, this, &SearchRun::showProgressWindow);
}

SearchRun::~SearchRun()
{
    if (isRunning()) {
        m_cancel = true;
        m_thread.join();
        qApp->removeEventFilter(this);
    }
}

void SearchRun::start(SearchQuery query)
{
    if (isRunning())
        return;
    m_query = std::move(query);
    m_cancel = false;
    m_deliveryPosted = false;
    m_complete = false;
    m_error.clear();
    m_pending.clear();
    m_taken = 0;
    m_progressDone = 0;
    m_progressTotal = 0;
    qApp->installEventFilter(this);
    m_tick->start();
    m_showDelay->start();
    m_thread = std::thread([this] {
        try {
            m_complete = m_engine.RunSearch(m_query, m_results, this);
            progress(m_progressDone, m_progressTotal, m_results);
        } catch (const Error &e) {
            m_error = e.message();
        } catch (const std::exception &e) {
            m_error = QString::fromLocal8Bit(e.what());
        }
        QMetaObject::invokeMethod(this, &SearchRun::finish, Qt::QueuedConnection);
    });
}

void SearchRun::progress(qint64 done, qint64 total, const std::vector<SearchResult> &results)
{
    {
        const std::lock_guard lock(m_mutex);
        m_pending.insert(m_pending.end(), results.begin() + std::ptrdiff_t(m_taken), results.end());
        m_taken = results.size();
        m_progressDone = done;
        m_progressTotal = total;
    }
    // The first results show at once; later ones as fast as the window takes them.
    if (!m_deliveryPosted.exchange(true))
        QMetaObject::invokeMethod(this, &SearchRun::deliver, Qt::QueuedConnection);
}

void SearchRun::deliver()
{
    m_deliveryPosted = false;
    qint64 done = 0;
    qint64 total = 0;
    {
        const std::lock_guard lock(m_mutex);
        m_batch.swap(m_pending);
        done = m_progressDone;
        total = m_progressTotal;
    }
    if (m_progressWindow && total > 0) {
        // The bar counts in thousandths: the dialog's range is an int.
        m_progressWindow->setValue(int(done * 1000 / total));
    }
    if (!m_batch.empty())
        Q_EMIT found(m_batch);
    m_batch.clear();
}

void SearchRun::cancelAndWait()
{
    if (!isRunning())
        return;
    m_cancel = true;
    finish();
}

void SearchRun::finish()
{
    if (!m_thread.joinable())
        return; // already finished by cancelAndWait
    m_thread.join();
    qApp->removeEventFilter(this);
    m_tick->stop();
    m_showDelay->stop();
    if (m_progressWindow)
        m_progressWindow->deleteLater();
    m_progressWindow = nullptr;
    deliver();
    Q_EMIT finished(m_query.scope, m_complete && m_error.isEmpty(), m_error);
}

void SearchRun::showProgressWindow()
{
    if (!isRunning())
        return;
    auto *window = new QProgressDialog(QStringLiteral("Die Datenbank wird durchsucht..."),
                                       QStringLiteral("Abbrechen"), 0, 1000, m_window);
    window->setObjectName(QStringLiteral("SearchProgress"));
    window->setWindowTitle(QStringLiteral("Suchen"));
    window->setWindowModality(Qt::ApplicationModal);
    window->setAutoClose(false);
    window->setAutoReset(false);
    window->setMinimumDuration(0);
    connect(window, &QProgressDialog::canceled, this, [this] { m_cancel = true; });
    m_progressWindow = window;
    window->show();
    deliver();
}

bool SearchRun::eventFilter(QObject *watched, QEvent *event)
{
    if (!isInput(event->type()))
        return false;
    // The progress window takes its own input: its button, Escape.
    auto *widget = qobject_cast<QWidget *>(watched);
    if (m_progressWindow && widget && widget->window() == m_progressWindow)
        return false;
    if (event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
        m_cancel = true;
    if (event->type() == QEvent::Close)
        event->ignore();
    return true;
}

} // namespace lexora
