#pragma once
// Small helpers the two report layouts share to place their items.

#include <string>

#include "platform/report.h"

namespace verrane::reports::layout {

namespace rpt = platform::report;

struct Style {
    double pt = 10;
    bool bold = false;
    rpt::Align align = rpt::Align::Left;
    rpt::VAlign valign = rpt::VAlign::Top;
};

inline constexpr Style kBody{};
inline constexpr Style kBold{10, true};
inline constexpr Style kRight{10, false, rpt::Align::Right};

inline rpt::Item& Text(rpt::Section& s, rpt::ItemKind kind, std::string name, std::string text, int left, int top,
                       int width, int height, Style st) {
    rpt::Item it;
    it.kind = kind;
    it.name = std::move(name);
    it.text = std::move(text);
    it.left = left;
    it.top = top;
    it.width = width;
    it.height = height;
    it.font.pointSize = st.pt;
    it.font.bold = st.bold;
    it.align = st.align;
    it.valign = st.valign;
    return s.Add(std::move(it));
}

// A fixed text; its name is made from the section and a running number.
inline rpt::Item& Label(rpt::Section& s, std::string text, int left, int top, int width, int height = 270,
                        Style st = kBody) {
    std::string name = "Label" + std::to_string(s.items.size() + 1) + "_" + s.name;
    return Text(s, rpt::ItemKind::Label, std::move(name), std::move(text), left, top, width, height, st);
}

// A text the Format events fill.
inline rpt::Item& Field(rpt::Section& s, std::string name, int left, int top, int width, int height = 270,
                        Style st = kBody) {
    return Text(s, rpt::ItemKind::Field, std::move(name), std::string(), left, top, width, height, st);
}

inline rpt::Item& Shape(rpt::Section& s, rpt::ItemKind kind, int left, int top, int width, int height,
                        int pen = 15) {
    rpt::Item it;
    it.kind = kind;
    it.name = (kind == rpt::ItemKind::Box ? "Shape" : "Line") + std::to_string(s.items.size() + 1) + "_" + s.name;
    it.left = left;
    it.top = top;
    it.width = width;
    it.height = height;
    it.penWidth = pen;
    return s.Add(std::move(it));
}

inline void HRule(rpt::Section& s, int left, int top, int width, int pen = 15) {
    Shape(s, rpt::ItemKind::Line, left, top, width, 0, pen);
}
inline void VRule(rpt::Section& s, int left, int top, int height, int pen = 15) {
    Shape(s, rpt::ItemKind::Line, left, top, 0, height, pen);
}

inline void PageBreak(rpt::Section& s, std::string name, int top) {
    rpt::Item it;
    it.kind = rpt::ItemKind::PageBreak;
    it.name = std::move(name);
    it.top = top;
    s.Add(std::move(it));
}

inline rpt::Item& Image(rpt::Section& s, std::string name, int left, int top, int width, int height) {
    rpt::Item it;
    it.kind = rpt::ItemKind::Image;
    it.name = std::move(name);
    it.left = left;
    it.top = top;
    it.width = width;
    it.height = height;
    return s.Add(std::move(it));
}

}  // namespace verrane::reports::layout
