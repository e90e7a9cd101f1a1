#pragma once
// What the windows over a project share: their font and the heading that
// names the project (its building name in bold, its file in grey).
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

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

}  // namespace verrane::gui
