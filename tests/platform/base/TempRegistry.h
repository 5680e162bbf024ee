// A registry file of its own for a test: VELTRIN_REGISTRY points into a fresh temporary folder (in a
// sub-folder that does not exist yet) and is put back, and the folder removed, at the end.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class TempRegistry {
public:
    TempRegistry() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/veltrin-registry-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        m_dir = pattern;
        m_path = m_dir + "/config/registry.reg";
        const char* old = std::getenv("VELTRIN_REGISTRY");
        m_hadOld = old != nullptr;
        if (old)
            m_old = old;
        Use(m_path);
    }
    ~TempRegistry() {
        if (m_hadOld)
            setenv("VELTRIN_REGISTRY", m_old.c_str(), 1);
        else
            unsetenv("VELTRIN_REGISTRY");
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    TempRegistry(const TempRegistry&) = delete;
    TempRegistry& operator=(const TempRegistry&) = delete;

    static void Use(const std::string& path) { setenv("VELTRIN_REGISTRY", path.c_str(), 1); }

    const std::string& Dir() const { return m_dir; }
    const std::string& Path() const { return m_path; }

    static bool Exists(const std::string& path) { return std::filesystem::exists(path); }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    static void Write(const std::string& path, const std::string& bytes) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

private:
    std::string m_dir, m_path, m_old;
    bool m_hadOld = false;
};
