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

void SetUpPrinter(QPrinter& printer, QSizeF pageInches) {
    printer.setPageSize(QPageSize(pageInches, QPageSize::Inch));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
}

QSizeF PageInches(const platform::report::Report& report) {
    return QSizeF(report.pageWidth, report.pageHeight) / platform::report::kTwipsPerInch;
}

}  // namespace

QSize FitToScreen(QSize wanted, QWidget* near, int margin) {
    QScreen* screen = near && near->screen() ? near->screen() : QGuiApplication::primaryScreen();
    if (!screen) return wanted;
    const QSize room = screen->availableGeometry().size() - QSize(margin, margin);
    return wanted.boundedTo(room);
}

bool PreviewPages(const PrintPages& print, QSizeF pageInches, QWidget* parent, std::string* error) {
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, pageInches);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle("Print Preview");
    dialog.resize(FitToScreen({900, 1000}, parent, 60));
    std::string failure;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* p) {
        std::string e;
        if (!print(*p, &e)) failure = e;
    });
    dialog.exec();
    if (!failure.empty()) {
        if (error) *error = failure;
        return false;
    }
    return true;
}

bool PrintPagesAfterDialog(const PrintPages& print, QSizeF pageInches, QWidget* parent, std::string* error) {
    if (error) error->clear();
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, pageInches);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted) return false;
    return print(printer, error);
}

bool PreviewReport(platform::report::Report& report, QWidget* parent, std::string* error) {
    return PreviewPages([&report](QPrinter& p, std::string* e) { return report.Print(p, e); }, PageInches(report),
                        parent, error);
}

bool PrintReport(platform::report::Report& report, QWidget* parent, std::string* error) {
    return PrintPagesAfterDialog([&report](QPrinter& p, std::string* e) { return report.Print(p, e); },
                                 PageInches(report), parent, error);
}

}  // namespace verrane::gui
