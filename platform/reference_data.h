#pragma once
// The questions the program asks of the reference tables, answered in one
// place for the screens and for the analysis of a document: the states and
// their counties, a county's record (codes, time zone, hurricane design wind
// speed), the counties of a state or within a radius of a county, the F3
// count of a selection and the tornado statistics pooled over it.
//
// The screens ask a ReferenceData over the file, which opens the database for
// each question and keeps nothing between questions (a snapshot installed for
// the file is served instead, as for any opening). A batch run holds one made
// with InMemory: every table read once, and the coordinate table kept as
// numbers for the region searches. Both give the same answers in the same
// order: every answer is computed by the same code from the same records.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/region.h"
#include "model/tornado_stats.h"
#include "platform/refdb.h"

namespace verrane::platform {

class ReferenceSnapshot;

// The project county is not in the coordinate table, or has no centroid there.
struct CountyNotFound : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// "01" + "001": a county's code as the selection lists and the tornado record
// hold it.
std::string FipsText(int stateCode, int countyCode);

// One record of the county table, its values as stored.
struct CountyRecord {
    FieldValue stateFips, countyFips, timeZone, daylightSaving, hurricaneWind;

    // The 16-bit codes of State_fips and Cnty_fips (halves to even). Throw
    // DatabaseError for a value that is not a number, ConversionError for one
    // beyond 16 bits.
    int16_t StateCode() const;
    int16_t CountyCode() const;
    std::string Fips() const { return FipsText(StateCode(), CountyCode()); }
    std::string TimeZone() const { return timeZone.asText(); }
    bool DaylightSaving() const { return daylightSaving.asBool(); }
    // Hur_wind in mph; NaN when the record has none. Throws DatabaseError for
    // a value that is not a number.
    double HurricaneWind() const;
};

class ReferenceData;

// A county's hurricane design wind speed as the analysis takes it: 0 (no
// hurricane hazard) when the record has none, with `problem` saying so;
// `wind` empty when there is no record for the county, or when it cannot be
// read (`problem` says why): the wind in use then stays as it is.
struct HurricaneWindReading {
    std::optional<double> wind;
    std::string problem;
};
HurricaneWindReading ReadHurricaneWind(const ReferenceData& reference, const std::string& state,
                                       const std::string& county);

// The project county's 16-bit codes as the Project Information screen looks
// them up; `problem` says why one is missing (no record, or a value that
// cannot be read).
struct CountyCodes {
    std::optional<int16_t> state, county;
    std::string problem;
};
CountyCodes ReadCountyCodes(const ReferenceData& reference, const std::string& state, const std::string& county);

// The time zone and daylight saving the building screen presets for a
// county: `found` false when the county has no record (both stay as they
// are); `timeZone` empty for a value the time zone list does not have (the
// time zone stays); `problem` when the record cannot be read (both stay).
struct TimePreset {
    bool found = false;
    std::optional<int> timeZone;
    bool daylightSaving = false;
    std::string problem;
};
TimePreset ReadTimePreset(const ReferenceData& reference, const std::string& state, const std::string& county);

// A selection of the hazard screen: the counties, or the project county alone
// when they cannot be found or there are none, with `problem` saying why.
struct CountySelection {
    std::vector<std::string> counties;
    std::string problem;
};
// The region of `radius` whole miles around the county (the county alone for
// a radius of 0).
CountySelection RegionSelection(const ReferenceData& reference, const std::string& state, const std::string& county,
                                int radius, const std::string& projectFips);
// Every county of the state.
CountySelection StateSelection(const ReferenceData& reference, const std::string& state,
                               const std::string& projectFips);

// What the user is told when the tornado statistics of a selection could not
// be pooled (`what` says why).
std::string PoolingFailure(const std::filesystem::path& file, const std::string& what);

class ReferenceData {
public:
    // Opens `file` for each question, as the window does.
    explicit ReferenceData(std::filesystem::path file);
    // Every table of `file` read once and answered from memory for the
    // lifetime of the object (the snapshot installed for the file, if any, is
    // the one used). Throws DatabaseError.
    static ReferenceData InMemory(const std::filesystem::path& file);

    const std::filesystem::path& file() const { return file_; }

    // In memory: reads now what is otherwise read on first use (the
    // coordinate table as numbers, every row of the tornado record), after
    // which the object's questions only read and may be asked from several
    // threads at once. Nothing to do over the file.
    void ReadAllOnce() const;

    // The state list of the Project Information screen (table order) and the
    // county list of a state (the county table's order for that state).
    std::vector<std::string> StateNames() const;
    std::vector<std::string> CountyNames(const std::string& state) const;
    // The first record of that county; nullopt when there is none.
    std::optional<CountyRecord> County(const std::string& state, const std::string& county) const;

    // The FIPS codes of the state's counties, in the county table's order.
    std::vector<std::string> StateCounties(const std::string& state) const;
    // Every county that has its centroid or a corner of its extent box within
    // `radius` miles of the project county's centroid, in table order. Throws
    // CountyNotFound, or DatabaseError.
    std::vector<std::string> RegionCounties(const std::string& state, const std::string& county, double radius) const;
    // Non-negative FCOUNT3 of the counties' tornado rows, summed until the sum
    // reaches 16 (the rest need not be read).
    double SumF3(const std::vector<std::string>& counties) const;
    // The tornado record of the counties pooled by class, with the region's
    // and the project county's areas. `progress` is told the progress bar's
    // value after each record. Throws DatabaseError (naming the field and
    // value) for a record that cannot be used; nothing is pooled then.
    model::TornadoStats PooledStats(const std::vector<std::string>& counties, const std::string& projectFips,
                                    const std::function<void(double)>& progress = {}) const;

private:
    Database Open() const;
    // The coordinate table as numbers: kept in memory mode, read for the
    // question otherwise.
    struct Coordinates;
    std::shared_ptr<const Coordinates> CoordinateTable(const Database& db) const;

    std::filesystem::path file_;
    std::shared_ptr<const ReferenceSnapshot> memory_;
    mutable std::shared_ptr<const Coordinates> coordinates_;
    struct TornadoRows;
    mutable std::shared_ptr<TornadoRows> tornadoRows_;
};

}  // namespace verrane::platform
