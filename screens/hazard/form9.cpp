#include "screens/hazard/form9.h"

#include "app/app.h"

namespace verrane {

Form9::Form9(App& a) : Screen(a, "Form9", "") {}

}  // namespace verrane
