#pragma once
// A running program with scripted dialogs, on the fixture database or on
// the shipped data in data/.
#include <memory>

#include "app/app.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "screens/project/form2.h"
#include "tests/support/fixture_db.h"

namespace verrane::test {

struct TestApp {
    // tag != "" : a fresh fixture database; tag == "" : the shipped data/.
    explicit TestApp(const std::string& fixtureTag = "fixture") {
#ifdef VERRANE_SOURCE_DATA_DIR
        dataDir = fixtureTag.empty() ? std::filesystem::path(VERRANE_SOURCE_DATA_DIR) : MakeFixtureDataDir(fixtureTag);
#else
        dataDir = MakeFixtureDataDir(fixtureTag.empty() ? "shipped" : fixtureTag);
#endif
        platform::SetDataDir(dataDir);
        app = std::make_unique<App>(dialogs);
    }
    // Starts a new project as OK on the start screen does.
    Form2& Start() {
        Form2& f2 = app->form2();
        f2.Show();
        return f2;
    }
    // Chooses the state and county on the Project Information screen.
    Form2& Choose(const std::string& state, const std::string& county) {
        Form2& f2 = Start();
        f2.Combo3.selectText(state);
        f2.Combo2.selectText(county);
        return f2;
    }
    static bool HaveShippedData() {
#ifdef VERRANE_SOURCE_DATA_DIR
        return std::filesystem::exists(std::filesystem::path(VERRANE_SOURCE_DATA_DIR) / "verrane.sqlite");
#else
        return false;
#endif
    }

    platform::ScriptedDialogs dialogs;
    std::filesystem::path dataDir;
    std::unique_ptr<App> app;
};

}  // namespace verrane::test
