#include "gui/project_heading.h"

namespace verrane::gui {

void UseWindowFont(QWidget& window) {
    QFont f = window.font();
    f.setFamily("Arial");
    f.setPointSize(9);
    window.setFont(f);
}

ProjectHeading AddProjectHeading(QVBoxLayout& layout, bool wrapName) {
    ProjectHeading h;
    h.name = new QLabel();
    h.name->setObjectName("BuildingName");
    QFont bold = h.name->font();
    bold.setPointSize(12);
    bold.setBold(true);
    h.name->setFont(bold);
    h.name->setWordWrap(wrapName);
    h.name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    h.file = new QLabel();
    h.file->setObjectName("ProjectFile");
    h.file->setStyleSheet("color: rgb(110, 110, 110);");
    h.file->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout.addWidget(h.name);
    layout.addWidget(h.file);
    return h;
}

QPushButton* AddRowButton(QBoxLayout& row, const char* name, const char* caption, std::function<void()> action) {
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setMinimumWidth(110);
    QObject::connect(b, &QPushButton::clicked, b, [action = std::move(action)] { action(); });
    row.addWidget(b);
    return b;
}

}  // namespace verrane::gui
