#include "gui/session_settings.h"

#include <QMainWindow>
#include <QSettings>
#include <QStringList>

#include "app/app.h"
#include "gui/binding.h"

namespace verrane::gui {

std::vector<std::string> StoredRecentFiles() {
    std::vector<std::string> files;
    for (const QString& f : QSettings().value(kRecentFilesKey).toStringList())
        if (!f.isEmpty() && files.size() < ScreenHost::kRecentFileCount) files.push_back(S(f));
    return files;
}

void StoreRecentFiles(const std::vector<std::string>& files) {
    QStringList list;
    for (const std::string& f : files) list << Q(f);
    QSettings().setValue(kRecentFilesKey, list);
}

void RememberRecentFiles(App& app) {
    app.SetRecentFiles(StoredRecentFiles());
    app.onRecentFilesChanged = [&app] { StoreRecentFiles(app.RecentFiles); };
}

bool RestoreMainWindowPlace(QMainWindow& window) {
    const QByteArray place = QSettings().value(kMainWindowPlaceKey).toByteArray();
    return !place.isEmpty() && window.restoreGeometry(place);
}

void StoreMainWindowPlace(const QMainWindow& window) {
    QSettings().setValue(kMainWindowPlaceKey, window.saveGeometry());
}

}  // namespace verrane::gui
