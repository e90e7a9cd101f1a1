#pragma once
#include <QWidget>

#include "screens/start/form1.h"

namespace verrane::gui {
QWidget* CreateForm1Window(Form1& form);
}
