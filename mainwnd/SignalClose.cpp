#include "SignalClose.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>

namespace {

constexpr int CLOSE_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

// The write end of the closer's pipe, for the handler; -1 while there is none.
std::atomic<int> g_writeEnd{-1};
struct sigaction g_previous[std::size(CLOSE_SIGNALS)];

// Only async-signal-safe work: one byte into the pipe, errno kept.
void NoteSignal(int signalNumber) {
    const int saved = errno;
    const int fd = g_writeEnd.load();
    if (fd >= 0) {
        const char byte = static_cast<char>(signalNumber);
        [[maybe_unused]] const ssize_t written = write(fd, &byte, 1);
    }
    errno = saved;
}

}  // namespace

void IgnoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

CSignalCloser::CSignalCloser(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), m_onSignal(std::move(onSignal)) {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, m_fds) != 0) {
        return;
    }
    // A full pipe drops the byte instead of blocking the handler: one pending byte is enough.
    fcntl(m_fds[1], F_SETFL, fcntl(m_fds[1], F_GETFL) | O_NONBLOCK);
    fcntl(m_fds[0], F_SETFL, fcntl(m_fds[0], F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(m_fds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CSignalCloser::OnSignalPending);
    g_writeEnd.store(m_fds[1]);

    struct sigaction action {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(CLOSE_SIGNALS); ++i) {
        sigaction(CLOSE_SIGNALS[i], nullptr, &g_previous[i]);
        if (g_previous[i].sa_handler != SIG_IGN) {
            sigaction(CLOSE_SIGNALS[i], &action, nullptr);
        }
    }
}

CSignalCloser::~CSignalCloser() {
    if (m_notifier == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < std::size(CLOSE_SIGNALS); ++i) {
        sigaction(CLOSE_SIGNALS[i], &g_previous[i], nullptr);
    }
    g_writeEnd.store(-1);
    close(m_fds[0]);
    close(m_fds[1]);
}

void CSignalCloser::OnSignalPending() {
    char bytes[64];
    while (read(m_fds[0], bytes, sizeof bytes) > 0) {
    }
    m_onSignal();
}
