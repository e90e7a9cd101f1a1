#include "gui/form1_window.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "gui/binding.h"
#include "gui/screen_window.h"

namespace verrane::gui {

QWidget* CreateForm1Window(Form1& f) {
    auto* w = new ScreenWindow(f);
    w->onClose = [&f] { f.Command1_Click(1); };
    auto* row = new QHBoxLayout();
    auto* seal = new QLabel();
    QPixmap pix(Q(f.SealPicture.string()));
    if (!pix.isNull()) seal->setPixmap(pix.scaled(170, 170, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    seal->setFixedSize(180, 180);
    seal->setAlignment(Qt::AlignCenter);
    row->addWidget(seal);
    auto* titles = new QVBoxLayout();
    auto* name = new QLabel();
    Bind(name, f.Label1);
    QFont big = name->font();
    big.setPointSize(26);
    big.setBold(true);
    name->setFont(big);
    auto* sub = new QLabel();
    Bind(sub, f.Label2);
    QFont mid = sub->font();
    mid.setPointSize(11);
    sub->setFont(mid);
    sub->setWordWrap(true);
    titles->addStretch();
    titles->addWidget(name);
    titles->addWidget(sub);
    titles->addStretch();
    row->addLayout(titles, 1);
    w->layout()->addLayout(row);

    auto* group = new QGroupBox();
    auto* g = new QVBoxLayout(group);
    for (auto& o : f.Option1) {
        auto* r = new QRadioButton(Q(o.caption));
        Bind(r, o);
        g->addWidget(r);
    }
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(group, 1);
    auto* col = new QVBoxLayout();
    for (auto& c : f.Command1) {
        auto* b = new QPushButton();
        Bind(b, c);
        b->setMinimumWidth(96);
        col->addWidget(b);
    }
    col->addStretch();
    buttons->addLayout(col);
    w->layout()->addLayout(buttons);
    // Enter presses the button that has the focus, and OK otherwise.
    for (auto key : {Qt::Key_Return, Qt::Key_Enter})
        QObject::connect(new QShortcut(QKeySequence(key), w), &QShortcut::activated, w, [&f] {
            if (auto* b = qobject_cast<QPushButton*>(QApplication::focusWidget()); b && b->isEnabled())
                b->click();
            else
                f.Command1[0].click();
        });
    w->resize(520, 330);
    return w;
}

}  // namespace verrane::gui
