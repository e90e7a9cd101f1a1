#pragma once
#include <QWidget>

#include "screens/hazard/form7.h"

namespace verrane::gui {
QWidget* CreateForm7Window(Form7& form);
}
