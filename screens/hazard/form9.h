#pragma once
// Extracting Tornado Statistics progress window and the extraction itself:
// the tornado record of the counties of SelectedCounties pooled by class and
// written into the project.
#include <array>

#include "screens/screen.h"

namespace verrane {

class Form9 : public Screen {
public:
    static constexpr int kNumber = 9;
    explicit Form9(ScreenHost& app);

    std::array<platform::Label, 1> Label1;  // "Extracting Tornado Statistics"
    platform::ProgressBar ProgressBar1;

    // The whole extraction behind the progress bar. On success StatsPending
    // is cleared and true is returned; when the reference data cannot be
    // read a message says why, and the previous statistics and StatsPending
    // are kept.
    bool Get_Data();
    // Reads and pools; writes Form2's statistics only when everything was
    // read. Throws on any failure of the reference data.
    void Extract_Stats();

private:
    void SetProgress(double value);
    int shownPercent_ = -1;
};

}  // namespace verrane
