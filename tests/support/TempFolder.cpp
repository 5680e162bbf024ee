#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

TempFolder::TempFolder(const std::string& prefix) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + prefix + "-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder from " + pattern);
    std::error_code ec;
    fs::path canonical = fs::canonical(pattern, ec);
    m_path = ec ? pattern : canonical.string();
}

TempFolder::~TempFolder() {
    RemoveTree(m_path);
}

std::string TempFolder::Write(const std::string& name, const std::string& bytes) const {
    std::string path = *this / name;
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
}

bool TempFolder::RemoveTree(const std::string& path) {
    std::error_code ec;
    fs::remove_all(path, ec);
    if (!ec)
        return true;
    // A folder without read or search rights stops the removal: give the owner its rights back, from the
    // top down, and try again.
    std::vector<fs::path> folders{path};
    while (!folders.empty()) {
        fs::path folder = folders.back();
        folders.pop_back();
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            if (it->is_directory(ec) && !it->is_symlink(ec))
                folders.push_back(it->path());
    }
    fs::remove_all(path, ec);
    return !ec && !fs::exists(fs::symlink_status(path, ec));
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}
