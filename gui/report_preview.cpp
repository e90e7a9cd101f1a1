#include "gui/report_preview.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>

namespace verrane::gui {

namespace {

void SetUpPrinter(QPrinter& printer, const platform::report::Report& report) {
    printer.setPageSize(
        QPageSize(QSizeF(report.pageWidth, report.pageHeight) / platform::report::kTwipsPerInch, QPageSize::Inch));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
}

}  // namespace

QSize FitToScreen(QSize wanted, QWidget* near, int margin) {
    QScreen* screen = near && near->screen() ? near->screen() : QGuiApplication::primaryScreen();
    if (!screen) return wanted;
    const QSize room = screen->availableGeometry().size() - QSize(margin, margin);
    return wanted.boundedTo(room);
}

bool PreviewReport(platform::report::Report& report, QWidget* parent, std::string* error) {
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, report);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle("Print Preview");
    dialog.resize(FitToScreen({900, 1000}, parent, 60));
    std::string failure;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* p) {
        std::string e;
        if (!report.Print(*p, &e)) failure = e;
    });
    dialog.exec();
    if (!failure.empty()) {
        if (error) *error = failure;
        return false;
    }
    return true;
}

bool PrintReport(platform::report::Report& report, QWidget* parent, std::string* error) {
    if (error) error->clear();
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, report);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted) return false;
    return report.Print(printer, error);
}

}  // namespace verrane::gui
