#include "gui/sensitivity_window.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "gui/binding.h"
#include "gui/project_heading.h"
#include "gui/report_preview.h"
#include "platform/number.h"
#include "reports/sensitivity_report.h"
#include "screens/screen.h"

namespace verrane::gui {

namespace {

using platform::MoneyText;

bool Red(const std::optional<double>& ratio) { return !ratio || *ratio < 1; }

QLabel* Value(QGridLayout* grid, int row, int column) {
    auto* l = new QLabel();
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(l, row, column);
    return l;
}

void SetColoured(QLabel* label, const std::string& text, bool red) {
    label->setText(Q(text));
    label->setStyleSheet(red ? "color: rgb(255, 0, 0);" : "");
}

const QSizeF kLetterInches(8.5, 11);

bool EndsWithPdf(const std::string& name) {
    if (name.size() < 4) return false;
    std::string end = name.substr(name.size() - 4);
    std::transform(end.begin(), end.end(), end.begin(), [](unsigned char c) { return std::tolower(c); });
    return end == ".pdf";
}

}  // namespace

SwingChartView::SwingChartView(QWidget* parent) : QWidget(parent) {
    setObjectName("SwingChart");
    setAutoFillBackground(false);
}

void SwingChartView::SetResult(const model::SensitivityResult* result) {
    result_ = result;
    updateGeometry();
    update();
}

QSize SwingChartView::sizeHint() const {
    const double point = logicalDpiY() / 72.0;
    const double height = result_ ? reports::SwingChartHeight(*result_) : 60;
    return QSize(640, static_cast<int>(height * point) + 16);
}

QSize SwingChartView::minimumSizeHint() const { return QSize(420, sizeHint().height() * 3 / 4); }

void SwingChartView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!result_) return;
    reports::PaintSwingChart(p, QRectF(rect()).adjusted(10, 8, -10, -6), *result_, logicalDpiY() / 72.0);
}

SensitivityWindow::SensitivityWindow(platform::Dialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {
    setObjectName("SensitivityWindow");
    setWindowTitle("Sensitivity of the Benefit Cost Ratio");
    UseWindowFont(*this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(8);
    AddHeading(layout);
    AddFigures(layout);
    AddButtons(layout);
    resize(FitToScreen(kSensitivityWindowSize, parent, 40));
}

void SensitivityWindow::AddHeading(QVBoxLayout* layout) {
    const ProjectHeading heading = AddProjectHeading(*layout, true);
    name_ = heading.name;
    file_ = heading.file;
}

// The project's own figures, the chart, the breakeven values and the interval.
void SensitivityWindow::AddFigures(QVBoxLayout* layout) {
    // The project's own figures, two to a row.
    auto* baseBox = new QGroupBox("Results as Entered");
    auto* baseGrid = new QGridLayout(baseBox);
    baseGrid->setHorizontalSpacing(16);
    const char* baseLabels[] = {"Total Expected Annual Benefits ($)", "Annualized Project Costs ($)",
                                "Expected Annual Net Benefits ($)", "Benefit Cost Ratio"};
    const char* baseNames[] = {"TotalBenefits", "AnnualizedCost", "NetBenefits", "BenefitCostRatio"};
    for (int i = 0; i < 4; ++i) {
        const int row = i % 2, column = 2 * (i / 2);
        baseGrid->addWidget(new QLabel(baseLabels[i]), row, column);
        base_[i] = Value(baseGrid, row, column + 1);
        base_[i]->setObjectName(baseNames[i]);
    }
    baseGrid->setColumnStretch(1, 1);
    baseGrid->setColumnStretch(3, 1);
    layout->addWidget(baseBox);

    auto* chartBox = new QGroupBox("Benefit Cost Ratio by Input");
    auto* chartLayout = new QVBoxLayout(chartBox);
    chart_ = new SwingChartView();
    chartLayout->addWidget(chart_);
    // In words: which input moves the ratio most, and what was left out.
    swingSentence_ = new QLabel();
    swingSentence_->setObjectName("SwingSentence");
    swingSentence_->setWordWrap(true);
    chartLayout->addWidget(swingSentence_);
    notes_ = new QLabel();
    notes_->setObjectName("SensitivityNotes");
    notes_->setWordWrap(true);
    notes_->setStyleSheet("color: rgb(70, 70, 70);");
    chartLayout->addWidget(notes_);
    layout->addWidget(chartBox, 1);

    auto* lower = new QHBoxLayout();
    auto* breakevenBox = new QGroupBox("Breakeven Values");
    auto* breakevenGrid = new QGridLayout(breakevenBox);
    breakevenGrid->addWidget(new QLabel("Project cost at which the ratio is 1"), 0, 0);
    breakevenCost_ = Value(breakevenGrid, 0, 1);
    breakevenCost_->setObjectName("BreakevenProjectCost");
    breakevenGrid->addWidget(new QLabel("Discount rate at which the ratio is 1"), 1, 0);
    breakevenRate_ = Value(breakevenGrid, 1, 1);
    breakevenRate_->setObjectName("BreakevenDiscountRate");
    breakevenGrid->setRowStretch(2, 1);
    lower->addWidget(breakevenBox, 1);

    auto* intervalBox = new QGroupBox("90 % Interval from the Tornado Record");
    auto* intervalGrid = new QGridLayout(intervalBox);
    const char* heads[] = {"5th", "50th", "95th percentile"};
    for (int c = 0; c < 3; ++c) intervalGrid->addWidget(new QLabel(heads[c]), 0, c + 1, Qt::AlignRight);
    intervalGrid->addWidget(new QLabel("Annual tornado benefits ($)"), 1, 0);
    intervalGrid->addWidget(new QLabel("Benefit Cost Ratio"), 2, 0);
    for (int row = 0; row < 2; ++row)
        for (int c = 0; c < 3; ++c) percentiles_[row][c] = Value(intervalGrid, row + 1, c + 1);
    lower->addWidget(intervalBox, 1);
    layout->addLayout(lower);
    sentence_ = new QLabel();
    sentence_->setObjectName("IntervalSentence");
    sentence_->setWordWrap(true);
    sentence_->setStyleSheet("color: rgb(70, 70, 70);");
    layout->addWidget(sentence_);
}

void SensitivityWindow::AddButtons(QVBoxLayout* layout) {
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    AddRowButton(*buttons, "PrintPreview", "Print Preview", [this] { PrintPreview(); });
    AddRowButton(*buttons, "Print", "Print", [this] { Print(); });
    AddRowButton(*buttons, "ExportPdf", "Export PDF", [this] { ExportPdf(); });
    auto* close = new QPushButton("Close");
    close->setObjectName("Close");
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(close);
    layout->addLayout(buttons);
}

void SensitivityWindow::SetResult(model::SensitivityResult result) {
    result_ = std::move(result);
    Refresh();
}

void SensitivityWindow::Refresh() {
    const auto& r = result_;
    name_->setText(r.buildingName.empty() ? QString("Building name not entered") : Q(r.buildingName));
    name_->setToolTip(Q(r.buildingName));
    file_->setText(r.file.empty() ? QString("Project not saved") : "Project file: " + Q(r.file));
    file_->setToolTip(Q(r.file));
    const auto& b = r.base;
    base_[0]->setText(Q(MoneyText(b.totalBenefits)));
    base_[1]->setText(Q(MoneyText(b.annualizedCost)));
    SetColoured(base_[2], MoneyText(b.netBenefits), b.netBenefits < 0);
    SetColoured(base_[3], platform::RatioText(b.benefitCostRatio), Red(b.benefitCostRatio));
    chart_->SetResult(&result_);
    swingSentence_->setText(Q(reports::SwingSentence(r)));
    swingSentence_->setVisible(!swingSentence_->text().isEmpty());
    notes_->setText(Q(reports::NotesText(r)));
    notes_->setVisible(!r.notes.empty());
    breakevenCost_->setText(Q(reports::BreakevenCostText(r)));
    breakevenRate_->setText(Q(reports::BreakevenRateText(r)));
    const auto& u = r.uncertainty;
    for (int c = 0; c < 3; ++c) {
        percentiles_[0][c]->setText(Q(reports::PercentileText(r, u.tornadoBenefits[c], false)));
        SetColoured(percentiles_[1][c], reports::PercentileText(r, u.benefitCostRatio[c], true),
                    u.draws > 0 && (!u.ratioDefined || u.benefitCostRatio[c] < 1));
    }
    sentence_->setText(Q(reports::IntervalSentence(r)));
}

void SensitivityWindow::Failed(const std::string& title, const std::string& error) {
    dialogs_.MsgBox(error.empty() ? "The sensitivity document could not be produced." : error, platform::Buttons::OK,
                    platform::Icon::Exclamation, title);
}

// The document on the printer it is handed: the preview's, or the one the
// printer dialog set up.
bool SensitivityWindow::PrintOn(QPrinter& printer, std::string* error) {
    std::string e;
    const bool printed = reports::PrintSensitivity(result_, printer, e);
    if (error) *error = e;
    return printed;
}

void SensitivityWindow::PrintPreview() {
    std::string error;
    const auto print = [this](QPrinter& p, std::string* e) { return PrintOn(p, e); };
    if (!PreviewPages(print, kLetterInches, this, &error)) Failed("Print Preview", error);
}

void SensitivityWindow::Print() {
    std::string error;
    const auto print = [this](QPrinter& p, std::string* e) {
        BusyPointer busy(dialogs_);
        return PrintOn(p, e);
    };
    // A cancelled printer dialog leaves no message.
    if (!PrintPagesAfterDialog(print, kLetterInches, this, &error) && !error.empty()) Failed("Print", error);
}

void SensitivityWindow::ExportPdf() {
    platform::FileDialogRequest request;
    request.save = true;
    request.filter = "PDF Document (*.pdf)|*.pdf";
    request.flags = 2 | 4;  // ask before replacing a file, hide read-only
    const auto chosen = dialogs_.FileDialog(request);
    if (!chosen || chosen->empty()) return;
    std::string name = *chosen;
    if (!EndsWithPdf(name)) {
        name += ".pdf";
        // The dialog asked about the name as typed, not about this one.
        std::error_code ec;
        if (std::filesystem::exists(name, ec) &&
            dialogs_.MsgBox(
                std::filesystem::path(name).filename().string() + " already exists.\nDo you want to replace it?",
                platform::Buttons::YesNo, platform::Icon::Exclamation, "Export PDF") != platform::Answer::Yes)
            return;
    }
    std::string error;
    bool written;
    {
        BusyPointer busy(dialogs_);
        written = reports::WriteSensitivityPdf(result_, name, error);
    }
    if (!written) Failed("Export PDF", error);
}

}  // namespace verrane::gui
