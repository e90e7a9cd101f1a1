#include "gui/form6_window.h"

#include <algorithm>

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

#include "gui/binding.h"
#include "gui/screen_window.h"
#include "screens/analysis/result_rows.h"

namespace verrane::gui {

QWidget* CreateForm6Window(Form6& f) {
    auto* w = new ScreenWindow(f);
    w->AddHeading(Q(f.Label1.caption()));

    auto* box = new QGroupBox();
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(10);
    // Top to bottom: tornado, hurricane, total, cost, net, ratio, lives, injuries.
    int row = 0, n = 0;
    for (auto [text, label] : kResultRows) {
        // Lines set the costs and the results apart from the benefits.
        if (n == 3 || n == 6) {
            auto* line = new QFrame();
            line->setFrameShape(QFrame::HLine);
            line->setFrameShadow(QFrame::Sunken);
            grid->addWidget(line, row++, 0, 1, 2);
        }
        auto* l = new QLabel();
        Bind(l, f.Label2[static_cast<size_t>(label)]);
        grid->addWidget(l, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
        auto* e = new QLineEdit();
        Bind(e, f.Text1[static_cast<size_t>(text)]);
        e->setAlignment(Qt::AlignRight);
        // The caption changes with the lifetime: the box's name follows it.
        platform::Label& caption = f.Label2[static_cast<size_t>(label)];
        LabelInput(l, e);
        caption.onViewUpdate = [show = std::move(caption.onViewUpdate), l, e] {
            show();
            e->setAccessibleName(AccessibleText(l->text()));
        };
        // The box widens for a figure longer than its usual width: a result
        // is never shown with its leading digits cut off.
        auto fit = [e] {
            QStyleOptionFrame option;
            option.initFrom(e);
            const QSize text(e->fontMetrics().horizontalAdvance(e->text()) + 8, e->fontMetrics().height());
            const int need = e->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, e).width();
            e->setFixedWidth(std::max(170, need));
            e->setCursorPosition(0);
        };
        // The binding writes the text with the box's signals blocked: fit
        // after each of its updates.
        platform::TextBox& result = f.Text1[static_cast<size_t>(text)];
        result.onViewUpdate = [show = std::move(result.onViewUpdate), fit] {
            show();
            fit();
        };
        fit();
        grid->addWidget(e, row++, 1, Qt::AlignRight | Qt::AlignVCenter);
        ++n;
    }
    grid->setColumnStretch(0, 1);
    w->layout()->addWidget(box);
    w->layout()->addStretch();
    w->AddNavigation({&f.Command1[0], &f.Command1[1], &f.Command1[2], &f.Command1[3]}, &f.Command3, 4);
    w->resize(720, 470);
    return w;
}

}  // namespace verrane::gui
