#pragma once
// The report engine: a report is five sections of items placed in twips.
// Layout runs the sections' Format events, wraps the texts in their boxes,
// breaks pages and numbers them, and yields a page model in absolute twips
// that tests can read and that renders onto any paged paint device (a PDF
// file, a printer, the preview window).

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <QImage>
#include <QRgb>

class QPainter;
class QPrinter;
class QRectF;

namespace verrane::platform::report {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPoint = 20;
inline constexpr int kLetterWidth = 12240;   // 8.5 in
inline constexpr int kLetterHeight = 15840;  // 11 in

enum class SectionKind { ReportHeader, PageHeader, Detail, PageFooter, ReportFooter };

enum class ItemKind {
    Label,       // fixed text
    Field,       // text written by the Format events
    Line,        // from (left, top) to (left + width, top + height)
    Box,         // rectangle outline
    Image,       // picture scaled into its box, aspect kept
    PageBreak,   // the detail continues on a new page from its top
    PageNumber,  // prints the current page number, or its text with "{page}" and "{pages}" filled in
    PageCount,   // prints the number of pages of the report
    Drawing      // painted by its `draw` function into its box
};

enum class Align { Left, Center, Right };
enum class VAlign { Top, Middle };

struct Font {
    std::string face = "Arial";
    double pointSize = 10;
    bool bold = false;
    bool italic = false;
};

struct Item {
    ItemKind kind = ItemKind::Label;
    std::string name;
    std::string text;
    int left = 0, top = 0, width = 0, height = 0;  // twips within the section
    Font font;
    Align align = Align::Left;
    VAlign valign = VAlign::Top;  // Middle centres short text in a taller box
    bool wrap = true;
    // A text too long for the room it has is printed smaller, down to
    // minPointSize.
    bool shrinkToFit = false;
    double minPointSize = 7;
    // The box grows downward for a long text; in the detail, what lies
    // below it moves down with it. A box that grows prints its text at full
    // size as long as there is room and shrinks only when there is none.
    bool canGrow = true;
    // Never prints past its room (its box, or when it can grow, its box and
    // what its page has left below the detail): a text still too long at the
    // smallest size ends with "..." where it is cut, after its last whole
    // word.
    bool ellipsis = false;
    // Used instead of the plain "..." cut when set: given how many of the
    // text's words fit, returns a shorter text that says what it left out
    // (the engine tries fewer words until that text fits).
    std::function<std::string(size_t wordsShown)> shorten;
    bool visible = true;
    int penWidth = 15;  // twips, for lines and boxes
    // Keeps its distance to the section's bottom when texts make the section
    // grow (a rule under a page header whose text wraps).
    bool anchorBottom = false;
    QImage image;
    // The colour of a text, line or box (opaque black unless set).
    QRgb color = 0xff000000;
    // A Drawing paints itself: the painter works in twips of the page, the
    // rectangle is the item's box as placed.
    std::function<void(QPainter&, const QRectF&)> draw;
};

struct Section {
    SectionKind kind = SectionKind::Detail;
    std::string name;
    int height = 0;  // twips
    bool visible = true;
    std::vector<Item> items;
    // Runs before the section is laid out (for page header and footer: once
    // per page, with the report's PageNumber() set).
    std::function<void()> format;

    Item& Add(Item item);
    Item* Find(std::string_view itemName);
};

// One item as placed on a page, in absolute twips from the paper's corner.
struct PlacedItem {
    ItemKind kind = ItemKind::Label;
    SectionKind section = SectionKind::Detail;
    std::string name;
    int left = 0, top = 0, width = 0, height = 0;  // height includes growth
    Font font;
    Align align = Align::Left;
    std::vector<std::string> lines;  // wrapped text, one entry per printed line
    int lineHeight = 0;
    int textOffset = 0;  // first line's distance below top
    int penWidth = 15;
    QImage image;
    QRgb color = 0xff000000;
    std::function<void(QPainter&, const QRectF&)> draw;
    std::string pattern;  // a page number's text before the numbers are known

    int bottom() const { return top + height; }
    std::string Text() const;  // lines joined with '\n'
};

struct Page {
    std::vector<PlacedItem> items;

    // The printed text of the page, items ordered top to bottom then left to
    // right, each wrapped line on its own line.
    std::string Text() const;
    const PlacedItem* Find(std::string_view itemName) const;
};

struct Margins {
    int left = 1440, top = 1440, right = 1440, bottom = 1440;
};

struct PageModel {
    int pageWidth = kLetterWidth;
    int pageHeight = kLetterHeight;
    Margins margins;
    std::vector<Page> pages;
};

// Makes sure a graphical application object exists, starting a headless one
// when none runs (the command line). False with a message when only a
// console application object runs.
bool EnsureGuiApplication(std::string* error);

// The font face actually used: Arial when installed, otherwise a face with
// the same metrics.
std::string ResolveFace(const std::string& face);

// Splits a text into the lines it prints in a box of the given width. Words
// wrap by width and only at blanks: a word wider than the box stands alone
// on its line, whole. Single blanks and short runs keep their width; a run
// of ten or more blanks, and a line feed, start a new line.
std::vector<std::string> WrapText(const std::string& text, const Font& font, int widthTwips, bool wrap = true);

inline constexpr std::string_view kEllipsis = "...";
inline constexpr int kUnlimited = 1 << 30;

// A text laid out in its box: the size it prints at, its lines, and whether
// it was cut (ends with "..." or was shortened).
struct FittedText {
    Font font;
    std::vector<std::string> lines;
    bool cut = false;
    int Height() const;
};

// Lays an item's text out in at most `room` twips of height (its own height
// when it cannot grow): at its own size when that fits, else smaller down to
// its floor when it may shrink, else cut when it takes an ellipsis. A text
// that is neither shrunk nor cut simply grows past the room.
FittedText FitText(const Item& item, int room = kUnlimited);
int LineHeight(const Font& font);
double TextWidth(const std::string& text, const Font& font);

class Report {
public:
    Report();
    virtual ~Report() = default;
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    Section& section(SectionKind kind) { return sections_[static_cast<size_t>(kind)]; }
    Section& ReportHeader() { return section(SectionKind::ReportHeader); }
    Section& PageHeader() { return section(SectionKind::PageHeader); }
    Section& Detail() { return section(SectionKind::Detail); }
    Section& PageFooter() { return section(SectionKind::PageFooter); }
    Section& ReportFooter() { return section(SectionKind::ReportFooter); }

    // An item of any section by its name; nullptr when there is none.
    Item* Control(std::string_view name);
    // Writes the text of a named label or field. A name the report does not
    // have is a fault in the report's code, not in the user's data: it throws
    // std::logic_error, so the tests that lay out every report catch it.
    void SetText(std::string_view name, std::string text);

    Margins margins;
    int pageWidth = kLetterWidth;
    int pageHeight = kLetterHeight;
    std::function<void()> reportStart;
    // What the report is called in its PDF's title and in the messages of a
    // failed export or print ("The report could not be written.").
    std::string title;
    std::string what = "report";

    // What went wrong while the report was laid out (a picture that could
    // not be read, say); the report still prints. Emptied by each Layout.
    const std::vector<std::string>& Messages() const { return messages_; }
    void AddMessage(std::string message) { messages_.push_back(std::move(message)); }

    // The page being laid out, from 1; valid inside the Format events.
    int PageNumber() const { return pageNumber_; }

    // Runs the events and lays the report out.
    PageModel Layout();
    // The model of the last Layout (empty before the first).
    const PageModel& LastLayout() const { return model_; }

    // Paints one page of a model with the painter in twips.
    static void RenderPage(QPainter& painter, const PageModel& model, int pageIndex);

    // Lays out and writes a PDF; on failure returns false with a message.
    bool ExportPdf(const std::filesystem::path& file, std::string* error);
    // Lays out and prints on a printer that is set up already (after its
    // dialog, or the preview's own printer).
    bool Print(QPrinter& printer, std::string* error);

private:
    std::array<Section, 5> sections_;
    int pageNumber_ = 0;
    PageModel model_;
    std::vector<std::string> messages_;
};

}  // namespace verrane::platform::report
