// A fresh folder for one test under $TMPDIR (default /tmp), removed with everything in it at the end:
// folders deeper than the path limit and folders a test made unreadable included.
#pragma once

#include <string>

class TempFolder {
public:
    // Throws std::runtime_error when no folder can be made.
    explicit TempFolder(const std::string& prefix = "veltrin-test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's full path, links resolved.
    const std::string& Path() const { return m_path; }
    // A path inside the folder.
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }
    // Writes a file at a path inside the folder, making the folders on the way; returns its full path.
    std::string Write(const std::string& name, const std::string& bytes) const;

    // Removes a tree with std::filesystem; false when something stayed.
    static bool RemoveTree(const std::string& path);

private:
    std::string m_path;
};

// Reads a whole file as bytes ("" when it cannot be read).
std::string ReadFileBytes(const std::string& path);
