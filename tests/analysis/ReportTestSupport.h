// Shared ground of the report tests: a temporary folder with copies of the report fixtures, a view on
// the recording host whose posted messages reach the view's own handlers, request set-up, and golden
// files (set VELTRIN_UPDATE_GOLDENS=1 to rewrite them from the current output).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "analysis/VeltrinAnalysis.h"
#include "analysis/testing/RecordingHost.h"
#include "core/PrivateMessages.h"
#include "core/RequestStrings.h"
#include "tests/support/TempFolder.h"

namespace reports {

using Rows = std::vector<std::vector<std::string>>;

inline std::string FixturePath(const std::string& name) {
    return std::string(VELTRIN_FIXTURES) + "/reports/" + name;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// Compares bytes with a golden file of the fixtures, or rewrites it when asked to.
inline void ExpectGolden(const std::string& actual, const std::string& goldenName) {
    const std::string path = FixturePath(goldenName);
    if (std::getenv("VELTRIN_UPDATE_GOLDENS")) {
        WriteFile(path, actual);
        return;
    }
    EXPECT_EQ(actual, ReadFile(path)) << "golden " << goldenName;
}

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = tmp_.Path();
        for (const char* name : {"20230501QServer1.log", "20230501QServer2.log", "20230501QServer3.log"})
            WriteFile(dir_ + "/" + name, ReadFile(FixturePath(name)));
        view_.m_csBaseFolder = dir_.c_str();
        host_.SetDeliverer([this](const CRecordingHost::Posted& p) {
            if (p.toMainWindow)
                return;
            bool handled = false;
            view_.HandleViewMessage(p.message, p.wParam, p.lParam, handled);
        });
        _csCommand.Empty();
        _csDocToOpen.Empty();
        _csItemKind = "SUBITEM";
        g_bWaitForUpdate = 0;
    }
    void TearDown() override {
        g_bWaitForUpdate = 0;
        _csCommand.Empty();
    }
    // Sends one request as the tree or the main frame does.
    LRESULT Send(UINT message, const std::string& name, const std::string& exe, bool newReport = false) {
        _csCommand = MakeRequestLine(name.c_str(), "SUBITEM", exe.c_str());
        g_bWaitForUpdate = newReport ? 1 : 0;
        bool handled = false;
        LRESULT r = view_.HandleViewMessage(message, 0, 0, handled);
        g_bWaitForUpdate = 0;
        EXPECT_TRUE(handled);
        return r;
    }
    std::string InDir(const std::string& name) const { return dir_ + "/" + name; }
    std::vector<UINT> PostedToView() const {
        std::vector<UINT> v;
        for (const auto& p : host_.PostedLog())
            if (!p.toMainWindow)
                v.push_back(p.message);
        return v;
    }
    bool Traced(const std::string& text) const {
        for (const auto& t : host_.Traces())
            if (t == text.c_str())
                return true;
        return false;
    }

    TempFolder tmp_{"veltrin_reports"};
    std::string dir_;
    CRecordingHost host_;
    CVeltrinAnalysis view_{&host_};
};

}  // namespace reports
