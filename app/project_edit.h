#pragma once
// Changing a project as its user does, with no window: one input, named by
// its project-file name (BuildingName, ProjectCountyName, TornadoOccupancy[7],
// DiscountRate, DesignWindSpeed, SelectionRadius, ...), is typed into its box,
// chosen from its list or clicked on its screen, so that the screen's own
// checks and messages apply. Also opening and saving a project the way the
// File menu does, for the command line and the sensitivity runs.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "project/file_result.h"
#include "project/project_document.h"

namespace verrane {

class App;

struct EditResult {
    enum class Status { Ok, UnknownName, Refused };
    Status status = Status::Ok;
    // For a refusal: what the screen said (its messages, one a line), or why
    // the entry cannot be made.
    std::string message;
    // For an unknown name: every name SetInput takes.
    std::vector<std::string> validNames;
    bool ok() const { return status == Status::Ok; }
};

// Every name SetInput takes, in the order of the project file.
const std::vector<std::string>& InputNames();

// Brings the input's screen to the front as its button does (the screen that
// was in front is left as the user leaves it, with its questions answered by
// `dialogs`), then:
// - a text box: gets the focus, receives `value` as typed, and loses the
//   focus; the entry is refused when the screen showed a message and the box
//   no longer holds what was typed (it emptied or reset it);
// - a list (state, county, construction type, time zone, design wind speed):
//   the entry is chosen; the three lists the file keeps as positions also
//   take a position (e.g. DesignWindSpeed=2 or DesignWindSpeed=160);
// - a check box ("0" or "1") and SelectionMethod ("0", "1", "2") are clicked;
// - SelectionRadius chooses "Region Around County" first when it is not
//   chosen (the radius box shows only then) and types the radius.
// Ends, as it began, with the Project Information screen in front: the input's
// screen is left through its button, which stores what it publishes.
EditResult SetInput(App& app, platform::ScriptedDialogs& dialogs, const std::string& name, const std::string& value);

// File > Open of `file` on the Project Information screen of a program just
// started; a "save changes" question is answered No.
project::FileResult OpenProjectFile(App& app, platform::ScriptedDialogs& dialogs, const std::filesystem::path& file);

// File > Save As to `file`. False, with `error` set to what the program said,
// when nothing was written.
bool SaveProjectAs(App& app, platform::ScriptedDialogs& dialogs, const std::filesystem::path& file, std::string& error);

}  // namespace verrane
