#pragma once
// The start screen: product name, seal, "New Project" / "Existing Project".
#include <array>
#include <filesystem>

#include "project/file_result.h"
#include "screens/screen.h"

namespace verrane {

class Form1 : public Screen {
public:
    static constexpr int kNumber = 1;
    explicit Form1(ScreenHost& app);

    platform::Label Label1, Label2;                   // the product name, two lines
    std::array<platform::OptionButton, 2> Option1;    // "New Project", "Existing Project"
    std::array<platform::CommandButton, 2> Command1;  // "OK", "Cancel"
    std::filesystem::path SealPicture;                // aldmereseal.bmp in the data folder
    std::string HelpFile;

    void Form_Load() override;
    void Form_Unload() override;
    void Command1_Click(int index);
    // A project given to the program (its command line, a file dropped on
    // this window): opened as File > Open opens a chosen file. A refused
    // file leaves this screen as it was.
    project::FileResult OpenGivenProject(const std::filesystem::path& file);
};

}  // namespace verrane
