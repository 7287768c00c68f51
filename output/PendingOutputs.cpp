#include "PendingOutputs.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <utility>

namespace {

// The temporary files of this process, for the signal handler. It may only read what was
// prepared before, so the names live in the outputs and the slots hold pointers to them.
constexpr std::size_t MAX_PENDING = 64;
std::atomic<const char*> g_pending[MAX_PENDING];
// Threads creating or renaming temporary files right now; and whether a signal is ending us.
std::atomic<int> g_busy{0};
std::atomic<bool> g_stopping{false};
// Set for good once a commit has begun to rename: from then on the outputs are the run's
// result, and a signal no longer ends the process (it would report an interruption for a
// commit that goes on, or is undone, without it).
std::atomic<bool> g_committing{false};
static_assert(std::atomic<const char*>::is_always_lock_free &&
              std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

// Called between the renames of a commit, for tests that stop a commit half-way.
CommitStepHook g_commitStepHook = nullptr;

constexpr int CLEANUP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Creating a file and noting its name (or renaming it and forgetting the name) must look like
// one step to the signal handler: the signals wait in this thread meanwhile, and a handler
// running in another thread waits for the step to finish. Once a handler has begun, no new
// step starts: this thread waits for the handler to end the process.
class RegistryStep {
public:
    RegistryStep() {
        sigset_t signals;
        sigemptyset(&signals);
        for (const int signalNumber : CLEANUP_SIGNALS) {
            sigaddset(&signals, signalNumber);
        }
        pthread_sigmask(SIG_BLOCK, &signals, &m_previousMask);
        g_busy.fetch_add(1);
        if (g_stopping.load() && !g_committing.load()) {
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

// Only async-signal-safe work: atomics, unlink and _exit. Once a commit has begun the signal
// is let pass: the commit finishes (or is undone, when a rename is refused) and the process
// reports that outcome.
void RemovePendingAndExit(int signalNumber) {
    if (g_committing.load()) {
        return;
    }
    g_stopping.store(true);
    while (g_busy.load() != 0) {
        if (g_committing.load()) {
            return;
        }
    }
    for (auto& slot : g_pending) {
        if (const char* name = slot.load()) {
            unlink(name);
        }
    }
    _exit(SIGNAL_EXIT_BASE + signalNumber);
}

// Whether the path as given can only be a folder's: it ends in "/", "/." or "/..", or is "."
// or "..".
bool NamesAFolder(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view last = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return last.empty() || last == "." || last == "..";
}

std::string FolderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

// A copy of `source` as a new file in `folder`, with the source's permission bits.
bool CopyBeside(const std::string& source, const std::string& folder, std::string& copyPath) {
    const int in = open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        return false;
    }
    struct stat status {};
    const int out = fstat(in, &status) == 0 ? CreateUnique(folder, ".old", 0600, copyPath) : -1;
    bool ok = out >= 0;
    std::array<char, 65536> buffer{};
    while (ok) {
        const ssize_t got = read(in, buffer.data(), buffer.size());
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        for (ssize_t done = 0; ok && done < got;) {
            const ssize_t put =
                write(out, buffer.data() + done, static_cast<std::size_t>(got - done));
            ok = put > 0;
            done += put > 0 ? put : 0;
        }
    }
    ok = ok && fchmod(out, status.st_mode & 07777) == 0;
    const int saved = errno;
    if (out >= 0 && close(out) != 0) {
        ok = false;
    }
    close(in);
    if (!ok && out >= 0) {
        unlink(copyPath.c_str());
    }
    errno = saved;
    return ok;
}

}  // namespace

void RemovePendingOutputsOnSignals() {
    struct sigaction action {};
    action.sa_handler = RemovePendingAndExit;
    action.sa_flags = SA_RESTART;  // a signal let pass during a commit interrupts no call
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : CLEANUP_SIGNALS) {
        sigaddset(&action.sa_mask, signalNumber);
    }
    for (const int signalNumber : CLEANUP_SIGNALS) {
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
    m_outputs.push_back(Output{std::move(path), {}, {}, nullptr, 0644, {}, false, {}, false});
    return m_outputs.size() - 1;
}

void PendingOutputs::Fail(std::size_t output, int errorNumber) {
    Fail(output, std::strerror(errorNumber));
}

void PendingOutputs::Fail(std::size_t output, const std::string& reason) {
    if (m_error.empty()) {
        m_errorPath = m_outputs[output].path;
        m_errorReason = reason;
        m_error = "cannot write '" + EscapeControls(m_errorPath) + "': " + reason;
    }
}

bool PendingOutputs::Open() {
    // Everything that can be seen now is checked before any file is created.
    for (std::size_t i = 0; i < m_outputs.size(); ++i) {
        Output& output = m_outputs[i];
        output.target = ResolveOutputPath(output.path);
        struct stat status {};
        if (NamesAFolder(output.path)) {
            // "new/" or "file/.": the system takes the name as a folder's, never as a file to
            // create or replace (the resolved path has lost the slash).
            const bool found = stat(output.path.c_str(), &status) == 0;
            Fail(i, !found && errno != ENOENT           ? errno
                    : found && !S_ISDIR(status.st_mode) ? ENOTDIR
                                                        : EISDIR);
        } else if (stat(output.target.c_str(), &status) == 0) {
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
    std::string name;
    int fd = -1;
    {
        RegistryStep step;
        // Created under the umask (and any default access list of the folder), so that the
        // mode it gets is the one a new output gets; private while it is written.
        fd = CreateUnique(FolderOf(output.target), ".tmp", 0666, name);
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
    struct stat status {};
    if (fstat(fd, &status) != 0 || fchmod(fd, 0600) != 0) {
        Fail(index, errno);
        close(fd);
        return false;
    }
#ifdef __EMSCRIPTEN__
    // Emscripten's runtime keeps a umask of its own that starts at 0777 and is not the host's:
    // under it every output would get no permission at all, so the common 022 stands in.
    output.newMode = 0644;
#else
    output.newMode = status.st_mode & 07777;
#endif
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
        if (unlink(output.tempPath.c_str()) != 0 && errno != ENOENT) {
            // A folder that became read-only: the file stays, but empty, and is named.
            const int reason = errno;
            if (truncate(output.tempPath.c_str(), 0) == 0) {
                m_leftovers += "; the empty temporary file '" + EscapeControls(output.tempPath) +
                               "' could not be removed: " + std::strerror(reason);
            } else {
                m_leftovers += "; the temporary file '" + EscapeControls(output.tempPath) +
                               "' could not be removed: " + std::strerror(reason);
            }
        }
        Unregister(output.tempPath.c_str());
        output.tempPath.clear();
    }
    if (!output.backupPath.empty()) {
        unlink(output.backupPath.c_str());
        output.backupPath.clear();
    }
}

void PendingOutputs::Discard() {
    for (Output& output : m_outputs) {
        Remove(output);
    }
}

void PendingOutputs::Drop(std::size_t output) {
    Remove(m_outputs[output]);
    m_outputs[output].dropped = true;
}

CommitStepHook SetCommitStepHook(CommitStepHook hook) {
    return std::exchange(g_commitStepHook, hook);
}

// Gives the finished temporary file the permissions of the file it replaces (its owner and
// group too, as far as this process may), or those of a new file.
void PendingOutputs::SetPermissions(Output& output) {
    const int fd = fileno(output.stream);
    struct stat status {};
    if (stat(output.target.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        fchmod(fd, output.newMode);
        return;
    }
    struct stat own {};
    if (fstat(fd, &own) == 0 && (own.st_uid != status.st_uid || own.st_gid != status.st_gid)) {
        if (fchown(fd, status.st_uid, status.st_gid) != 0) {
            [[maybe_unused]] const int ignored = fchown(fd, static_cast<uid_t>(-1), status.st_gid);
        }
    }
    // After the owner. A new content is not the program the old file's set-user-id or
    // set-group-id bit was given to: those two are dropped.
    fchmod(fd, status.st_mode & 07777 & ~static_cast<mode_t>(S_ISUID | S_ISGID));
}

bool PendingOutputs::KeepOld(Output& output) {
    struct stat status {};
    if (lstat(output.target.c_str(), &status) != 0) {
        return errno == ENOENT;  // nothing to keep
    }
    output.existed = true;
    const std::string folder = FolderOf(output.target);
    // A second name for the old file; a copy where the file system or the file refuses one.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name;
        const int fd = CreateUnique(folder, ".old", 0600, name);
        if (fd < 0) {
            break;
        }
        close(fd);
        unlink(name.c_str());
        if (link(output.target.c_str(), name.c_str()) == 0) {
            output.backupPath = std::move(name);
            return true;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    std::string copy;
    if (!CopyBeside(output.target, folder, copy)) {
        return false;
    }
    output.backupPath = std::move(copy);
    return true;
}

std::string PendingOutputs::Outcomes(std::size_t replaced) const {
    std::string text;
    for (std::size_t i = 0; i < m_outputs.size(); ++i) {
        const Output& output = m_outputs[i];
        text += i == 0 ? "; '" : ", '";
        text += EscapeControls(output.path);
        text += "' ";
        if (output.dropped) {
            struct stat status {};
            text += stat(output.target.c_str(), &status) == 0 ? "unchanged" : "not created";
        } else if (i >= replaced) {
            text += output.existed ? "unchanged" : "not created";
        } else if (!output.undoError.empty()) {
            text += output.undoError;
        } else {
            text += output.existed ? "restored" : "not created";
        }
    }
    return text;
}

bool PendingOutputs::Commit() {
    // Every file whole on the disk first: a failure here leaves every old output as it was.
    for (std::size_t i = 0; i < m_outputs.size(); ++i) {
        Output& output = m_outputs[i];
        if (output.dropped) {
            continue;
        }
        if (output.stream == nullptr) {
            Fail(i, EBADF);  // never opened
            continue;
        }
        errno = 0;
        if (std::fflush(output.stream) != 0 || std::ferror(output.stream) != 0) {
            Fail(i, errno != 0 ? errno : EIO);
        } else if (fsync(fileno(output.stream)) != 0) {
            Fail(i, errno);
        } else {
            SetPermissions(output);
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
        if (!m_outputs[i].dropped && stat(m_outputs[i].target.c_str(), &status) == 0 &&
            S_ISDIR(status.st_mode)) {
            Fail(i, EISDIR);
        }
    }
    std::size_t replaced = 0;
    if (m_error.empty()) {
        RegistryStep step;
        g_committing.store(true);
        // Each old file keeps a second name beside it until every rename is done, so that a
        // rename refused half-way can be undone.
        for (std::size_t i = 0; i < m_outputs.size() && m_error.empty(); ++i) {
            if (!m_outputs[i].dropped && !KeepOld(m_outputs[i])) {
                Fail(i, errno);
            }
        }
        for (; replaced < m_outputs.size() && m_error.empty(); ++replaced) {
            Output& output = m_outputs[replaced];
            if (g_commitStepHook != nullptr) {
                g_commitStepHook(replaced);
            }
            if (output.dropped) {
                continue;
            }
            if (std::rename(output.tempPath.c_str(), output.target.c_str()) != 0) {
                Fail(replaced, errno);
                break;
            }
            Unregister(output.tempPath.c_str());
            output.tempPath.clear();
        }
        if (m_error.empty() && g_commitStepHook != nullptr) {
            g_commitStepHook(replaced);
        }
        if (!m_error.empty()) {
            // Undone last first: every replaced output gets its old file back (or, new, goes).
            for (std::size_t i = replaced; i-- > 0;) {
                Output& output = m_outputs[i];
                if (output.dropped) {
                    continue;
                }
                const bool undone = output.existed ? std::rename(output.backupPath.c_str(),
                                                                 output.target.c_str()) == 0
                                                   : unlink(output.target.c_str()) == 0;
                if (undone) {
                    output.backupPath.clear();
                } else if (output.existed) {
                    output.undoError = "replaced, its old content kept in '" +
                                       EscapeControls(output.backupPath) +
                                       "': " + std::strerror(errno);
                    output.backupPath.clear();
                } else {
                    output.undoError =
                        std::string("written but could not be removed: ") + std::strerror(errno);
                }
            }
        }
    }
    if (!m_error.empty()) {
        Discard();
        if (m_outputs.size() > 1) {
            m_error += Outcomes(replaced);
        }
        m_error += m_leftovers;
        return false;
    }
    Discard();  // only the old files' second names are left
    return true;
}
