#pragma once
// What the window tests share: one QApplication for the test process, and
// finding and choosing through the widgets by their control names.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QWidget>

namespace verrane::test {

inline void EnsureQt() {
    static int argc = 1;
    static char arg0[] = "gui_tests";
    static char* argv[] = {arg0, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);  // lives for the test process
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

}  // namespace verrane::test
