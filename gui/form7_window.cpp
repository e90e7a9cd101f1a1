#include "gui/form7_window.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/binding.h"
#include "gui/form4_window.h"
#include "gui/screen_window.h"

namespace verrane::gui {

namespace {

constexpr int kRecordRole = Qt::UserRole;
constexpr int kFipsRole = Qt::UserRole + 1;

// The state's counties beside the map: typing in the box above narrows the
// list; Enter (in either) or a double click acts on the county as a left
// click on the map does. A tick marks each county of the selection.
QWidget* CountyList(Form7& f) {
    auto* side = new QWidget();
    auto* v = new QVBoxLayout(side);
    v->setContentsMargins(0, 0, 0, 0);
    auto* findLabel = new QLabel("Find county:");
    auto* find = new QLineEdit();
    find->setObjectName("CountyFilter");
    find->setClearButtonEnabled(true);
    LabelInput(findLabel, find);
    auto* listLabel = new QLabel("Counties:");
    listLabel->setWordWrap(true);
    auto* list = new QListWidget();
    list->setObjectName("CountyList");
    LabelInput(listLabel, list);
    list->setAccessibleDescription("Enter adds or removes the county, as a left click on the map does.");
    v->addWidget(findLabel);
    v->addWidget(find);
    v->addWidget(listLabel);
    v->addWidget(list, 1);

    // The screen has its map layers once it is loaded, which is after its
    // window is made: the list is filled at the map's first refresh. The
    // ticks follow the selection, wherever it changed (map, list, Reset).
    auto showTicks = [list, listLabel, &f] {
        if (list->count() == 0) {
            listLabel->setText(QString("Counties of %1:").arg(Q(f.StateName())));
            list->setAccessibleName(AccessibleText(listLabel->text()));
            for (const Form7::CountyEntry& c : f.StateCounties()) {
                auto* item = new QListWidgetItem(Q(c.name), list);
                item->setData(kRecordRole, c.record);
                item->setData(kFipsRole, Q(c.fips));
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            }
            if (list->count() > 0) list->setCurrentRow(0);
        }
        for (int i = 0; i < list->count(); ++i) {
            QListWidgetItem* item = list->item(i);
            item->setCheckState(f.IsSelected(S(item->data(kFipsRole).toString())) ? Qt::Checked : Qt::Unchecked);
        }
    };
    showTicks();
    f.Map1.onRefresh = [repaint = std::move(f.Map1.onRefresh), showTicks] {
        if (repaint) repaint();
        showTicks();
    };
    auto pick = [&f](QListWidgetItem* item) {
        if (item) f.CountyClicked(1, item->data(kRecordRole).toInt());
    };
    QObject::connect(list, &QListWidget::itemActivated, list, pick);
    QObject::connect(find, &QLineEdit::textChanged, list, [list](const QString& typed) {
        QListWidgetItem* first = nullptr;
        for (int i = 0; i < list->count(); ++i) {
            QListWidgetItem* item = list->item(i);
            const bool shown = item->text().contains(typed.trimmed(), Qt::CaseInsensitive);
            item->setHidden(!shown);
            if (shown && !first) first = item;
        }
        if (first) list->setCurrentItem(first);
    });
    // Enter in the box acts on the county the list has current; Down goes into the list.
    QObject::connect(find, &QLineEdit::returnPressed, list, [list, pick] {
        if (QListWidgetItem* item = list->currentItem(); item && !item->isHidden()) pick(item);
    });
    return side;
}

// Down in the filter box moves into the list.
class DownIntoList : public QObject {
public:
    DownIntoList(QLineEdit* box, QListWidget* list) : QObject(box), list_(list) { box->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Down) {
            list_->setFocus();
            return true;
        }
        return false;
    }

private:
    QListWidget* list_;
};

}  // namespace

QWidget* CreateForm7Window(Form7& f) {
    auto* w = new ScreenWindow(f);
    QLabel* title = w->AddHeading("");
    Bind(title, f.Label1);
    auto* heading = new QLabel();
    Bind(heading, f.Label3);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    w->layout()->addWidget(heading, 0, Qt::AlignHCenter);
    auto* hint = new QLabel();
    Bind(hint, f.Label4);
    w->layout()->addWidget(hint, 0, Qt::AlignHCenter);
    auto* row = new QHBoxLayout();
    row->addWidget(new MapView(f.Map1), 1);
    QWidget* counties = CountyList(f);
    counties->setFixedWidth(220);
    new DownIntoList(counties->findChild<QLineEdit*>("CountyFilter"), counties->findChild<QListWidget*>("CountyList"));
    row->addWidget(counties);
    w->layout()->addLayout(row, 1);
    auto* message = new QLabel();
    Bind(message, f.Label2[12]);
    message->setFont(bold);
    message->setWordWrap(true);
    message->setAlignment(Qt::AlignHCenter);
    message->setMinimumHeight(36);
    w->layout()->addWidget(message);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    for (auto& c : f.Command1) {
        auto* b = new QPushButton();
        Bind(b, c);
        b->setMinimumWidth(100);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    w->layout()->addLayout(buttons);
    // Closing the window discards the changes, as "Cancel" does.
    w->onClose = [&f] { f.Command1[2].click(); };
    w->resize(980, 640);
    return w;
}

}  // namespace verrane::gui
