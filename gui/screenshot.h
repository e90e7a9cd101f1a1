#pragma once
#include <string>

namespace verrane::gui {

// Renders one screen to a PNG with no display: "start", "project",
// "building", "hazard", "mitigation", "analysis", "map", "progress" or
// "Form1".."Form9"; "sensitivity" is the window over the analysis screen.
// With a project file the screens show that project (the analysis screen
// runs its analysis). Returns 0 on success; the reason for a failure goes to
// `error`. Messages the program would show go to `messages`.
int RenderScreenToPng(const std::string& screen, const std::string& projectFile, const std::string& outFile,
                      std::string& error, std::string& messages);

}  // namespace verrane::gui
