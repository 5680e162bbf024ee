// Reading a printed PDF back with the poppler tools (its page count and size, its text, its pixels), and
// stand-ins of the CUPS tools that record what they were given.
#pragma once

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace print_test {

inline void WriteScript(const std::string& path, const std::string& body) {
    std::ofstream(path) << "#!/bin/sh\n" << body;
    chmod(path.c_str(), 0755);
}

inline std::string RunForText(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[256];
        while (size_t n = std::fread(buf, 1, sizeof buf, p))
            out.append(buf, n);
        pclose(p);
    }
    return out;
}

// Stand-ins of `lpstat` (one destination, "Lab_Printer", the default) and of `lp`, which records its
// arguments in <folder>/lp-args and keeps the document as <folder>/printed.pdf. Returns the bin folder.
inline std::string InstallCupsStandIns(const std::string& folder) {
    std::string bin = folder + "/bin";
    mkdir(bin.c_str(), 0755);
    WriteScript(bin + "/lpstat",
                "case \"$1\" in -e) echo Lab_Printer;; -d) echo 'system default destination: Lab_Printer';; esac\n");
    WriteScript(bin + "/lp", "printf '%s\\n' \"$@\" > \"" + folder + "/lp-args\"\nfor a; do last=\"$a\"; done\ncp \"$last\" \"" +
                                 folder + "/printed.pdf\"\n");
    return bin;
}

// pdfinfo's "Pages:" and "Page size:" lines.
inline int PdfPages(const std::string& file) {
    std::string info = RunForText("pdfinfo '" + file + "' 2>/dev/null");
    size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}
inline std::string PdfPageSize(const std::string& file) {
    std::string info = RunForText("pdfinfo '" + file + "' 2>/dev/null");
    size_t at = info.find("Page size:");
    if (at == std::string::npos)
        return "";
    size_t from = info.find_first_not_of(' ', at + 10);
    return info.substr(from, info.find(" pts", from) + 4 - from);
}

// One page rendered at 100 dots per inch: grey levels (0 black .. 255 white).
struct PdfPage {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    int Grey(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return 255;
        size_t i = ((size_t)y * width + x) * 3;
        return (rgb[i] + rgb[i + 1] + rgb[i + 2]) / 3;
    }
    unsigned Colour(int x, int y) const {
        size_t i = ((size_t)y * width + x) * 3;
        return (unsigned)rgb[i] | (unsigned)rgb[i + 1] << 8 | (unsigned)rgb[i + 2] << 16;
    }
    // Paper: what the renderer leaves of white.
    static constexpr int kPaper = 250;
    // The darkest grey in a rectangle (inclusive bounds).
    int Darkest(int x0, int y0, int x1, int y1) const {
        int darkest = 255;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                darkest = std::min(darkest, Grey(x, y));
        return darkest;
    }
};

inline PdfPage RenderPdfPage(const std::string& file, int page, const std::string& folder) {
    std::string out = folder + "/render";
    std::system(("pdftoppm -r 100 -f " + std::to_string(page) + " -l " + std::to_string(page) + " -singlefile '" +
                 file + "' '" + out + "' 2>/dev/null")
                    .c_str());
    PdfPage result;
    std::ifstream in(out + ".ppm", std::ios::binary);
    std::string magic;
    int max = 0;
    in >> magic >> result.width >> result.height >> max;
    in.get();
    if (magic != "P6" || max != 255)
        return PdfPage{};
    result.rgb.resize((size_t)result.width * result.height * 3);
    in.read(reinterpret_cast<char*>(result.rgb.data()), (std::streamsize)result.rgb.size());
    return result;
}

}  // namespace print_test
