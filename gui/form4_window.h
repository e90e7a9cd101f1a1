#pragma once
#include <QPointer>
#include <QWidget>

#include "platform/map.h"
#include "screens/hazard/form4.h"

namespace verrane::gui {

QWidget* CreateForm4Window(Form4& form);

// Shows a map control and passes mouse presses to it (in twips, as its
// mouse-down event reports them); the wheel zooms it. The hazard screen and the county map
// window both use it.
class MapView : public QWidget {
public:
    explicit MapView(platform::MapControl& map, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {480, 400}; }
    QSize minimumSizeHint() const override { return {240, 200}; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    // The wheel zooms about the point under the pointer.
    void wheelEvent(QWheelEvent*) override;

private:
    platform::MapControl& map_;
};

}  // namespace verrane::gui
