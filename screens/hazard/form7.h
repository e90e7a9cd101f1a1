#pragma once
// Map on which the user picks the counties of the sample region.
#include "screens/screen.h"

namespace verrane {

class Form7 : public Screen {
public:
    static constexpr int kNumber = 7;
    explicit Form7(App& app);
};

}  // namespace verrane
