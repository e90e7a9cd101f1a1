#pragma once
// Common frame of the screen windows: the menu bar of the screen, a body,
// the row of navigation buttons, and closing the window as the screen's
// "E&xit" command (so a project is never closed without the save prompt).
#include <QMainWindow>
#include <QPushButton>
#include <functional>
#include <vector>

#include "gui/binding.h"
#include "screens/screen.h"

class QHBoxLayout;
class QVBoxLayout;

namespace verrane::gui {

class ScreenWindow : public QMainWindow {
public:
    explicit ScreenWindow(Screen& screen);
    QWidget* body() const { return body_; }
    QVBoxLayout* layout() const { return layout_; }
    // Lets the body scroll where the window is smaller than the screen asks
    // (a page of the main window).
    void ScrollBody();
    // A heading in the screen's title style.
    QLabel* AddHeading(const QString& text);
    // The navigation row; `current` names this screen and has no action.
    void AddNavigation(std::vector<platform::CommandButton*> buttons, platform::CommandButton* current,
                       int currentPosition);
    // What closing the window does when the screen has no "mnuExit" item.
    std::function<void()> onClose;
    // Closing: the screen's "E&xit", after the typed text is committed.
    void RequestClose();

protected:
    void closeEvent(QCloseEvent* e) override;
    Screen& screen_;

private:
    QWidget* body_;
    QVBoxLayout* layout_;
};

QPushButton* NavigationButton(platform::CommandButton& c, bool current);

}  // namespace verrane::gui
