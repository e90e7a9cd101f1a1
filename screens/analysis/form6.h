#pragma once
// Benefit Cost Analysis screen: runs the analysis and shows the results.
#include "screens/screen.h"

namespace verrane {

class Form6 : public Screen {
public:
    static constexpr int kNumber = 6;
    explicit Form6(App& app);
};

}  // namespace verrane
