#pragma once
// Screening: one template project placed in every county of a state or of
// the country and analysed there, as a user would move it. For each county a
// copy of the template's document is moved there as choosing the state and
// then the county on the Project Information screen moves it (which presets
// the time zone and daylight saving), the region re-selected by the
// template's method and radius as the Tornado Hazard Information screen does
// (or by the method asked for), and that document analysed as "Benefit Cost
// Analysis" does, against reference tables read once for the run.
//
// `verrane-cli screen` and the screening window both run it through here.
#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QTransform>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/sensitivity.h"
#include "platform/dialogs.h"
#include "platform/map.h"
#include "platform/reference_data.h"
#include "project/project_document.h"

namespace verrane::screening {

// One county to screen, as the Project Information screen lists it.
struct Target {
    std::string state, county, fips;
};

// What the results screen holds after one analysis (model::FiguresOf).
using CountyFigures = model::Figures;

struct ScreenRow {
    std::string fips, state, county;
    std::optional<CountyFigures> figures;  // empty when the county could not be analysed
    std::size_t sampleCounties = 0;
    // The county's state is not hurricane-prone and the template's hurricane
    // occupancy was taken as 0 there, as the program's warning asks.
    bool hurricaneOccupancyIgnored = false;
};

enum class Outcome { Analysed, Failed };

// How one county went: why it has no figures, and the messages the screens
// would have shown on the way.
struct CountyRun {
    Outcome outcome = Outcome::Failed;
    std::string why;
    std::vector<platform::Message> messages;
};

// How each county's region is chosen: nothing (the template's own method),
// every county of the state, or a radius in whole miles.
struct RegionChoice {
    bool entireState = false;
    std::optional<int> miles;
};

// Why a project cannot be screened, as one sentence naming the inputs an
// analysis needs that are empty; "" when it can. Its own state and county
// are not needed: each county takes their place.
std::string CannotScreenReason(const project::ProjectDocument& tmpl);

// The counties of `states` in the order the Project Information screen lists
// them: the states in the order given, the counties of each in the order of
// the county table filtered on the state.
std::vector<Target> Targets(const platform::ReferenceData& reference, const std::vector<std::string>& states);

// The template moved to one county and analysed there; `row` receives the
// figures.
CountyRun ScreenCounty(const project::ProjectDocument& tmpl, const RegionChoice& region, const Target& target,
                       const platform::ReferenceData& reference, ScreenRow& row);

// Told (done, total) on the calling thread while the counties are screened;
// returning false cancels the run.
using Progress = std::function<bool(std::size_t done, std::size_t total)>;

// Every target screened, the counties shared out over the processor's cores
// (each county's analysis is independent of the others); the rows and runs
// in the targets' order. With `progress` the calling thread only reports;
// when it cancels, the workers take no new county, and `rows` and the runs
// come back empty: a cancelled run has no rows at all, never some of them.
std::vector<CountyRun> ScreenAll(const project::ProjectDocument& tmpl, const RegionChoice& region,
                                 const std::vector<Target>& targets, const platform::ReferenceData& reference,
                                 std::vector<ScreenRow>& rows, const Progress& progress = {});

// "Delaware is not hurricane-prone: ...": why the hurricane occupancy of the
// template was taken as 0 in a state's counties.
std::string HurricaneOccupancyIgnoredText(const std::string& state);
// The states of the rows where that happened, each once, in the rows' order.
std::vector<std::string> StatesWithHurricaneOccupancyIgnored(const std::vector<ScreenRow>& rows);

// How each county's region was chosen, in words, for the map's subtitle:
// "counties within 50 miles", "entire state", "project county alone".
std::string RegionText(const RegionChoice& region, const project::ProjectDocument& tmpl);
// "Benefit-cost ratio in the counties of Delaware; counties within 50 miles".
std::string MapSubtitle(const std::string& state, bool all, const std::string& regionText);

// The CSV, one line per row (the last three columns say which program and
// data made it).
std::string ScreenCsvHeader();
std::string ScreenCsvLine(const ScreenRow& row);
std::string ScreenCsv(const std::vector<ScreenRow>& rows);

// The classes the map fills the counties by: below 1, 1 to 2, 2 to 5, 5 and
// more, then counties without a ratio.
struct RatioClass {
    const char* label;
    platform::Color color;
};
inline constexpr std::size_t kRatioClassCount = 5;
const RatioClass& RatioClassAt(std::size_t index);
std::size_t RatioClassOf(const ScreenRow& row);

// The choropleth of the ratios: each screened county filled by the class of
// its benefit-cost ratio on the shipped county shapes, the state outlines on
// top, a title, a subtitle and a legend. Keeps what it needs to tell which
// county a pixel of the image shows.
class ScreenMap {
public:
    // Null with `error` set when the map could not be drawn.
    static std::unique_ptr<ScreenMap> Draw(const std::vector<ScreenRow>& rows, const std::string& title,
                                           const std::string& subtitle, std::string& error);

    const QImage& image() const { return image_; }
    // The FIPS code of the county drawn at `pixel` of the image (the one on
    // top, or the nearest border within a few pixels); empty for none.
    std::string FipsAt(QPoint pixel) const;
    // Where the county is drawn, in the image's pixels (the first frame that
    // shows it); empty when it is not on the map.
    QRect CountyBounds(const std::string& fips) const;
    // The county's outline in the image's pixels (every frame that shows
    // it); empty when it is not on the map.
    QPainterPath CountyOutline(const std::string& fips) const;

private:
    struct Frame {
        QRect pixels;
        platform::MapControl map;  // sized to the frame: control twips are the frame's pixels
        QTransform MapToPixels() const;
    };
    int RecordOf(const std::string& fips) const;
    QImage image_;
    std::vector<Frame> frames_;
    std::shared_ptr<platform::MapLayer> counties_;
    int fipsField_ = -1;
};

// The map written as a PNG through the safe writer. False with `error` set
// when it could not be drawn or written.
bool WriteScreenMap(const std::vector<ScreenRow>& rows, const std::string& title, const std::string& subtitle,
                    const std::filesystem::path& png, std::string& error,
                    const std::vector<std::filesystem::path>& inputs = {});

}  // namespace verrane::screening
