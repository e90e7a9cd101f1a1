#pragma once
// The menu bar shared by the five input screens (Form2 to Form6): the file
// commands, the reports, the Edit commands, moving between screens and the
// help. What each screen does before it lets the user leave differs, and
// lives here in one place.
#include <filesystem>
#include <string>

#include "project/file_result.h"

namespace verrane {

class ScreenHost;
class Screen;

// Gives a newly created screen its menu bar (Form2 ... Form6; others none).
void InstallMenus(ScreenHost& app, Screen& screen);

// Which of the five input screens `screen` is (2..6), by its type; 0 for others.
int InputScreenNumber(const Screen& screen);

// The "&Input" items and "BC Analysis Results": go from one screen to
// another (target 2..6) after what the source screen requires.
void GoToScreen(ScreenHost& app, Screen& from, int target);

// "&BC Analysis" > "Sensitivity...": to the results screen as "BC Analysis
// Results" goes (staying where the screen keeps the user), then the
// sensitivity of its results.
void ShowSensitivity(ScreenHost& app, Screen& from);

// A project chosen on the File menu's list of recent files or dropped on a
// window: File > Open with the file already chosen, from the screen in
// front (the hazard screen stores its selection first, as for every file
// command). From the start screen it opens as a project given to the program.
project::FileResult OpenGivenProject(ScreenHost& app, Screen& from, const std::filesystem::path& file);

// Shows RecentFiles on the screen's File menu ("&1 school.tor", ...); the
// items of files not in the list are hidden.
void ShowRecentFiles(ScreenHost& app, Screen& screen);

// "Print Pre&view" / "&Print" > "Short Report" / "Long Report".
void RunReport(ScreenHost& app, Screen& from, bool longReport, bool print);

}  // namespace verrane
