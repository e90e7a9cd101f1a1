#pragma once
// "File Loading . . ." progress window shown while a project file is read.
#include "screens/screen.h"

namespace verrane {

class Form8 : public Screen {
public:
    static constexpr int kNumber = 8;
    explicit Form8(ScreenHost& app);
    platform::Label Label1, Label2;  // "File Loading . . .", "Please Wait"
    platform::ProgressBar ProgressBar1;
    void Form_Load() override;
    // Moves the bar and lets the window repaint.
    void SetProgress(double value);
};

}  // namespace verrane
