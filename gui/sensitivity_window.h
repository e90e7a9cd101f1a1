#pragma once
// The sensitivity window, over the results screen: the swing chart of the
// benefit-cost ratio, the breakeven values and the 90 % interval, with Print
// Preview, Print and Export PDF of the sensitivity document.
#include <QDialog>
#include <QWidget>

#include "model/sensitivity.h"
#include "platform/dialogs.h"

class QLabel;
class QPrinter;

class QVBoxLayout;

namespace verrane::gui {

// What the window asks for; it fits a 1024x768 screen with its frame.
inline constexpr QSize kSensitivityWindowSize(900, 680);

// The chart alone, as the document draws it, sized to the window.
class SwingChartView : public QWidget {
public:
    explicit SwingChartView(QWidget* parent = nullptr);
    void SetResult(const model::SensitivityResult* result);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const model::SensitivityResult* result_ = nullptr;
};

class SensitivityWindow : public QDialog {
public:
    // Message boxes and the file dialog go through `dialogs`, as the screens' do.
    explicit SensitivityWindow(platform::Dialogs& dialogs, QWidget* parent = nullptr);

    void SetResult(model::SensitivityResult result);
    const model::SensitivityResult& result() const { return result_; }

    // The three buttons.
    void PrintPreview();
    void Print();
    // Asks where, adds ".pdf" when the name has no such ending, writes the
    // document; a cancelled dialog does nothing, a failed write says why.
    void ExportPdf();

private:
    void AddHeading(QVBoxLayout* layout);
    void AddFigures(QVBoxLayout* layout);
    void AddButtons(QVBoxLayout* layout);
    void Refresh();
    bool PrintOn(QPrinter& printer, std::string* error);
    void Failed(const std::string& title, const std::string& error);

    platform::Dialogs& dialogs_;
    model::SensitivityResult result_;
    QLabel* name_;
    QLabel* file_;
    QLabel* base_[4];
    SwingChartView* chart_;
    QLabel* swingSentence_;
    QLabel* notes_;
    QLabel* breakevenCost_;
    QLabel* breakevenRate_;
    QLabel* percentiles_[2][3];
    QLabel* sentence_;
};

}  // namespace verrane::gui
