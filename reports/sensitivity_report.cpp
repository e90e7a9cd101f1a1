#include "reports/sensitivity_report.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "model/swing_bars.h"
#include "platform/number.h"
#include "platform/report.h"
#include "reports/report_text.h"

namespace verrane::reports {

namespace {

using model::SensitivityResult;

// The page, in twips.
constexpr int kMargin = 1080;
constexpr int kLeft = kMargin;
constexpr int kWidth = kSensitivityPageWidth - 2 * kMargin;
constexpr int kTop = kMargin;
constexpr int kFooter = 420;
constexpr int kBottom = kSensitivityPageHeight - kMargin - kFooter;
using platform::report::kTwipsPerPoint;
constexpr int kGap = 220;           // above each part
constexpr int kSectionTitle = 340;  // a part's heading
constexpr int kFigureRow = 270;
constexpr int kTableRow = 250;
constexpr int kTableHeaderRow = 420;  // room for a title on two lines
constexpr int kMinRowsUnderHeading = 3;

const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);  // the results screen's red for a ratio below 1
const QColor kGrey(110, 110, 110);
const QColor kRule(170, 170, 170);
const QColor kBelowOne(226, 120, 120);
const QColor kAboveOne(96, 146, 214);

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A font of `points` in the painter's units, `point` units to the point.
QFont Font(double points, double point, bool bold = false) {
    QFont f(Q(platform::report::ResolveFace("Arial")));
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(points * point))));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}
QFont PageFont(double points, bool bold = false) { return Font(points, kTwipsPerPoint, bold); }

bool Defined(const std::optional<double>& v) { return v && std::isfinite(*v); }

using platform::MoneyText;
using platform::RatioText;
bool RatioIsRed(const std::optional<double>& r) { return !Defined(r) || *r < 1; }

// A row in the user's words; a result made without them shows the machine names.
QString RowLabel(const model::Variation& v) { return v.label.empty() ? Q(v.input + " " + v.value) : Q(v.label); }

int TextHeight(const QString& text, const QFont& font, int width) {
    return static_cast<int>(std::ceil(
        QFontMetricsF(font).boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap | Qt::AlignLeft, text).height()));
}

void Text(QPainter& p, const QRectF& r, const QString& text, const QFont& font, int flags = Qt::AlignLeft,
          const QColor& color = kBlack) {
    p.setFont(font);
    p.setPen(color);
    p.drawText(r, flags | Qt::AlignVCenter, text);
}

QString TitleText() { return "Sensitivity of the Benefit Cost Ratio"; }
QString FileText(const SensitivityResult& r) {
    return r.file.empty() ? QString("Project not saved") : "Project file: " + Q(r.file);
}
QString NameText(const SensitivityResult& r) {
    return r.buildingName.empty() ? QString("Building name not entered") : Q(r.buildingName);
}

int HeadingHeight(const SensitivityResult& r) {
    return 420 + TextHeight(NameText(r), PageFont(11, true), kWidth) + 300;
}

constexpr const char* kTableNote =
    "The occupancy rows scale every entered occupancy by the factor shown; every other value is the one put into "
    "its box or chosen from its list. Each row is a whole analysis with that one input changed.";

int TableNoteHeight() { return 120 + TextHeight(kTableNote, PageFont(8), kWidth); }

int IntervalHeight(const SensitivityResult& r) {
    return kSectionTitle + 3 * kFigureRow + 80 + TextHeight(Q(IntervalSentence(r)), PageFont(9), kWidth);
}

// The sentence on the largest swing and the notes, under the chart.
QString ChartCaption(const SensitivityResult& r) {
    QStringList lines;
    if (const std::string s = SwingSentence(r); !s.empty()) lines << Q(s);
    if (const std::string n = NotesText(r); !n.empty()) lines << Q(n);
    return lines.join("\n");
}
int ChartCaptionHeight(const SensitivityResult& r) {
    const QString caption = ChartCaption(r);
    return caption.isEmpty() ? 0 : 100 + TextHeight(caption, PageFont(9), kWidth);
}

int Height(SensitivityPart part, const SensitivityResult& r) {
    switch (part) {
        case SensitivityPart::Heading:
            return HeadingHeight(r);
        case SensitivityPart::BaseFigures:
            return kSectionTitle + 4 * kFigureRow;
        case SensitivityPart::Chart:
            return std::min(kBottom - kTop, kSectionTitle +
                                                static_cast<int>(std::ceil(SwingChartHeight(r) * kTwipsPerPoint)) +
                                                ChartCaptionHeight(r));
        case SensitivityPart::Breakeven:
            return kSectionTitle + 2 * kFigureRow;
        case SensitivityPart::Interval:
            return IntervalHeight(r);
        case SensitivityPart::TableHeader:
            return kSectionTitle + kTableHeaderRow + 40;
        case SensitivityPart::TableRow:
            return kTableRow;
        case SensitivityPart::TableNote:
            return TableNoteHeight();
    }
    return 0;
}

// Places parts top to bottom, starting a page when one does not fit.
class Flow {
public:
    explicit Flow(const SensitivityResult& r) : r_(r) { pages.emplace_back(); }
    std::vector<std::vector<PlacedPart>> pages;
    int y = kTop;

    bool Fits(int height) const { return y + height <= kBottom || pages.back().empty(); }
    void NewPage() {
        pages.emplace_back();
        y = kTop;
    }
    void Place(SensitivityPart part, size_t row = 0, int gap = kGap) {
        const int h = Height(part, r_);
        if (!pages.back().empty()) y += gap;
        if (!Fits(h)) NewPage();
        pages.back().push_back({part, y, h, row});
        y += h;
    }

private:
    const SensitivityResult& r_;
};

// Column edges of the variations table, in twips from the content's left.
constexpr int kColumns[] = {0, 3500, 5180, 6860, 8540, kWidth};
constexpr int kColumnCount = 5;
const char* const kColumnTitles[] = {"Input and Value", "Total Benefits ($)", "Annualized Cost ($)", "Net Benefits ($)",
                                     "Benefit Cost Ratio"};

QRectF Cell(int column, int top, int height) {
    const int pad = 60;
    return QRectF(kLeft + kColumns[column] + pad, top, kColumns[column + 1] - kColumns[column] - 2 * pad, height);
}

void SectionTitle(QPainter& p, int top, const QString& text) {
    Text(p, QRectF(kLeft, top, kWidth, kSectionTitle - 60), text, PageFont(11, true));
    p.setPen(QPen(kRule, 10));
    p.drawLine(QPointF(kLeft, top + kSectionTitle - 50), QPointF(kLeft + kWidth, top + kSectionTitle - 50));
}

// A label on the left and its value right-aligned in a column.
void FigureRow(QPainter& p, int top, const QString& label, const QString& value, const QColor& color = kBlack) {
    Text(p, QRectF(kLeft + 120, top, 6000, kFigureRow), label, PageFont(10));
    Text(p, QRectF(kLeft + 6000, top, 2400, kFigureRow), value, PageFont(10), Qt::AlignRight, color);
}

void PaintHeading(QPainter& p, const SensitivityResult& r, int top) {
    Text(p, QRectF(kLeft, top, kWidth, 400), TitleText(), PageFont(16, true));
    const QFont nameFont = PageFont(11, true);
    const int nameHeight = TextHeight(NameText(r), nameFont, kWidth);
    p.setFont(nameFont);
    p.setPen(kBlack);
    p.drawText(QRectF(kLeft, top + 420, kWidth, nameHeight), Qt::TextWordWrap | Qt::AlignLeft, NameText(r));
    const QFont fileFont = PageFont(9);
    const QString file = QFontMetricsF(fileFont).elidedText(FileText(r), Qt::ElideMiddle, kWidth);
    Text(p, QRectF(kLeft, top + 420 + nameHeight, kWidth, 260), file, fileFont, Qt::AlignLeft, kGrey);
}

void PaintBaseFigures(QPainter& p, const SensitivityResult& r, int top) {
    SectionTitle(p, top, "Results as Entered");
    int y = top + kSectionTitle;
    const auto& f = r.base;
    FigureRow(p, y, "Total Expected Annual Benefits ($)", Q(MoneyText(f.totalBenefits)));
    FigureRow(p, y += kFigureRow, "Annualized Project Costs ($)", Q(MoneyText(f.annualizedCost)));
    FigureRow(p, y += kFigureRow, "Expected Annual Net Benefits ($)", Q(MoneyText(f.netBenefits)),
              f.netBenefits < 0 ? kRed : kBlack);
    FigureRow(p, y += kFigureRow, "Benefit Cost Ratio", Q(RatioText(f.benefitCostRatio)),
              RatioIsRed(f.benefitCostRatio) ? kRed : kBlack);
}

void PaintChartPart(QPainter& p, const SensitivityResult& r, const PlacedPart& part) {
    SectionTitle(p, part.top, "Benefit Cost Ratio by Input");
    const int caption = ChartCaptionHeight(r);
    PaintSwingChart(p, QRectF(kLeft, part.top + kSectionTitle + 60, kWidth, part.height - kSectionTitle - 60 - caption),
                    r, kTwipsPerPoint);
    if (caption == 0) return;
    p.setFont(PageFont(9));
    p.setPen(kBlack);
    p.drawText(QRectF(kLeft, part.bottom() - caption + 100, kWidth, caption - 100), Qt::TextWordWrap | Qt::AlignLeft,
               ChartCaption(r));
}

void PaintBreakeven(QPainter& p, const SensitivityResult& r, int top) {
    SectionTitle(p, top, "Breakeven Values");
    FigureRow(p, top + kSectionTitle, "Project cost at which the ratio is 1 ($)", Q(BreakevenCostText(r)));
    FigureRow(p, top + kSectionTitle + kFigureRow, "Discount rate at which the ratio is 1", Q(BreakevenRateText(r)));
}

void PaintInterval(QPainter& p, const SensitivityResult& r, int top) {
    const auto& u = r.uncertainty;
    SectionTitle(p, top, "90 % Interval from the Tornado Record");
    int y = top + kSectionTitle;
    const int columns[] = {5400, 6900, 8400};
    const char* heads[] = {"5th percentile", "50th percentile", "95th percentile"};
    for (int i = 0; i < 3; ++i)
        Text(p, QRectF(kLeft + columns[i], y, 1500, kFigureRow), heads[i], PageFont(9, true), Qt::AlignRight);
    y += kFigureRow;
    Text(p, QRectF(kLeft + 120, y, 5200, kFigureRow), "Expected Annual Benefits from Tornado Mitigation ($)",
         PageFont(10));
    for (int i = 0; i < 3; ++i)
        Text(p, QRectF(kLeft + columns[i], y, 1500, kFigureRow), Q(PercentileText(r, u.tornadoBenefits[i], false)),
             PageFont(10), Qt::AlignRight);
    y += kFigureRow;
    Text(p, QRectF(kLeft + 120, y, 5200, kFigureRow), "Benefit Cost Ratio", PageFont(10));
    for (int i = 0; i < 3; ++i) {
        const bool red = u.draws > 0 && (!u.ratioDefined || u.benefitCostRatio[i] < 1);
        Text(p, QRectF(kLeft + columns[i], y, 1500, kFigureRow), Q(PercentileText(r, u.benefitCostRatio[i], true)),
             PageFont(10), Qt::AlignRight, red ? kRed : kBlack);
    }
    y += kFigureRow + 80;
    p.setFont(PageFont(9));
    p.setPen(kBlack);
    p.drawText(QRectF(kLeft, y, kWidth, top + IntervalHeight(r) - y), Qt::TextWordWrap | Qt::AlignLeft,
               Q(IntervalSentence(r)));
}

void PaintTableHeader(QPainter& p, const PlacedPart& part) {
    SectionTitle(p, part.top, part.row == 0 ? "All Variations" : "All Variations (continued)");
    const int y = part.top + kSectionTitle;
    p.setFont(PageFont(8.5, true));
    p.setPen(kBlack);
    for (int c = 0; c < kColumnCount; ++c)
        p.drawText(Cell(c, y, kTableHeaderRow),
                   Qt::TextWordWrap | Qt::AlignBottom | (c < 1 ? Qt::AlignLeft : Qt::AlignRight), kColumnTitles[c]);
    p.setPen(QPen(kBlack, 10));
    p.drawLine(QPointF(kLeft, y + kTableHeaderRow + 20), QPointF(kLeft + kWidth, y + kTableHeaderRow + 20));
}

void PaintTableRow(QPainter& p, const SensitivityResult& r, const PlacedPart& part) {
    const model::Variation& v = r.variations[part.row];
    // A thin rule where the next input begins.
    if (part.row > 0 && r.variations[part.row - 1].input != v.input) {
        p.setPen(QPen(kRule, 6));
        p.drawLine(QPointF(kLeft, part.top), QPointF(kLeft + kWidth, part.top));
    }
    const QFont font = PageFont(9);
    const auto& f = v.figures;
    const QFontMetricsF metrics(font);
    Text(p, Cell(0, part.top, kTableRow), metrics.elidedText(RowLabel(v), Qt::ElideRight, Cell(0, 0, 1).width()), font);
    Text(p, Cell(1, part.top, kTableRow), Q(MoneyText(f.totalBenefits)), font, Qt::AlignRight);
    Text(p, Cell(2, part.top, kTableRow), Q(MoneyText(f.annualizedCost)), font, Qt::AlignRight);
    Text(p, Cell(3, part.top, kTableRow), Q(MoneyText(f.netBenefits)), font, Qt::AlignRight,
         f.netBenefits < 0 ? kRed : kBlack);
    Text(p, Cell(4, part.top, kTableRow), Q(RatioText(f.benefitCostRatio)), font, Qt::AlignRight,
         RatioIsRed(f.benefitCostRatio) ? kRed : kBlack);
}

void PaintTableNote(QPainter& p, const SensitivityResult& r, const PlacedPart& part) {
    p.setFont(PageFont(8));
    p.setPen(kGrey);
    const QString text = r.variations.empty() ? QString("No variations were run.") : QString(kTableNote);
    p.drawText(QRectF(kLeft, part.top + 120, kWidth, part.height - 120), Qt::TextWordWrap | Qt::AlignLeft, text);
}

void PaintPart(QPainter& p, const SensitivityResult& r, const PlacedPart& part) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    switch (part.part) {
        case SensitivityPart::Heading:
            PaintHeading(p, r, part.top);
            break;
        case SensitivityPart::BaseFigures:
            PaintBaseFigures(p, r, part.top);
            break;
        case SensitivityPart::Chart:
            PaintChartPart(p, r, part);
            break;
        case SensitivityPart::Breakeven:
            PaintBreakeven(p, r, part.top);
            break;
        case SensitivityPart::Interval:
            PaintInterval(p, r, part.top);
            break;
        case SensitivityPart::TableHeader:
            PaintTableHeader(p, part);
            break;
        case SensitivityPart::TableRow:
            PaintTableRow(p, r, part);
            break;
        case SensitivityPart::TableNote:
            PaintTableNote(p, r, part);
            break;
    }
}

// The document as a report of the program's engine: every placed part is a
// drawing in the detail at its place on its page, with a page break before
// each page after the first; the engine numbers the pages, prints the footer
// on each, and writes the PDF or drives the printer. The keeping together
// (a heading with its first rows, the table's heading again on each page it
// continues on) is decided by LayOutSensitivity.
class SensitivityDocument : public platform::report::Report {
public:
    explicit SensitivityDocument(const SensitivityResult& r) {
        using platform::report::Item;
        using platform::report::ItemKind;
        pageWidth = kSensitivityPageWidth;
        pageHeight = kSensitivityPageHeight;
        margins = {0, 0, 0, 0};
        title = TitleText().toStdString();
        what = "sensitivity document";

        const auto pages = LayOutSensitivity(r);
        for (size_t k = 0; k < pages.size(); ++k) {
            // Page k's parts stand k page heights down the detail.
            const int origin = static_cast<int>(k) * kSensitivityPageHeight;
            if (k > 0) {
                Item pageBreak;
                pageBreak.kind = ItemKind::PageBreak;
                pageBreak.top = origin;
                Detail().Add(pageBreak);
            }
            for (const PlacedPart& part : pages[k]) {
                Item drawing;
                drawing.kind = ItemKind::Drawing;
                drawing.top = origin + part.top;
                drawing.width = kSensitivityPageWidth;
                drawing.height = part.height;
                drawing.draw = [&r, part](QPainter& p, const QRectF& box) {
                    p.translate(0, box.top() - part.top);
                    PaintPart(p, r, part);
                };
                Detail().Add(drawing);
            }
        }
        Detail().height = 0;

        // The footer: a rule, what made the document, and the page.
        auto& footer = PageFooter();
        footer.height = kSensitivityPageHeight - kBottom;
        Item rule;
        rule.kind = ItemKind::Line;
        rule.left = kLeft;
        rule.top = 100;
        rule.width = kWidth;
        rule.penWidth = 10;
        rule.color = kRule.rgba();
        footer.Add(rule);
        constexpr int kPageBox = 1300;
        Item made;
        made.kind = ItemKind::Label;
        made.name = "FooterProvenance";
        made.text = "Verrane sensitivity; " + ProvenanceText();
        made.left = kLeft;
        made.top = 140;
        made.width = kWidth - kPageBox;
        made.height = 340;
        made.font.pointSize = 6.5;
        // On two lines when it needs them, smaller rather than cut.
        made.canGrow = false;
        made.shrinkToFit = true;
        made.minPointSize = 4;
        made.color = kGrey.rgba();
        footer.Add(made);
        Item page;
        page.kind = ItemKind::PageNumber;
        page.name = "FooterPage";
        page.text = "Page {page} of {pages}";
        page.left = kLeft + kWidth - kPageBox;
        page.top = 160;
        page.width = kPageBox;
        page.height = 260;
        page.font.pointSize = 8;
        page.align = platform::report::Align::Right;
        page.valign = platform::report::VAlign::Middle;
        page.canGrow = false;
        page.color = kGrey.rgba();
        footer.Add(page);
    }
};

// Chart geometry, in points.
constexpr double kChartLabelRows = 26;  // the base and ratio-1 captions above the bars
constexpr double kChartAxis = 34;       // ticks, their numbers and the axis title below
constexpr double kChartBarRow = 17;

std::string TickText(double v, double step) {
    return platform::FormatNumber(v, step >= 1 ? "##0" : (step >= 0.1 ? "##0.0" : "##0.00"));
}

// "2.31 (10 %)": the ratio at a bar's end and the value that gives it in
// the user's terms ("as entered" for the base's own end).
QString EndText(double ratio, const std::string& shown) {
    QString t = Q(RatioText(ratio));
    if (!shown.empty()) t += " (" + Q(shown) + ")";
    return t;
}

QString Joined(const std::vector<std::string>& values) {
    QStringList l;
    for (const auto& v : values) l << Q(v);
    return l.join(", ");
}

}  // namespace

double SwingChartHeight(const SensitivityResult& result) {
    const size_t bars = std::max<size_t>(1, model::SwingBars(result).size());
    return kChartLabelRows + kChartAxis + kChartBarRow * static_cast<double>(bars);
}

// The swing chart's geometry and the steps that draw it.
class SwingChart {
public:
    SwingChart(QPainter& p, const QRectF& area, const SensitivityResult& r, double pt)
        : p_(p),
          area_(area),
          r_(r),
          pt_(pt),
          bars_(model::SwingBars(r)),
          labelFont_(Font(8, pt)),
          smallFont_(Font(7.5, pt)),
          titleFont_(Font(8.5, pt, true)),
          metrics_(labelFont_),
          small_(smallFont_) {}

    void Paint() {
        p_.save();
        p_.setRenderHint(QPainter::Antialiasing);
        if (bars_.empty()) {
            Text(p_, area_, "No variations to chart.", labelFont_, Qt::AlignHCenter, kGrey);
        } else {
            Measure();
            PaintAxis();
            PaintBars();
            PaintReferenceLines();
            PaintEndLabels();
        }
        p_.restore();
    }

private:
    struct Row {
        double mid, left, right;
    };

    double X(double v) const {
        return plotLeft_ + (v - axis_.from) / (axis_.to - axis_.from) * (plotRight_ - plotLeft_);
    }

    void Measure() {
        for (const auto& b : bars_) nameWidth_ = std::max(nameWidth_, metrics_.horizontalAdvance(Q(b.name)));
        nameWidth_ = std::min(nameWidth_ + 8 * pt_, area_.width() / 3);
        plotLeft_ = area_.left() + nameWidth_;
        axis_ = model::AxisFor(bars_, r_.base.benefitCostRatio);
        // The last tick's number is centred on the plot's right edge: room for its half.
        const double lastTick = small_.horizontalAdvance(Q(TickText(axis_.to, axis_.step))) / 2 + pt_;
        plotRight_ = area_.right() - std::max(4 * pt_, lastTick);
        barsTop_ = area_.top() + kChartLabelRows * pt_;
        barsBottom_ = std::max(barsTop_ + pt_, area_.bottom() - kChartAxis * pt_);
        rowHeight_ = (barsBottom_ - barsTop_) / static_cast<double>(bars_.size());
        barHeight_ = std::max(pt_, rowHeight_ * 0.58);
    }

    // Grid and axis.
    void PaintAxis() {
        const int ticks = static_cast<int>(std::lround((axis_.to - axis_.from) / axis_.step));
        for (int i = 0; i <= ticks; ++i) {
            const double v = axis_.from + i * axis_.step, tx = X(v);
            p_.setPen(QPen(QColor(225, 225, 225), 0.6 * pt_));
            p_.drawLine(QPointF(tx, barsTop_), QPointF(tx, barsBottom_));
            p_.setPen(QPen(kBlack, 0.6 * pt_));
            p_.drawLine(QPointF(tx, barsBottom_), QPointF(tx, barsBottom_ + 3 * pt_));
            Text(p_, QRectF(tx - 30 * pt_, barsBottom_ + 4 * pt_, 60 * pt_, 11 * pt_), Q(TickText(v, axis_.step)),
                 smallFont_, Qt::AlignHCenter);
        }
        p_.setPen(QPen(kBlack, 0.8 * pt_));
        p_.drawLine(QPointF(plotLeft_, barsBottom_), QPointF(plotRight_, barsBottom_));
        Text(p_, QRectF(plotLeft_, barsBottom_ + 16 * pt_, plotRight_ - plotLeft_, 12 * pt_), "Benefit Cost Ratio",
             titleFont_, Qt::AlignHCenter);
    }

    // The bars, largest swing on top; below a ratio of 1 in red, above in blue.
    void PaintBars() {
        for (size_t i = 0; i < bars_.size(); ++i) {
            const auto& b = bars_[i];
            const double mid = barsTop_ + rowHeight_ * (static_cast<double>(i) + 0.5);
            Text(p_, QRectF(area_.left(), mid - rowHeight_ / 2, nameWidth_ - 6 * pt_, rowHeight_),
                 metrics_.elidedText(Q(b.name), Qt::ElideRight, nameWidth_ - 6 * pt_), labelFont_, Qt::AlignRight);
            if (!b.low) {
                rows_.push_back({mid, plotLeft_, plotLeft_});
                continue;
            }
            const double left = X(*b.low);
            double right = X(*b.high);
            if (right - left < 1.5 * pt_) right = left + 1.5 * pt_;  // an input that moves nothing still shows
            rows_.push_back({mid, left, right});
            const double one = std::clamp(X(1.0), left, right);
            const double top = mid - barHeight_ / 2;
            p_.setPen(Qt::NoPen);
            if (one > left) p_.fillRect(QRectF(left, top, one - left, barHeight_), kBelowOne);
            if (right > one) p_.fillRect(QRectF(one, top, right - one, barHeight_), kAboveOne);
            p_.setPen(QPen(QColor(60, 60, 60), 0.5 * pt_));
            p_.setBrush(Qt::NoBrush);
            p_.drawRect(QRectF(left, top, right - left, barHeight_));
        }
    }

    // The ratio 1 and the base ratio, over the bars, each with its caption above them.
    void PaintReferenceLines() {
        auto caption = [&](double v, double row, const QString& text, const QColor& color) {
            const double w = small_.horizontalAdvance(text) + 2 * pt_;
            const double cx = std::clamp(X(v) - w / 2, area_.left(), area_.right() - w);
            Text(p_, QRectF(cx, area_.top() + row * pt_, w, 11 * pt_), text, smallFont_, Qt::AlignHCenter, color);
        };
        p_.setPen(QPen(kRed, 1.2 * pt_));
        p_.drawLine(QPointF(X(1.0), barsTop_ - 2 * pt_), QPointF(X(1.0), barsBottom_));
        caption(1.0, 13, "Ratio = 1", kRed);
        if (Defined(r_.base.benefitCostRatio)) {
            const double bx = X(*r_.base.benefitCostRatio);
            p_.setPen(QPen(kBlack, 1.0 * pt_, Qt::DashLine));
            p_.drawLine(QPointF(bx, barsTop_ - 2 * pt_), QPointF(bx, barsBottom_));
            caption(*r_.base.benefitCostRatio, 1, "Base " + Q(RatioText(r_.base.benefitCostRatio)), kBlack);
        }
    }

    double Width(const QString& text) const { return small_.horizontalAdvance(text) + 2 * pt_; }

    // A bar's end text on white, moved and if need be shortened to stay
    // inside the plot area whatever the value.
    void EndLabel(double left, double mid, QString text, const QColor& color) {
        const double room = plotRight_ - plotLeft_;
        if (Width(text) > room) text = small_.elidedText(text, Qt::ElideRight, std::max(0.0, room - 2 * pt_));
        const double width = Width(text);
        left = std::clamp(left, plotLeft_, std::max(plotLeft_, plotRight_ - width));
        const double textHeight = small_.height();
        const QRectF box(left, mid - textHeight / 2, width, textHeight);
        p_.fillRect(box, Qt::white);
        Text(p_, box, text, smallFont_, Qt::AlignHCenter, color);
    }

    // The end values last, on white, so no line runs through them: the low
    // end's left of the bar and the high end's right of it where they fit;
    // else both on the side with room; else as near the bar as the plot allows.
    void PaintEndLabels() {
        const double gap = 3 * pt_;
        for (size_t i = 0; i < bars_.size(); ++i) {
            const auto& b = bars_[i];
            const Row& row = rows_[i];
            const QString undefined =
                b.undefinedValues.empty() ? QString() : "no ratio at " + Joined(b.undefinedValues);
            if (!b.low) {
                EndLabel(plotLeft_, row.mid, undefined, kGrey);
                continue;
            }
            const QString lowText = EndText(*b.low, b.lowShown), highText = EndText(*b.high, b.highShown);
            const bool oneEnd = *b.low == *b.high && b.lowShown == b.highShown;
            QStringList right{highText};
            if (!undefined.isEmpty()) right << undefined;
            const QString rightText = right.join("; ");
            const bool lowFits = row.left - gap - Width(lowText) >= plotLeft_;
            const bool rightFits = row.right + gap + Width(rightText) <= plotRight_;
            if (oneEnd) {
                const double w = Width(rightText);
                EndLabel(row.right + gap + w <= plotRight_ ? row.right + gap : row.left - gap - w, row.mid, rightText,
                         kBlack);
            } else if (lowFits && rightFits) {
                EndLabel(row.left - gap - Width(lowText), row.mid, lowText, kBlack);
                EndLabel(row.right + gap, row.mid, rightText, kBlack);
            } else {
                const QString both = rightText + "; low " + lowText;
                const double w = Width(both);
                EndLabel(row.right + gap + w <= plotRight_ ? row.right + gap : row.left - gap - w, row.mid, both,
                         kBlack);
            }
        }
    }

    QPainter& p_;
    const QRectF area_;
    const SensitivityResult& r_;
    const double pt_;
    const std::vector<model::SwingBar> bars_;
    const QFont labelFont_, smallFont_, titleFont_;
    const QFontMetricsF metrics_, small_;
    double nameWidth_ = 0, plotLeft_ = 0, plotRight_ = 0, barsTop_ = 0, barsBottom_ = 0, rowHeight_ = 0, barHeight_ = 0;
    model::RatioAxis axis_{};
    std::vector<Row> rows_;
};

void PaintSwingChart(QPainter& p, const QRectF& area, const SensitivityResult& r, double pt) {
    SwingChart(p, area, r, pt).Paint();
}

std::vector<std::vector<PlacedPart>> LayOutSensitivity(const SensitivityResult& r) {
    Flow flow(r);
    for (auto part : {SensitivityPart::Heading, SensitivityPart::BaseFigures, SensitivityPart::Chart,
                      SensitivityPart::Breakeven, SensitivityPart::Interval})
        flow.Place(part);
    if (!r.variations.empty()) {
        // The heading goes with the first rows.
        const size_t firstRows = std::min<size_t>(kMinRowsUnderHeading, r.variations.size());
        const int headed = kGap + Height(SensitivityPart::TableHeader, r) + static_cast<int>(firstRows) * kTableRow;
        if (flow.y + headed > kBottom) flow.NewPage();
        flow.Place(SensitivityPart::TableHeader, 0);
        for (size_t i = 0; i < r.variations.size(); ++i) {
            if (flow.y + kTableRow > kBottom) {
                flow.NewPage();
                flow.Place(SensitivityPart::TableHeader, i);
            }
            flow.Place(SensitivityPart::TableRow, i, 0);
        }
    }
    flow.Place(SensitivityPart::TableNote, 0, 0);
    return flow.pages;
}

int SensitivityPageCount(const SensitivityResult& r) { return static_cast<int>(LayOutSensitivity(r).size()); }

void PaintSensitivityPage(QPainter& painter, const SensitivityResult& r, int index) {
    SensitivityDocument document(r);
    const platform::report::PageModel model = document.Layout();
    if (index < 0 || index >= static_cast<int>(model.pages.size())) return;
    const QPaintDevice* device = painter.device();
    const double scale = device ? std::min(device->width() / static_cast<double>(kSensitivityPageWidth),
                                           device->height() / static_cast<double>(kSensitivityPageHeight))
                                : 1.0;
    painter.save();
    painter.scale(scale, scale);
    platform::report::Report::RenderPage(painter, model, index);
    painter.restore();
}

// The breakeven values are searched by re-analyses: with none run there was
// no search, which is not the same as a search that found nothing.
constexpr const char* kNotSearched = "\u2013";

std::string BreakevenCostText(const SensitivityResult& r) {
    if (Defined(r.breakevenProjectCost)) return "$" + MoneyText(*r.breakevenProjectCost);
    return r.variations.empty() ? kNotSearched : "none";
}

std::string BreakevenRateText(const SensitivityResult& r) {
    if (Defined(r.breakevenDiscountRate)) return platform::FormatNumber(*r.breakevenDiscountRate, "##0.00") + " %";
    return r.variations.empty() ? kNotSearched : "none between 0 and 20 %";
}

std::string PercentileText(const SensitivityResult& r, double value, bool ratio) {
    const auto& u = r.uncertainty;
    if (u.draws <= 0) return "\u2013";
    if (!ratio) return MoneyText(value);
    return RatioText(u.ratioDefined ? std::optional<double>(value) : std::nullopt);
}

std::string IntervalSentence(const SensitivityResult& r) {
    const auto& u = r.uncertainty;
    if (u.draws <= 0) return "No interval was computed for this project.";
    return "The tornado record of the pooled counties is a sample of a few decades. Drawing each class's rate anew "
           "from the tornadoes counted (" +
           platform::FormatNumber(u.draws, "###,###,##0") + " draws, seed " + std::to_string(u.seed) +
           "), the annual tornado benefits and the ratio lie between the 5th and the 95th percentile in 90 % of the "
           "draws. The interval leaves out every other uncertainty: the costs, the occupancy, the death and injury "
           "rates, the hurricane hazard and the choice of the region.";
}

std::string SwingSentence(const SensitivityResult& r) {
    const auto bars = model::SwingBars(r);
    if (bars.empty() || !bars.front().low) return {};
    const model::SwingBar& top = bars.front();
    std::string name = top.name;
    // "Region" reads "the region"; a program name ("SelectionRadius") stays as it is.
    if (std::none_of(name.begin() + std::min<size_t>(1, name.size()), name.end(),
                     [](unsigned char c) { return std::isupper(c); }) &&
        !name.empty())
        name[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
    auto end = [](double ratio, const std::string& shown) {
        return RatioText(ratio) + (shown.empty() ? std::string() : " (" + shown + ")");
    };
    std::string s = "The " + name + " moves the ratio most, from " + end(*top.low, top.lowShown) + " to " +
                    end(*top.high, top.highShown) + "; ";
    // The input's values in the order they were run, each with its ratio.
    std::vector<const model::Variation*> values;
    for (const auto& v : r.variations)
        if ((v.name.empty() ? v.input : v.name) == top.name && Defined(v.figures.benefitCostRatio))
            values.push_back(&v);
    auto shown = [](const model::Variation* v) { return v->shown.empty() ? v->value : v->shown; };
    for (size_t i = 1; i < values.size(); ++i) {
        const bool before = *values[i - 1]->figures.benefitCostRatio >= 1,
                   after = *values[i]->figures.benefitCostRatio >= 1;
        if (before != after)
            return s + "the ratio crosses 1 between " + shown(values[i - 1]) + " and " + shown(values[i]) + ".";
    }
    if (*top.low >= 1) return s + "the ratio stays at 1 or above at every value tried.";
    if (*top.high < 1) return s + "the ratio stays below 1 at every value tried.";
    return s + "the ratio crosses 1 between the entered value and the others.";
}

std::string NotesText(const SensitivityResult& r) {
    std::string text;
    for (const auto& n : r.notes) text += (text.empty() ? "" : "\n") + n;
    return text;
}

bool WriteSensitivityPdf(const SensitivityResult& r, const std::filesystem::path& file, std::string& error) {
    error.clear();
    if (!platform::report::EnsureGuiApplication(&error)) return false;
    SensitivityDocument document(r);
    return document.ExportPdf(file, &error);
}

bool PrintSensitivity(const SensitivityResult& r, QPrinter& printer, std::string& error) {
    error.clear();
    if (!platform::report::EnsureGuiApplication(&error)) return false;
    SensitivityDocument document(r);
    return document.Print(printer, &error);
}

}  // namespace verrane::reports
