#include "platform/report.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

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

// Breaks one word that is wider than the box at character boundaries.
void BreakLongWord(std::string word, const Font& font, int width, std::vector<std::string>& lines,
                   std::string& current) {
    while (!word.empty() && TextWidth(word, font) > width) {
        QString q = QString::fromStdString(word);
        int fit = 1;
        while (fit < q.size() && TextWidth(q.left(fit + 1).toStdString(), font) <= width) ++fit;
        lines.push_back(q.left(fit).toStdString());
        word = q.mid(fit).toStdString();
    }
    current = word;
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
            std::string candidate = current + pendingBlanks + word;
            pendingBlanks.clear();
            if (width > 0 && TextWidth(candidate, font) > width) {
                BreakLongWord(candidate, font, width, lines, current);
            } else {
                current = candidate;
            }
            lineHasWord = true;
            continue;
        }
        std::string candidate = current + pendingBlanks + word;
        pendingBlanks.clear();
        if (width <= 0 || TextWidth(candidate, font) <= width) {
            current = candidate;
        } else {
            lines.push_back(TrimRight(current));
            current.clear();
            BreakLongWord(word, font, width, lines, current);
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

int LineHeight(const Font& font) {
    return static_cast<int>(std::ceil(Metrics(font).lineSpacing()));
}

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

bool Report::SetText(std::string_view name, std::string text) {
    Item* it = Control(name);
    if (!it) return false;
    it->text = std::move(text);
    return true;
}

namespace {

// The font and lines a text item prints with.
std::pair<Font, std::vector<std::string>> Fit(const Item& item) {
    Font font = item.font;
    std::vector<std::string> lines = WrapText(item.text, font, item.width, item.wrap);
    // A word wider than the box would be cut in two: shrink for that too.
    auto wordTooWide = [&](const Font& f) {
        if (!item.wrap || item.width <= 0) return false;
        std::istringstream words(item.text);
        std::string w;
        while (words >> w)
            if (TextWidth(w, f) > item.width) return true;
        return false;
    };
    if (item.shrinkToFit)
        while (font.pointSize > 6 &&
               (static_cast<int>(lines.size()) * LineHeight(font) > item.height || wordTooWide(font))) {
            font.pointSize = std::max(6.0, font.pointSize - 0.5);
            lines = WrapText(item.text, font, item.width, item.wrap);
        }
    return {font, lines};
}

PlacedItem Place(const Item& item, SectionKind section, int x0, int y0) {
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
    if (IsText(item.kind)) {
        auto [font, lines] = Fit(item);
        p.font = font;
        p.lineHeight = LineHeight(font);
        p.lines = std::move(lines);
        // A box too small for its text grows downward.
        const int textHeight = static_cast<int>(p.lines.size()) * p.lineHeight;
        if (item.valign == VAlign::Middle && textHeight < p.height) p.textOffset = (p.height - textHeight) / 2;
        p.height = std::max(p.height, textHeight);
    } else if (item.kind == ItemKind::Image) {
        p.image = item.image;
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
            auto [font, lines] = Fit(it);
            int grown = std::max(it.height, static_cast<int>(lines.size()) * LineHeight(font));
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
            page.items.push_back(Place(it, s.kind, x0, y0 + (it.anchorBottom ? growth : 0)));
}

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
    const int bodyTop = contentTop + phHeight;
    const int bodyBottom = contentBottom - pfHeight;

    std::vector<Page> pages;
    std::vector<bool> cover;  // a full-page report header prints alone
    int y = bodyTop;
    auto newPage = [&] {
        pages.emplace_back();
        cover.push_back(false);
        y = bodyTop;
    };

    Section& rh = ReportHeader();
    if (rh.visible) {
        pageNumber_ = 1;
        if (rh.format) rh.format();
        const int extent = Extent(rh);
        if (extent > bodyBottom - bodyTop) {
            // Too tall to share its page with the page header and footer: a
            // cover page of its own, without them (it still counts as page 1).
            pages.emplace_back();
            cover.push_back(true);
            PlaceAll(rh, x0, contentTop, pages.back(), extent);
            y = bodyBottom;
        } else {
            newPage();
            PlaceAll(rh, x0, y, pages.back(), extent);
            y += extent;
        }
    }

    Section& detail = Detail();
    if (detail.visible) {
        pageNumber_ = static_cast<int>(std::max<size_t>(pages.size(), 1));
        if (detail.format) detail.format();
        if (pages.empty() || cover.back()) newPage();

        std::vector<int> breaks;
        for (auto& it : detail.items)
            if (it.visible && it.kind == ItemKind::PageBreak) breaks.push_back(it.top);
        std::sort(breaks.begin(), breaks.end());
        std::vector<const Item*> order;
        for (auto& it : detail.items)
            if (it.visible && it.kind != ItemKind::PageBreak) order.push_back(&it);
        std::stable_sort(order.begin(), order.end(), [](const Item* a, const Item* b) { return a->top < b->top; });

        int origin = 0;  // section position printed at y
        int pageStartY = y;
        size_t next = 0;
        auto placeUpTo = [&](int end, bool last) {
            int bottom = y + (end - origin);
            while (next < order.size() && (last || order[next]->top < end)) {
                const Item& it = *order[next];
                PlacedItem p = Place(it, SectionKind::Detail, x0, y - origin);
                if (p.bottom() > bodyBottom && p.top > pageStartY && p.height <= bodyBottom - bodyTop) {
                    // Does not fit: the rest of the section continues on a
                    // new page from this item's top.
                    newPage();
                    pageStartY = y;
                    origin = it.top;
                    p = Place(it, SectionKind::Detail, x0, y - origin);
                    bottom = y + (end - origin);
                } else if (p.bottom() > bodyBottom && p.lineHeight > 0 && p.lines.size() > 1) {
                    // A text taller than the room left continues on the
                    // following pages, line by line; what follows it keeps
                    // its distance below the text's end.
                    const int total = p.height;
                    std::vector<std::string> rest = std::move(p.lines);
                    size_t at = 0;
                    int partHeight = 0;
                    while (at < rest.size()) {
                        size_t fit = static_cast<size_t>(std::max(0, (bodyBottom - p.top) / p.lineHeight));
                        if (fit == 0 && p.top == pageStartY) fit = 1;
                        fit = std::min(fit, rest.size() - at);
                        if (fit > 0) {
                            PlacedItem part = p;
                            part.lines.assign(rest.begin() + static_cast<long>(at), rest.begin() + static_cast<long>(at + fit));
                            part.textOffset = 0;
                            part.height = static_cast<int>(fit) * p.lineHeight;
                            partHeight = part.height;
                            at += fit;
                            if (at == rest.size()) {
                                p = std::move(part);
                                break;
                            }
                            pages.back().items.push_back(std::move(part));
                        }
                        newPage();
                        pageStartY = y;
                        p.top = y;
                    }
                    origin = it.top + total - partHeight - (p.top - y);
                    bottom = std::max(y + (end - origin), p.bottom());
                }
                bottom = std::max(bottom, p.bottom());
                pages.back().items.push_back(std::move(p));
                ++next;
            }
            return bottom;
        };
        for (int b : breaks) {
            if (b < origin) continue;
            placeUpTo(b, false);
            newPage();
            pageStartY = y;
            origin = b;
        }
        y = placeUpTo(std::max(Extent(detail), origin), true);
    }

    Section& rf = ReportFooter();
    if (rf.visible) {
        if (rf.format) rf.format();
        const int extent = Extent(rf);
        if (extent > 0 || !rf.items.empty()) {
            if (pages.empty() || cover.back() || y + extent > bodyBottom) newPage();
            PlaceAll(rf, x0, y, pages.back(), extent);
            y += extent;
        }
    }
    if (pages.empty()) newPage();

    const int count = static_cast<int>(pages.size());
    for (int i = 0; i < count; ++i) {
        if (cover[i]) continue;
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
        auto& items = pages[i].items;
        items.insert(items.begin(), head.items.begin(), head.items.end());
        items.insert(items.end(), foot.items.begin(), foot.items.end());
    }
    for (int i = 0; i < count; ++i)
        for (auto& p : pages[i].items) {
            if (p.kind == ItemKind::PageNumber) p.lines = {std::to_string(i + 1)};
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
            painter.setPen(QPen(Qt::black, p.penWidth));
            painter.drawLine(QPointF(p.left, p.top), QPointF(p.left + p.width, p.top + p.height));
            break;
        case ItemKind::Box:
            painter.setPen(QPen(Qt::black, p.penWidth));
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
        default: {
            if (p.lines.empty()) break;
            painter.setPen(Qt::black);
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
    const QString name = QString::fromStdString(file.string());
    QSaveFile out(name);
    if (!out.open(QIODevice::WriteOnly)) {
        if (error) *error = "The report could not be written to " + file.string() + ": " + out.errorString().toStdString();
        return false;
    }
    Layout();
    {
        QPdfWriter writer(&out);
        writer.setCreator("Verrane");
        writer.setResolution(kTwipsPerInch);
        writer.setPageSize(QPageSize(QSizeF(pageWidth, pageHeight) / kTwipsPerInch, QPageSize::Inch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&writer)) {
            out.cancelWriting();
            if (error) *error = "The report could not be written to " + file.string() + ".";
            return false;
        }
        for (int i = 0; i < static_cast<int>(model_.pages.size()); ++i) {
            if (i > 0) writer.newPage();
            RenderPage(painter, model_, i);
        }
        painter.end();
    }
    if (!out.commit()) {
        if (error) *error = "The report could not be written to " + file.string() + ": " + out.errorString().toStdString();
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
        if (error) *error = "The printer stopped before the report was printed.";
        return false;
    }
    return true;
}

}  // namespace verrane::platform::report
