#include "gui/form5_window.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "gui/binding.h"
#include "gui/screen_window.h"

namespace verrane::gui {

namespace {
QLineEdit* NumberBox(platform::TextBox& c, int width) {
    auto* e = new QLineEdit();
    Bind(e, c);
    e->setFixedWidth(width);
    e->setAlignment(Qt::AlignRight);
    if (c.locked) e->setFocusPolicy(Qt::NoFocus);
    return e;
}

// A column heading, broken into lines where the caption says so (never
// inside "User-Defined").
QLabel* Heading(const char* text, bool optional) {
    QLabel* l = optional ? BlueLabel(text) : new QLabel(text);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    return l;
}

QLabel* GroupTitle(const char* text) {
    auto* l = new QLabel(text);
    l->setAlignment(Qt::AlignHCenter);
    l->setFrameShape(QFrame::StyledPanel);
    l->setContentsMargins(6, 1, 6, 1);
    return l;
}

// One table of the rate grid: injuries or deaths.
QGroupBox* RateTable(Form5& f, const char* title, model::RateTable table, const char* const captions[5]) {
    auto* box = new QGroupBox(title);
    QFont bold = box->font();
    bold.setBold(true);
    box->setFont(bold);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    QFont plain = bold;
    plain.setBold(false);
    auto add = [&](QWidget* widget, int r, int c, int rs = 1, int cs = 1, Qt::Alignment a = {}) {
        widget->setFont(plain);
        grid->addWidget(widget, r, c, rs, cs, a);
    };
    add(GroupTitle("Pre-Mitigation"), 0, 1, 1, 2);
    add(GroupTitle("Mitigation Effectiveness"), 0, 3, 1, 2);
    add(GroupTitle("Post-Mitigation"), 0, 5);
    // The column captions a point smaller, so "User-Defined" fits its column whole.
    QFont small = plain;
    small.setPointSizeF(plain.pointSizeF() - 1);
    auto heading = [&](const char* text, bool optional, int c) {
        QLabel* l = Heading(text, optional);
        l->setFont(small);
        grid->addWidget(l, 1, c);
    };
    heading("Wind\nSpeeds\n(mph*)", false, 0);
    for (int c = 0; c < 5; ++c) heading(captions[c], c == 1 || c == 3, c + 1);
    for (int k = 0; k < 9; ++k) {
        add(new QLabel(model::WindRangeNames[static_cast<size_t>(k)]), k + 2, 0, 1, 1, Qt::AlignRight);
        for (int c = 0; c < 5; ++c) {
            const size_t cell = model::RateCell(table, static_cast<model::RateColumn>(c), static_cast<size_t>(k));
            auto* e = NumberBox(f.Text2[cell], 62);
            // A cell has no label of its own: its table, column and row name it.
            const char* group = c < 2 ? "Pre-Mitigation" : (c < 4 ? "Mitigation Effectiveness" : "Post-Mitigation");
            e->setAccessibleName(QString("%1, %2, %3, %4 mph")
                                     .arg(title, group, QString(captions[c]).simplified(),
                                          Q(model::WindRangeNames[static_cast<size_t>(k)])));
            add(e, k + 2, c + 1, 1, 1, Qt::AlignHCenter);
        }
    }
    return box;
}
}  // namespace

QWidget* CreateForm5Window(Form5& f) {
    auto* w = new ScreenWindow(f);
    w->AddHeading("Mitigation Project Information");

    auto* top = new QGroupBox();
    auto* grid = new QGridLayout(top);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    auto* descriptionLabel = new QLabel("Mitigation Project Description");
    grid->addWidget(descriptionLabel, 0, 0, Qt::AlignRight | Qt::AlignTop);
    auto* description = new QPlainTextEdit();
    Bind(description, f.Text1[0]);
    LabelInput(descriptionLabel, description);
    description->setFixedHeight(46);
    description->setTabChangesFocus(true);
    grid->addWidget(description, 0, 1, 1, 6);
    auto number = [&](int index, const char* caption, const char* units, int r, int c) {
        auto* label = new QLabel(caption);
        grid->addWidget(label, r, c, Qt::AlignRight);
        auto* e = new QLineEdit();
        Bind(e, f.Text1[static_cast<size_t>(index)]);
        const QString words = QString(caption).simplified();
        LabelInput(label, e, *units ? QString("%1 (%2)").arg(words, units) : words);
        e->setFixedWidth(100);
        e->setAlignment(Qt::AlignRight);
        grid->addWidget(e, r, c + 1);
        grid->addWidget(new QLabel(units), r, c + 2);
    };
    number(1, "Project Cost ($)", "", 1, 0);
    number(2, "Maintenance Cost ($)", "per year", 2, 0);
    number(3, "Project Lifetime", "years", 3, 0);
    number(6, "Discount Rate (Default: 7%)", "%", 4, 0);
    number(4, "Injury Cost ($)     (Default: $12,500)", "per person", 1, 4);
    number(5, "Death Cost ($)   (Default: $2,200,000)", "per person", 2, 4);
    auto* speedLabel = new QLabel("Design Wind Speed from Figure 2-2");
    grid->addWidget(speedLabel, 3, 4, Qt::AlignRight);
    auto* speed = new QComboBox();
    Bind(speed, f.Combo1);
    LabelInput(speedLabel, speed, "Design Wind Speed from Figure 2-2 (mph, 3-second gust)");
    speed->setMinimumWidth(100);
    grid->addWidget(speed, 3, 5);
    grid->addWidget(new QLabel("mph*"), 3, 6);
    grid->setColumnMinimumWidth(3, 24);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(6, 1);
    w->layout()->addWidget(top);

    // The two tables head their columns alike; only the outcome differs.
    const char* const injury[5] = {"Default\n%\nInjured", "User-Defined\n%", "Default\n%", "User-Defined\n%",
                                   "Calculated\n%\nInjured"};
    const char* const death[5] = {"Default\n%\nDead", "User-Defined\n%", "Default\n%", "User-Defined\n%",
                                  "Calculated\n%\nDead"};
    auto* tables = new QHBoxLayout();
    tables->setSpacing(12);
    tables->addWidget(RateTable(f, "Injury", model::RateTable::Injury, injury));
    tables->addWidget(RateTable(f, "Death", model::RateTable::Death, death));
    w->layout()->addLayout(tables);

    auto* notes = new QHBoxLayout();
    notes->addWidget(new QLabel("* 3-second gust"));
    notes->addStretch();
    notes->addWidget(BlueLabel("Inputs in blue are not required."));
    w->layout()->addLayout(notes);
    w->layout()->addStretch();
    w->AddNavigation({&f.Command1[0], &f.Command1[1], &f.Command1[2], &f.Command1[3]}, &f.Command3, 3);
    w->resize(1000, 640);
    return w;
}

}  // namespace verrane::gui
