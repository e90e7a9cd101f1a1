#pragma once
// What the window remembers between runs, in the user's settings (QSettings
// of the organisation and application "Verrane"): the recent projects of the
// File menu, the main window's size and place, and the folder a file was
// last chosen in (kLastFolderKey, kept by QtDialogs). Only the window's own
// program uses them; the command line and the tests' windows do not.
#include <string>
#include <vector>

class QMainWindow;

namespace verrane {
class App;
}

namespace verrane::gui {

inline constexpr const char* kRecentFilesKey = "files/recent";
inline constexpr const char* kMainWindowPlaceKey = "window/mainGeometry";

std::vector<std::string> StoredRecentFiles();
void StoreRecentFiles(const std::vector<std::string>& files);
// Gives the program the stored list and stores it again whenever it changes.
void RememberRecentFiles(App& app);

// Puts the main window where it was last (false when nothing was stored or
// the stored place does not fit a screen now).
bool RestoreMainWindowPlace(QMainWindow& window);
void StoreMainWindowPlace(const QMainWindow& window);

}  // namespace verrane::gui
