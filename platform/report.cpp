#include "platform/report.h"

#include "platform/output_file.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <stdexcept>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <sstream>
#include <tuple>

namespace verrane::platform::report {

// Text needs a QGuiApplication (fonts). The window has one; the command
// line and the tests may not, so the engine starts a headless one itself.
bool EnsureGuiApplication(std::string* error) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return true;
    if (QCoreApplication::instance()) {
        if (error) *error = "Reports need the graphical application object, but a console-only one is running.";
        return false;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char arg0[] = "verrane";
    static char* argv[] = {arg0, nullptr};
    // Lives for the rest of the process, like the window's own application.
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
    return true;
}

namespace {

bool IsText(ItemKind k) {
    return k == ItemKind::Label || k == ItemKind::Field || k == ItemKind::PageNumber || k == ItemKind::PageCount;
}

QFont MakeFont(const Font& f) {
    QFont q(QString::fromStdString(ResolveFace(f.face)));
    // One pixel is one twip, on every device the pages are painted on.
    q.setPixelSize(std::max(1, static_cast<int>(std::lround(f.pointSize * kTwipsPerPoint))));
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setHintingPreference(QFont::PreferNoHinting);
    return q;
}

using FontKey = std::tuple<std::string, double, bool, bool>;

const QFontMetricsF& Metrics(const Font& f) {
    EnsureGuiApplication(nullptr);
    // Never destroyed: fonts must not outlive the application object, which
    // the window destroys before the statics.
    static auto* cache = new std::map<FontKey, QFontMetricsF>;
    static std::mutex lock;
    std::lock_guard<std::mutex> guard(lock);
    FontKey key{f.face, f.pointSize, f.bold, f.italic};
    auto it = cache->find(key);
    if (it == cache->end()) it = cache->emplace(key, QFontMetricsF(MakeFont(f))).first;
    return it->second;
}

constexpr size_t kForcedBreakBlanks = 10;

std::string TrimRight(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

void WrapParagraph(const std::string& para, const Font& font, int width, std::vector<std::string>& lines) {
    std::string current;
    std::string pendingBlanks;
    bool lineHasWord = false;
    size_t i = 0;
    while (i < para.size()) {
        if (para[i] == ' ') {
            size_t j = i;
            while (j < para.size() && para[j] == ' ') ++j;
            size_t run = j - i;
            i = j;
            if (run >= kForcedBreakBlanks) {
                lines.push_back(TrimRight(current));
                current.clear();
                pendingBlanks.clear();
                lineHasWord = false;
                continue;
            }
            pendingBlanks.append(run, ' ');
            continue;
        }
        size_t j = i;
        while (j < para.size() && para[j] != ' ') ++j;
        std::string word = para.substr(i, j - i);
        i = j;
        if (!lineHasWord) {
            // Leading blanks of a line are printed (the result texts start
            // with one).
            current += pendingBlanks + word;
            pendingBlanks.clear();
            lineHasWord = true;
            continue;
        }
        std::string candidate = current;
        candidate += pendingBlanks;
        candidate += word;
        pendingBlanks.clear();
        if (width <= 0 || TextWidth(candidate, font) <= width) {
            current = candidate;
        } else {
            // A word is never cut: one wider than the box stands alone.
            lines.push_back(TrimRight(current));
            current = word;
        }
    }
    if (lineHasWord || !current.empty() || lines.empty()) lines.push_back(TrimRight(current));
}

}  // namespace

std::string ResolveFace(const std::string& face) {
    static std::map<std::string, std::string> cache;
    static std::mutex lock;
    std::lock_guard<std::mutex> guard(lock);
    auto it = cache.find(face);
    if (it != cache.end()) return it->second;
    std::string resolved = face;
    EnsureGuiApplication(nullptr);
    const QStringList families = QFontDatabase::families();
    if (!families.contains(QString::fromStdString(face), Qt::CaseInsensitive)) {
        // Liberation Sans has Arial's metrics, so the layout does not move.
        if (QString::fromStdString(face).compare("Arial", Qt::CaseInsensitive) == 0 &&
            families.contains("Liberation Sans", Qt::CaseInsensitive))
            resolved = "Liberation Sans";
    }
    cache.emplace(face, resolved);
    return resolved;
}

double TextWidth(const std::string& text, const Font& font) {
    return Metrics(font).horizontalAdvance(QString::fromStdString(text));
}

int LineHeight(const Font& font) { return static_cast<int>(std::ceil(Metrics(font).lineSpacing())); }

std::vector<std::string> WrapText(const std::string& text, const Font& font, int widthTwips, bool wrap) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    std::string para;
    auto flush = [&] {
        if (wrap) {
            WrapParagraph(para, font, widthTwips, lines);
        } else {
            lines.push_back(para);
        }
        para.clear();
    };
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') {
            flush();
            continue;
        }
        para += c;
    }
    flush();
    return lines;
}

Item& Section::Add(Item item) {
    items.push_back(std::move(item));
    return items.back();
}

Item* Section::Find(std::string_view itemName) {
    for (auto& it : items)
        if (it.name == itemName) return &it;
    return nullptr;
}

std::string PlacedItem::Text() const {
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) out += '\n';
        out += lines[i];
    }
    return out;
}

std::string Page::Text() const {
    std::vector<const PlacedItem*> order;
    for (auto& it : items)
        if (IsText(it.kind)) order.push_back(&it);
    std::stable_sort(order.begin(), order.end(), [](const PlacedItem* a, const PlacedItem* b) {
        return std::tie(a->top, a->left) < std::tie(b->top, b->left);
    });
    std::string out;
    for (auto* it : order)
        for (auto& line : it->lines) {
            out += line;
            out += '\n';
        }
    return out;
}

const PlacedItem* Page::Find(std::string_view itemName) const {
    for (auto& it : items)
        if (it.name == itemName) return &it;
    return nullptr;
}

Report::Report() {
    const char* names[] = {"ReportHeader", "PageHeader", "Detail", "PageFooter", "ReportFooter"};
    for (size_t i = 0; i < sections_.size(); ++i) {
        sections_[i].kind = static_cast<SectionKind>(i);
        sections_[i].name = names[i];
    }
}

Item* Report::Control(std::string_view name) {
    for (auto& s : sections_)
        if (Item* it = s.Find(name)) return it;
    return nullptr;
}

void Report::SetText(std::string_view name, std::string text) {
    Item* it = Control(name);
    if (!it) throw std::logic_error("The report has no item named \"" + std::string(name) + "\".");
    it->text = std::move(text);
}

int FittedText::Height() const { return static_cast<int>(lines.size()) * LineHeight(font); }

namespace {

bool FitsIn(const std::vector<std::string>& lines, const Font& f, int width, int height) {
    if (static_cast<int>(lines.size()) * LineHeight(f) > height) return false;
    if (width > 0)
        for (auto& l : lines)
            if (TextWidth(l, f) > width) return false;
    return true;
}

size_t CountWords(const std::string& text) {
    std::istringstream in(text);
    std::string w;
    size_t n = 0;
    while (in >> w) ++n;
    return n;
}

// The longest head of a line that fits with "..." after it: whole words
// while at least one fits, else the first word's leading characters.
std::string Ellipsize(const std::string& line, const Font& f, int width) {
    const std::string dots(kEllipsis);
    std::string head = TrimRight(line);
    for (;;) {
        if (width <= 0 || TextWidth(head + dots, f) <= width) return head + dots;
        const size_t sp = head.find_last_of(' ');
        const size_t first = head.find_first_not_of(' ');
        if (sp == std::string::npos || first == std::string::npos || sp < first) break;
        head = TrimRight(head.substr(0, sp));
    }
    const QString q = QString::fromStdString(head);
    qsizetype lo = 0, hi = q.size();  // the answer lies in [lo, hi]
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (TextWidth(q.left(mid).toStdString() + dots, f) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    return q.left(lo).toStdString() + dots;
}

// The first lines that fit in `maxLines`, the last of them ending in "...";
// the text ends at the first line too wide for the box (a long word).
std::vector<std::string> Cut(const std::vector<std::string>& lines, const Font& f, int width, size_t maxLines) {
    std::vector<std::string> out;
    for (size_t i = 0; i < lines.size() && i < maxLines; ++i) {
        if (width > 0 && TextWidth(lines[i], f) > width) {
            out.push_back(Ellipsize(lines[i], f, width));
            return out;
        }
        out.push_back(lines[i]);
    }
    if (lines.size() > out.size()) out.back() = Ellipsize(out.back(), f, width);
    return out;
}

// A printed figure: one run of digits with their separators, sign, currency
// or percent sign (blanks only around it), no letters.
bool IsFigure(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return false;
    const size_t last = text.find_last_not_of(' ');
    bool digit = false;
    for (size_t i = first; i <= last; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            digit = true;
        else if (std::string_view(",.-+$%()").find(c) == std::string_view::npos)
            return false;
    }
    return digit;
}

constexpr double kFigureFloor = 2;

}  // namespace

FittedText FitText(const Item& item, int room) {
    FittedText r;
    r.font = item.font;
    if (item.text.empty()) return r;
    const int limit = item.canGrow ? std::max(room, item.height) : item.height;
    const int width = item.width;
    auto tryAt = [&](double size) {
        r.font.pointSize = size;
        r.lines = WrapText(item.text, r.font, width, item.wrap);
        return FitsIn(r.lines, r.font, width, limit);
    };
    // Its own size first; then the largest of the half-point sizes down to
    // the floor that fits (smaller never fits worse), found by halving.
    const double size = item.font.pointSize;
    if (tryAt(size)) return r;
    const int steps = item.shrinkToFit ? static_cast<int>(std::floor((size - item.minPointSize) * 2 + 1e-9)) : 0;
    if (steps > 0) {
        if (tryAt(size - 0.5 * steps)) {
            FittedText best = r;
            int lo = 0, hi = steps;  // fits at hi half points smaller, not at lo
            while (hi - lo > 1) {
                const int mid = (lo + hi) / 2;
                if (tryAt(size - 0.5 * mid)) {
                    hi = mid;
                    best = r;
                } else {
                    lo = mid;
                }
            }
            return best;
        }
    }
    // A figure cut short could be misread as a smaller one ("1,000,000,00..."),
    // so a number keeps shrinking past the floor until it fits on its line.
    if (IsFigure(item.text)) {
        for (double s = std::min(item.minPointSize, size) - 0.5; s >= kFigureFloor; s -= 0.5) {
            r.font.pointSize = s;
            r.lines = {item.text};
            if (width <= 0 || TextWidth(r.lines.front(), r.font) <= width) return r;
        }
    }
    const size_t maxLines = static_cast<size_t>(std::max(1, limit / LineHeight(r.font)));
    if (item.shorten) {
        // Words that fit before the cut; then fewer until the shortened text
        // fits too.
        size_t shown = 0;
        for (size_t i = 0; i < r.lines.size() && i + 1 < maxLines; ++i) {
            if (width > 0 && TextWidth(r.lines[i], r.font) > width) break;
            shown += CountWords(r.lines[i]);
        }
        for (;;) {
            std::vector<std::string> lines = WrapText(item.shorten(shown), r.font, width, item.wrap);
            if (FitsIn(lines, r.font, width, limit) || shown == 0) {
                r.lines = FitsIn(lines, r.font, width, limit) ? std::move(lines) : Cut(lines, r.font, width, maxLines);
                r.cut = true;
                return r;
            }
            const size_t last = lines.empty() ? 1 : CountWords(lines.back());
            shown -= std::min(shown, std::max<size_t>(1, last / 2));
        }
    }
    if (item.ellipsis) {
        r.lines = Cut(r.lines, r.font, width, maxLines);
        r.cut = true;
        return r;
    }
    // Grows past its room; only a word too wide for any line is ended
    // short, so nothing prints outside the box's sides.
    for (auto& l : r.lines)
        if (width > 0 && TextWidth(l, r.font) > width) {
            l = Ellipsize(l, r.font, width);
            r.cut = true;
        }
    return r;
}

namespace {

// The room an item's text may take outside the detail: its box, unless it
// grows freely.
int OwnRoom(const Item& item) { return item.ellipsis ? item.height : kUnlimited; }

PlacedItem Place(const Item& item, SectionKind section, int x0, int y0, int room) {
    PlacedItem p;
    p.kind = item.kind;
    p.section = section;
    p.name = item.name;
    p.left = x0 + item.left;
    p.top = y0 + item.top;
    p.width = item.width;
    p.height = item.height;
    p.font = item.font;
    p.align = item.align;
    p.penWidth = item.penWidth;
    p.color = item.color;
    if (item.kind == ItemKind::PageNumber) p.pattern = item.text;
    if (IsText(item.kind)) {
        FittedText fit = FitText(item, room);
        p.font = fit.font;
        p.lineHeight = LineHeight(fit.font);
        p.lines = std::move(fit.lines);
        const int textHeight = static_cast<int>(p.lines.size()) * p.lineHeight;
        if (item.valign == VAlign::Middle && textHeight < p.height) p.textOffset = (p.height - textHeight) / 2;
        p.height = std::max(p.height, textHeight);
    } else if (item.kind == ItemKind::Image) {
        p.image = item.image;
    } else if (item.kind == ItemKind::Drawing) {
        p.draw = item.draw;
    }
    return p;
}

// The height a section takes once its texts have grown: the space under its
// items is kept.
int Extent(const Section& s) {
    int h = s.height;
    int growth = 0;
    for (auto& it : s.items) {
        if (!it.visible || it.kind == ItemKind::PageBreak || it.anchorBottom) continue;
        int bottom = it.top + it.height;
        if (IsText(it.kind)) {
            const int grown = std::max(it.height, FitText(it, OwnRoom(it)).Height());
            growth = std::max(growth, grown - it.height);
            bottom = it.top + grown;
        }
        h = std::max(h, bottom);
    }
    return std::max(h, s.height + growth);
}

void PlaceAll(const Section& s, int x0, int y0, Page& page, int extent) {
    const int growth = std::max(0, extent - s.height);
    for (auto& it : s.items)
        if (it.visible && it.kind != ItemKind::PageBreak)
            page.items.push_back(Place(it, s.kind, x0, y0 + (it.anchorBottom ? growth : 0), OwnRoom(it)));
}

// What lies under a text that grew keeps this much space below it (or the
// space it had, when that was more and the text grew into it).
constexpr int kKeptGap = 90;

// One page's stretch of the detail (between page breaks), placed from the
// section's top with every text fitted: a text that grows moves what lies
// below it down, and a text that takes an ellipsis grows only into the room
// its page has left.
std::vector<PlacedItem> PlanSegment(const std::vector<const Item*>& items, int x0, int slack) {
    std::vector<PlacedItem> placed;
    placed.reserve(items.size());
    struct Grown {
        int designBottom, bottom;
    };
    std::vector<Grown> grown;
    int shift = 0;
    for (size_t i = 0; i < items.size();) {
        const int top = items[i]->top;
        for (const Grown& g : grown)
            if (g.designBottom <= top) shift = std::max(shift, g.bottom + kKeptGap - top);
        for (; i < items.size() && items[i]->top == top; ++i) {
            const Item& it = *items[i];
            const int room = it.ellipsis ? it.height + std::max(0, slack - shift) : kUnlimited;
            PlacedItem p = Place(it, SectionKind::Detail, x0, shift, room);
            if (p.height > it.height) grown.push_back({it.top + it.height, p.bottom()});
            placed.push_back(std::move(p));
        }
    }
    return placed;
}

// Lays the report's sections out page by page. It keeps the pages made so
// far and the position y at which the next section starts; the page header
// and footer are added afterwards, once the page count is known.
class Paginator {
public:
    Paginator(int x0, int contentTop, int bodyTop, int bodyBottom)
        : x0_(x0), contentTop_(contentTop), bodyTop_(bodyTop), bodyBottom_(bodyBottom), y_(bodyTop) {}

    size_t pageCount() const { return pages_.size(); }
    bool isCover(size_t page) const { return cover_[page]; }
    std::vector<Page> takePages() { return std::move(pages_); }

    void reportHeader(const Section& rh, int extent) {
        if (extent > bodyBottom_ - bodyTop_) {
            // Too tall to share its page with the page header and footer: a
            // cover page of its own, without them (it still counts as page 1).
            pages_.emplace_back();
            cover_.push_back(true);
            PlaceAll(rh, x0_, contentTop_, pages_.back(), extent);
            y_ = bodyBottom_;
        } else {
            newPage();
            PlaceAll(rh, x0_, y_, pages_.back(), extent);
            y_ += extent;
        }
    }

    void detail(const Section& detail) {
        if (pages_.empty() || cover_.back()) newPage();
        std::vector<int> breaks;
        for (auto& it : detail.items)
            if (it.visible && it.kind == ItemKind::PageBreak) breaks.push_back(it.top);
        std::sort(breaks.begin(), breaks.end());
        order_.clear();
        for (auto& it : detail.items)
            if (it.visible && it.kind != ItemKind::PageBreak) order_.push_back(&it);
        std::stable_sort(order_.begin(), order_.end(), [](const Item* a, const Item* b) { return a->top < b->top; });

        origin_ = 0;
        pageStartY_ = y_;
        next_ = 0;
        for (int b : breaks) {
            if (b < origin_) continue;
            placeUpTo(b, false);
            newPage();
            pageStartY_ = y_;
            origin_ = b;
        }
        y_ = placeUpTo(std::max(detail.height, origin_), true);
    }

    void reportFooter(const Section& rf, int extent) {
        if (extent <= 0 && rf.items.empty()) return;
        if (pages_.empty() || cover_.back() || y_ + extent > bodyBottom_) newPage();
        PlaceAll(rf, x0_, y_, pages_.back(), extent);
        y_ += extent;
    }

    // A report always has a page, if only an empty one.
    void finish() {
        if (pages_.empty()) newPage();
    }

private:
    void newPage() {
        pages_.emplace_back();
        cover_.push_back(false);
        y_ = bodyTop_;
    }

    // Places the detail items above section position end (all that remain
    // when last); returns the page position below them.
    int placeUpTo(int end, bool last) {
        std::vector<const Item*> segment;
        int designBottom = origin_;
        while (next_ < order_.size() && (last || order_[next_]->top < end)) {
            designBottom = std::max(designBottom, order_[next_]->top + order_[next_]->height);
            segment.push_back(order_[next_++]);
        }
        // Section positions below are those after growth (PlanSegment).
        std::vector<PlacedItem> planned = PlanSegment(segment, x0_, bodyBottom_ - (y_ + designBottom - origin_));
        int bottom = y_ + (end - origin_);
        for (PlacedItem& p : planned) {
            const int at = p.top;
            p.top = y_ - origin_ + at;
            if (p.bottom() > bodyBottom_ && p.top > pageStartY_ && p.height <= bodyBottom_ - bodyTop_) {
                // Does not fit: the rest of the section continues on a new
                // page from this item's top.
                newPage();
                pageStartY_ = y_;
                origin_ = at;
                p.top = y_;
                bottom = y_ + (end - origin_);
            } else if (p.bottom() > bodyBottom_ && p.lineHeight > 0 && p.lines.size() > 1) {
                // A text taller than the room left continues on the following
                // pages, line by line; what follows it keeps its distance
                // below the text's end.
                const int total = p.height;
                const int partHeight = continueAcrossPages(p);
                origin_ = at + total - partHeight - (p.top - y_);
                bottom = std::max(y_ + (end - origin_), p.bottom());
            }
            bottom = std::max(bottom, p.bottom());
            pages_.back().items.push_back(std::move(p));
        }
        return bottom;
    }

    // Puts as many lines of p as fit on each page, starting new pages, and
    // leaves p as the last part (not yet placed); returns its height.
    int continueAcrossPages(PlacedItem& p) {
        std::vector<std::string> rest = std::move(p.lines);
        size_t done = 0;
        int partHeight = 0;
        while (done < rest.size()) {
            size_t fit = static_cast<size_t>(std::max(0, (bodyBottom_ - p.top) / p.lineHeight));
            if (fit == 0 && p.top == pageStartY_) fit = 1;
            fit = std::min(fit, rest.size() - done);
            if (fit > 0) {
                PlacedItem part = p;
                part.lines.assign(rest.begin() + static_cast<long>(done), rest.begin() + static_cast<long>(done + fit));
                part.textOffset = 0;
                part.height = static_cast<int>(fit) * p.lineHeight;
                partHeight = part.height;
                done += fit;
                if (done == rest.size()) {
                    p = std::move(part);
                    break;
                }
                pages_.back().items.push_back(std::move(part));
            }
            newPage();
            pageStartY_ = y_;
            p.top = y_;
        }
        return partHeight;
    }

    const int x0_, contentTop_, bodyTop_, bodyBottom_;
    std::vector<Page> pages_;
    std::vector<bool> cover_;  // a full-page report header prints alone
    int y_;
    // The detail being placed: its items by position, the next one to place,
    // the section position printed at y_ and the top of the current page.
    std::vector<const Item*> order_;
    size_t next_ = 0;
    int origin_ = 0;
    int pageStartY_ = 0;
};

}  // namespace

PageModel Report::Layout() {
    model_ = PageModel{};
    model_.pageWidth = pageWidth;
    model_.pageHeight = pageHeight;
    messages_.clear();
    std::string error;
    if (!EnsureGuiApplication(&error)) {
        messages_.push_back(error);
        return model_;
    }

    if (reportStart) reportStart();
    model_.margins = margins;

    const int x0 = margins.left;
    const int contentTop = margins.top;
    const int contentBottom = pageHeight - margins.bottom;

    Section& ph = PageHeader();
    Section& pf = PageFooter();
    pageNumber_ = 1;
    if (ph.visible && ph.format) ph.format();
    if (pf.visible && pf.format) pf.format();
    const int phHeight = ph.visible ? Extent(ph) : 0;
    const int pfHeight = pf.visible ? Extent(pf) : 0;
    Paginator paginator(x0, contentTop, contentTop + phHeight, contentBottom - pfHeight);

    Section& rh = ReportHeader();
    if (rh.visible) {
        pageNumber_ = 1;
        if (rh.format) rh.format();
        paginator.reportHeader(rh, Extent(rh));
    }
    Section& detail = Detail();
    if (detail.visible) {
        pageNumber_ = static_cast<int>(std::max<size_t>(paginator.pageCount(), 1));
        if (detail.format) detail.format();
        paginator.detail(detail);
    }
    Section& rf = ReportFooter();
    if (rf.visible) {
        if (rf.format) rf.format();
        paginator.reportFooter(rf, Extent(rf));
    }
    paginator.finish();

    const int count = static_cast<int>(paginator.pageCount());
    std::vector<Page> pages = paginator.takePages();
    for (int i = 0; i < count; ++i) {
        if (paginator.isCover(static_cast<size_t>(i))) continue;
        pageNumber_ = i + 1;
        Page head, foot;
        if (ph.visible) {
            if (ph.format) ph.format();
            PlaceAll(ph, x0, contentTop, head, phHeight);
        }
        if (pf.visible) {
            if (pf.format) pf.format();
            PlaceAll(pf, x0, contentBottom - pfHeight, foot, pfHeight);
        }
        auto& items = pages[static_cast<size_t>(i)].items;
        items.insert(items.begin(), head.items.begin(), head.items.end());
        items.insert(items.end(), foot.items.begin(), foot.items.end());
    }
    for (int i = 0; i < count; ++i)
        for (auto& p : pages[static_cast<size_t>(i)].items) {
            if (p.kind == ItemKind::PageNumber) {
                std::string text = p.pattern.empty() ? std::to_string(i + 1) : p.pattern;
                for (const auto& [key, value] : {std::pair<std::string, int>{"{page}", i + 1}, {"{pages}", count}})
                    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key))
                        text.replace(at, key.size(), std::to_string(value));
                p.lines = {text};
            }
            if (p.kind == ItemKind::PageCount) p.lines = {std::to_string(count)};
        }
    model_.pages = std::move(pages);
    pageNumber_ = 0;
    return model_;
}

void Report::RenderPage(QPainter& painter, const PageModel& model, int pageIndex) {
    if (pageIndex < 0 || pageIndex >= static_cast<int>(model.pages.size())) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const PlacedItem& p : model.pages[pageIndex].items) {
        switch (p.kind) {
            case ItemKind::Line:
                painter.setPen(QPen(QColor::fromRgba(p.color), p.penWidth));
                painter.drawLine(QPointF(p.left, p.top), QPointF(p.left + p.width, p.top + p.height));
                break;
            case ItemKind::Box:
                painter.setPen(QPen(QColor::fromRgba(p.color), p.penWidth));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(QRectF(p.left, p.top, p.width, p.height));
                break;
            case ItemKind::Image: {
                if (p.image.isNull() || p.width <= 0 || p.height <= 0) break;
                QSizeF size = QSizeF(p.image.size()).scaled(QSizeF(p.width, p.height), Qt::KeepAspectRatio);
                QRectF target(p.left + (p.width - size.width()) / 2, p.top + (p.height - size.height()) / 2,
                              size.width(), size.height());
                painter.drawImage(target, p.image);
                break;
            }
            case ItemKind::PageBreak:
                break;
            case ItemKind::Drawing:
                if (!p.draw) break;
                painter.save();
                p.draw(painter, QRectF(p.left, p.top, p.width, p.height));
                painter.restore();
                break;
            default: {
                if (p.lines.empty()) break;
                painter.setPen(QColor::fromRgba(p.color));
                painter.setFont(MakeFont(p.font));
                const QFontMetricsF& fm = Metrics(p.font);
                for (size_t i = 0; i < p.lines.size(); ++i) {
                    QString line = QString::fromStdString(p.lines[i]);
                    double w = fm.horizontalAdvance(line);
                    double x = p.left;
                    if (p.align == Align::Right) x = p.left + p.width - w;
                    if (p.align == Align::Center) x = p.left + (p.width - w) / 2;
                    double baseline = p.top + p.textOffset + static_cast<double>(i) * p.lineHeight + fm.ascent();
                    painter.drawText(QPointF(x, baseline), line);
                }
            }
        }
    }
    painter.restore();
}

bool Report::ExportPdf(const std::filesystem::path& file, std::string* error) {
    std::string err;
    if (!EnsureGuiApplication(&err)) {
        if (error) *error = err;
        return false;
    }
    Layout();
    try {
        WriteFileAtomically(file, [this](QIODevice& out) {
            QPdfWriter writer(&out);
            writer.setCreator("Verrane");
            if (!title.empty()) writer.setTitle(QString::fromStdString(title));
            writer.setResolution(kTwipsPerInch);
            writer.setPageSize(QPageSize(QSizeF(pageWidth, pageHeight) / kTwipsPerInch, QPageSize::Inch));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            QPainter painter;
            if (!painter.begin(&writer)) return false;
            for (int i = 0; i < static_cast<int>(model_.pages.size()); ++i) {
                if (i > 0) writer.newPage();
                RenderPage(painter, model_, i);
            }
            return painter.end();
        });
    } catch (const TextFileError& e) {
        if (error) *error = "The " + what + " could not be written. " + e.what();
        return false;
    }
    return true;
}

bool Report::Print(QPrinter& printer, std::string* error) {
    std::string err;
    if (!EnsureGuiApplication(&err)) {
        if (error) *error = err;
        return false;
    }
    Layout();
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (error) *error = "The printer could not be started.";
        return false;
    }
    const int count = static_cast<int>(model_.pages.size());
    int first = 1, last = count;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(1, printer.fromPage());
        last = std::min(count, printer.toPage() > 0 ? printer.toPage() : count);
    }
    const double scale = printer.resolution() / static_cast<double>(kTwipsPerInch);
    for (int i = first; i <= last; ++i) {
        if (i > first) printer.newPage();
        painter.save();
        painter.scale(scale, scale);
        RenderPage(painter, model_, i - 1);
        painter.restore();
    }
    if (!painter.end()) {
        if (error) *error = "The printer stopped before the " + what + " was printed.";
        return false;
    }
    return true;
}

}  // namespace verrane::platform::report
