#pragma once
#include <QWidget>

#include "screens/project/form2.h"

namespace verrane::gui {
QWidget* CreateForm2Window(Form2& form);
}
