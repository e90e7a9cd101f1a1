#pragma once
// Keeps one Qt widget per headless screen: created with the screen,
// destroyed with it, shown and hidden with it. The project screens (Form2 to
// Form6) are pages of one main window that keeps its size and place; the
// start screen, the county map and the progress windows are windows of
// their own, the map and the progress over the main window.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/app.h"
#include "model/sensitivity.h"

class QMainWindow;
class QMimeData;
class QStackedWidget;

namespace verrane::gui {

class ScreeningWindow;
class SensitivityWindow;

// The window of a screen, made by the screen's own window file.
QWidget* CreateWindowFor(Screen& screen);
// The project screens (Form2 to Form6) are pages of the main window.
bool IsPage(const Screen& screen);
bool IsStartScreen(const Screen& screen);

class WindowManager : public QObject {
public:
    explicit WindowManager(App& app);
    ~WindowManager() override;
    // The widget of a screen: a page of the main window, or a window.
    QWidget* windowOf(const Screen& s) const;
    QWidget* frontWindow() const;
    // The main window holding the project screens (null until the first one exists).
    QMainWindow* mainWindow() const;
    // Ends the program once no screen is left.
    bool quitWhenEmpty = true;
    // The main window opens where it was last closed, and its size and place
    // are stored when it closes (gui/session_settings).
    bool rememberPlace = false;
    // What "Sensitivity..." shows, computed with the busy pointer on; by
    // default the sensitivity of the project the screens hold.
    std::function<model::SensitivityResult()> sensitivityResult;
    // The one sensitivity window, over the results screen (null until opened).
    SensitivityWindow* sensitivityWindow() const;
    // The one screening window, over the screens (null until opened).
    ScreeningWindow* screeningWindow() const;

    // A project file dropped on the main window or the start screen: opened
    // through File > Open's steps (OpenGivenProject of screens/menus).
    void OpenDroppedFile(const QString& file);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A window over the main window, centred on it the first time it shows,
    // brought to the front.
    void ShowOverMain(QWidget& window);
    void ShowSensitivity();
    void ShowScreening();
    QMainWindow* EnsureMainWindow();
    // "file.tor[*] - caption of the screen in front" (`shown`, or the front
    // screen); "Untitled" for a project without a file; the mark shows
    // changes not yet saved.
    void UpdateTitle(const Screen* shown = nullptr);
    App& app_;
    std::map<const Screen*, QPointer<QWidget>> windows_;
    QPointer<QMainWindow> main_;
    QPointer<SensitivityWindow> sensitivity_;
    QPointer<ScreeningWindow> screening_;
    QStackedWidget* pages_ = nullptr;
    // The project file's lines when the screens and the file last agreed
    // (App::ProjectAgreesWithFile was agreedAt_).
    std::vector<std::string> agreed_;
    int agreedAt_ = -1;
};

// Renders the window of a screen to a PNG file (works on the offscreen
// platform); a page is rendered in the main window, as the user sees it.
// False, with the reason in `error`, when the file was not written.
bool SaveWindowImage(QWidget* window, const std::filesystem::path& file, std::string& error);
// A widget as it is drawn now, as a PNG file through the safe writer.
bool WriteWidgetPng(QWidget* widget, const std::filesystem::path& file, std::string& error);

// The single local project file (.tor) a drag carries, or an empty string.
QString DraggedProjectFile(const QMimeData* data);

// Room the main window asks for; it fits a 1024x768 screen with its frame.
inline constexpr QSize kMainWindowSize(1000, 700);

}  // namespace verrane::gui
