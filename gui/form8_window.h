#pragma once
#include <QWidget>

#include "screens/progress/form8.h"

namespace verrane::gui {
QWidget* CreateForm8Window(Form8& form);
}
