#pragma once
#include <QWidget>

#include "screens/hazard/form9.h"

namespace verrane::gui {
QWidget* CreateForm9Window(Form9& form);
}
