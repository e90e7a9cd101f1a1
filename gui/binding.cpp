#include "gui/binding.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>

#include <cstdlib>

namespace verrane::gui {

namespace {

// Widgets are named after their controls ("Text1_3", "Combo2"), so tests
// and accessibility tools can find them.
void Name(QWidget* w, const platform::Control& c) {
    if (w->objectName().isEmpty() && !c.name.empty())
        w->setObjectName(Q(c.index >= 0 ? c.name + "_" + std::to_string(c.index) : c.name));
}

void ApplyCommon(QWidget* w, const platform::Control& c) {
    w->setEnabled(c.enabled());
    // Hidden controls stay out of sight; a shown control follows its parent.
    if (!c.visible()) w->setVisible(false);
    else if (w->parentWidget() && w->isHidden()) w->setVisible(true);
}

void ApplyColours(QWidget* w, const platform::Control& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Text, ToQColor(c.foreColor()));
    p.setColor(QPalette::WindowText, ToQColor(c.foreColor()));
    p.setColor(QPalette::Base, ToQColor(c.backColor()));
    w->setPalette(p);
}

// Feeds focus changes and the Enter key of a text widget into its control.
class TextEvents : public QObject {
public:
    TextEvents(QObject* parent, platform::TextBox& c) : QObject(parent), c_(c) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::FocusIn) c_.setFocus(true);
        if (e->type() == QEvent::FocusOut) c_.setFocus(false);
        if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            int ascii = 0;
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) ascii = 13;
            else if (!k->text().isEmpty()) ascii = k->text().at(0).unicode();
            if (ascii && !c_.keyPress(ascii)) return true;
        }
        return QObject::eventFilter(o, e);
    }

private:
    platform::TextBox& c_;
};

size_t Utf8Offset(const QString& text, int pos) { return static_cast<size_t>(text.left(pos).toUtf8().size()); }

}  // namespace

void Bind(QLineEdit* w, platform::TextBox& c) {
    Name(w, c);
    auto update = [w, &c] {
        QSignalBlocker block(w);
        if (w->text() != Q(c.text())) w->setText(Q(c.text()));
        w->setReadOnly(c.locked);
        ApplyCommon(w, c);
        ApplyColours(w, c);
    };
    c.onViewUpdate = update;
    update();
    QObject::connect(w, &QLineEdit::textEdited, w, [w, &c](const QString& t) {
        const int cursor = w->cursorPosition();
        c.setText(S(t));
        // The change handler may have rewritten the box (emptied it, say).
        if (w->text() != Q(c.text())) {
            QSignalBlocker block(w);
            w->setText(Q(c.text()));
        } else {
            w->setCursorPosition(cursor);
        }
    });
    QObject::connect(w, &QLineEdit::selectionChanged, w, [w, &c] {
        const QString t = w->text();
        if (w->hasSelectedText()) {
            const int s = w->selectionStart();
            c.setSelection(Utf8Offset(t, s), Utf8Offset(t, s + w->selectedText().size()) - Utf8Offset(t, s));
        } else {
            c.setSelection(Utf8Offset(t, w->cursorPosition()), 0);
        }
    });
    QObject::connect(w, &QLineEdit::cursorPositionChanged, w, [w, &c](int, int pos) {
        if (!w->hasSelectedText()) c.setSelection(Utf8Offset(w->text(), pos), 0);
    });
    w->installEventFilter(new TextEvents(w, c));
}

void Bind(QPlainTextEdit* w, platform::TextBox& c) {
    Name(w, c);
    auto update = [w, &c] {
        QSignalBlocker block(w);
        if (w->toPlainText() != Q(c.text())) w->setPlainText(Q(c.text()));
        w->setReadOnly(c.locked);
        ApplyCommon(w, c);
        ApplyColours(w, c);
    };
    c.onViewUpdate = update;
    update();
    QObject::connect(w, &QPlainTextEdit::textChanged, w, [w, &c] { c.setText(S(w->toPlainText())); });
    QObject::connect(w, &QPlainTextEdit::selectionChanged, w, [w, &c] {
        const QTextCursor cur = w->textCursor();
        const QString t = w->toPlainText();
        c.setSelection(Utf8Offset(t, cur.selectionStart()),
                       Utf8Offset(t, cur.selectionEnd()) - Utf8Offset(t, cur.selectionStart()));
    });
    w->installEventFilter(new TextEvents(w, c));
}

void Bind(QComboBox* w, platform::ComboBox& c) {
    Name(w, c);
    auto update = [w, &c] {
        QSignalBlocker block(w);
        bool same = w->count() == c.listCount();
        for (int i = 0; same && i < c.listCount(); ++i) same = w->itemText(i) == Q(c.item(i));
        if (!same) {
            w->clear();
            for (const auto& s : c.items()) w->addItem(Q(s));
        }
        w->setCurrentIndex(c.listIndex());
        ApplyCommon(w, c);
    };
    c.onViewUpdate = update;
    update();
    QObject::connect(w, QOverload<int>::of(&QComboBox::activated), w, [&c](int i) { c.setListIndex(i); });
}

void Bind(QCheckBox* w, platform::CheckBox& c) {
    Name(w, c);
    auto update = [w, &c] {
        QSignalBlocker block(w);
        w->setChecked(c.value() != 0);
        ApplyCommon(w, c);
    };
    c.onViewUpdate = update;
    update();
    QObject::connect(w, &QCheckBox::clicked, w, [&c](bool on) { c.setValue(on ? 1 : 0); });
}

void Bind(QRadioButton* w, platform::OptionButton& c) {
    Name(w, c);
    w->setAutoExclusive(false);  // the control group decides
    auto update = [w, &c] {
        QSignalBlocker block(w);
        w->setChecked(c.value());
        ApplyCommon(w, c);
    };
    c.onViewUpdate = update;
    update();
    QObject::connect(w, &QRadioButton::clicked, w, [w, &c](bool) {
        c.setValue(true);
        QSignalBlocker block(w);
        w->setChecked(c.value());
    });
}

void Bind(QLabel* w, platform::Label& c) {
    Name(w, c);
    auto update = [w, &c] {
        w->setText(Q(c.caption()));
        ApplyCommon(w, c);
        QPalette p = w->palette();
        p.setColor(QPalette::WindowText, ToQColor(c.foreColor()));
        w->setPalette(p);
    };
    c.onViewUpdate = update;
    update();
}

void Bind(QPushButton* w, platform::CommandButton& c, std::function<QString(const QString&)> display) {
    Name(w, c);
    auto update = [w, &c, display] {
        w->setText(display ? display(Q(c.caption)) : Q(c.caption));
        ApplyCommon(w, c);
    };
    c.onViewUpdate = update;
    update();
    QObject::connect(w, &QPushButton::clicked, w, [&c] { c.click(); });
}

void Bind(QSlider* w, platform::Slider& c) {
    Name(w, c);
    auto update = [w, &c] {
        QSignalBlocker block(w);
        w->setRange(c.min, c.max);
        w->setValue(c.value());
        ApplyCommon(w, c);
    };
    c.onViewUpdate = update;
    update();
    QObject::connect(w, &QSlider::valueChanged, w, [&c](int v) { c.setValue(v); });
}

void Bind(QProgressBar* w, platform::ProgressBar& c) {
    Name(w, c);
    auto update = [w, &c] {
        w->setRange(c.min, c.max);
        w->setValue(static_cast<int>(c.value()));
        ApplyCommon(w, c);
    };
    c.onViewUpdate = update;
    update();
}

namespace {
void AddItems(QWidget* menu, std::vector<platform::MenuItem>& items) {
    for (auto& item : items) {
        if (item.caption == "-") {
            if (auto* m = qobject_cast<QMenu*>(menu)) m->addSeparator();
            continue;
        }
        if (!item.items.empty()) {
            QMenu* sub = qobject_cast<QMenuBar*>(menu) ? qobject_cast<QMenuBar*>(menu)->addMenu(Q(item.caption))
                                                        : qobject_cast<QMenu*>(menu)->addMenu(Q(item.caption));
            AddItems(sub, item.items);
            auto update = [sub, &item] {
                sub->setEnabled(item.enabled);
                sub->menuAction()->setVisible(item.visible);
            };
            item.onViewUpdate = update;
            update();
            continue;
        }
        auto* action = new QAction(Q(item.caption), menu);
        if (!item.shortcut.empty()) action->setShortcut(QKeySequence(Q(item.shortcut)));
        QObject::connect(action, &QAction::triggered, action, [&item] { item.click(); });
        auto update = [action, &item] {
            action->setEnabled(item.enabled);
            action->setVisible(item.visible);
        };
        item.onViewUpdate = update;
        update();
        menu->addAction(action);
    }
}
}  // namespace

void BindMenuBar(QMenuBar* bar, std::vector<platform::MenuItem>& items) {
    // A top-level entry without items (the "&Help" menu) acts when chosen.
    for (auto& item : items) {
        if (item.items.empty()) {
            auto* action = bar->addAction(Q(item.caption));
            QObject::connect(action, &QAction::triggered, action, [&item] { item.click(); });
            auto update = [action, &item] { action->setEnabled(item.enabled); };
            item.onViewUpdate = update;
            update();
        } else {
            QMenu* sub = bar->addMenu(Q(item.caption));
            AddItems(sub, item.items);
            auto update = [sub, &item] { sub->setEnabled(item.enabled); };
            item.onViewUpdate = update;
            update();
        }
    }
}

QString TwoLines(const QString& caption) {
    if (caption.size() <= 14) return caption;
    int best = -1;
    for (int i = 0; i < caption.size(); ++i)
        if (caption[i] == ' ' && (best < 0 || std::abs(i - caption.size() / 2) < std::abs(best - caption.size() / 2)))
            best = i;
    if (best < 0) return caption;
    QString t = caption;
    t[best] = '\n';
    return t;
}

QLabel* BlueLabel(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, kOptionalBlue);
    l->setPalette(p);
    return l;
}

}  // namespace verrane::gui
