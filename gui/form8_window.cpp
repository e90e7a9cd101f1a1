#include "gui/form8_window.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "gui/binding.h"

namespace verrane::gui {

QWidget* CreateForm8Window(Form8& f) {
    auto* w = new QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* l = new QVBoxLayout(w);
    auto* a = new QLabel();
    Bind(a, f.Label1);
    QFont font = a->font();
    font.setPointSize(12);
    font.setBold(true);
    a->setFont(font);
    auto* b = new QLabel();
    Bind(b, f.Label2);
    auto* bar = new QProgressBar();
    Bind(bar, f.ProgressBar1);
    l->addWidget(a, 0, Qt::AlignHCenter);
    l->addWidget(b, 0, Qt::AlignHCenter);
    l->addWidget(bar);
    w->resize(360, 130);
    return w;
}

}  // namespace verrane::gui
