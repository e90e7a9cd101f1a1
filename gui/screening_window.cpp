#include "gui/screening_window.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <exception>
#include <optional>

#include "gui/binding.h"
#include "gui/project_heading.h"
#include "gui/report_preview.h"
#include "platform/number.h"
#include "platform/output_file.h"
#include "platform/reference_data.h"
#include "project/project_file.h"
#include "screens/hazard/selection.h"
#include "screens/screen.h"

namespace verrane::gui {

namespace fs = std::filesystem;

namespace {

// The columns of the CSV (without the provenance, the same on every row),
// headed in words; the CSV's own name is each heading's tip.
struct Column {
    const char* heading;
    const char* csvName;
};
const Column kColumns[] = {
    {"FIPS", "FIPS"},
    {"State", "State"},
    {"County", "County"},
    {"Tornado\nBenefits\n($)", "TornadoBenefits"},
    {"Hurricane\nBenefits\n($)", "HurricaneBenefits"},
    {"Total\nBenefits\n($)", "TotalBenefits"},
    {"Annualized\nCost\n($)", "AnnualizedCost"},
    {"Net\nBenefits\n($)", "NetBenefits"},
    {"Benefit\nCost\nRatio", "BenefitCostRatio"},
    {"Sample\nCounties", "SampleCounties"},
    {"F3\nTornadoes", "F3Tornadoes"},
    {"Sufficient\nRecord", "Sufficient"},
    {"Hurricane\nOccupancy\nTaken as 0", "HurricaneOccupancyIgnored"},
};
constexpr int kColumnCount = static_cast<int>(std::size(kColumns));

constexpr int kStateColumn = 1, kCountyColumn = 2;
constexpr int kStateColumnWidth = 96;

enum RegionEntry { kOwnRule = 0, kRadius = 1, kEntireState = 2 };

// A cell that sorts by its number; cells without one (a county not
// analysed, a ratio that is undefined) come after every number.
class NumberItem : public QTableWidgetItem {
public:
    NumberItem(const QString& text, std::optional<double> value) : QTableWidgetItem(text) {
        if (value) setData(Qt::UserRole, *value);
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        const QVariant a = data(Qt::UserRole), b = other.data(Qt::UserRole);
        if (!b.isValid()) return a.isValid();
        if (!a.isValid()) return false;
        return a.toDouble() < b.toDouble();
    }
};

QString Sentences(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& l : lines) out << Q(l) + ".";
    return out.join("\n");
}

}  // namespace

ScreenMapView::ScreenMapView(QWidget* parent) : QWidget(parent) {
    setObjectName("ScreenMap");
    setMinimumSize(280, 220);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setCursor(Qt::PointingHandCursor);
}

void ScreenMapView::SetMap(const screening::ScreenMap* map) {
    map_ = map;
    selected_.clear();
    outline_ = QPainterPath();
    update();
}

void ScreenMapView::SetSelected(const std::string& fips) {
    selected_ = map_ ? fips : std::string();
    outline_ = map_ && !fips.empty() ? map_->CountyOutline(fips) : QPainterPath();
    update();
}

QRectF ScreenMapView::ImageRect() const {
    if (!map_ || map_->image().isNull()) return {};
    const QSizeF image = map_->image().size();
    const QSizeF fitted = image.scaled(QSizeF(size()), Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

QPoint ScreenMapView::WidgetPointOf(QPoint imagePixel) const {
    const QRectF r = ImageRect();
    if (r.isEmpty()) return {};
    const double scale = r.width() / map_->image().width();
    return QPointF(r.left() + (imagePixel.x() + 0.5) * scale, r.top() + (imagePixel.y() + 0.5) * scale).toPoint();
}

QPoint ScreenMapView::ImagePixelOf(QPoint widgetPoint) const {
    const QRectF r = ImageRect();
    if (r.isEmpty()) return {-1, -1};
    const double scale = map_->image().width() / r.width();
    return QPointF((widgetPoint.x() - r.left()) * scale, (widgetPoint.y() - r.top()) * scale).toPoint();
}

void ScreenMapView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QRectF r = ImageRect();
    if (r.isEmpty()) {
        p.setPen(QColor(110, 110, 110));
        p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, "Run the screening to see the map of the ratios.");
        return;
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(r, map_->image());
    if (outline_.isEmpty()) return;
    p.setRenderHint(QPainter::Antialiasing, true);
    p.translate(r.topLeft());
    p.scale(r.width() / map_->image().width(), r.height() / map_->image().height());
    QPen pen(QColor(20, 50, 170), 2.5);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline_);
}

void ScreenMapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !map_ || !onCountyClicked) return;
    const std::string fips = map_->FipsAt(ImagePixelOf(event->position().toPoint()));
    if (!fips.empty()) onCountyClicked(fips);
}

ScreeningWindow::ScreeningWindow(platform::Dialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {
    setObjectName("ScreeningWindow");
    setWindowTitle("Screen Counties");
    UseWindowFont(*this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(6);
    const ProjectHeading heading = AddProjectHeading(*layout, false);
    name_ = heading.name;
    file_ = heading.file;

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->setChildrenCollapsible(false);
    auto* upper = new QWidget();
    auto* upperLayout = new QHBoxLayout(upper);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    mapView_ = new ScreenMapView();
    mapView_->onCountyClicked = [this](const std::string& fips) { SelectCounty(fips); };
    // The map's classes at a size that reads in the window, with their counts.
    auto* mapColumn = new QVBoxLayout();
    mapColumn->addWidget(mapView_, 1);
    auto* legend = new QHBoxLayout();
    legend->setSpacing(4);
    for (size_t i = 0; i < screening::kRatioClassCount; ++i) {
        const platform::Color c = screening::RatioClassAt(i).color;
        auto* swatch = new QLabel();
        swatch->setFixedSize(16, 12);
        swatch->setStyleSheet(
            QString("background: rgb(%1, %2, %3); border: 1px solid rgb(90, 90, 90);").arg(c.r).arg(c.g).arg(c.b));
        legend_[i] = new QLabel();
        legend_[i]->setObjectName(QString("LegendClass%1").arg(i));
        legend->addWidget(swatch);
        legend->addWidget(legend_[i]);
        legend->addSpacing(8);
    }
    legend->addStretch();
    mapColumn->addLayout(legend);
    upperLayout->addLayout(mapColumn, 1);
    auto* side = new QWidget();
    side->setFixedWidth(370);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    AddChoices(sideLayout);
    upperLayout->addWidget(side);
    splitter->addWidget(upper);

    table_ = new QTableWidget(0, kColumnCount);
    table_->setObjectName("ScreenTable");
    for (int c = 0; c < kColumnCount; ++c) {
        auto* head = new QTableWidgetItem(kColumns[c].heading);
        head->setToolTip(kColumns[c].csvName);
        table_->setHorizontalHeaderItem(c, head);
    }
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setAlternatingRowColors(true);
    table_->verticalHeader()->setVisible(false);
    table_->verticalHeader()->setDefaultSectionSize(20);
    table_->horizontalHeader()->setSortIndicatorShown(true);
    // The county's name takes the room the numbers leave, shortened with an
    // ellipsis when it must be (its tip tells it whole).
    table_->horizontalHeader()->setSectionResizeMode(kCountyColumn, QHeaderView::Stretch);
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    // The current row's county is outlined on the map.
    connect(table_, &QTableWidget::currentCellChanged, this, [this](int row) {
        const QTableWidgetItem* item = row >= 0 ? table_->item(row, 0) : nullptr;
        mapView_->SetSelected(item ? S(item->text()) : std::string());
    });
    splitter->addWidget(table_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({360, 290});
    layout->addWidget(splitter, 1);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    exportCsv_ = AddRowButton(*buttons, "ExportCsv", "Export CSV...", [this] { ExportCsv(); });
    exportPng_ = AddRowButton(*buttons, "ExportPng", "Export PNG...", [this] { ExportPng(); });
    auto* close = new QPushButton("Close");
    close->setObjectName("Close");
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    ShowRows();
    resize(FitToScreen(kScreeningWindowSize, parent, 24));
}

ScreeningWindow::~ScreeningWindow() = default;

void ScreeningWindow::AddChoices(QVBoxLayout* layout) {
    auto* scope = new QGroupBox("Counties to Screen");
    auto* scopeLayout = new QVBoxLayout(scope);
    scopeState_ = new QRadioButton();
    scopeState_->setObjectName("ScopeState");
    scopeAll_ = new QRadioButton("Every county of the country");
    scopeAll_->setObjectName("ScopeAll");
    scopeLayout->addWidget(scopeState_);
    scopeLayout->addWidget(scopeAll_);
    layout->addWidget(scope);

    auto* regionBox = new QGroupBox("Region of Each County");
    auto* regionLayout = new QVBoxLayout(regionBox);
    region_ = new QComboBox();
    region_->setObjectName("RegionRule");
    region_->addItems({"The project's own rule", "Counties within a radius", "The entire state"});
    regionLayout->addWidget(region_);
    auto* radiusRow = new QHBoxLayout();
    auto* radiusLabel = new QLabel("Radius");
    radius_ = new QSpinBox();
    radius_->setObjectName("RadiusMiles");
    radius_->setRange(0, 250);
    radius_->setValue(50);
    radius_->setSuffix(" miles");
    radiusLabel->setBuddy(radius_);
    radiusRow->addWidget(radiusLabel);
    radiusRow->addWidget(radius_);
    radiusRow->addStretch();
    regionLayout->addLayout(radiusRow);
    layout->addWidget(regionBox);
    connect(region_, &QComboBox::currentIndexChanged, this, [this] { UpdateChoices(); });

    run_ = new QPushButton("Run");
    run_->setObjectName("Run");
    run_->setAutoDefault(false);
    run_->setMinimumWidth(110);
    connect(run_, &QPushButton::clicked, this, [this] { Run(); });
    auto* runRow = new QHBoxLayout();
    runRow->addWidget(run_);
    runRow->addStretch();
    layout->addLayout(runRow);

    summary_ = new QLabel();
    summary_->setObjectName("Summary");
    summary_->setWordWrap(true);
    layout->addWidget(summary_);
    // Not hurricane-prone states, each in the command line's words.
    hurricaneNote_ = new QLabel();
    hurricaneNote_->setObjectName("HurricaneNote");
    hurricaneNote_->setWordWrap(true);
    hurricaneNote_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    hurricaneNote_->setStyleSheet("color: rgb(70, 70, 70);");
    auto* noteArea = new QScrollArea();
    noteArea->setObjectName("HurricaneNoteArea");
    noteArea->setWidget(hurricaneNote_);
    noteArea->setWidgetResizable(true);
    noteArea->setFrameShape(QFrame::NoFrame);
    noteArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(noteArea, 1);
}

void ScreeningWindow::SetTemplate(ScreeningTemplate tmpl) {
    const bool same = tmpl.file == template_.file && tmpl.database == template_.database &&
                      project::FormatProjectFile(tmpl.document) == project::FormatProjectFile(template_.document);
    template_ = std::move(tmpl);
    const std::string& building = template_.document.buildingName;
    name_->setText(building.empty() ? QString("Building name not entered") : Q(building));
    name_->setToolTip(Q(building));
    file_->setText(template_.file.empty() ? QString("Project not saved") : "Project file: " + Q(template_.file));
    file_->setToolTip(Q(template_.file));
    const std::string& state = template_.document.stateName;
    scopeState_->setText(state.empty() ? QString("The counties of the project's state (none chosen)")
                                       : "The counties of " + Q(state));
    scopeState_->setEnabled(!state.empty());
    if (!same) {
        (state.empty() ? scopeAll_ : scopeState_)->setChecked(true);
        region_->setCurrentIndex(kOwnRule);
        rows_.clear();
        runs_.clear();
        mapView_->SetMap(nullptr);
        map_.reset();
        summary_->clear();
        ShowRows();
    }
    region_->setItemText(kOwnRule, "The project's own: " + Q(screening::RegionText({}, template_.document)));
    UpdateChoices();
}

void ScreeningWindow::UpdateChoices() {
    radius_->setEnabled(region_->currentIndex() == kRadius);
    exportCsv_->setEnabled(!rows_.empty());
    exportPng_->setEnabled(map_ != nullptr);
}

std::string ScreeningWindow::MapTitle() const {
    if (!template_.document.buildingName.empty()) return template_.document.buildingName;
    if (!template_.file.empty()) return fs::path(template_.file).filename().string();
    return "Untitled project";
}

void ScreeningWindow::Run() {
    const bool all = scopeAll_->isChecked() || template_.document.stateName.empty();
    const std::string state = template_.document.stateName;
    screening::RegionChoice region;
    if (region_->currentIndex() == kEntireState) {
        region.entireState = true;
    } else if (region_->currentIndex() == kRadius) {
        // As the hazard screen's box takes it.
        const hazard::RadiusEntry entry = hazard::ReadRadius(std::to_string(radius_->value()));
        if (!entry.message.empty() || !entry.miles) {
            dialogs_.MsgBox(entry.message.empty() ? "The radius was refused." : entry.message, platform::Buttons::OK,
                            platform::Icon::Exclamation, "Screen Counties");
            return;
        }
        region.miles = entry.miles;
    }

    std::vector<screening::ScreenRow> rows;
    std::vector<screening::CountyRun> runs;
    std::vector<screening::Target> targets;
    try {
        const platform::ReferenceData reference = platform::ReferenceData::InMemory(template_.database);
        {
            BusyPointer busy(dialogs_);
            reference.ReadAllOnce();
            targets = screening::Targets(reference, all ? reference.StateNames() : std::vector<std::string>{state});
        }
        QProgressDialog progress(all ? "Screening every county..." : Q("Screening the counties of " + state + "..."),
                                 "Cancel", 0, static_cast<int>(targets.size()), this);
        progress.setObjectName("ScreeningProgress");
        progress.setWindowTitle("Screen Counties");
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(0);
        progress.setAutoClose(false);
        progress.setAutoReset(false);
        progress.setValue(0);
        runs = screening::ScreenAll(template_.document, region, targets, reference, rows,
                                    [&progress](size_t done, size_t) {
                                        progress.setValue(static_cast<int>(done));
                                        QApplication::processEvents();
                                        return !progress.wasCanceled();
                                    });
    } catch (const std::exception& e) {
        dialogs_.MsgBox(std::string("The counties could not be screened. ") + e.what(), platform::Buttons::OK,
                        platform::Icon::Exclamation, "Screen Counties");
        return;
    }
    if (rows.size() != targets.size()) {
        summary_->setText(rows_.empty() ? "The screening was cancelled."
                                        : "The screening was cancelled; the table shows the last one finished.");
        return;
    }

    rows_ = std::move(rows);
    runs_ = std::move(runs);
    std::string error;
    const std::string regionText = screening::RegionText(region, template_.document);
    {
        BusyPointer busy(dialogs_);
        map_ = screening::ScreenMap::Draw(rows_, MapTitle(), screening::MapSubtitle(state, all, regionText), error);
    }
    mapView_->SetMap(map_.get());

    const size_t analysed =
        std::count_if(rows_.begin(), rows_.end(), [](const screening::ScreenRow& r) { return r.figures.has_value(); });
    const size_t atLeastOne = std::count_if(rows_.begin(), rows_.end(), [](const screening::ScreenRow& r) {
        return r.figures && r.figures->benefitCostRatio && *r.figures->benefitCostRatio >= 1;
    });
    std::string summary = (all ? "Every county" : "The counties of " + state) + "; region of each: " + regionText +
                          ". " + std::to_string(rows_.size()) + " screened";
    if (analysed != rows_.size())
        summary += ", " + std::to_string(rows_.size() - analysed) + " not analysed (their rows are empty)";
    summary += "; the benefit-cost ratio is 1 or more in " + std::to_string(atLeastOne) + ".";
    if (!map_) summary += " The map could not be drawn: " + error;
    summary_->setText(Q(summary));
    ShowRows();
}

void ScreeningWindow::ShowRows() {
    table_->setSortingEnabled(false);
    table_->clearContents();
    table_->setRowCount(static_cast<int>(rows_.size()));
    for (size_t i = 0; i < rows_.size(); ++i) {
        const screening::ScreenRow& row = rows_[i];
        const int r = static_cast<int>(i);
        const QString why = i < runs_.size() && runs_[i].outcome != screening::Outcome::Analysed
                                ? Q("Not analysed: " + runs_[i].why)
                                : QString();
        auto put = [&](int column, QTableWidgetItem* item) {
            if (!why.isEmpty()) item->setToolTip(why);
            table_->setItem(r, column, item);
        };
        put(0, new QTableWidgetItem(Q(row.fips)));
        for (const auto& [column, text] :
             {std::pair{kStateColumn, &row.state}, std::pair{kCountyColumn, &row.county}}) {
            auto* item = new QTableWidgetItem(Q(*text));
            item->setToolTip(why.isEmpty() ? Q(*text) : why);
            table_->setItem(r, column, item);
        }
        const screening::CountyFigures* f = row.figures ? &*row.figures : nullptr;
        auto money = [&](int column, double screening::CountyFigures::*member) {
            put(column, f ? new NumberItem(Q(platform::MoneyText(f->*member)), f->*member)
                          : new NumberItem(QString(), std::nullopt));
        };
        money(3, &screening::CountyFigures::tornadoBenefits);
        money(4, &screening::CountyFigures::hurricaneBenefits);
        money(5, &screening::CountyFigures::totalBenefits);
        money(6, &screening::CountyFigures::annualizedCost);
        money(7, &screening::CountyFigures::netBenefits);
        if (f) {
            auto* ratio = new NumberItem(Q(platform::RatioText(f->benefitCostRatio)), f->benefitCostRatio);
            if (!f->benefitCostRatio || *f->benefitCostRatio < 1) ratio->setForeground(QColor(200, 0, 0));
            put(8, ratio);
            put(9, new NumberItem(QString::number(row.sampleCounties), static_cast<double>(row.sampleCounties)));
            put(10, new NumberItem(Q(platform::GeneralText(f->f3Tornadoes)), f->f3Tornadoes));
            put(11, new NumberItem(f->sufficient ? "Yes" : "No", f->sufficient ? 1.0 : 0.0));
            put(12, new NumberItem(row.hurricaneOccupancyIgnored ? "Yes" : "No",
                                   row.hurricaneOccupancyIgnored ? 1.0 : 0.0));
        } else {
            for (int c = 8; c < kColumnCount; ++c) put(c, new NumberItem(QString(), std::nullopt));
        }
    }
    // The counties' own order until a heading is clicked.
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    FitColumns();

    std::array<int, screening::kRatioClassCount> counts{};
    for (const screening::ScreenRow& row : rows_) ++counts[screening::RatioClassOf(row)];
    for (size_t i = 0; i < screening::kRatioClassCount; ++i)
        legend_[i]->setText(QString("%1 (%2)").arg(screening::RatioClassAt(i).label).arg(counts[i]));

    const std::vector<std::string> ignored = screening::StatesWithHurricaneOccupancyIgnored(rows_);
    std::vector<std::string> lines;
    lines.reserve(ignored.size());
    for (const std::string& s : ignored) lines.push_back(screening::HurricaneOccupancyIgnoredText(s));
    hurricaneNote_->setText(Sentences(lines));
    hurricaneNote_->setVisible(!lines.empty());
    UpdateChoices();
}

// Each column as wide as its widest text: the heading's longest line or a
// cell. (The header's own measure keeps room beside the text for the sort
// arrow, which this style draws above it, and the table would not fit.)
void ScreeningWindow::FitColumns() {
    const QFontMetrics cells = table_->fontMetrics();
    const QFontMetrics heads = table_->horizontalHeader()->fontMetrics();
    for (int c = 0; c < kColumnCount; ++c) {
        int width = 0;
        for (const QString& line : QString(kColumns[c].heading).split('\n'))
            width = std::max(width, heads.horizontalAdvance(line));
        for (int r = 0; r < table_->rowCount(); ++r)
            if (const QTableWidgetItem* item = table_->item(r, c))
                width = std::max(width, cells.horizontalAdvance(item->text()));
        if (c == kStateColumn) width = std::min(width, kStateColumnWidth);
        if (c != kCountyColumn) table_->setColumnWidth(c, width + 14);
    }
}

bool ScreeningWindow::SelectCounty(const std::string& fips) {
    for (int r = 0; r < table_->rowCount(); ++r) {
        QTableWidgetItem* item = table_->item(r, 0);
        if (!item || item->text() != Q(fips)) continue;
        table_->selectRow(r);
        table_->scrollToItem(item, QAbstractItemView::PositionAtCenter);
        return true;
    }
    return false;
}

bool ScreeningWindow::Export(const char* title, const char* filter, const char* extension,
                             const std::function<void(const fs::path&)>& write) {
    platform::FileDialogRequest request;
    request.save = true;
    request.filter = filter;
    request.flags = 2 | 4;  // ask before replacing a file, hide read-only
    if (!template_.file.empty()) request.folder = fs::path(template_.file).parent_path().string();
    const auto chosen = dialogs_.FileDialog(request);
    if (!chosen || chosen->empty()) return false;
    const fs::path name = platform::WithExtension(*chosen, extension);
    std::error_code ec;
    // The dialog asked about the name as typed, not about this one.
    if (name != fs::path(*chosen) && fs::exists(name, ec) &&
        dialogs_.MsgBox(name.filename().string() + " already exists.\nDo you want to replace it?",
                        platform::Buttons::YesNo, platform::Icon::Exclamation, title) != platform::Answer::Yes)
        return false;
    try {
        BusyPointer busy(dialogs_);
        write(name);
    } catch (const std::exception& e) {
        dialogs_.MsgBox(e.what(), platform::Buttons::OK, platform::Icon::Exclamation, title);
        return false;
    }
    return true;
}

void ScreeningWindow::ExportCsv() {
    if (rows_.empty()) return;
    std::vector<fs::path> inputs;
    if (!template_.file.empty()) inputs.emplace_back(template_.file);
    Export("Export CSV", "CSV File (*.csv)|*.csv", ".csv", [this, &inputs](const fs::path& file) {
        platform::WriteFileAtomically(file, screening::ScreenCsv(rows_), inputs);
    });
}

void ScreeningWindow::ExportPng() {
    if (!map_) return;
    std::vector<fs::path> inputs;
    if (!template_.file.empty()) inputs.emplace_back(template_.file);
    Export("Export PNG", "PNG Image (*.png)|*.png", ".png", [this, &inputs](const fs::path& file) {
        const QImage& image = map_->image();
        platform::WriteFileAtomically(
            file, [&image](QIODevice& out) { return image.save(&out, "PNG"); }, inputs);
    });
}

}  // namespace verrane::gui
