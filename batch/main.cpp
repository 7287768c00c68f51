#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "BatchOptions.h"
#include "BatchRun.h"
#include "PendingOutputs.h"

namespace {

// What was printed is the run's result: it must have reached standard output, or the run
// fails with a message.
int FinishOutput(int status) {
    errno = 0;
    std::cout.flush();
    int reason = errno;
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0 || !std::cout) {
        reason = reason != 0 ? reason : errno;
    } else if (close(STDOUT_FILENO) == 0) {  // the stream holds nothing more to write
        return status;
    } else {
        reason = errno;
    }
    std::fprintf(stderr, "quorvel-batch: cannot write to standard output: %s\n",
                 std::strerror(reason != 0 ? reason : EIO));
    return status == BATCH_EXIT_DONE ? BATCH_EXIT_OUTPUT_FAILED : status;
}

}  // namespace

int main(int argc, char** argv) {
    // A closed standard descriptor keeps its number taken, so that no output file gets it:
    // the messages and progress bar meant for a closed standard error would land in the
    // file. Standard output is taken read-only, so that writing the summary to it fails;
    // standard error (closed: the messages are not wanted) and input go to /dev/null.
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fcntl(fd, F_GETFD) < 0 && errno == EBADF) {
            open("/dev/null", fd == STDERR_FILENO ? O_WRONLY : O_RDONLY);  // the lowest free
        }
    }
    const std::vector<std::string> args(argv + 1, argv + argc);
    const BatchParseResult parsed = ParseBatchOptions(args);
    if (!parsed.error.empty()) {
        std::cerr << parsed.error << '\n';
        return BATCH_EXIT_BAD_OPTIONS;
    }
    if (parsed.options.help) {
        std::cout << BatchUsage();
        return FinishOutput(BATCH_EXIT_DONE);
    }
    // Interrupted, the run leaves no temporary file behind.
    RemovePendingOutputsOnSignals();
    const bool progress = parsed.options.progress.value_or(isatty(STDERR_FILENO) != 0);
    return FinishOutput(RunBatch(parsed.options, std::cout, std::cerr, progress));
}
