#include "screens/hazard/form7.h"

#include "app/app.h"

namespace verrane {

Form7::Form7(App& a) : Screen(a, "Form7", "Tornado Model: User Selected Counties") {}

}  // namespace verrane
