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
bool Choose(platform::ComboBox& list, const std::string& name) {
    for (int i = 1; i < list.listCount(); ++i)
        if (list.item(i) == name) {
            list.setListIndex(i);
            return true;
        }
    return false;
}

// Drives the hazard screen as a user does: the option button, and for a
// region the radius typed and confirmed with Enter.
template <class Refused>
void Select(Form4& f4, const CountiesRequest& r, std::ostream& out, const Refused& refused) {
    if (r.entireState) {
        f4.Option1[1].setValue(true);
    } else {
        f4.Option1[0].setValue(true);
        f4.Text1.setFocus(true);
        f4.Text1.setText(platform::GeneralText(*r.radiusMiles));
        f4.Text1.keyPress(13);
    }
    if (refused()) return;
    for (const auto& fips : f4.CountyList) out << fips << "\n";
    out << f4.Label2[8].caption() << "\n";
}
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
        const size_t before = dialogs.messages.size();
        auto refused = [&] {
            for (size_t i = before; i < dialogs.messages.size(); ++i)
                if (dialogs.messages[i].text.rfind("You must enter a number", 0) == 0) return true;
            return false;
        };
        Select(app.form4(), r, out, refused);
        if (refused()) return 2;
    } catch (const std::exception& e) {
        err << "verrane-cli: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace verrane::cli
