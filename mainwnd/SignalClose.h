#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

// While it exists, SIGTERM, SIGINT and SIGHUP (as at logging out) do not end the process at
// once: the handler only writes the signal's number into a pipe, and the event loop, woken
// by it, calls `onSignal`, which closes the program as the Close command does. A signal that
// was ignored when this was made (as under nohup) stays ignored. The previous handlers come
// back when it is destroyed.
class CSignalCloser : public QObject {
    Q_OBJECT

public:
    explicit CSignalCloser(std::function<void()> onSignal, QObject* parent = nullptr);
    ~CSignalCloser() override;
    CSignalCloser(const CSignalCloser&) = delete;
    CSignalCloser& operator=(const CSignalCloser&) = delete;

    // False when the pipe could not be made: the signals then keep their usual effect.
    bool IsActive() const { return m_notifier != nullptr; }

private:
    void OnSignalPending();

    std::function<void()> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
    int m_fds[2] = {-1, -1};
};

// Makes a file size limit a failed write, reported like any other, instead of a signal that
// ends the program.
void IgnoreFileSizeSignal();
