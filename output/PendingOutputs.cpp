#include "PendingOutputs.h"

#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

// The temporary files of this process, for the signal handler. It may only read what was
// prepared before, so the names live in the outputs and the slots hold pointers to them.
constexpr std::size_t kMaxPending = 64;
std::atomic<const char*> g_pending[kMaxPending];
// Threads creating or renaming temporary files right now; and whether a signal is ending us.
std::atomic<int> g_busy{0};
std::atomic<bool> g_stopping{false};
static_assert(std::atomic<const char*>::is_always_lock_free &&
              std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Creating a file and noting its name (or renaming it and forgetting the name) must look like
// one step to the signal handler: the signals wait in this thread meanwhile, and a handler
// running in another thread waits for the step to finish. Once a handler has begun, no new
// step starts: this thread waits for the handler to end the process.
class RegistryStep {
public:
    RegistryStep() {
        sigset_t signals;
        sigemptyset(&signals);
        for (const int signalNumber : kCleanupSignals) {
            sigaddset(&signals, signalNumber);
        }
        pthread_sigmask(SIG_BLOCK, &signals, &m_previousMask);
        g_busy.fetch_add(1);
        if (g_stopping.load()) {
            g_busy.fetch_sub(1);
            for (;;) {
                pause();
            }
        }
    }
    ~RegistryStep() {
        g_busy.fetch_sub(1);
        pthread_sigmask(SIG_SETMASK, &m_previousMask, nullptr);
    }
    RegistryStep(const RegistryStep&) = delete;
    RegistryStep& operator=(const RegistryStep&) = delete;

private:
    sigset_t m_previousMask;
};

bool Register(const char* name) {
    for (auto& slot : g_pending) {
        const char* empty = nullptr;
        if (slot.compare_exchange_strong(empty, name)) {
            return true;
        }
    }
    return false;
}

void Unregister(const char* name) {
    for (auto& slot : g_pending) {
        const char* expected = name;
        slot.compare_exchange_strong(expected, nullptr);
    }
}

// Only async-signal-safe work: atomics, unlink and _exit.
void RemovePendingAndExit(int signalNumber) {
    g_stopping.store(true);
    while (g_busy.load() != 0) {
    }
    for (auto& slot : g_pending) {
        if (const char* name = slot.load()) {
            unlink(name);
        }
    }
    _exit(SIGNAL_EXIT_BASE + signalNumber);
}

// The process's umask. Emscripten's runtime keeps a umask of its own that starts at 0777 and
// is not the host's: under it every output would get no permission at all, unreadable even by
// its owner, so the common default 022 stands in for it there.
mode_t NewFileMask() {
#ifdef __EMSCRIPTEN__
    return 022;
#else
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
#endif
}

}  // namespace

std::string ResolveOutputPath(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error) {
        return path;
    }
    const fs::path resolved = fs::weakly_canonical(absolute, error);
    return error ? absolute.lexically_normal().string() : resolved.string();
}

void RemovePendingOutputsOnSignals() {
    struct sigaction action {};
    action.sa_handler = RemovePendingAndExit;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : kCleanupSignals) {
        sigaddset(&action.sa_mask, signalNumber);
    }
    for (const int signalNumber : kCleanupSignals) {
        struct sigaction previous {};
        if (sigaction(signalNumber, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN) {
            sigaction(signalNumber, &action, nullptr);
        }
    }
    std::signal(SIGXFSZ, SIG_IGN);
}

PendingOutputs::~PendingOutputs() {
    Discard();
}

std::size_t PendingOutputs::Add(std::string path) {
    // The temporary names are registered by address: no output may move once they exist.
    m_outputs.push_back(Output{std::move(path), {}, {}, nullptr});
    return m_outputs.size() - 1;
}

void PendingOutputs::Fail(std::size_t output, int errorNumber) {
    Fail(output, std::strerror(errorNumber));
}

void PendingOutputs::Fail(std::size_t output, const std::string& reason) {
    if (m_error.empty()) {
        m_errorPath = m_outputs[output].path;
        m_errorReason = reason;
        m_error = "cannot write '" + m_errorPath + "': " + reason;
    }
}

bool PendingOutputs::Open() {
    // Everything that can be seen now is checked before any file is created.
    for (std::size_t i = 0; i < m_outputs.size(); ++i) {
        Output& output = m_outputs[i];
        output.target = ResolveOutputPath(output.path);
        struct stat status {};
        if (stat(output.target.c_str(), &status) == 0) {
            if (S_ISDIR(status.st_mode)) {
                Fail(i, EISDIR);
            } else if (!S_ISREG(status.st_mode)) {
                // Renaming over a device or a pipe would replace it with a plain file.
                Fail(i, "not a regular file");
            }
        } else if (errno != ENOENT) {
            Fail(i, errno);
        }
    }
    if (!m_error.empty()) {
        return false;
    }
    for (std::size_t i = 0; i < m_outputs.size(); ++i) {
        if (!Create(i)) {
            Discard();
            return false;
        }
    }
    return true;
}

bool PendingOutputs::Create(std::size_t index) {
    Output& output = m_outputs[index];
    const std::string folder = std::filesystem::path(output.target).parent_path().string();
    std::string name = (folder.empty() ? std::string(".") : folder) + "/.quorvel-XXXXXX.tmp";
    int fd = -1;
    {
        RegistryStep step;
        fd = mkstemps(name.data(), 4);
        if (fd < 0) {
            Fail(index, errno);
            return false;
        }
        output.tempPath = std::move(name);
        if (!Register(output.tempPath.c_str())) {
            close(fd);
            unlink(output.tempPath.c_str());
            output.tempPath.clear();
            Fail(index, EMFILE);
            return false;
        }
    }
    output.stream = fdopen(fd, "w");
    if (output.stream == nullptr) {
        Fail(index, errno);
        close(fd);
        return false;
    }
    return true;
}

bool PendingOutputs::Write(std::size_t output, const void* data, std::size_t size) {
    if (std::fwrite(data, 1, size, m_outputs[output].stream) != size) {
        Fail(output, errno);
        return false;
    }
    return true;
}

void PendingOutputs::Remove(Output& output) {
    if (output.stream != nullptr) {
        std::fclose(output.stream);
        output.stream = nullptr;
    }
    if (!output.tempPath.empty()) {
        RegistryStep step;
        unlink(output.tempPath.c_str());
        Unregister(output.tempPath.c_str());
        output.tempPath.clear();
    }
}

void PendingOutputs::Discard() {
    for (Output& output : m_outputs) {
        Remove(output);
    }
}

bool PendingOutputs::Commit() {
    // mkstemps makes the files private; give them the usual permissions of a new file.
    const mode_t mask = NewFileMask();
    // Every file whole on the disk first: a failure here leaves every old output as it was.
    for (std::size_t i = 0; i < m_outputs.size(); ++i) {
        Output& output = m_outputs[i];
        if (output.stream == nullptr) {
            Fail(i, EBADF);  // never opened
            continue;
        }
        errno = 0;
        if (std::fflush(output.stream) != 0 || std::ferror(output.stream) != 0) {
            Fail(i, errno != 0 ? errno : EIO);
        } else if (fsync(fileno(output.stream)) != 0 ||
                   fchmod(fileno(output.stream), 0666 & ~mask) != 0) {
            Fail(i, errno);
        }
        const int closed = std::fclose(output.stream);
        output.stream = nullptr;
        if (closed != 0) {
            Fail(i, errno);
        }
    }
    // A target that became a folder during the run would refuse its rename after others
    // were done: look at all of them first.
    for (std::size_t i = 0; i < m_outputs.size() && m_error.empty(); ++i) {
        struct stat status {};
        if (stat(m_outputs[i].target.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
            Fail(i, EISDIR);
        }
    }
    if (m_error.empty()) {
        RegistryStep step;
        for (std::size_t i = 0; i < m_outputs.size(); ++i) {
            Output& output = m_outputs[i];
            if (std::rename(output.tempPath.c_str(), output.target.c_str()) != 0) {
                Fail(i, errno);
                break;
            }
            Unregister(output.tempPath.c_str());
            output.tempPath.clear();
        }
    }
    if (!m_error.empty()) {
        Discard();
        return false;
    }
    return true;
}
