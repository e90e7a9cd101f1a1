#include "gui/form3_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "gui/binding.h"
#include "gui/screen_window.h"
#include "project/fields.h"

namespace verrane::gui {

namespace {
QLineEdit* NumberBox(platform::TextBox& c, int width) {
    auto* e = new QLineEdit();
    Bind(e, c);
    e->setFixedWidth(width);
    e->setAlignment(Qt::AlignRight);
    return e;
}

QString HourCaption(int h) {
    const int clock = h % 12 == 0 ? 12 : h % 12;
    return QString("%1 %2").arg(clock).arg(h < 12 ? "am" : "pm");
}
}  // namespace

QWidget* CreateForm3Window(Form3& f) {
    auto* w = new ScreenWindow(f);
    w->AddHeading("Building Information");

    auto* columns = new QHBoxLayout();
    columns->setSpacing(16);

    // Building and shelter data.
    auto* building = new QGroupBox("Building and Shelter");
    auto* grid = new QGridLayout(building);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    int row = 0;
    auto number = [&](int index, const char* caption, const char* units) {
        auto* label = new QLabel(caption);
        grid->addWidget(label, row, 0, Qt::AlignRight);
        QLineEdit* box = NumberBox(f.Text1[static_cast<size_t>(index)], 90);
        LabelInput(label, box, QString("%1 (%2)").arg(caption, units));
        grid->addWidget(box, row, 1);
        grid->addWidget(new QLabel(units), row, 2);
        ++row;
    };
    number(0, "Building Longest Length", "feet");
    number(1, "Building Longest Width", "feet");
    number(2, "Shelter Area", "square feet");
    auto* typeLabel = new QLabel("Shelter Construction Type");
    grid->addWidget(typeLabel, row, 0, Qt::AlignRight);
    auto* type = new QComboBox();
    Bind(type, f.Combo1[1]);
    LabelInput(typeLabel, type);
    grid->addWidget(type, row++, 1, 1, 2);
    auto* windows = new QCheckBox(Q(f.Check1.caption));
    Bind(windows, f.Check1);
    grid->addWidget(windows, row++, 0, 1, 3);
    number(3, "Hurricane Shelter Occupancy", "people");
    auto* hint = new QLabel("Enter zero for non-hurricane prone locations");
    QFont small = hint->font();
    small.setItalic(true);
    hint->setFont(small);
    grid->addWidget(hint, row++, 0, 1, 3, Qt::AlignRight);
    auto* zoneLabel = new QLabel("Time Zone");
    grid->addWidget(zoneLabel, row, 0, Qt::AlignRight);
    auto* zone = new QComboBox();
    Bind(zone, f.Combo1[0]);
    LabelInput(zoneLabel, zone);
    grid->addWidget(zone, row++, 1, 1, 2);
    auto* daylight = new QCheckBox(Q(f.Check2.caption));
    Bind(daylight, f.Check2);
    grid->addWidget(daylight, row++, 1, 1, 2);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(row++, 1);
    auto* checkLabel = new QLabel("Occupancy Check");
    grid->addWidget(checkLabel, row++, 0, 1, 3);
    auto* check = new QPlainTextEdit();
    Bind(check, f.Text1[5]);
    LabelInput(checkLabel, check);
    check->setFocusPolicy(Qt::NoFocus);
    check->setFixedHeight(54);
    grid->addWidget(check, row++, 0, 1, 3);

    auto* left = new QVBoxLayout();
    left->addWidget(building, 1);
    auto* required = new QLabel("All inputs on this screen are required.");
    left->addWidget(required);
    columns->addLayout(left, 3);

    // Hourly occupancy: morning hours in the first column, afternoon in the second.
    auto* hours = new QGroupBox("Tornado Shelter Occupancy (people)");
    auto* hgrid = new QGridLayout(hours);
    hgrid->setHorizontalSpacing(8);
    hgrid->setVerticalSpacing(4);
    for (int h = 0; h < 24; ++h) {
        const int col = h < 12 ? 0 : 3;
        const int r = h % 12;
        auto* label = new QLabel(HourCaption(h));
        hgrid->addWidget(label, r, col, Qt::AlignRight);
        QLineEdit* box = NumberBox(f.Text2[static_cast<size_t>(h)], 70);
        // The hour alone says little: the field's own words name the box.
        const project::Field* field = project::FindField("TornadoOccupancy[" + std::to_string(h) + "]");
        LabelInput(label, box, field ? Q(field->label) : QString());
        hgrid->addWidget(box, r, col + 1);
    }
    hgrid->setColumnMinimumWidth(2, 18);
    columns->addWidget(hours, 2);

    w->layout()->addLayout(columns, 1);
    w->AddNavigation({&f.Command1[0], &f.Command1[1], &f.Command1[2], &f.Command1[3]}, &f.Command3, 1);
    w->resize(860, 520);
    return w;
}

}  // namespace verrane::gui
