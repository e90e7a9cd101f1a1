#include "screens/start/form1.h"

#include "screens/project/form2.h"
#include "screens/screen_host.h"

namespace verrane {

Form1::Form1(ScreenHost& a) : Screen(a, "Form1", "Verrane") {
    Label1.setCaption("Verrane");
    Label2.setCaption("Tornado and Hurricane Shelter Benefit-Cost Model");
    Option1[0].caption = "New Project";
    Option1[1].caption = "Existing Project";
    platform::MakeOptionGroup({&Option1[0], &Option1[1]});
    Option1[0].setValue(true);
    // The window shows the seal as soon as it exists.
    SealPicture = app.DataDir() / "aldmereseal.bmp";
    Command1[0].caption = "OK";
    Command1[1].caption = "Cancel";
    for (int i = 0; i < 2; ++i) {
        Option1[static_cast<size_t>(i)].name = "Option1";
        Option1[static_cast<size_t>(i)].index = i;
        Command1[static_cast<size_t>(i)].name = "Command1";
        Command1[static_cast<size_t>(i)].index = i;
        Command1[static_cast<size_t>(i)].onClick = [this, i] { Command1_Click(i); };
    }
}

void Form1::Form_Load() {
    HelpFile = (app.DataDir() / "torhelp.html").string();
    SealPicture = app.DataDir() / "aldmereseal.bmp";
}

void Form1::Form_Unload() { app.ProjectFileName.clear(); }

project::FileResult Form1::OpenGivenProject(const std::filesystem::path& file) {
    const bool hadProject = app.Loaded<Form2>() != nullptr;
    project::FileResult opened = app.form2().OpenFile(file);
    // Without a project the start screen stays the way in, as without a file.
    if (!opened.ok() && !hadProject) app.Unload<Form2>();
    return opened;
}

void Form1::Command1_Click(int index) {
    if (index == 1) {
        app.Unload<Form1>();
        return;
    }
    app.HasFileName = false;
    if (Option1[1].value()) {
        auto file = dialogs().FileDialog({false, "Tornado Project (*.tor)|*.tor", 4100, ""});
        if (!file) return;
        BusyPointer busy(dialogs());
        app.ProjectFileName = *file;
        app.HasFileName = true;
    }
    BusyPointer busy(dialogs());
    Hide();
    app.form2().Show();
}

}  // namespace verrane
