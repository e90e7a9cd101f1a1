#include "screens/hazard/selection.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

#include "platform/number.h"

namespace verrane::hazard {

namespace {

// The state of that name exactly: "Kansas" must not find Arkansas too.
std::string StateNameExpression(const std::string& name) {
    std::string quoted;
    for (char c : name) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    return "STATE_NAME = '" + quoted + "'";
}

}  // namespace

RadiusEntry ReadRadius(const std::string& typed) {
    RadiusEntry e;
    const bool number = typed.empty() || platform::IsNumeric(typed);
    if (!number) e.message = "You must enter a number for this input.";
    const double d = number ? platform::ParseNumber(typed).value_or(0) : 0;
    const float v = std::fabs(d) > FLT_MAX ? static_cast<float>(d > 0 ? INFINITY : -INFINITY) : static_cast<float>(d);
    if (v > kMaxRadius)
        e.message = "You must enter a number less than 250.";
    else if (v < 0)
        e.message = "You must enter a number from 0 to 250.";  // below the slider's range, refused as above it
    else
        e.miles = platform::CInt(v);
    return e;
}

std::optional<int> StateCodeOf(const std::string& fips) {
    auto v = platform::ParseNumber(fips);
    if (!v || !std::isfinite(*v) || std::fabs(*v) > 1e9) return std::nullopt;
    const long long n = static_cast<long long>(*v);
    return static_cast<int>((n - n % 1000) / 1000);
}

std::optional<bool> TestSufficiency(const std::filesystem::path& database, const std::vector<std::string>& counties,
                                    platform::Label& label, platform::Dialogs& dialogs) {
    bool sufficient = false;
    try {
        sufficient = platform::ReferenceData(database).SumF3(counties) >= kSufficientF3;
    } catch (const std::exception& e) {
        dialogs.MsgBox(std::string("The tornado record of the selected counties could not be read. ") + e.what(),
                       platform::Buttons::OK, platform::Icon::Exclamation, kReferenceDataTitle);
        label.setCaption("The number of tornadoes of the selected counties could not be read.");
        label.setForeColor(platform::kRed);
        return std::nullopt;
    }
    label.setCaption(sufficient ? kSufficient : kInsufficient);
    label.setForeColor(sufficient ? platform::kBlack : platform::kRed);
    return sufficient;
}

int CountyAt(const platform::MapControl& map, const platform::MapLayer& counties, double xTwips, double yTwips) {
    return counties.ShapeAt(map.ToMapPoint(xTwips, yTwips), map.ToMapDistance(200));
}

void ColourSelection(platform::ValueMapRenderer& renderer, const std::vector<std::string>& counties,
                     const std::string& projectFips) {
    renderer.field = "FIPS";
    renderer.setValueCount(static_cast<int>(counties.size()));
    for (int i = 0; i < static_cast<int>(counties.size()); ++i) {
        const std::string& c = counties[static_cast<size_t>(i)];
        renderer.setValue(i, c);
        renderer.symbol(i).color = c == projectFips ? platform::kGreen : platform::kRed;
    }
}

std::optional<platform::MapRect> SelectionExtent(const platform::MapLayer& states,
                                                 const std::vector<std::string>& counties, int projectStateCode,
                                                 const std::string& projectStateName) {
    std::vector<int> others;
    for (const auto& c : counties) {
        auto s = StateCodeOf(c);
        if (!s || *s == projectStateCode) continue;
        if (std::find(others.begin(), others.end(), *s) == others.end()) others.push_back(*s);
    }
    std::optional<platform::MapRect> extent;
    auto widen = [&](const std::vector<int>& found) {
        if (found.empty()) return;  // an all-zero box would drag the map to the origin
        const auto e = states.extentOf(found);
        extent = extent ? platform::MapRect::Union(*extent, e) : e;
    };
    if (!others.empty()) {
        others.push_back(projectStateCode);
        for (int s : others)
            widen(states.SearchExpression("STATE_FIPS Like '%" + platform::FormatNumber(s, "00") + "%'"));
    } else {
        widen(states.SearchExpression(StateNameExpression(projectStateName)));
    }
    if (!extent) return std::nullopt;
    return extent->ScaledAboutCentre(1.1);
}

}  // namespace verrane::hazard
