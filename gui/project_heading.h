#pragma once
// What the windows over a project share: their font, the heading that
// names the project (its building name in bold, its file in grey) and their
// row of buttons.
#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include <functional>

namespace verrane::gui {

// Arial 9 points, the windows' text.
void UseWindowFont(QWidget& window);

struct ProjectHeading {
    QLabel* name = nullptr;  // object name "BuildingName"
    QLabel* file = nullptr;  // object name "ProjectFile"
};
// Adds the two labels to the layout. A long name or path never widens the
// window: the labels take the width they are given.
ProjectHeading AddProjectHeading(QVBoxLayout& layout, bool wrapName);

// A button of the window's button row: found by `name`, never the default
// button, running `action` when clicked.
QPushButton* AddRowButton(QBoxLayout& row, const char* name, const char* caption, std::function<void()> action);

}  // namespace verrane::gui
