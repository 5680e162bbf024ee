#include "tests/support/TempRegistry.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

void TempRegistry::Use(const std::string& path) {
    ::setenv("VELTRIN_REGISTRY", path.c_str(), 1);
}

bool TempRegistry::Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

void TempRegistry::Write(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}
