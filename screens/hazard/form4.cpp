#include "screens/hazard/form4.h"

#include "app/app.h"

namespace verrane {

Form4::Form4(App& a) : Screen(a, "Form4", "Tornado Model: Tornado Hazard Information") {}

}  // namespace verrane
