#pragma once
#include <QWidget>

#include "screens/building/form3.h"

namespace verrane::gui {
QWidget* CreateForm3Window(Form3& form);
}
