#pragma once
#include <QWidget>

#include "screens/mitigation/form5.h"

namespace verrane::gui {
QWidget* CreateForm5Window(Form5& form);
}
