#pragma once
// Tornado Hazard Information screen: the county selection for the tornado statistics.
#include "screens/screen.h"

namespace verrane {

class Form4 : public Screen {
public:
    static constexpr int kNumber = 4;
    explicit Form4(App& app);
};

}  // namespace verrane
