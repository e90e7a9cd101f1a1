#include "gui/window_manager.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/binding.h"

namespace verrane::gui {

namespace {
const QPoint kScreenPosition(60, 40);
}

WindowManager::WindowManager(App& app) : app_(app) {
    app_.onScreenCreated = [this](Screen& s) {
        QWidget* w = CreateWindowFor(s);
        if (!w) return;
        w->setWindowTitle(Q(s.caption).isEmpty() ? QStringLiteral("Verrane") : Q(s.caption));
        w->move(kScreenPosition);
        windows_[&s] = w;
    };
    app_.onScreenDiscarded = [this](Screen& s) {
        auto it = windows_.find(&s);
        if (it != windows_.end()) {
            if (it->second) {
                ForgetBoxes(it->second);
                it->second->hide();
                it->second->deleteLater();
            }
            windows_.erase(it);
        }
        if (quitWhenEmpty)
            QTimer::singleShot(0, qApp, [this] {
                if (!app_.AnyLoaded()) QApplication::quit();
            });
    };
    app_.onScreenShown = [this](Screen& s) {
        if (QWidget* w = windowOf(s)) {
            w->setWindowTitle(Q(s.caption).isEmpty() ? QStringLiteral("Verrane") : Q(s.caption));
            w->show();
            w->raise();
            w->activateWindow();
        }
    };
    app_.onScreenHidden = [this](Screen& s) {
        if (QWidget* w = windowOf(s)) w->hide();
    };
}

WindowManager::~WindowManager() {
    app_.onScreenCreated = nullptr;
    app_.onScreenDiscarded = nullptr;
    app_.onScreenShown = nullptr;
    app_.onScreenHidden = nullptr;
    for (auto& [s, w] : windows_)
        if (w) delete w.data();
}

QWidget* WindowManager::windowOf(const Screen& s) const {
    auto it = windows_.find(&s);
    return it == windows_.end() ? nullptr : it->second.data();
}

QWidget* WindowManager::frontWindow() const { return app_.front() ? windowOf(*app_.front()) : nullptr; }

bool SaveWindowImage(QWidget* window, const QString& file) {
    if (!window) return false;
    window->ensurePolished();
    window->adjustSize();
    if (!window->isVisible()) {
        window->setAttribute(Qt::WA_DontShowOnScreen, true);
        window->show();
    }
    QApplication::processEvents();
    return window->grab().save(file, "PNG");
}

}  // namespace verrane::gui
