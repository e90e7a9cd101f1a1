// Keyboard and screen-reader users: every input of the windows carries a
// name (its label's words) and its label points to it; on the county map
// window a county can be found and picked from the keyboard, acting exactly
// as a click on the map does; the wheel zooms the map.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>

#include "app/app.h"
#include "gui/window_manager.h"
#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/hazard/form4.h"
#include "screens/hazard/form7.h"
#include "screens/mitigation/form5.h"
#include "screens/project/form2.h"
#include "tests/gui/widgets.h"
#include "tests/support/test_app.h"

using namespace verrane;

namespace {

// What a screen reader is told the input is. A combo box reports its entry
// as its name on this desktop and its label through the label's relation:
// its own accessible name is the label's words.
QString AccessibleName(QWidget* w) {
    if (qobject_cast<QComboBox*>(w)) return w->accessibleName();
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

bool HasBuddy(QWidget* input) {
    for (QLabel* l : input->window()->findChildren<QLabel*>())
        if (l->buddy() == input) return true;
    return false;
}

// The inputs of a window the user can reach or read.
std::vector<QWidget*> Inputs(QWidget* window) {
    std::vector<QWidget*> out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(w) && qobject_cast<QComboBox*>(w->parentWidget())) continue;  // a combo's own box
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w) || qobject_cast<QSlider*>(w) ||
            qobject_cast<QListWidget*>(w))
            out.push_back(w);
    }
    return out;
}

QWidget* Named(QWidget* window, const QString& name) {
    for (QWidget* w : Inputs(window))
        if (AccessibleName(w) == name) return w;
    return nullptr;
}

struct Program {
    test::TestApp t{""};
    gui::WindowManager windows{*t.app};
    Program() { windows.quitWhenEmpty = false; }
};

// The county map window over a project in Cleveland County, Oklahoma.
Form7* OpenCountyMap(Program& p) {
    p.t.Choose("Oklahoma", "Cleveland");
    Form4& f4 = p.t.app->form4();
    f4.Show();
    p.t.dialogs.answers.push_back(platform::Answer::Yes);
    f4.Option1[2].setValue(true);
    f4.Command2.click();
    QApplication::processEvents();
    return p.t.app->Loaded<Form7>();
}

}  // namespace

TEST(KeyboardAccess, EveryInputHasANameAndItsLabelPointsToIt) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    test::EnsureQt();
    Program p;
    p.t.Choose("Oklahoma", "Cleveland");
    App& app = *p.t.app;
    const std::vector<Screen*> screens{&app.form2(), &app.form3(), &app.form4(), &app.form5(), &app.form6()};
    int inputs = 0;
    for (Screen* s : screens) {
        QWidget* w = p.windows.windowOf(*s);
        ASSERT_NE(w, nullptr);
        for (QWidget* input : Inputs(w)) {
            ++inputs;
            const std::string where = s->name() + " " + input->objectName().toStdString();
            EXPECT_FALSE(AccessibleName(input).isEmpty()) << where;
            // A label of its own, except the rate grid's cells and the radio
            // buttons and check boxes, whose text is their label.
            const bool gridCell = dynamic_cast<Form5*>(s) && input->objectName().startsWith("Text2_");
            if (!gridCell && !qobject_cast<QCheckBox*>(input) && !qobject_cast<QRadioButton*>(input) &&
                !qobject_cast<QSlider*>(input)) {
                EXPECT_TRUE(HasBuddy(input)) << where;
            }
        }
    }
    EXPECT_GT(inputs, 100);

    // The words a screen reader says.
    EXPECT_NE(Named(p.windows.windowOf(app.form2()), "Building Name"), nullptr);
    EXPECT_NE(Named(p.windows.windowOf(app.form2()), "County"), nullptr);
    EXPECT_NE(Named(p.windows.windowOf(app.form3()), "Building Longest Length (feet)"), nullptr);
    EXPECT_NE(Named(p.windows.windowOf(app.form3()), "Tornado shelter occupancy at 1 pm (people)"), nullptr);
    EXPECT_NE(Named(p.windows.windowOf(app.form4()), "Select Radius (miles)"), nullptr);
    QWidget* mitigation = p.windows.windowOf(app.form5());
    EXPECT_NE(Named(mitigation, "Project Lifetime (years)"), nullptr);
    EXPECT_NE(Named(mitigation, "Discount Rate (Default: 7%) (%)"), nullptr);
    EXPECT_NE(Named(mitigation, "Death, Mitigation Effectiveness, User-Defined %, 211 - 262 mph"), nullptr);

    // A result box is named by its caption, which follows the lifetime.
    QWidget* results = p.windows.windowOf(app.form6());
    int captioned = 0;
    for (QLabel* l : results->findChildren<QLabel*>())
        if (auto* box = qobject_cast<QLineEdit*>(l->buddy())) {
            ++captioned;
            EXPECT_EQ(AccessibleName(box), l->text().simplified());
        }
    EXPECT_EQ(captioned, 8);
}

// Typing part of a name narrows the list to the county; Enter adds it, as a
// left click on the map would, and a tick shows it; Enter again removes it;
// the project county cannot be removed, with the map's own message.
TEST(KeyboardAccess, ACountyIsPickedFromTheListAsByAClickOnTheMap) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    test::EnsureQt();
    Program p;
    Form7* f7 = OpenCountyMap(p);
    ASSERT_NE(f7, nullptr);
    QWidget* w = p.windows.windowOf(*f7);
    auto* filter = test::Find<QLineEdit>(w, "CountyFilter");
    auto* list = test::Find<QListWidget>(w, "CountyList");
    ASSERT_TRUE(filter && list);
    EXPECT_EQ(list->count(), 77);  // Oklahoma's counties
    EXPECT_EQ(AccessibleName(list), "Counties of Oklahoma");
    EXPECT_EQ(AccessibleName(filter), "Find county");
    const std::vector<std::string> before = f7->MapCountyList;
    ASSERT_EQ(before, std::vector<std::string>{"40027"});

    w->window()->show();
    w->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w->window()));
    filter->setFocus();
    QTest::keyClicks(filter, "mcclain");
    int shown = 0;
    for (int i = 0; i < list->count(); ++i) shown += !list->item(i)->isHidden();
    EXPECT_EQ(shown, 1);
    ASSERT_EQ(list->currentItem()->text(), "McClain");
    EXPECT_EQ(list->currentItem()->checkState(), Qt::Unchecked);
    QTest::keyClick(filter, Qt::Key_Return);
    EXPECT_EQ(f7->MapCountyList, (std::vector<std::string>{"40027", "40087"}));
    EXPECT_EQ(list->currentItem()->checkState(), Qt::Checked);
    EXPECT_EQ(f7->Label2[12].caption().empty(), false);

    // Down goes into the list, where Enter acts on the county too.
    QTest::keyClick(filter, Qt::Key_Down);
    EXPECT_TRUE(list->hasFocus());
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(f7->MapCountyList, before);
    EXPECT_EQ(list->currentItem()->checkState(), Qt::Unchecked);

    // The same county through the map's own path: the two agree.
    const auto entries = f7->StateCounties();
    const auto mcclain = std::find_if(entries.begin(), entries.end(), [](auto& e) { return e.name == "McClain"; });
    ASSERT_NE(mcclain, entries.end());
    f7->CountyClicked(1, mcclain->record);
    EXPECT_EQ(list->currentItem()->checkState(), Qt::Checked);
    f7->CountyClicked(1, mcclain->record);

    filter->clear();
    QTest::keyClicks(filter, "clevel");
    p.t.dialogs.messages.clear();
    QTest::keyClick(filter, Qt::Key_Return);
    EXPECT_EQ(p.t.dialogs.texts(), std::vector<std::string>{"This is the project county and can not be removed."});
    EXPECT_EQ(f7->MapCountyList, before);
}

// One notch of the wheel zooms the county map 1.25 times about the point
// under the pointer, which stays put; a notch back returns.
TEST(KeyboardAccess, TheWheelZoomsTheCountyMap) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    test::EnsureQt();
    Program p;
    Form7* f7 = OpenCountyMap(p);
    ASSERT_NE(f7, nullptr);
    QWidget* w = p.windows.windowOf(*f7);
    QWidget* map = w->findChild<QWidget*>("Map1");
    ASSERT_NE(map, nullptr);
    w->window()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w->window()));
    EXPECT_EQ(AccessibleName(map), "County map");
    const double twips = platform::MapControl::kTwipsPerPixel;
    const QPointF at(map->width() * 0.3, map->height() * 0.6);
    const platform::MapPoint under = f7->Map1.ToMapPoint(at.x() * twips, at.y() * twips);
    const double width = f7->Map1.visibleExtent().width();
    auto wheel = [&](int delta) {
        QWheelEvent e(at, map->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
        QApplication::sendEvent(map, &e);
    };
    const int refreshes = f7->Map1.refreshCount();
    wheel(120);
    EXPECT_NEAR(f7->Map1.visibleExtent().width(), width / 1.25, width * 1e-9);
    const platform::MapPoint still = f7->Map1.ToMapPoint(at.x() * twips, at.y() * twips);
    EXPECT_NEAR(still.x, under.x, width * 1e-9);
    EXPECT_NEAR(still.y, under.y, width * 1e-9);
    EXPECT_GT(f7->Map1.refreshCount(), refreshes);
    wheel(-120);
    EXPECT_NEAR(f7->Map1.visibleExtent().width(), width, width * 1e-9);
    // Far out, the view stops at four times the width of all the layers.
    double all = 0;
    for (const auto& layer : f7->Map1.layers()) all = std::max(all, layer->extent().width());
    for (int i = 0; i < 40; ++i) wheel(-120);
    EXPECT_NEAR(f7->Map1.visibleExtent().width(), 4 * all, all * 1e-6);
}
