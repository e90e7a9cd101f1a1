#include "gui/form2_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "gui/binding.h"
#include "gui/screen_window.h"

namespace verrane::gui {

QWidget* CreateForm2Window(Form2& f) {
    auto* w = new ScreenWindow(f);
    w->AddHeading("Project Descriptive Information");

    auto* box = new QGroupBox();
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    auto text = [&](int index, const char* caption, int row, int col, int span) {
        QLabel* label = BlueLabel(caption);
        grid->addWidget(label, row, col, Qt::AlignRight);
        auto* e = new QLineEdit();
        Bind(e, f.Text1[static_cast<size_t>(index)]);
        LabelInput(label, e);
        grid->addWidget(e, row, col + 1, 1, span);
    };
    text(0, "Building Name", 0, 0, 3);
    text(1, "Address", 1, 0, 3);
    text(2, "City", 2, 0, 3);
    auto* stateLabel = new QLabel("State");
    grid->addWidget(stateLabel, 3, 0, Qt::AlignRight);
    auto* state = new QComboBox();
    state->setMinimumWidth(200);
    Bind(state, f.Combo3);
    LabelInput(stateLabel, state);
    grid->addWidget(state, 3, 1);
    auto* countyLabel = new QLabel("County");
    grid->addWidget(countyLabel, 3, 2, Qt::AlignRight);
    auto* county = new QComboBox();
    county->setMinimumWidth(200);
    Bind(county, f.Combo2);
    LabelInput(countyLabel, county);
    grid->addWidget(county, 3, 3);
    text(3, "Disaster Number", 4, 0, 1);
    text(4, "Project Number", 4, 2, 1);
    text(5, "Scenario Run ID", 5, 0, 1);
    text(6, "Analyst", 5, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    w->layout()->addWidget(box);
    auto* note = BlueLabel("Inputs in blue are not required.");
    w->layout()->addWidget(note);
    w->layout()->addStretch();
    w->AddNavigation({&f.Command1[0], &f.Command1[1], &f.Command1[2], &f.Command1[3]}, &f.Command2, 0);
    w->resize(760, 420);
    return w;
}

}  // namespace verrane::gui
