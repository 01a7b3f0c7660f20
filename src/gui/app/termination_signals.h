#pragma once

#include <QObject>

class QSocketNotifier;

namespace lexora {

// SIGTERM, SIGHUP and SIGINT (the system shutting down, the terminal going, Ctrl+C) as a Qt
// signal in the event loop, so that the program can end with its closing work instead of
// vanishing: the handler only writes the number into a socket that the loop reads. One object
// per process; its end gives the signals their default handling back.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

Q_SIGNALS:
    void received(int signalNumber);

private:
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace lexora
