#include "cli/counties.h"

#include <exception>

#include "app/app.h"
#include "cli/messages.h"
#include "platform/dialogs.h"
#include "platform/number.h"
#include "screens/hazard/form4.h"
#include "screens/project/form2.h"

namespace verrane::cli {

namespace {
// Entry 0 of the state and county lists is the prompt, never a name.
bool Choose(platform::ComboBox& list, const std::string& name) { return list.selectText(name, 1); }

}  // namespace

int RunCounties(const CountiesRequest& r, std::ostream& out, std::ostream& err) {
    platform::ScriptedDialogs dialogs;
    dialogs.onMessage = [&](const platform::Message& m) { PrintMessage(err, m); };
    try {
        App app(dialogs);
        Form2& f2 = app.form2();
        f2.Show();
        if (!Choose(f2.Combo3, r.state)) {
            err << "verrane-cli: unknown state \"" << r.state << "\"\n";
            return 2;
        }
        if (!Choose(f2.Combo2, r.county)) {
            err << "verrane-cli: unknown county \"" << r.county << "\" in " << r.state << "\n";
            return 2;
        }
        f2.Command1_Click(1);
        // The screen refuses a radius it cannot take (it says why); then the
        // selection is not the one asked for.
        Form4& f4 = app.form4();
        std::optional<std::string> radius;
        if (!r.entireState) radius = platform::GeneralText(*r.radiusMiles);
        if (!DriveCountySelection(f4, r.entireState, radius)) return 2;
        for (const auto& fips : f4.CountyList) out << fips << "\n";
        out << f4.Label2[8].caption() << "\n";
    } catch (const std::exception& e) {
        err << "verrane-cli: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace verrane::cli
