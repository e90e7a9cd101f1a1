#include "gui/window_manager.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMainWindow>
#include <QMimeData>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>

#include "app/screening.h"
#include "app/sensitivity_source.h"
#include "gui/binding.h"
#include "gui/report_preview.h"
#include "gui/screen_window.h"
#include "gui/screening_window.h"
#include "gui/sensitivity_window.h"
#include "gui/session_settings.h"
#include "platform/output_file.h"
#include "project/project_file.h"
#include "screens/analysis/form6.h"
#include "screens/menus.h"
#include "screens/project/form2.h"

namespace verrane::gui {

namespace {

QString Caption(const Screen& s) { return Q(s.caption).isEmpty() ? QStringLiteral("Verrane") : Q(s.caption); }

QRect FreeArea(QWidget* near) {
    QScreen* screen = near && near->screen() ? near->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// Centres `w` over `over` (or the screen), kept on the screen.
void Centre(QWidget* w, QWidget* over) {
    const QRect free = FreeArea(over ? over : w);
    QRect r(QPoint(), w->frameGeometry().size());
    r.moveCenter(over && over->isVisible() ? over->frameGeometry().center() : free.center());
    r.moveLeft(std::clamp(r.left(), free.left(), std::max(free.left(), free.right() - r.width())));
    r.moveTop(std::clamp(r.top(), free.top(), std::max(free.top(), free.bottom() - r.height())));
    w->move(r.topLeft());
}

// Closing the main window is the Exit of the screen in front.
class MainWindow : public QMainWindow {
public:
    QStackedWidget* pages = new QStackedWidget(this);
    MainWindow() { setCentralWidget(pages); }

protected:
    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        if (auto* page = dynamic_cast<ScreenWindow*>(pages->currentWidget())) page->RequestClose();
    }
};

}  // namespace

WindowManager::WindowManager(App& app) : app_(app) {
    app_.onScreenCreated = [this](Screen& s) {
        QWidget* w = CreateWindowFor(s);
        if (!w) return;
        windows_[&s] = w;
        if (IsPage(s)) {
            EnsureMainWindow();
            if (auto* page = dynamic_cast<ScreenWindow*>(w)) page->ScrollBody();
            pages_->addWidget(w);
            // New, Open, Save and Save As change the file the title names.
            for (QAction* a : w->findChildren<QAction*>())
                connect(a, &QAction::triggered, this, [this] { UpdateTitle(); });
            return;
        }
        w->setWindowTitle(Caption(s));
        if (IsStartScreen(s)) {
            w->setAcceptDrops(true);
            w->installEventFilter(this);
        }
        if (main_ && !IsStartScreen(s)) {
            // The county map and the progress windows stand over the project.
            w->setParent(main_, (w->windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
            w->setWindowModality(Qt::WindowModal);
        }
        w->resize(FitToScreen(w->size(), main_));
    };
    app_.onScreenDiscarded = [this](Screen& s) {
        // The sensitivity shown is that of the results going away.
        if (sensitivity_ && dynamic_cast<Form6*>(&s)) sensitivity_->close();
        auto it = windows_.find(&s);
        if (it != windows_.end()) {
            if (it->second) {
                ForgetBoxes(it->second);
                if (pages_) pages_->removeWidget(it->second);
                it->second->hide();
                it->second->deleteLater();
            }
            windows_.erase(it);
        }
        if (main_ && pages_->count() == 0) {
            if (rememberPlace && main_->isVisible()) StoreMainWindowPlace(*main_);
            main_->hide();
        }
        if (quitWhenEmpty)
            QTimer::singleShot(0, qApp, [this] {
                if (!app_.AnyLoaded()) QApplication::quit();
            });
    };
    app_.onScreenShown = [this](Screen& s) {
        QWidget* w = windowOf(s);
        if (!w) return;
        QWidget* top = w;
        if (IsPage(s)) {
            pages_->setCurrentWidget(w);
            UpdateTitle(&s);
            top = main_;
        } else {
            w->setWindowTitle(Caption(s));
            if (!w->isVisible()) Centre(w, main_ && main_->isVisible() ? main_.data() : nullptr);
        }
        top->show();
        top->raise();
        top->activateWindow();
    };
    app_.onScreenHidden = [this](Screen& s) {
        // A page stays in the main window until another is shown.
        if (QWidget* w = windowOf(s); w && !IsPage(s)) w->hide();
    };
    app_.onShowSensitivity = [this] { ShowSensitivity(); };
    app_.onShowScreening = [this] { ShowScreening(); };
    sensitivityResult = [this] { return CurrentSensitivity(app_); };
}

WindowManager::~WindowManager() {
    app_.onScreenCreated = nullptr;
    app_.onScreenDiscarded = nullptr;
    app_.onScreenShown = nullptr;
    app_.onScreenHidden = nullptr;
    app_.onShowSensitivity = nullptr;
    app_.onShowScreening = nullptr;
    if (rememberPlace && main_ && main_->isVisible()) StoreMainWindowPlace(*main_);
    delete sensitivity_.data();
    delete screening_.data();
    for (auto& [s, w] : windows_)
        if (w) delete w.data();
    delete main_.data();
}

QMainWindow* WindowManager::EnsureMainWindow() {
    if (main_) return main_;
    auto* m = new MainWindow();
    main_ = m;
    pages_ = m->pages;
    m->setWindowTitle("Verrane");
    // Typing changes the project without a command: the title follows.
    auto* titleTimer = new QTimer(m);
    connect(titleTimer, &QTimer::timeout, this, [this] { UpdateTitle(); });
    titleTimer->start(250);
    m->setAcceptDrops(true);
    m->installEventFilter(this);
    // One size and one place for the whole session, whole on the screen:
    // where it was last, or centred.
    if (!rememberPlace || !RestoreMainWindowPlace(*m)) {
        m->resize(FitToScreen(kMainWindowSize, nullptr, 24));
        Centre(m, nullptr);
    }
    return m;
}

QString DraggedProjectFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    if (!url.isLocalFile() || !url.toLocalFile().endsWith(".tor", Qt::CaseInsensitive)) return {};
    return url.toLocalFile();
}

bool WindowManager::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (DraggedProjectFile(drag->mimeData()).isEmpty()) return false;
            drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString file = DraggedProjectFile(drop->mimeData());
            if (file.isEmpty()) return false;
            drop->acceptProposedAction();
            // The drag ends first; the save prompt and the file's messages follow.
            QTimer::singleShot(0, this, [this, file] { OpenDroppedFile(file); });
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

void WindowManager::OpenDroppedFile(const QString& file) {
    CommitPendingEdits();
    Screen* from = app_.front();
    if (!from) return;
    OpenGivenProject(app_, *from, S(file));
    UpdateTitle();
}

void WindowManager::UpdateTitle(const Screen* shown) {
    if (!shown) shown = app_.front();
    const Form2* project = app_.Loaded<Form2>();
    if (!main_ || !shown || !IsPage(*shown) || !project) return;
    const QString file = app_.HasFileName ? QFileInfo(Q(app_.ProjectFileName)).fileName() : QStringLiteral("Untitled");
    main_->setWindowTitle(file + "[*] - " + Caption(*shown));
    // What a save would write now, against what it was when the screens and
    // the file last agreed.
    const std::vector<std::string> now = project::FormatProjectFile(project->StoreDocument());
    if (agreedAt_ != app_.ProjectAgreesWithFile) {
        agreedAt_ = app_.ProjectAgreesWithFile;
        agreed_ = now;
    }
    main_->setWindowModified(now != agreed_);
}

QWidget* WindowManager::windowOf(const Screen& s) const {
    auto it = windows_.find(&s);
    return it == windows_.end() ? nullptr : it->second.data();
}

QWidget* WindowManager::frontWindow() const { return app_.front() ? windowOf(*app_.front()) : nullptr; }

QMainWindow* WindowManager::mainWindow() const { return main_.data(); }

SensitivityWindow* WindowManager::sensitivityWindow() const { return sensitivity_.data(); }

void WindowManager::ShowOverMain(QWidget& window) {
    if (!window.isVisible()) Centre(&window, main_);
    window.show();
    window.raise();
    window.activateWindow();
}

void WindowManager::ShowSensitivity() {
    model::SensitivityResult result;
    try {
        BusyPointer busy(app_.dialogs);
        result = sensitivityResult();
    } catch (const std::exception& e) {
        app_.dialogs.MsgBox(std::string("The sensitivity could not be computed. ") + e.what(), platform::Buttons::OK,
                            platform::Icon::Exclamation, "Sensitivity");
        return;
    }
    if (!sensitivity_) {
        // Over the results, which it blocks while it is open: what it shows
        // stays the sensitivity of what the results screen shows.
        sensitivity_ = new SensitivityWindow(app_.dialogs, main_);
        sensitivity_->setWindowModality(Qt::WindowModal);
    }
    sensitivity_->SetResult(std::move(result));
    ShowOverMain(*sensitivity_);
}

ScreeningWindow* WindowManager::screeningWindow() const { return screening_.data(); }

void WindowManager::ShowScreening() {
    // The project as the screens hold it now; its own county is not needed.
    ScreeningTemplate tmpl{app_.form2().StoreDocument(), app_.HasFileName ? app_.ProjectFileName : std::string(),
                           app_.ReferenceDatabase()};
    if (const std::string reason = screening::CannotScreenReason(tmpl.document); !reason.empty()) {
        app_.dialogs.MsgBox(reason, platform::Buttons::OK, platform::Icon::Exclamation, "Screen Counties");
        return;
    }
    if (!screening_) {
        // Over the screens, which it blocks while it is open: what it screens
        // stays the project the screens hold.
        screening_ = new ScreeningWindow(app_.dialogs, main_);
        screening_->setWindowModality(Qt::WindowModal);
    }
    screening_->SetTemplate(std::move(tmpl));
    ShowOverMain(*screening_);
}

bool SaveWindowImage(QWidget* window, const std::filesystem::path& file, std::string& error) {
    if (!window) {
        error = "There is no window to draw.";
        return false;
    }
    QWidget* top = window->window();
    top->ensurePolished();
    // A window of its own takes the size its contents ask for; the main window keeps its own.
    if (top == window) window->adjustSize();
    if (!top->isVisible()) {
        top->setAttribute(Qt::WA_DontShowOnScreen, true);
        top->show();
    }
    QApplication::processEvents();
    return WriteWidgetPng(top, file, error);
}

bool WriteWidgetPng(QWidget* widget, const std::filesystem::path& file, std::string& error) {
    const QPixmap image = widget->grab();
    try {
        platform::WriteFileAtomically(file, [&image](QIODevice& out) { return image.save(&out, "PNG"); });
    } catch (const platform::TextFileError& e) {
        error = e.what();
        return false;
    }
    return true;
}

}  // namespace verrane::gui
