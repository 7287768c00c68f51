#include "AtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

AtomicFile::AtomicFile(std::string path) : m_path(std::move(path)) {}

AtomicFile::~AtomicFile() {
    if (m_stream != nullptr) {
        std::fclose(m_stream);
        std::remove(m_tempPath.c_str());
    }
}

void AtomicFile::Fail(const std::string& path, int errorNumber) {
    m_error = "cannot write '" + path + "': " + std::strerror(errorNumber);
}

bool AtomicFile::Open() {
    std::string pattern = m_path + ".tmp.XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
        Fail(m_path, errno);
        return false;
    }
    m_tempPath = pattern;
    m_stream = fdopen(fd, "w");
    if (m_stream == nullptr) {
        Fail(m_path, errno);
        close(fd);
        std::remove(m_tempPath.c_str());
        return false;
    }
    return true;
}

bool AtomicFile::Commit() {
    std::FILE* stream = m_stream;
    m_stream = nullptr;
    errno = 0;
    bool written = std::fflush(stream) == 0 && std::ferror(stream) == 0;
    int errorNumber = written ? 0 : (errno != 0 ? errno : EIO);
    if (std::fclose(stream) != 0 && written) {
        written = false;
        errorNumber = errno;
    }
    if (!written) {
        Fail(m_path, errorNumber);
        std::remove(m_tempPath.c_str());
        return false;
    }
    // mkstemp makes the file private; give it the usual permissions of a new file.
    const mode_t mask = umask(0);
    umask(mask);
    chmod(m_tempPath.c_str(), 0666 & ~mask);
    if (std::rename(m_tempPath.c_str(), m_path.c_str()) != 0) {
        Fail(m_path, errno);
        std::remove(m_tempPath.c_str());
        return false;
    }
    return true;
}
