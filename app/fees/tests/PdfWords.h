#pragma once
// The words of a PDF with their places, read from outside with pdftotext -bbox (poppler-utils):
// a test checks that each text lands where the statement puts it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace ca::app::test {

struct PdfWord {
    double x, y;  // the word's top-left corner in points from the page's top-left edge
    std::string text;
};

inline bool havePdfToText() {
    return std::system("command -v pdftotext > /dev/null 2>&1") == 0;
}

struct PdfText {
    double width = 0, height = 0;  // the first page, in points
    int pages = 0;
    std::vector<PdfWord> words;  // in the order pdftotext gives them
};

// The words of the PDF; no pages when it cannot be read.
inline PdfText pdfText(const std::filesystem::path& pdf) {
    const std::filesystem::path html = std::filesystem::path(pdf) += ".bbox.html";
    const std::string cmd = "pdftotext -bbox '" + pdf.string() + "' '" + html.string() + "'";
    if (std::system(cmd.c_str()) != 0) return {};
    std::ifstream in(html);
    std::stringstream text;
    text << in.rdbuf();
    const std::string s = text.str();
    PdfText out;
    const std::regex page(R"re(<page width="([0-9.]+)" height="([0-9.]+)">)re");
    for (std::sregex_iterator it(s.begin(), s.end(), page), end; it != end; ++it)
        if (out.pages++ == 0) out.width = std::stod((*it)[1]), out.height = std::stod((*it)[2]);
    const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="[0-9.]+">([^<]*)</word>)re");
    for (std::sregex_iterator it(s.begin(), s.end(), word), end; it != end; ++it)
        out.words.push_back({std::stod((*it)[1]), std::stod((*it)[2]), (*it)[3]});
    return out;
}

// Expects `text` as a word whose top-left corner is at device units (x, y) of a page printed at
// `dotsPerInch` (the first such word; a baseline-to-top tolerance for the font's leading).
inline void expectWordAt(const PdfText& pdf, const std::string& text, int x, int y, int dotsPerInch = 600) {
    for (const PdfWord& w : pdf.words)
        if (w.text == text) {
            EXPECT_NEAR(w.x, x * 72.0 / dotsPerInch, 1.5) << text;
            EXPECT_NEAR(w.y, y * 72.0 / dotsPerInch, 3.0) << text;
            return;
        }
    ADD_FAILURE() << "not in the PDF: " << text;
}

}  // namespace ca::app::test
