#pragma once
// The screening window, "BC Analysis" > "Screen Counties...": the project as
// the screens hold it placed in every county of its state or of the country
// (app/screening.h, as `verrane-cli screen` does), with a progress window
// that can cancel, the map of the ratios (a click on a county picks its row),
// the sortable table of the rows, and Export CSV... and Export PNG....
#include <QDialog>
#include <QPainterPath>
#include <QWidget>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/screening.h"
#include "platform/dialogs.h"
#include "project/project_document.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class QVBoxLayout;

namespace verrane::gui {

// What the window asks for; it fits a 1024x768 screen with its frame.
inline constexpr QSize kScreeningWindowSize(1000, 700);

// The map image scaled to the widget, its shape kept; a left click on a
// county tells its FIPS code.
class ScreenMapView : public QWidget {
public:
    explicit ScreenMapView(QWidget* parent = nullptr);
    void SetMap(const screening::ScreenMap* map);
    // The county outlined over the map (the table's current row); "" for none.
    void SetSelected(const std::string& fips);
    const std::string& selected() const { return selected_; }
    // Where a pixel of the map image is drawn in the widget, and back.
    QPoint WidgetPointOf(QPoint imagePixel) const;
    QPoint ImagePixelOf(QPoint widgetPoint) const;
    std::function<void(const std::string& fips)> onCountyClicked;
    QSize sizeHint() const override { return {520, 400}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRectF ImageRect() const;
    const screening::ScreenMap* map_ = nullptr;
    std::string selected_;
    QPainterPath outline_;  // in the image's pixels
};

// The project a screening starts from.
struct ScreeningTemplate {
    project::ProjectDocument document;  // as the screens hold it
    std::string file;                   // its file, empty for a project never saved
    std::filesystem::path database;     // the reference database
};

class ScreeningWindow : public QDialog {
public:
    // Message boxes and file dialogs go through `dialogs`, as the screens' do.
    explicit ScreeningWindow(platform::Dialogs& dialogs, QWidget* parent = nullptr);
    ~ScreeningWindow() override;

    // A new project: the choices offered follow it; the rows of another
    // project are cleared.
    void SetTemplate(ScreeningTemplate tmpl);

    // The buttons. Run screens the chosen counties with a progress window; a
    // cancelled run leaves the table and map as they were.
    void Run();
    // Ask where (the project's folder first), add the extension when the
    // name has none, and write through the safe writer; a refusal is shown.
    void ExportCsv();
    void ExportPng();

    // The rows of the last completed run, in the counties' order.
    const std::vector<screening::ScreenRow>& rows() const { return rows_; }
    const screening::ScreenMap* map() const { return map_.get(); }
    // Selects the county's row in the table and shows it; false when it has none.
    bool SelectCounty(const std::string& fips);

private:
    void AddChoices(QVBoxLayout* layout);
    void ShowRows();
    void FitColumns();
    void UpdateChoices();
    std::string MapTitle() const;
    bool Export(const char* title, const char* filter, const char* extension,
                const std::function<void(const std::filesystem::path&)>& write);

    platform::Dialogs& dialogs_;
    ScreeningTemplate template_;
    std::vector<screening::ScreenRow> rows_;
    std::vector<screening::CountyRun> runs_;
    std::unique_ptr<screening::ScreenMap> map_;

    QLabel* name_;
    QLabel* file_;
    QRadioButton* scopeState_;
    QRadioButton* scopeAll_;
    QComboBox* region_;
    QSpinBox* radius_;
    QPushButton* run_;
    QLabel* summary_;
    QLabel* hurricaneNote_;
    ScreenMapView* mapView_;
    std::array<QLabel*, screening::kRatioClassCount> legend_{};
    QTableWidget* table_;
    QPushButton* exportCsv_;
    QPushButton* exportPng_;
};

}  // namespace verrane::gui
