#pragma once
#include <QWidget>

#include "screens/analysis/form6.h"

namespace verrane::gui {
QWidget* CreateForm6Window(Form6& form);
}
