#include "screens/analysis/form6.h"

#include "app/app.h"

namespace verrane {

Form6::Form6(App& a) : Screen(a, "Form6", "Tornado Model: Benefit Cost Analysis") {}

}  // namespace verrane
