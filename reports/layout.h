#pragma once
// Small helpers the two report layouts share to place their items.

#include <string>

#include "platform/report.h"
#include "reports/report_data.h"
#include "reports/report_text.h"
#include "reports/seal.h"

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

// A text the Format events fill. Its box grows for a long text as far as
// its page has room, moving what lies below it down; past that the text
// prints smaller down to a readable floor and then ends with "...". What was
// typed stays whole in the project and on the screens.
inline rpt::Item& Field(rpt::Section& s, std::string name, int left, int top, int width, int height = 270,
                        Style st = kBody) {
    rpt::Item& it = Text(s, rpt::ItemKind::Field, std::move(name), std::string(), left, top, width, height, st);
    it.shrinkToFit = true;
    it.ellipsis = true;
    return it;
}

// A field that keeps its box (a table cell, a ruled cell, a page header or
// footer line): a long text prints smaller, then ends with "...".
inline rpt::Item& FixedField(rpt::Section& s, std::string name, int left, int top, int width, int height = 270,
                             Style st = kBody) {
    rpt::Item& it = Field(s, std::move(name), left, top, width, height, st);
    it.canGrow = false;
    return it;
}

// A field of one line that keeps its box.
inline rpt::Item& LineField(rpt::Section& s, std::string name, int left, int top, int width, int height = 270,
                            Style st = kBody) {
    rpt::Item& it = FixedField(s, std::move(name), left, top, width, height, st);
    it.wrap = false;
    return it;
}

inline rpt::Item& Shape(rpt::Section& s, rpt::ItemKind kind, int left, int top, int width, int height, int pen = 15) {
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

inline rpt::Item& HRule(rpt::Section& s, int left, int top, int width, int pen = 15) {
    return Shape(s, rpt::ItemKind::Line, left, top, width, 0, pen);
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

// The disclaimer both reports print; the blanks put its heading on a line of its own.
inline const std::string kDisclaimer =
    "Aldmere Disclaimer:" + std::string(136, ' ') +
    "The results produced by this analysis are neither conclusive evidence that the proposed project is "
    "cost-effective, nor a guarantee that a project is eligible for any government grant for whatever purpose.";

// Loads the seal into the named image; a missing bitmap leaves it blank and
// tells the caller through the report's messages.
inline void LoadSealImage(rpt::Report& r, std::string_view name, const std::filesystem::path& file) {
    std::string message;
    QImage seal = LoadSeal(file, &message);
    if (rpt::Item* it = r.Control(name)) it->image = seal;
    if (!message.empty()) r.AddMessage(message);
}

// The mitigation values and the eight results, printed alike by both
// reports under the same item names.
inline void FillMitigationAndResults(rpt::Report& r, const MitigationPart& m, const ResultsPart& res) {
    r.SetText("Description", m.description);
    r.SetText("ProjectCost", FormatTyped(m.projectCost, "###,###,##0"));
    r.SetText("MaintenanceCost", FormatTyped(m.maintenanceCost, "###,###,##0"));
    r.SetText("ProjectLifetime", m.projectLifetime);
    r.SetText("DiscountRate", m.discountRate);
    r.SetText("InjuryCost", FormatTyped(m.injuryCost, "###,###,##0"));
    r.SetText("DeathCost", FormatTyped(m.deathCost, "###,###,##0"));
    r.SetText("TornadoBenefits", res.tornadoBenefitsText);
    r.SetText("HurricaneBenefits", res.hurricaneBenefitsText);
    r.SetText("TotalBenefits", res.totalBenefitsText);
    r.SetText("AnnualizedCost", res.annualizedCostText);
    r.SetText("NetBenefits", res.netBenefitsText);
    r.SetText("BenefitCostRatio", res.benefitCostRatioText);
    r.SetText("LivesSaved", res.livesSavedText);
    r.SetText("InjuriesAvoided", res.injuriesAvoidedText);
}

}  // namespace verrane::reports::layout
