#pragma once

#include <QObject>

class QSocketNotifier;

namespace velmarto {

// Turns SIGTERM (a logout), SIGINT (Ctrl+C in the terminal that started the app) and SIGHUP (that
// terminal closed) into a Qt signal on the main thread, so the application can quit the way its
// windows close: each stops its conversion and its engines instead of dying with them running.
// One instance, in main.
class QuitSignals : public QObject {
    Q_OBJECT

public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

signals:
    void quitRequested(int signal);

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace velmarto
