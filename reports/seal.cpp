#include "reports/seal.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

#include "platform/report.h"

namespace verrane::reports {

namespace {

const QColor kNavy(22, 45, 92), kSky(205, 225, 245), kGold(196, 150, 40);

// The ring with the name over the top and three stars along the bottom.
void DrawRing(QPainter& p, double s, QPointF c) {
    const QColor navy = kNavy, sky = kSky, gold = kGold;
    // Ring with the name.
    p.setPen(Qt::NoPen);
    p.setBrush(navy);
    p.drawEllipse(c, s * 0.48, s * 0.48);
    p.setBrush(Qt::white);
    p.drawEllipse(c, s * 0.455, s * 0.455);
    p.setBrush(navy);
    p.drawEllipse(c, s * 0.44, s * 0.44);
    p.setBrush(sky);
    p.drawEllipse(c, s * 0.32, s * 0.32);
    p.setPen(QPen(Qt::white, s * 0.008));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, s * 0.325, s * 0.325);

    QFont f(QString::fromStdString(platform::report::ResolveFace("Arial")));
    f.setBold(true);
    f.setPixelSize(static_cast<int>(s * 0.085));
    p.setFont(f);
    p.setPen(Qt::white);
    const QString name = "VERRANE";
    const double radius = s * 0.355;
    const double spread = 100.0;  // degrees the name covers over the top
    for (int i = 0; i < name.size(); ++i) {
        double deg = -90.0 - spread / 2 + spread * (i + 0.5) / name.size();
        double rad = deg * std::numbers::pi / 180.0;
        p.save();
        p.translate(c.x() + radius * std::cos(rad), c.y() + radius * std::sin(rad));
        p.rotate(deg + 90.0);
        QRectF box(-s * 0.05, -s * 0.05, s * 0.1, s * 0.1);
        p.drawText(box, Qt::AlignCenter, name.mid(i, 1));
        p.restore();
    }
    // Three stars along the bottom of the ring.
    p.setBrush(gold);
    p.setPen(Qt::NoPen);
    for (int k = -1; k <= 1; ++k) {
        double rad = (90.0 + 22.0 * k) * std::numbers::pi / 180.0;
        QPointF sc(c.x() + radius * std::cos(rad), c.y() + radius * std::sin(rad));
        QPainterPath star;
        for (int j = 0; j < 10; ++j) {
            double r = (j % 2 ? 0.4 : 1.0) * s * 0.03;
            double a = (-90.0 + 36.0 * j) * std::numbers::pi / 180.0;
            QPointF pt(sc.x() + r * std::cos(a), sc.y() + r * std::sin(a));
            j ? star.lineTo(pt) : star.moveTo(pt);
        }
        star.closeSubpath();
        p.drawPath(star);
    }
}

// The shelter in the middle of the ring, with wind lines.
void DrawShelter(QPainter& p, double s, QPointF c) {
    const QColor navy = kNavy, gold = kGold;
    // Shelter: a low building under a heavy roof, with a door.
    const double u = s * 0.32;  // inner radius as the unit
    QPainterPath roof;
    roof.moveTo(c.x() - u * 0.72, c.y() + u * 0.05);
    roof.lineTo(c.x(), c.y() - u * 0.55);
    roof.lineTo(c.x() + u * 0.72, c.y() + u * 0.05);
    roof.lineTo(c.x() + u * 0.58, c.y() + u * 0.05);
    roof.lineTo(c.x(), c.y() - u * 0.36);
    roof.lineTo(c.x() - u * 0.58, c.y() + u * 0.05);
    roof.closeSubpath();
    p.setBrush(navy);
    p.drawPath(roof);
    p.drawRect(QRectF(c.x() - u * 0.46, c.y() - u * 0.02, u * 0.92, u * 0.55));
    p.setBrush(gold);
    p.drawRect(QRectF(c.x() - u * 0.1, c.y() + u * 0.18, u * 0.2, u * 0.35));
    // Ground line.
    p.setPen(QPen(navy, s * 0.012, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - u * 0.85, c.y() + u * 0.53), QPointF(c.x() + u * 0.85, c.y() + u * 0.53));

    // Wind lines sweeping in from the left.
    p.setPen(QPen(navy, s * 0.014, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k < 3; ++k) {
        double y = c.y() - u * (0.62 - 0.2 * k);
        QPainterPath w;
        w.moveTo(c.x() - u * 0.92, y);
        w.cubicTo(c.x() - u * 0.5, y - u * 0.08, c.x() - u * 0.2, y + u * 0.06, c.x() + u * (0.1 - 0.15 * k),
                  y - u * 0.12);
        p.drawPath(w);
    }
}

}  // namespace

QImage DrawSeal(int size) {
    QImage img(size, size, QImage::Format_RGB888);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const QPointF c(s / 2, s / 2);
    DrawRing(p, s, c);
    DrawShelter(p, s, c);
    p.end();
    return img;
}

bool WriteSealIfMissing(const std::filesystem::path& file, int size, std::string* error) {
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) return true;
    if (!DrawSeal(size).save(QString::fromStdString(file.string()), "BMP")) {
        if (error) *error = "The seal bitmap could not be written to " + file.string() + ".";
        return false;
    }
    return true;
}

QImage LoadSeal(const std::filesystem::path& file, std::string* message) {
    QImage img;
    if (!file.empty() && img.load(QString::fromStdString(file.string()))) return img;
    if (message) *message = "The seal bitmap " + file.string() + " could not be read; the report prints without it.";
    return QImage();
}

}  // namespace verrane::reports
