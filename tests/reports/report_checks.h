#pragma once
// Reader's checks on a laid-out report: printed texts apart from each other
// and inside the paper's margins; the text pdftotext reads from a PDF.

#include <gtest/gtest.h>

#include <QRectF>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/report.h"

namespace verrane::reports::sample {

namespace rpt = platform::report;

inline QRectF Ink(const rpt::PlacedItem& it) {
    double w = 0;
    for (auto& l : it.lines) w = std::max(w, rpt::TextWidth(l, it.font));
    double x = it.left;
    if (it.align == rpt::Align::Right) x = it.left + it.width - w;
    if (it.align == rpt::Align::Center) x = it.left + (it.width - w) / 2;
    return QRectF(x, it.top + it.textOffset, w, static_cast<double>(it.lines.size()) * it.lineHeight);
}

inline void ExpectReadable(const rpt::PageModel& m) {
    const QRectF paper(m.margins.left, m.margins.top, m.pageWidth - m.margins.left - m.margins.right,
                       m.pageHeight - m.margins.top - m.margins.bottom);
    for (size_t p = 0; p < m.pages.size(); ++p) {
        std::vector<std::pair<const rpt::PlacedItem*, QRectF>> texts;
        for (auto& it : m.pages[p].items) {
            if (it.kind == rpt::ItemKind::Line || it.kind == rpt::ItemKind::Box || it.kind == rpt::ItemKind::Image) {
                const QRectF inside = paper.adjusted(-1, -1, 1, 1);
                EXPECT_TRUE(inside.contains(QPointF(it.left, it.top)) &&
                            inside.contains(QPointF(it.left + it.width, it.top + it.height)))
                    << it.name << " page " << p + 1;
                continue;
            }
            bool blank = true;
            for (auto& l : it.lines)
                if (l.find_first_not_of(' ') != std::string::npos) blank = false;
            if (blank) continue;
            QRectF ink = Ink(it);
            EXPECT_TRUE(paper.contains(ink)) << it.name << " leaves the page " << p + 1;
            for (auto& [other, r] : texts)
                EXPECT_FALSE(ink.adjusted(1, 1, -1, -1).intersects(r))
                    << it.name << " overlaps " << other->name << " on page " << p + 1;
            texts.emplace_back(&it, ink);
        }
    }
}

// pdftotext's reading of the file, page by page (split at form feeds).
inline std::vector<std::string> PdfPages(const std::filesystem::path& pdf) {
    std::string cmd = "pdftotext -layout '" + pdf.string() + "' - 2>/dev/null";
    std::vector<std::string> pages(1);
    FILE* f = popen(cmd.c_str(), "r");
    if (!f) return {};
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), f)) > 0)
        for (size_t i = 0; i < n; ++i) {
            if (buf[i] == '\f')
                pages.emplace_back();
            else
                pages.back() += buf[i];
        }
    pclose(f);
    if (!pages.empty() && pages.back().empty()) pages.pop_back();
    return pages;
}

inline bool HavePdfToText() { return std::system("pdftotext -v >/dev/null 2>&1") == 0; }

inline std::filesystem::path OutDir() {
    auto dir = std::filesystem::temp_directory_path() / "verrane_report_tests";
    std::filesystem::create_directories(dir);
    return dir;
}

}  // namespace verrane::reports::sample
