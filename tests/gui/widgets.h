#pragma once
// What the window tests share: one QApplication for the test process, and
// finding and choosing through the widgets by their control names.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

namespace verrane::test {

inline void EnsureQt() {
    static int argc = 1;
    static char arg0[] = "gui_tests";
    static char* argv[] = {arg0, nullptr};
    if (QApplication::instance()) return;
    // Settings go to a test folder, never to the user's own.
    QStandardPaths::setTestModeEnabled(true);
    new QApplication(argc, argv);  // lives for the test process
}

template <class W>
W* Find(QWidget* window, const char* name) {
    W* w = window ? window->findChild<W*>(name) : nullptr;
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Picks an entry of a combo box as a click in its list does.
inline void Choose(QWidget* window, const char* name, const QString& entry) {
    auto* c = Find<QComboBox>(window, name);
    if (!c) return;
    const int i = c->findText(entry);
    ASSERT_GE(i, 0) << entry.toStdString();
    c->setCurrentIndex(i);
    emit c->activated(i);
}

inline QAction* Action(QWidget* menu, const QString& text) {
    for (QAction* a : menu->actions())
        if (a->text() == text) return a;
    return nullptr;
}

// Drops a menu of the menu bar down with the mouse.
inline QMenu* OpenMenu(QWidget* window, const QString& title) {
    auto* bar = window->findChild<QMenuBar*>();
    QAction* top = bar ? Action(bar, title) : nullptr;
    if (!top || !top->menu()) {
        ADD_FAILURE() << "no menu " << title.toStdString();
        return nullptr;
    }
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return top->menu()->isVisible(); }, 2000)) << title.toStdString();
    return top->menu();
}

// Clicks an item of a dropped-down menu.
inline void ClickItem(QMenu* menu, const QString& text) {
    QAction* a = menu ? Action(menu, text) : nullptr;
    ASSERT_NE(a, nullptr) << text.toStdString();
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
    (void)QTest::qWaitFor([&] { return !menu->isVisible(); }, 2000);
}

}  // namespace verrane::test
