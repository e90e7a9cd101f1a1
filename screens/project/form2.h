#pragma once
// Project Information screen: the project's descriptive information, its
// state and county, and the keeper of the project-wide variables the other
// screens share. Also the project file reader and writer and the file
// commands (New, Open, Save, Save As, Exit).
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "project/file_result.h"
#include "project/project_document.h"
#include "screens/screen.h"

namespace verrane {

// The question File > Open and New ask about a project with unsaved changes.
// The title of the warnings that a state which is not hurricane-prone has a
// hurricane occupancy.
inline const char* const kNoHurricaneOccupancyTitle = "State Should Have No Hurricane Occupancy";
inline const char* const kSaveChangesPrompt = "Do you want to save changes to the current project?";

class Form8;

inline const char* const kClickState = " Click State";
inline const char* const kClickCounty = " Click County";
inline const char* const kProjectFilter = "Tornado Project (*.tor)|*.tor";

// The one way a failed file operation reaches the user: its message in a
// message box (nothing for a success or a cancelled command).
void ShowFileError(platform::Dialogs& dialogs, const project::FileResult& result);

// The hurricane-prone states and territories, compared exactly.
bool IsHurricaneProne(const std::string& stateName);

class Form2 : public Screen {
public:
    static constexpr int kNumber = 2;
    explicit Form2(ScreenHost& app);

    // Text1(0) building name, (1) address, (2) city, (3) disaster number,
    // (4) project number, (5) scenario run id, (6) analyst.
    std::array<platform::TextBox, 7> Text1;
    platform::ComboBox Combo3;  // state
    platform::ComboBox Combo2;  // county
    std::array<platform::CommandButton, 4> Command1;
    platform::CommandButton Command2;  // "Project Descriptive Information" marker

    // Project-wide variables.
    std::string ProjectStateName, ProjectCountyName;
    int16_t ProjectStateCode = 0, ProjectCountyCode = 0;
    bool BuildingDataComplete = false, MitigationDataComplete = false;
    std::vector<std::string> SelectedCounties;
    float SelectionMethod = -1;
    float SelectionRadius = 0;
    bool Loading = false, HazardScreenRestored = true, SuppressNextBeep = false;
    bool StatePending = false, SuppressCountyClick = false, StatsPending = true;

    // Tornado statistics of SelectedCounties, written by the extraction.
    std::array<double, 6> TornadoCountByF{}, AvgPathLengthByF{}, AvgPathAreaByF{};
    std::array<std::array<double, 24>, 6> HourlyFractionByF{};
    int16_t RecordYears = 0;
    double SampleRegionArea = 0;
    float CountyArea = 0;

    std::string HelpFile;

    // The project county as five characters: state "00" + county "000".
    std::string ProjectFips() const;

    void Form_Load() override;
    void Combo3_Click();
    void Combo2_Click();
    void LookupCountyFips();
    void ShowNeedLocation();
    bool Checkform(const std::string& screenName) const;
    void BC_On();
    // Why the analysis commands are off: the inputs still empty, named as
    // their screens label them ("" when nothing is missing).
    std::string MissingForAnalysis() const;
    void Command1_Click(int index);
    void SetAnalysisCommands(bool enabled) override;
    bool Leave(int target) override;

    // The project document from the screens, and back (Read_File's part
    // once the file was checked).
    project::ProjectDocument StoreDocument() const;
    void LoadDocument(const project::ProjectDocument& document);

    // Project file.
    void Write_File(const std::filesystem::path& file);  // throws platform::TextFileError
    // Shows why a file was not read, and says so in the result.
    project::FileResult Read_File(const std::filesystem::path& file);
    // Read_File's two halves: reading and checking the whole file, which
    // changes nothing of the project (and shows why a file was not read),
    // then filling the screens from the checked document.
    project::FileResult CheckFile(const std::filesystem::path& file, project::ProjectDocument& document);
    void LoadCheckedFile(project::ProjectDocument document);

    // File commands.
    void mnuNew_Click();
    void mnuOpen_Click();
    // File > Open: the outcome of reading the chosen file (Cancelled when
    // the user stopped before a file was read).
    project::FileResult OpenProject();
    // File > Open once the file is chosen: the file is read and checked
    // first (a rejected file changes nothing of the project), then every
    // screen is filled from it. A project given to the program, a recent
    // file and a file dropped on the window all open through here.
    project::FileResult OpenFile(const std::filesystem::path& file);
    // File > Open with the file already chosen (a recent file, a file
    // dropped on the window): the save prompt, then OpenFile.
    project::FileResult OpenNamedFile(const std::filesystem::path& file);
    // What File > Open does once a file was read and checked, for a document
    // that is already checked (batch work re-opening a project it holds):
    // every screen filled from it, the input screens published, this screen
    // in front and the tornado statistics to be extracted.
    void OpenDocument(const project::ProjectDocument& document);
    void mnusave_Click();
    void mnusaveas_Click();
    void mnuExit_Click();

private:
    // Writes the file and reports the outcome; false when it failed.
    bool SaveTo(const std::string& file);
    // Save As; true only when the project was written.
    bool SaveAs();
    // The save dialog (flags as for FileDialogRequest); ".tor" is added to
    // a name typed without an extension, and when the dialog is one that
    // asks before replacing, the program asks for the name it added.
    std::optional<std::string> AskSaveName(int flags);
    // Yes/No/Cancel save prompt; false when the command must stop: the user
    // cancelled, or the save asked for was cancelled or failed.
    bool OfferToSave();
    void LoadAfterStart();
    // Where the file dialogs start: the folder of the project's file (empty
    // for a project without one: the desktop's last folder).
    std::string ProjectFolder() const;
    void LoadProgress(double value);
    // After a file was read: savedata of the loaded input screens, BC_On,
    // and this screen in front of the closing progress window (if any).
    void FinishLoad(Form8* progress);
};

}  // namespace verrane
