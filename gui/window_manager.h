#pragma once
// Keeps one Qt window per headless screen: created with the screen,
// destroyed with it, shown and hidden with it. Every screen's window stands
// in the same place on the desktop, and one is in front at a time.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <map>

#include "app/app.h"

namespace verrane::gui {

// The window of a screen, made by the screen's own window file.
QWidget* CreateWindowFor(Screen& screen);

class WindowManager : public QObject {
public:
    explicit WindowManager(App& app);
    ~WindowManager() override;
    QWidget* windowOf(const Screen& s) const;
    QWidget* frontWindow() const;
    // Ends the program once no screen is left.
    bool quitWhenEmpty = true;

private:
    App& app_;
    std::map<const Screen*, QPointer<QWidget>> windows_;
};

// Renders the window of a screen to a PNG file (works on the offscreen platform).
bool SaveWindowImage(QWidget* window, const QString& file);

}  // namespace verrane::gui
