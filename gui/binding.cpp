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

#include <QApplication>
#include <QPointer>

#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

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
    w->setToolTip(Q(c.toolTip()));
    w->setStatusTip(Q(c.toolTip()));
    // Hidden controls stay out of sight; a shown control follows its parent.
    if (!c.visible())
        w->setVisible(false);
    else if (w->parentWidget() && w->isHidden())
        w->setVisible(true);
}

void ApplyColours(QWidget* w, const platform::Control& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Text, ToQColor(c.foreColor()));
    p.setColor(QPalette::WindowText, ToQColor(c.foreColor()));
    p.setColor(QPalette::Base, ToQColor(c.backColor()));
    w->setPalette(p);
}

// A text box bound to its control. `commit` hands what the user typed to the
// control; it is empty for boxes whose every keystroke is delivered.
struct TextBinding {
    platform::TextBox* control;
    std::function<void()> commit;
    std::function<void()> syncSelection;
};

std::map<QWidget*, TextBinding>& Texts() {
    static std::map<QWidget*, TextBinding> texts;
    return texts;
}

// Boxes holding typed text their control has not received yet.
std::map<QWidget*, std::function<void()>>& Pending() {
    static std::map<QWidget*, std::function<void()>> pending;
    return pending;
}

// The screen a widget belongs to: its page in the main window, or its own window.
QWidget* ScreenOf(QWidget* w) {
    for (QWidget* p = w; p; p = p->parentWidget())
        if (p->property(kScreenProperty).toBool() || p->isWindow()) return p;
    return nullptr;
}

// A box loses the focus only when the user moves to another control of the
// same screen. A menu dropping down, the menu bar taking the keyboard, a
// message box or another application taking over leave it where it is:
// otherwise the Edit menu would grey itself as it opens, and a message shown
// by a box's own check would run that check again.
void OnFocusChanged(QWidget* now) {
    if (!now || qobject_cast<QMenuBar*>(now) || qobject_cast<QMenu*>(now)) return;
    QWidget* screen = ScreenOf(now);
    std::vector<QPointer<QWidget>> losing;
    for (auto& [w, t] : Texts())
        if (w != now && t.control->hasFocus() && ScreenOf(w) == screen) losing.emplace_back(w);
    for (const auto& w : losing) {
        // Handlers run between these steps and may discard boxes.
        if (!w) continue;
        auto it = Texts().find(w);
        if (it == Texts().end()) continue;
        if (it->second.commit && Pending().count(w)) it->second.commit();
        it = Texts().find(w);
        if (w && it != Texts().end()) it->second.control->setFocus(false);
    }
    if (auto it = Texts().find(now); it != Texts().end()) it->second.control->setFocus(true);
}

void Register(QWidget* w, platform::TextBox& c, std::function<void()> commit, std::function<void()> syncSelection) {
    static bool listening = false;
    if (!listening && qApp) {
        QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget*, QWidget* now) { OnFocusChanged(now); });
        listening = true;
    }
    Texts()[w] = {&c, std::move(commit), std::move(syncSelection)};
    QObject::connect(w, &QObject::destroyed, [w] {
        Texts().erase(w);
        Pending().erase(w);
    });
}

// Feeds the keys of a text widget into its control; Enter first hands over
// what was typed, so the Enter handler reads it.
class TextEvents : public QObject {
public:
    TextEvents(QObject* parent, platform::TextBox& c, std::function<void()> commit)
        : QObject(parent), c_(c), commit_(std::move(commit)) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            int ascii = 0;
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)
                ascii = 13;
            else if (!k->text().isEmpty())
                ascii = k->text().at(0).unicode();
            if (ascii == 13 && commit_ && Pending().count(static_cast<QWidget*>(o))) commit_();
            if (ascii && !c_.keyPress(ascii)) return true;
        }
        return QObject::eventFilter(o, e);
    }

private:
    platform::TextBox& c_;
    std::function<void()> commit_;
};

size_t Utf8Offset(const QString& text, int pos) { return static_cast<size_t>(text.left(pos).toUtf8().size()); }

}  // namespace

// What the user types stays in the widget until the edit is committed: on
// leaving the box for another control of its screen, on Enter, and before any
// command runs (CommitPendingEdits). The control, and with it the screen's
// checks, sees whole entries: "-5" is never "-" on its way, and a warning
// fires once for "150" rather than for "1" and "15".
void Bind(QLineEdit* w, platform::TextBox& c) {
    Name(w, c);
    // The control text the widget last agreed with.
    auto agreed = std::make_shared<std::string>(c.text());
    auto update = [w, &c, agreed] {
        QSignalBlocker block(w);
        // A program write wins over an edit in progress; colour and enabled
        // changes leave the edit alone.
        const bool written = c.text() != *agreed;
        if (written) {
            *agreed = c.text();
            Pending().erase(w);
        }
        if ((written || !Pending().count(w)) && w->text() != Q(c.text())) w->setText(Q(c.text()));
        w->setReadOnly(c.locked);
        ApplyCommon(w, c);
        ApplyColours(w, c);
    };
    c.onViewUpdate = update;
    update();
    auto syncSelection = [w, &c] {
        const QString t = w->text();
        if (w->hasSelectedText()) {
            const int s = w->selectionStart();
            c.setSelection(Utf8Offset(t, s), Utf8Offset(t, s + w->selectedText().size()) - Utf8Offset(t, s));
        } else {
            c.setSelection(Utf8Offset(t, w->cursorPosition()), 0);
        }
    };
    auto commit = [w, &c, agreed, syncSelection] {
        Pending().erase(w);
        *agreed = S(w->text());
        c.setText(*agreed);
        syncSelection();
    };
    QObject::connect(w, &QLineEdit::textEdited, w, [w, commit](const QString&) { Pending()[w] = commit; });
    QObject::connect(w, &QLineEdit::selectionChanged, w, syncSelection);
    QObject::connect(w, &QLineEdit::cursorPositionChanged, w, [w, &c](int, int pos) {
        if (!w->hasSelectedText()) c.setSelection(Utf8Offset(w->text(), pos), 0);
    });
    Register(w, c, commit, syncSelection);
    w->installEventFilter(new TextEvents(w, c, commit));
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
    Register(w, c, {}, {});
    w->installEventFilter(new TextEvents(w, c, {}));
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
    QObject::connect(w, QOverload<int>::of(&QComboBox::activated), w, [&c](int i) {
        CommitPendingEdits();
        c.setListIndex(i);
    });
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
    QObject::connect(w, &QCheckBox::clicked, w, [&c](bool on) {
        CommitPendingEdits();
        c.setValue(on ? 1 : 0);
    });
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
        CommitPendingEdits();
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

void Bind(QPushButton* w, platform::CommandButton& c, const std::function<QString(const QString&)>& display) {
    Name(w, c);
    auto update = [w, &c, display] {
        w->setText(display ? display(Q(c.caption)) : Q(c.caption));
        ApplyCommon(w, c);
    };
    c.onViewUpdate = update;
    update();
    QObject::connect(w, &QPushButton::clicked, w, [&c] {
        CommitPendingEdits();
        c.click();
    });
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
    QObject::connect(w, &QSlider::valueChanged, w, [&c](int v) {
        CommitPendingEdits();
        c.setValue(v);
    });
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
// The desktop's usual keys for the file commands and the help, beside the
// screens' own shortcuts.
QKeySequence Shortcut(const platform::MenuItem& item) {
    if (!item.shortcut.empty()) return QKeySequence(Q(item.shortcut));
    static const std::map<std::string, QKeySequence> kConventional = {
        {"mnuNew", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"mnuOpen", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"mnusave", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"mnusaveas", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {"mnuPrintShort", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"mnuHelp", QKeySequence(Qt::Key_F1)}};
    auto it = kConventional.find(item.name);
    return it == kConventional.end() ? QKeySequence() : it->second;
}

void AddItems(QWidget* menu, std::vector<platform::MenuItem>& items) {
    for (auto& item : items) {
        if (item.caption == "-") {
            if (auto* m = qobject_cast<QMenu*>(menu)) {
                QAction* line = m->addSeparator();
                item.onViewUpdate = [line, &item] { line->setVisible(item.visible); };
                item.onViewUpdate();
            }
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
        action->setObjectName(Q(item.name));
        action->setShortcut(Shortcut(item));
        QObject::connect(action, &QAction::triggered, action, [&item] {
            CommitPendingEdits();
            item.click();
        });
        auto update = [action, &item] {
            action->setText(Q(item.caption));
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
            action->setShortcut(Shortcut(item));
            QObject::connect(action, &QAction::triggered, action, [&item] {
                CommitPendingEdits();
                item.click();
            });
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

void CommitPendingEdits() {
    while (!Pending().empty()) {
        auto commit = Pending().begin()->second;
        commit();
    }
    // A program write moves the widget's caret without telling the control:
    // the Edit commands take the selection the user sees.
    for (auto& [w, t] : Texts())
        if (t.syncSelection && t.control->hasFocus()) t.syncSelection();
}

void ForgetBoxes(QWidget* root) {
    auto under = [root](QWidget* w) { return root == w || root->isAncestorOf(w); };
    std::erase_if(Pending(), [&](const auto& p) { return under(p.first); });
    std::erase_if(Texts(), [&](const auto& t) { return under(t.first); });
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

QString AccessibleText(const QString& caption) {
    QString t = caption;
    t.replace("&&", "\x01").remove('&').replace('\x01', '&');
    t = t.simplified();
    while (t.endsWith(':')) t.chop(1);
    return t.trimmed();
}

void LabelInput(QLabel* label, QWidget* input, const QString& name) {
    label->setBuddy(input);
    input->setAccessibleName(name.isEmpty() ? AccessibleText(label->text()) : name);
}

QLabel* BlueLabel(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, kOptionalBlue);
    l->setPalette(p);
    return l;
}

}  // namespace verrane::gui
