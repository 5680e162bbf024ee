// A temporary log folder with the QServer fixture logs of the time-analysis and integrity-check tests,
// a view over the recording host, and readers of the expected files beside the logs.
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
#include "core/RequestStrings.h"
#include "tests/support/TempFolder.h"

class QServerLogFixture : public ::testing::Test {
protected:
    using Rows = std::vector<std::vector<std::string>>;

    void SetUp() override {
        dir_ = tmp_.Path();
        view_.m_csBaseFolder = dir_.c_str();
        view_.m_csReportType = "TESTLAYOUT";
        g_bWaitForUpdate = 0;
        g_nBatchRecordCount = 0;
        _csDocToOpen = "";
        _csListKey = "";
    }
    void TearDown() override {
        g_bWaitForUpdate = 0;
        g_nBatchRecordCount = 0;
        _csDocToOpen = "";
        _csListKey = "";
    }

    static std::string FixturePath(const std::string& name) {
        return std::string(VELTRIN_FIXTURES) + "/timeanalysis/" + name;
    }
    static std::string ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    static bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }
    // An expected file beside the fixture logs, "{DIR}" replaced by the log folder.
    std::string Expected(const std::string& name) const {
        std::string text = ReadBytes(FixturePath("expected/" + name));
        for (size_t at; (at = text.find("{DIR}")) != std::string::npos;)
            text.replace(at, 5, dir_);
        return text;
    }
    // Expected rows: one row a line, cells separated by tabs.
    Rows ExpectedRows(const std::string& name) const {
        Rows rows;
        std::istringstream in(Expected(name));
        for (std::string line; std::getline(in, line);) {
            std::vector<std::string> cells;
            size_t from = 0;
            for (size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
                cells.push_back(line.substr(from, tab - from));
            cells.push_back(line.substr(from));
            rows.push_back(std::move(cells));
        }
        return rows;
    }

    void Copy(const std::string& fixture) { Write(fixture, ReadBytes(FixturePath(fixture))); }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(dir_ + "/" + name, std::ios::binary);
        out << bytes;
    }
    std::string InDir(const std::string& name) const { return dir_ + "/" + name; }

    std::vector<int32_t> ProgressDone() const {
        std::vector<int32_t> done;
        for (const auto& call : host_.ProgressCalls())
            done.push_back(call.done);
        return done;
    }
    int Posted(UINT message) const {
        int n = 0;
        for (const auto& p : host_.PostedLog())
            n += p.toMainWindow && p.message == message;
        return n;
    }
    // A log of n lines where every other line (the odd ones) holds the given text.
    static std::string EveryOtherLine(int n, const std::string& text) {
        std::string log;
        for (int i = 1; i <= n; ++i)
            log += (i % 2 ? text : std::string("plain line")) + "\r\n";
        return log;
    }

    TempFolder tmp_{"veltrin_qserver"};
    std::string dir_;
    CRecordingHost host_;
    CVeltrinAnalysis view_{&host_};
};
