#pragma once

#include <sys/types.h>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "EscapeControls.h"

// A set of output files that appear under their names all together, each whole, or not at all.
// Open() checks every output's folder and target and creates one temporary file per output in
// that output's folder, named ".quorvel-XXXXXX.tmp" (six random characters), so that the name
// does not grow with the output's own. The caller writes to the temporary files; Commit()
// renames them into place only when every one of them was written whole, and otherwise, like
// Discard() and the destructor, removes them all and leaves the old outputs as they were.
// Before the first rename each old output gets a second name beside it (a hard link, or a
// copy ".quorvel-XXXXXX.old"), so that when a later rename is refused the ones made are
// undone. A replaced output keeps the permission bits, and as far as the process may its
// owner and group, of the file it replaces; a new one gets the mode of a new file under the
// umask.
//
// An output that is a symbolic link is written to the file the link points to, which is
// created when it does not exist yet. Errors name the path as it was given (control
// characters escaped) and the system's reason: "cannot write 'PATH': REASON"; with several
// outputs, a failure then tells of each: "; 'A' unchanged, 'B' restored, 'C' not created".
class PendingOutputs {
public:
    PendingOutputs() = default;
    ~PendingOutputs();
    PendingOutputs(const PendingOutputs&) = delete;
    PendingOutputs& operator=(const PendingOutputs&) = delete;

    // Adds an output to be written to `path`; returns its number for the calls below.
    std::size_t Add(std::string path);
    // Checks every output and creates its temporary file. On failure nothing is left behind.
    bool Open();
    std::FILE* Stream(std::size_t output) const { return m_outputs[output].stream; }
    // Writes `size` bytes; a failure is recorded for the output with the system's reason.
    bool Write(std::size_t output, const void* data, std::size_t size);
    // Records that writing the output failed, for the system's reason or one of our own.
    void Fail(std::size_t output, int errorNumber);
    void Fail(std::size_t output, const std::string& reason);
    bool Commit();
    void Discard();
    // Leaves the output out: its temporary file goes, and Commit() leaves its old file (or
    // its absence) as it was while it puts the others in place.
    void Drop(std::size_t output);
    // The first failure, or empty; and its two parts: the path as given and the reason.
    const std::string& Error() const { return m_error; }
    const std::string& ErrorPath() const { return m_errorPath; }
    const std::string& ErrorReason() const { return m_errorReason; }

private:
    struct Output {
        std::string path;      // as given, for messages
        std::string target;    // resolved: the file that is replaced
        std::string tempPath;  // empty until created
        std::FILE* stream = nullptr;
        mode_t newMode = 0644;   // of a new file here under the umask
        std::string backupPath;  // the old file's second name during Commit()
        bool existed = false;    // there was an old file when Commit() began
        std::string undoError;   // how undoing its rename failed
        bool dropped = false;    // left out of the commit
    };

    bool Create(std::size_t index);
    void Remove(Output& output);
    void SetPermissions(Output& output);
    bool KeepOld(Output& output);
    std::string Outcomes(std::size_t replaced) const;

    std::vector<Output> m_outputs;
    std::string m_error;
    std::string m_errorPath;
    std::string m_errorReason;
    std::string m_leftovers;  // temporary files that could not be removed, for the message
};

// The absolute path an output is written to: "." and ".." folded and every symbolic link
// followed, also one whose target does not exist yet. Two outputs with the same resolved
// path are the same file.
std::string ResolveOutputPath(const std::string& path);

// Creates a file in `folder` under a name no file has yet: ".quorvel-XXXXXX" (six random
// characters) plus `suffix`, with `mode` as open() takes it (the umask applies). Returns its
// descriptor, opened for writing, and its name; or -1 with errno set.
int CreateUnique(const std::string& folder, const char* suffix, mode_t mode, std::string& name);

// From now on SIGINT, SIGTERM, SIGHUP and SIGQUIT remove the temporary files of every pending
// output of the process and end it with status 128 + the signal number. Once a commit has
// begun its renames they no longer end the process: the commit finishes, or is undone when a
// rename is refused, and the process goes on to report that outcome, never an interruption
// (the runner commits once, at its end). A signal that was ignored when this is called (as
// under nohup) stays ignored. SIGXFSZ is ignored too, so that a
// file size limit fails the write, which is then reported, instead of killing the process.
void RemovePendingOutputsOnSignals();

// A run ended by a signal exits with this + the signal number, as shells report it.
constexpr int SIGNAL_EXIT_BASE = 128;

// A test's look into a commit: once the temporary files are whole and the old files have
// their second names, the hook is called before each rename with the number of outputs
// renamed so far, and once after the last. Returns the hook it replaces; null for none.
using CommitStepHook = void (*)(std::size_t renamed);
CommitStepHook SetCommitStepHook(CommitStepHook hook);
