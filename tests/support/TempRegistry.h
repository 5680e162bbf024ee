// A registry file of its own for a test: VELTRIN_REGISTRY points into a fresh temporary folder (in a
// sub-folder that does not exist yet) and is put back, and the folder removed, at the end.
#pragma once

#include <filesystem>
#include <string>

#include "tests/support/ScopedEnv.h"
#include "tests/support/TempFolder.h"

class TempRegistry {
public:
    TempRegistry()
        : m_folder("veltrin-registry"), m_path(m_folder / "config/registry.reg"),
          m_env("VELTRIN_REGISTRY", m_path) {}
    TempRegistry(const TempRegistry&) = delete;
    TempRegistry& operator=(const TempRegistry&) = delete;

    // Points VELTRIN_REGISTRY at another file (put back at the end all the same).
    static void Use(const std::string& path);

    const std::string& Dir() const { return m_folder.Path(); }
    const std::string& Path() const { return m_path; }

    static bool Exists(const std::string& path);
    static std::string Read(const std::string& path) { return ReadFileBytes(path); }
    static void Write(const std::string& path, const std::string& bytes);

private:
    TempFolder m_folder;
    std::string m_path;
    ScopedEnv m_env;
};
