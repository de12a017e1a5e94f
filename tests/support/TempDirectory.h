#pragma once

#include <string>

namespace testsupport {

// A fresh directory under the system's temporary folder, removed with
// everything in it when the object goes.
class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::string& Path() const { return m_path; }
    // Creates a file (and missing parent folders) under the directory.
    std::string WriteFile(const std::string& relativePath, const std::string& contents) const;

private:
    std::string m_path;
};

}  // namespace testsupport
