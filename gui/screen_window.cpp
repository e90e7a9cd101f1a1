#include "gui/screen_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QVBoxLayout>

namespace verrane::gui {

ScreenWindow::ScreenWindow(Screen& screen) : screen_(screen) {
    setProperty(kScreenProperty, true);
    if (!screen.menuBar.empty()) BindMenuBar(menuBar(), screen.menuBar);
    body_ = new QWidget(this);
    layout_ = new QVBoxLayout(body_);
    layout_->setContentsMargins(18, 14, 18, 14);
    layout_->setSpacing(10);
    setCentralWidget(body_);
    QFont f = font();
    f.setFamily("Arial");
    f.setPointSize(9);
    setFont(f);
}

void ScreenWindow::ScrollBody() {
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(takeCentralWidget());
    setCentralWidget(scroll);
}

QLabel* ScreenWindow::AddHeading(const QString& text) {
    auto* l = new QLabel(text, body_);
    QFont f = l->font();
    f.setPointSize(14);
    f.setBold(true);
    l->setFont(f);
    l->setAlignment(Qt::AlignHCenter);
    layout_->addWidget(l);
    return l;
}

QPushButton* NavigationButton(platform::CommandButton& c, bool current) {
    auto* b = new QPushButton();
    Bind(b, c, TwoLines);
    b->setMinimumHeight(42);
    b->setMinimumWidth(150);
    b->setStyleSheet(current ? "QPushButton { background: #d8e4f4; border: 2px solid #4a6fa5; "
                               "border-radius: 3px; padding: 4px; }"
                             : "QPushButton { padding: 4px; }");
    if (current) b->setFocusPolicy(Qt::NoFocus);
    return b;
}

void ScreenWindow::AddNavigation(std::vector<platform::CommandButton*> buttons, platform::CommandButton* current,
                                 int currentPosition) {
    auto* line = new QFrame(body_);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout_->addWidget(line);
    auto* row = new QHBoxLayout();
    row->setSpacing(8);
    for (size_t i = 0; i <= buttons.size(); ++i) {
        if (static_cast<int>(i) == currentPosition && current) row->addWidget(NavigationButton(*current, true));
        if (i < buttons.size()) row->addWidget(NavigationButton(*buttons[i], false));
    }
    layout_->addLayout(row);
}

void ScreenWindow::closeEvent(QCloseEvent* e) {
    e->ignore();
    RequestClose();
}

void ScreenWindow::RequestClose() {
    CommitPendingEdits();
    if (auto* exit = screen_.FindMenu("mnuExit")) {
        exit->click();
        return;
    }
    if (onClose) onClose();
}

}  // namespace verrane::gui
