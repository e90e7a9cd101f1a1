#include "gui/form4_window.h"

#include <cmath>

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "gui/binding.h"
#include "gui/screen_window.h"

namespace verrane::gui {

MapView::MapView(platform::MapControl& map, QWidget* parent) : QWidget(parent), map_(map) {
    setObjectName("Map1");
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setCursor(Qt::CrossCursor);
    setAccessibleName("County map");
    map_.onRefresh = [view = QPointer<MapView>(this)] {
        if (view) view->update();
    };
}

void MapView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    map_.Render(p, rect());
    p.setPen(QColor(128, 128, 128));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void MapView::resizeEvent(QResizeEvent*) { map_.SetControlSize(width(), height()); }

void MapView::mousePressEvent(QMouseEvent* e) {
    int button = 0;
    if (e->button() == Qt::LeftButton) button = 1;
    if (e->button() == Qt::RightButton) button = 2;
    if (e->button() == Qt::MiddleButton) button = 4;
    if (!button) return;
    int shift = 0;
    if (e->modifiers() & Qt::ShiftModifier) shift |= 1;
    if (e->modifiers() & Qt::ControlModifier) shift |= 2;
    if (e->modifiers() & Qt::AltModifier) shift |= 4;
    // The centre of the pixel under the pointer: the county drawn there.
    const QPointF at = e->position();
    map_.MouseDown(button, shift, (std::floor(at.x()) + 0.5) * platform::MapControl::kTwipsPerPixel,
                   (std::floor(at.y()) + 0.5) * platform::MapControl::kTwipsPerPixel);
}

void MapView::wheelEvent(QWheelEvent* e) {
    const int steps = e->angleDelta().y();
    if (steps == 0) {
        e->ignore();
        return;
    }
    // 1.25 times per notch of the wheel (120 eighths of a degree).
    const QPointF at = e->position();
    map_.ZoomAt(std::pow(1.25, steps / 120.0), at.x() * platform::MapControl::kTwipsPerPixel,
                at.y() * platform::MapControl::kTwipsPerPixel);
    map_.Refresh();
    e->accept();
}

namespace {
QLabel* Bound(platform::Label& c, bool bold = false, bool wrap = false) {
    auto* l = new QLabel();
    Bind(l, c);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    l->setWordWrap(wrap);
    return l;
}

// The selection method and the radius.
QGroupBox* SelectionBox(Form4& f) {
    auto* box = new QGroupBox();
    box->setMinimumWidth(290);
    auto* v = new QVBoxLayout(box);
    v->setSpacing(8);
    auto* heading = Bound(f.Label3, true);
    v->addWidget(heading, 0, Qt::AlignHCenter);
    v->addWidget(Bound(f.Label2[0], false, true));
    for (auto& o : f.Option1) {
        auto* r = new QRadioButton(Q(o.caption));
        Bind(r, o);
        v->addWidget(r);
    }
    v->addSpacing(6);
    auto* radiusRow = new QHBoxLayout();
    QLabel* radiusLabel = Bound(f.Label5[0]);
    radiusRow->addWidget(radiusLabel);
    auto* miles = new QLineEdit();
    Bind(miles, f.Text1);
    LabelInput(radiusLabel, miles);
    miles->setFixedWidth(60);
    miles->setAlignment(Qt::AlignRight);
    radiusRow->addWidget(miles);
    radiusRow->addStretch();
    v->addLayout(radiusRow);
    auto* slider = new QSlider(Qt::Horizontal);
    Bind(slider, f.Slider1);
    slider->setAccessibleName(AccessibleText(radiusLabel->text()));
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(50);
    slider->setPageStep(10);
    // Emitting only on release keeps a drag from searching at every mile.
    slider->setTracking(false);
    v->addWidget(slider);
    // Ticks 0, 50, 100, 150, 200, 250 carry the labels 0, 1, 2, 4, 5, 3.
    auto* ticks = new QHBoxLayout();
    ticks->setContentsMargins(2, 0, 2, 0);
    const int order[6] = {0, 1, 2, 4, 5, 3};
    for (int k = 0; k < 6; ++k) {
        if (k) ticks->addStretch();
        ticks->addWidget(Bound(f.Label7[static_cast<size_t>(order[k])]));
    }
    v->addLayout(ticks);
    auto* edit = new QPushButton();
    Bind(edit, f.Command2);
    v->addWidget(edit, 0, Qt::AlignHCenter);
    v->addStretch();
    return box;
}
}  // namespace

QWidget* CreateForm4Window(Form4& f) {
    auto* w = new ScreenWindow(f);
    QLabel* title = w->AddHeading("");
    Bind(title, f.Label1);

    // State and county of the project.
    auto* where = new QHBoxLayout();
    where->addStretch();
    where->addWidget(Bound(f.Label2[6]));
    where->addWidget(Bound(f.Label2[7], true));
    where->addSpacing(30);
    where->addWidget(Bound(f.Label2[18]));
    where->addWidget(Bound(f.Label2[19], true));
    where->addStretch();
    w->layout()->addLayout(where);

    auto* columns = new QHBoxLayout();
    columns->setSpacing(16);

    auto* left = new QVBoxLayout();
    left->addWidget(new MapView(f.Map1), 1);
    auto* hint = Bound(f.Label4);
    QFont italic = hint->font();
    italic.setItalic(true);
    hint->setFont(italic);
    left->addWidget(hint, 0, Qt::AlignHCenter);
    columns->addLayout(left, 3);

    auto* box = SelectionBox(f);
    columns->addWidget(box, 2);
    w->layout()->addLayout(columns, 1);

    auto* message = Bound(f.Label2[8], true, true);
    message->setAlignment(Qt::AlignHCenter);
    message->setMinimumHeight(36);
    w->layout()->addWidget(message);
    auto* note = Bound(f.Label2[1], false, true);
    note->setAlignment(Qt::AlignHCenter);
    w->layout()->addWidget(note);

    w->AddNavigation({&f.Command1[0], &f.Command1[1], &f.Command1[2], &f.Command1[3]}, &f.Command3, 2);
    w->resize(900, 640);
    return w;
}

}  // namespace verrane::gui
