#include "gui/qt_dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QSpacerItem>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <iostream>

#include "gui/binding.h"
#include "gui/report_preview.h"

namespace verrane::gui {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

Answer QtDialogs::MsgBox(const std::string& text, Buttons buttons, Icon icon, const std::string& title) {
    if (unattended) {
        std::cerr << (title.empty() || title == " " ? std::string("Verrane") : title) << ": " << text << '\n';
        return buttons == Buttons::OK ? Answer::OK : (buttons == Buttons::YesNo ? Answer::No : Answer::Cancel);
    }
    QMessageBox box(parent ? parent() : nullptr);
    box.setWindowTitle(Q(title).trimmed().isEmpty() ? QStringLiteral("Verrane") : Q(title));
    box.setText(Q(text));
    switch (icon) {
        case Icon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::None:
            break;
    }
    switch (buttons) {
        case Buttons::OK:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    // Wide enough for the whole title beside the frame's buttons: the desktop
    // cuts a title that does not fit ("Cou...tify").
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(box.fontMetrics().horizontalAdvance(box.windowTitle()) + 120, 0,
                                      QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    // The busy pointer must not hide the pointer over a question.
    const int saved = busy_;
    while (busy_ > 0) SetBusy(false);
    const int r = box.exec();
    while (busy_ < saved) SetBusy(true);
    switch (r) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            return buttons == Buttons::YesNoCancel ? Answer::Cancel
                                                   : (buttons == Buttons::YesNo ? Answer::No : Answer::OK);
    }
}

std::optional<std::string> QtDialogs::FileDialog(const platform::FileDialogRequest& r) {
    if (unattended) return std::nullopt;
    // "Tornado Project (*.tor)|*.tor" -> "Tornado Project (*.tor)"
    QString filter = Q(r.filter).section('|', 0, 0);
    QFileDialog dlg(parent ? parent() : nullptr);
    dlg.setNameFilter(filter);
    dlg.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !(r.flags & 2));
    dlg.setOption(QFileDialog::ReadOnly, false);
    // The project's own folder, else the folder of the last file chosen.
    QSettings settings;
    const QString last = settings.value(kLastFolderKey).toString();
    if (!r.folder.empty())
        dlg.setDirectory(Q(r.folder));
    else if (!last.isEmpty() && QFileInfo(last).isDir())
        dlg.setDirectory(last);
    const int saved = busy_;
    while (busy_ > 0) SetBusy(false);
    const bool ok = dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty();
    while (busy_ < saved) SetBusy(true);
    if (!ok) return std::nullopt;
    const QString chosen = dlg.selectedFiles().front();
    settings.setValue(kLastFolderKey, QFileInfo(chosen).absolutePath());
    return S(chosen);
}

void QtDialogs::SetBusy(bool busy) {
    if (busy) {
        ++busy_;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busy_ > 0) {
        --busy_;
        QApplication::restoreOverrideCursor();
    }
}

void QtDialogs::Beep() { QApplication::beep(); }

std::string QtDialogs::ClipboardText() { return S(QGuiApplication::clipboard()->text()); }

void QtDialogs::SetClipboardText(const std::string& t) { QGuiApplication::clipboard()->setText(Q(t)); }

void QtDialogs::ShowHelp(const std::string& helpFile, int) {
    static QPointer<QTextBrowser> browser;
    if (!browser) {
        browser = new QTextBrowser();
        browser->setAttribute(Qt::WA_DeleteOnClose);
        browser->setWindowTitle("Verrane Help");
        browser->setOpenExternalLinks(true);
        QObject::connect(new QShortcut(QKeySequence(Qt::Key_Escape), browser), &QShortcut::activated, browser,
                         &QWidget::close);
        // Whole on the screen, in its middle.
        QWidget* near = parent ? parent() : nullptr;
        browser->resize(FitToScreen({760, 640}, near, 60));
        if (QScreen* screen = near && near->screen() ? near->screen() : QGuiApplication::primaryScreen()) {
            const QRect free = screen->availableGeometry();
            QRect r(QPoint(), browser->size());
            r.moveCenter(free.center());
            browser->move(r.topLeft());
        }
    }
    browser->setSource(QUrl::fromLocalFile(Q(helpFile)));
    browser->show();
    browser->raise();
}

void QtDialogs::Refresh() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace verrane::gui

namespace verrane::gui {

bool QtDialogs::ShowReport(platform::report::Report& report, bool print, std::string* error) {
    QWidget* p = parent ? parent() : nullptr;
    return print ? PrintReport(report, p, error) : PreviewReport(report, p, error);
}

}  // namespace verrane::gui
