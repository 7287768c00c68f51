#pragma once

#include <cstdio>
#include <string>

// A file that appears under its name whole or not at all: everything goes to a temporary
// file in the same directory, which Commit() renames into place. Without Commit() the
// temporary file is removed.
class AtomicFile {
public:
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file. On failure error() names the path and the reason.
    bool Open();
    std::FILE* Stream() const { return m_stream; }
    bool Commit();
    const std::string& Error() const { return m_error; }

private:
    void Fail(const std::string& path, int errorNumber);

    std::string m_path;
    std::string m_tempPath;
    std::FILE* m_stream = nullptr;
    std::string m_error;
};
