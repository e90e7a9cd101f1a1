#pragma once
// Extracting Tornado Statistics progress window and the extraction itself.
#include "screens/screen.h"

namespace verrane {

class Form9 : public Screen {
public:
    static constexpr int kNumber = 9;
    explicit Form9(App& app);
};

}  // namespace verrane
