#include "gui/form9_window.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "gui/binding.h"

namespace verrane::gui {

QWidget* CreateForm9Window(Form9& f) {
    auto* w = new QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* l = new QVBoxLayout(w);
    auto* caption = new QLabel();
    Bind(caption, f.Label1[0]);
    QFont font = caption->font();
    font.setPointSize(12);
    font.setBold(true);
    caption->setFont(font);
    auto* bar = new QProgressBar();
    Bind(bar, f.ProgressBar1);
    l->addWidget(caption, 0, Qt::AlignHCenter);
    l->addWidget(bar);
    w->resize(360, 100);
    return w;
}

}  // namespace verrane::gui
