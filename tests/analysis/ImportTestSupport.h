// Small helpers of the export, import, statistics and worker tests: a temporary folder, whole-file
// reads and writes, fixture copies, and filling a list the way a pass does.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "controls/model/gxListModel.h"
#include "tests/support/TempFolder.h"

namespace importtest {

using TempFolder = ::TempFolder;

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

inline std::string Fixture(const std::string& relative) {
    return ReadFile(std::string(VELTRIN_FIXTURES) + "/" + relative);
}

// Lays out the columns from captions (each gets its '|') and adds the rows, column 0 first.
inline void FillList(gxListModel& list, const std::vector<std::string>& captions,
                     const std::vector<std::vector<std::string>>& rows) {
    list.ResetList();
    list.m_csTitle = "TEST";
    for (const auto& caption : captions) {
        list.m_csNames += caption.c_str();
        list.m_csNames += "|";
        list.m_csTypes += "MCL_ALPHA|";
    }
    list.SetColumns((int)captions.size());
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            list.AddItem((int)r, (int)c, rows[r][c].c_str());
}

}  // namespace importtest
