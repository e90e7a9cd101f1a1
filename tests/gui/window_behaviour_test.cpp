// The window as the user works it: the mouse on menus, buttons and boxes,
// the keyboard one key at a time, real message boxes. The headless screens
// are tested elsewhere; these tests catch what the binding can break.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "app/app.h"
#include "gui/qt_dialogs.h"
#include "gui/window_manager.h"
#include "platform/paths.h"
#include "screens/building/form3.h"
#include "screens/hazard/form4.h"
#include "screens/mitigation/form5.h"
#include "screens/project/form2.h"
#include "screens/start/form1.h"
#include "tests/gui/widgets.h"
#include "tests/support/test_app.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) { *os << '"' << l.join("\", \"").toStdString() << '"'; }
QT_END_NAMESPACE

using namespace verrane;
using test::Action;
using test::ClickItem;
using test::EnsureQt;
using test::Find;
using test::OpenMenu;
namespace fs = std::filesystem;

namespace {
// The front screen's widgets, in a window the user is working in.
QWidget* Front(gui::WindowManager& windows) {
    QWidget* w = windows.frontWindow();
    if (!w) return nullptr;
    w->window()->show();
    w->window()->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w->window()));
    return w;
}

// Clicks into a box, selects what it holds and types over it key by key.
QLineEdit* TypeInto(QWidget* window, const char* name, const QString& text) {
    auto* e = Find<QLineEdit>(window, name);
    if (!e) return nullptr;
    QTest::mouseClick(e, Qt::LeftButton);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(e, text);
    return e;
}

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Count(const platform::ScriptedDialogs& d, const std::string& text) {
    int n = 0;
    for (const auto& m : d.messages) n += m.text == text;
    return n;
}

fs::path Example(const char* name) { return fs::path(VERRANE_SOURCE_DATA_DIR).parent_path() / "examples" / name; }

// A running program with its windows: fixture data, or the shipped data for tag "".
struct Program {
    test::TestApp t;
    gui::WindowManager windows;
    explicit Program(const std::string& tag) : t(tag), windows(*t.app) { windows.quitWhenEmpty = false; }
    // A new project in Cleveland County, Oklahoma, on the screen the project
    // screen's button `button` leads to.
    QWidget* NewProjectAt(int button) {
        t.Choose("Oklahoma", "Cleveland");
        t.app->form2().Command1_Click(button);
        return Front(windows);
    }
};

// Real message boxes, answered with OK as they appear; their texts in order.
struct MessageBoxAnswerer {
    QStringList texts;
    QTimer timer;
    MessageBoxAnswerer() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->accept();
            }
        });
        timer.start(20);
    }
};
}  // namespace

// Opening the Edit menu with the mouse leaves Cut, Copy and Paste usable,
// and they act on the box the user was in.
TEST(WindowBehaviour, EditMenuWorksWithTheMouse) {
    EnsureQt();
    Program p("gui-edit");
    auto& t = p.t;
    t.Start();
    QWidget* w = Front(p.windows);
    auto* name = TypeInto(w, "Text1_0", "Central School");
    ASSERT_NE(name, nullptr);
    name->setSelection(0, 8);  // "Central "

    QMenu* edit = OpenMenu(w, "&Edit");
    ASSERT_NE(edit, nullptr);
    for (const char* item : {"Cu&t", "&Copy", "&Paste"}) EXPECT_TRUE(Action(edit, item)->isEnabled()) << item;
    ClickItem(edit, "Cu&t");
    EXPECT_EQ(t.dialogs.clipboard, "Central ");
    EXPECT_EQ(name->text(), "School");
    EXPECT_EQ(t.app->form2().Text1[0].text(), "School");

    name->setCursorPosition(6);
    ClickItem(OpenMenu(w, "&Edit"), "&Paste");
    EXPECT_EQ(t.app->form2().Text1[0].text(), "SchoolCentral ");
    EXPECT_EQ(name->text(), "SchoolCentral ");
    name->setSelection(0, 6);
    ClickItem(OpenMenu(w, "&Edit"), "&Copy");
    EXPECT_EQ(t.dialogs.clipboard, "School");

    // Alt+E drops the same menu down from the keyboard, still usable.
    QTest::keyClick(w->window(), Qt::Key_E, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return edit->isVisible(); }, 2000));
    EXPECT_TRUE(Action(edit, "&Paste")->isEnabled());
    QTest::keyClick(edit, Qt::Key_Escape);

    // Moving to another control of the screen is leaving the box.
    QTest::mouseClick(Find<QLineEdit>(w, "Text1_1"), Qt::LeftButton);
    QTest::mouseClick(Find<QComboBox>(w, "Combo3"), Qt::LeftButton);
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    EXPECT_FALSE(t.app->form2().FindMenu("mnuCut")->enabled);
}

// Numbers typed key by key reach the screen whole, and its checks and
// warnings fire once, for the number the user meant.
TEST(WindowBehaviour, NumbersTypedKeyByKeyArriveWhole) {
    EnsureQt();
    Program p("gui-typing");
    auto& t = p.t;
    QWidget* w = p.NewProjectAt(2);
    ASSERT_EQ(t.app->front()->name(), "Form5");
    Form5& f5 = t.app->form5();
    const struct {
        const char* box;
        QString typed;
    } entries[] = {{"Text1_2", "+5"}, {"Text1_6", ".5"}, {"Text1_1", "1e3"}, {"Text1_3", "25"}};
    for (const auto& e : entries) {
        QLineEdit* box = TypeInto(w, e.box, e.typed);
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box, Qt::Key_Tab);
        EXPECT_EQ(box->text(), e.typed) << e.box;
    }
    EXPECT_EQ(f5.Text1[2].text(), "+5");
    EXPECT_EQ(f5.Text1[6].text(), ".5");
    EXPECT_EQ(f5.Text1[1].text(), "1e3");
    EXPECT_EQ(Count(t.dialogs, "You must enter a number for this input."), 0);
}

TEST(WindowBehaviour, FootprintWarningFiresOnceForTheTypedLength) {
    EnsureQt();
    Program p("gui-footprint");
    auto& t = p.t;
    QWidget* w = p.NewProjectAt(0);
    ASSERT_EQ(t.app->front()->name(), "Form3");
    // Retyping a building length warns about the footprint once, if at all.
    Form3& f3 = t.app->form3();
    TypeInto(w, "Text1_0", "100");
    TypeInto(w, "Text1_1", "10");
    TypeInto(w, "Text1_2", "1200");
    QTest::keyClick(Find<QLineEdit>(w, "Text1_2"), Qt::Key_Tab);
    const std::string warning = "Warning: Shelter area is larger than building footprint.";
    const int before = Count(t.dialogs, warning);
    TypeInto(w, "Text1_0", "150");
    QTest::keyClick(Find<QLineEdit>(w, "Text1_0"), Qt::Key_Tab);
    EXPECT_EQ(f3.Text1[0].text(), "150");
    EXPECT_EQ(Count(t.dialogs, warning), before);
    TypeInto(w, "Text1_0", "90");
    QTest::keyClick(Find<QLineEdit>(w, "Text1_0"), Qt::Key_Tab);
    EXPECT_EQ(Count(t.dialogs, warning), before + 1);
}

// A shortcut and closing the window both act on what is typed, not yet committed.
TEST(WindowBehaviour, SaveShortcutAndClosingSaveTheTypedText) {
    EnsureQt();
    Program p("gui-shortcut");
    auto& t = p.t;
    t.Choose("Oklahoma", "Cleveland");
    QWidget* w = Front(p.windows);
    TypeInto(w, "Text1_6", "J. Analyst");
    const fs::path file = fs::temp_directory_path() / ("verrane-gui-shortcut-" + std::to_string(getpid()) + ".tor");
    fs::remove(file);
    t.dialogs.files = {file.string()};
    QTest::keyClick(Find<QLineEdit>(w, "Text1_6"), Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(fs::exists(file));
    EXPECT_EQ(t.app->form2().Text1[6].text(), "J. Analyst");
    EXPECT_NE(ReadAll(file).find("J. Analyst"), std::string::npos);

    // Closing the window offers to save what is typed, still in the box.
    TypeInto(w, "Text1_6", "K. Reviewer");
    fs::remove(file);
    t.dialogs.answers = {platform::Answer::Yes};
    t.dialogs.files = {file.string()};
    p.windows.mainWindow()->close();
    ASSERT_TRUE(fs::exists(file));
    EXPECT_NE(ReadAll(file).find("K. Reviewer"), std::string::npos);
    fs::remove(file);
}

// 251 in the radius box is refused with its message and the slider stays
// where it was: the message box taking the focus is not the user leaving.
TEST(WindowBehaviour, RadiusAboveTheRangeKeepsTheSlider) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    EnsureQt();
    platform::SetDataDir(VERRANE_SOURCE_DATA_DIR);
    gui::QtDialogs dialogs;
    App app(dialogs);
    gui::WindowManager windows(app);
    windows.quitWhenEmpty = false;
    dialogs.parent = [&windows] { return windows.frontWindow(); };
    MessageBoxAnswerer answers;
    app.ProjectFileName = Example("oklahoma-school-gym.tor").string();
    app.HasFileName = true;
    app.form2().Command1_Click(1);
    ASSERT_EQ(app.front()->name(), "Form4");
    QWidget* w = Front(windows);
    Form4& f4 = app.form4();
    if (!f4.Option1[0].value()) Find<QRadioButton>(w, "Option1_0")->click();
    auto* slider = Find<QSlider>(w, "Slider1");
    QLineEdit* radius = TypeInto(w, "Text1", "40");
    QTest::keyClick(radius, Qt::Key_Return);
    ASSERT_EQ(f4.Slider1.value(), 40);
    const auto counties = app.form2().SelectedCounties;
    ASSERT_GT(counties.size(), 1u);
    answers.texts.clear();

    TypeInto(w, "Text1", "251");
    QTest::keyClick(radius, Qt::Key_Return);
    EXPECT_EQ(answers.texts, QStringList{"You must enter a number less than 250."});
    EXPECT_EQ(radius->text(), "40");  // the radius in effect
    EXPECT_EQ(f4.Slider1.value(), 40);
    EXPECT_EQ(slider->value(), 40);
    EXPECT_EQ(app.form2().SelectedCounties, counties);
    answers.texts.clear();
    Front(windows);  // the window manager hands the window back after the message
    // Leaving the box with the mouse refuses it the same way, once.
    TypeInto(w, "Text1", "300");
    QTest::mouseClick(Find<QRadioButton>(w, "Option1_0"), Qt::LeftButton);
    EXPECT_EQ(answers.texts, QStringList{"You must enter a number less than 250."});
    EXPECT_EQ(f4.Slider1.value(), 40);
    EXPECT_EQ(radius->text(), "40");
}

// An impossible value typed and left with Tab is refused with one message
// naming the input, its unit and the range; the box shows the value in
// effect again, and the analysis never sees the refused one.
TEST(WindowBehaviour, ImpossibleValuesTypedGiveWayToTheValueInEffect) {
    EnsureQt();
    Program p("gui-rules");
    auto& t = p.t;
    QWidget* w = p.NewProjectAt(2);
    ASSERT_EQ(t.app->front()->name(), "Form5");
    Form5& f5 = t.app->form5();
    const struct {
        const char* box;
        QString accepted, refused;
        std::string message;
    } entries[] = {
        {"Text1_3", "50", "0.5", "Project useful lifetime (years) must be a whole number from 1 to 32,767."},
        {"Text1_3", "50", "0", "Project useful lifetime (years) must be a whole number from 1 to 32,767."},
        {"Text1_2", "3000", "-5", "Maintenance cost ($ per year) must be 0 or more."},
        {"Text1_1", "850000", "-850000", "Project cost ($) must be 0 or more."},
        {"Text1_6", "0", "101", "Discount rate (%) must be from 0 to 100."},
        {"Text2_30", "40", "500", "User-defined injury effectiveness, 0 - 44 mph (%) must be from 0 to 100."},
    };
    for (const auto& e : entries) {
        QLineEdit* box = TypeInto(w, e.box, e.accepted);
        ASSERT_NE(box, nullptr) << e.box;
        QTest::keyClick(box, Qt::Key_Tab);
        const size_t before = t.dialogs.messages.size();
        TypeInto(w, e.box, e.refused);
        QTest::keyClick(box, Qt::Key_Tab);
        EXPECT_EQ(box->text(), e.accepted) << e.box << " " << e.refused.toStdString();
        ASSERT_EQ(t.dialogs.messages.size(), before + 1) << e.box << " " << e.refused.toStdString();
        EXPECT_EQ(t.dialogs.messages.back().text, e.message);
    }
    EXPECT_EQ(f5.Text1[3].text(), "50");
    EXPECT_EQ(f5.Text1[6].text(), "0");
    // A text that is not a number keeps the numeric message and empties the box.
    QLineEdit* cost = TypeInto(w, "Text1_4", "lots");
    QTest::keyClick(cost, Qt::Key_Tab);
    EXPECT_EQ(cost->text(), "");
    EXPECT_EQ(t.dialogs.messages.back().text, "You must enter a number for this input.");
}

TEST(WindowBehaviour, ImpossibleBuildingValuesTypedGiveWayToTheValueInEffect) {
    EnsureQt();
    Program p("gui-rules-building");
    auto& t = p.t;
    QWidget* w = p.NewProjectAt(0);
    ASSERT_EQ(t.app->front()->name(), "Form3");
    QLineEdit* length = TypeInto(w, "Text1_0", "140");
    QTest::keyClick(length, Qt::Key_Tab);
    TypeInto(w, "Text1_0", "0");
    QTest::keyClick(length, Qt::Key_Tab);
    EXPECT_EQ(length->text(), "140");
    EXPECT_EQ(t.dialogs.messages.back().text, "Building longest length (feet) must be greater than 0.");
    QLineEdit* hour = TypeInto(w, "Text2_13", "-32769");
    QTest::keyClick(hour, Qt::Key_Tab);
    EXPECT_EQ(hour->text(), "0");
    EXPECT_EQ(t.dialogs.messages.back().text, "Tornado shelter occupancy at 1 pm (people) must be 0 or more.");
}

// The analysis commands are off on a fresh project, and go off again when
// the state is set back to " Click State" on a complete one.
TEST(WindowBehaviour, AnalysisCommandsFollowTheProject) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    EnsureQt();
    Program p("");
    App& app = *p.t.app;
    auto& dialogs = p.t.dialogs;
    auto& windows = p.windows;
    app.form1().Show();
    QWidget* w = Front(windows);
    QTest::mouseClick(Find<QPushButton>(w, "Command1_0"), Qt::LeftButton);  // OK: new project
    ASSERT_EQ(app.front()->name(), "Form2");
    w = Front(windows);
    auto* analysis = Find<QPushButton>(w, "Command1_3");
    EXPECT_FALSE(analysis->isEnabled());
    QTest::mouseClick(analysis, Qt::LeftButton);
    EXPECT_EQ(app.front()->name(), "Form2");

    dialogs.answers = {platform::Answer::No};
    dialogs.files = {Example("oklahoma-school-gym.tor").string()};
    ClickItem(OpenMenu(w, "&File"), "&Open");
    w = Front(windows);
    analysis = Find<QPushButton>(w, "Command1_3");
    ASSERT_TRUE(analysis->isEnabled());
    test::Choose(w, "Combo3", " Click State");
    EXPECT_FALSE(analysis->isEnabled());
    QMenu* file = OpenMenu(w, "&File");
    EXPECT_FALSE(Action(file, "Print Pre&view")->isEnabled());
    EXPECT_FALSE(Action(file, "&Print")->isEnabled());
    file->close();
    auto* bar = w->findChild<QMenuBar*>();
    EXPECT_FALSE(Action(bar, "&BC Analysis")->isEnabled());
    // A state without a county is no project to analyse either.
    test::Choose(w, "Combo3", "Oklahoma");
    EXPECT_FALSE(analysis->isEnabled());
    test::Choose(w, "Combo2", "Cleveland");
    EXPECT_TRUE(analysis->isEnabled());
}

// The project screens are pages of one main window that keeps its size and
// place from screen to screen, shows every page's buttons whole at its
// 1024x768 size and names the project file in its title.
TEST(WindowBehaviour, OneMainWindowHoldsTheProjectScreens) {
    if (!test::TestApp::HaveShippedData()) GTEST_SKIP() << "no shipped data";
    EnsureQt();
    Program p("");
    App& app = *p.t.app;
    auto& windows = p.windows;
    app.ProjectFileName = Example("oklahoma-school-gym.tor").string();
    app.HasFileName = true;
    app.form2().Show();
    QWidget* w = Front(windows);
    QMainWindow* main = windows.mainWindow();
    ASSERT_NE(main, nullptr);
    main->resize(gui::kMainWindowSize);
    const QRect place = main->geometry();
    EXPECT_TRUE(main->windowTitle().startsWith("oklahoma-school-gym.tor[*] - ")) << main->windowTitle().toStdString();
    // Building, hazard, mitigation, analysis, and back to the project screen.
    for (const char* screen : {"Form3", "Form4", "Form5", "Form6", "Form2"}) {
        // The buttons lead to the other screens in order, this one left out.
        const int target = screen[4] - '0', here = app.front()->name()[4] - '0';
        const QByteArray name = "Command1_" + QByteArray::number(target - 2 - (target > here ? 1 : 0));
        auto* button = Find<QPushButton>(w, name.constData());
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_EQ(app.front()->name(), screen);
        w = Front(windows);
        EXPECT_EQ(w->window(), main) << screen;
        EXPECT_EQ(main->geometry(), place) << screen;
        EXPECT_EQ(main->windowTitle(),
                  QString("oklahoma-school-gym.tor[*] - ") + QString::fromStdString(app.front()->caption));
        // Every navigation button lies whole inside the window.
        for (auto* b : w->findChildren<QPushButton*>(QRegularExpression("^Command[123]")))
            if (b->isVisible()) {
                EXPECT_TRUE(main->rect().contains(QRect(b->mapTo(main, QPoint()), b->size())))
                    << screen << " " << b->objectName().toStdString();
            }
    }
}
