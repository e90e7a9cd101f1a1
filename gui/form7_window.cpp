#include "gui/form7_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/binding.h"
#include "gui/form4_window.h"
#include "gui/screen_window.h"

namespace verrane::gui {

QWidget* CreateForm7Window(Form7& f) {
    auto* w = new ScreenWindow(f);
    QLabel* title = w->AddHeading("");
    Bind(title, f.Label1);
    auto* heading = new QLabel();
    Bind(heading, f.Label3);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    w->layout()->addWidget(heading, 0, Qt::AlignHCenter);
    auto* hint = new QLabel();
    Bind(hint, f.Label4);
    w->layout()->addWidget(hint, 0, Qt::AlignHCenter);
    w->layout()->addWidget(new MapView(f.Map1), 1);
    auto* message = new QLabel();
    Bind(message, f.Label2[12]);
    message->setFont(bold);
    message->setWordWrap(true);
    message->setAlignment(Qt::AlignHCenter);
    message->setMinimumHeight(36);
    w->layout()->addWidget(message);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    for (auto& c : f.Command1) {
        auto* b = new QPushButton();
        Bind(b, c);
        b->setMinimumWidth(100);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    w->layout()->addLayout(buttons);
    // Closing the window discards the changes, as "Cancel" does.
    w->onClose = [&f] { f.Command1[2].click(); };
    w->resize(760, 640);
    return w;
}

}  // namespace verrane::gui
