#pragma once
// Controls of the headless screens. A control holds its value and raises its
// event exactly as the host toolkit does: whenever the value changes, whether
// the user types it or the program writes it; writing the value the control
// already holds is no change. The Qt windows bind widgets to these objects
// through `onViewUpdate` (control -> widget) and the setters (widget -> control).
#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/color.h"
#include "platform/textfile.h"

namespace verrane::platform {

class Control {
public:
    virtual ~Control() = default;
    std::string name;  // e.g. "Text1"
    int index = -1;    // index in its control array, -1 for a single control

    bool enabled() const { return enabled_; }
    bool visible() const { return visible_; }
    // Shown when the pointer rests on the control (and in the status bar):
    // for a command that is off, why.
    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(const std::string& t) {
        if (t != toolTip_) {
            toolTip_ = t;
            updateView();
        }
    }
    Color foreColor() const { return fore_; }
    Color backColor() const { return back_; }
    void setEnabled(bool v) {
        if (v != enabled_) {
            enabled_ = v;
            updateView();
        }
    }
    void setVisible(bool v) {
        if (v != visible_) {
            visible_ = v;
            updateView();
        }
    }
    void setForeColor(Color c) {
        if (!(c == fore_)) {
            fore_ = c;
            updateView();
        }
    }
    void setBackColor(Color c) {
        if (!(c == back_)) {
            back_ = c;
            updateView();
        }
    }

    // Set by the window that shows the control; called after every change.
    std::function<void()> onViewUpdate;
    void updateView() const {
        if (onViewUpdate) onViewUpdate();
    }

private:
    bool enabled_ = true, visible_ = true;
    Color fore_ = kBlack, back_ = kWhite;
    std::string toolTip_;
};

class TextBox : public Control {
public:
    const std::string& text() const { return text_; }
    bool empty() const { return text_.empty(); }
    // Raises Change when the text differs from what the box holds. A box
    // never holds a NUL character, and a single-line box never holds a line
    // break: a pasted one (CR LF, CR or LF) becomes a space.
    void setText(std::string t) {
        Clean(t, multiLine);
        if (t == text_) return;
        text_ = std::move(t);
        selStart_ = std::min(selStart_, text_.size());
        selLength_ = std::min(selLength_, text_.size() - selStart_);
        updateView();
        if (onChange) onChange();
    }
    bool locked = false;
    bool multiLine = false;

    // Selection, for the clipboard commands (byte offsets into the text).
    size_t selStart() const { return selStart_; }
    size_t selLength() const { return selLength_; }
    void setSelection(size_t start, size_t length) {
        selStart_ = std::min(start, text_.size());
        selLength_ = std::min(length, text_.size() - selStart_);
    }
    std::string selText() const { return text_.substr(selStart_, selLength_); }
    void replaceSelection(const std::string& with) {
        std::string t = text_;
        t.replace(selStart_, selLength_, with);
        const size_t caret = selStart_ + with.size();
        setText(std::move(t));
        setSelection(caret, 0);
    }

    bool hasFocus() const { return focus_; }
    void setFocus(bool f) {
        if (f == focus_) return;
        focus_ = f;
        if (f && onGotFocus) onGotFocus();
        if (!f && onLostFocus) onLostFocus();
    }
    // Returns false when the handler consumed the key.
    bool keyPress(int keyAscii) { return onKeyPress ? onKeyPress(keyAscii) : true; }

    std::function<void()> onChange, onGotFocus, onLostFocus;
    std::function<bool(int)> onKeyPress;

    static void Clean(std::string& t, bool multiLine) {
        if (t.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos) return;
        if (!multiLine)
            t = OneLine(t);
        else
            t.erase(std::remove(t.begin(), t.end(), '\0'), t.end());
    }

private:
    std::string text_;
    size_t selStart_ = 0, selLength_ = 0;
    bool focus_ = false;
};

class ComboBox : public Control {
public:
    const std::vector<std::string>& items() const { return items_; }
    int listCount() const { return static_cast<int>(items_.size()); }
    int listIndex() const { return index_; }
    // The shown text: the chosen entry, or empty when none is chosen.
    std::string text() const {
        return index_ >= 0 && index_ < listCount() ? items_[static_cast<size_t>(index_)] : std::string();
    }
    const std::string& item(int i) const { return items_.at(static_cast<size_t>(i)); }
    void addItem(std::string s) {
        items_.push_back(std::move(s));
        updateView();
    }
    void clear() {
        items_.clear();
        index_ = -1;
        updateView();
    }
    // Raises Click when the chosen entry changes.
    void setListIndex(int i) {
        if (i < -1 || i >= listCount()) i = -1;
        if (i == index_) return;
        index_ = i;
        updateView();
        if (onClick) onClick();
    }
    // The position of the first entry at or after `from` that reads exactly
    // `text`, or -1.
    int findText(const std::string& text, int from = 0) const {
        for (int i = std::max(from, 0); i < listCount(); ++i)
            if (items_[static_cast<size_t>(i)] == text) return i;
        return -1;
    }
    // Chooses that entry as the user would (raising Click when the choice
    // changes); false, with the choice left alone, when there is none.
    bool selectText(const std::string& text, int from = 0) {
        const int i = findText(text, from);
        if (i < 0) return false;
        setListIndex(i);
        return true;
    }
    std::function<void()> onClick;

private:
    std::vector<std::string> items_;
    int index_ = -1;
};

class CheckBox : public Control {
public:
    std::string caption;
    int value() const { return value_; }
    void setValue(int v) {
        if (v == value_) return;
        value_ = v;
        updateView();
        if (onClick) onClick();
    }
    std::function<void()> onClick;

private:
    int value_ = 0;
};

// One button of an option group; the screen clears the others in `onClick`
// through `OptionGroup`.
class OptionButton : public Control {
public:
    std::string caption;
    bool value() const { return value_; }
    void setValueSilently(bool v) {
        if (v != value_) {
            value_ = v;
            updateView();
        }
    }
    std::function<void()> onClick;
    std::function<void(OptionButton&)> onSelect;  // set by the group
    void setValue(bool v) {
        if (v == value_) return;
        value_ = v;
        updateView();
        if (v) {
            if (onSelect) onSelect(*this);
            if (onClick) onClick();
        }
    }

private:
    bool value_ = false;
};

// Makes option buttons mutually exclusive, as a frame of option buttons is.
inline void MakeOptionGroup(const std::vector<OptionButton*>& group) {
    for (OptionButton* b : group) {
        b->onSelect = [group](OptionButton& chosen) {
            for (OptionButton* o : group)
                if (o != &chosen) o->setValueSilently(false);
        };
    }
}

class Label : public Control {
public:
    const std::string& caption() const { return caption_; }
    void setCaption(std::string c) {
        if (c != caption_) {
            caption_ = std::move(c);
            updateView();
        }
    }

private:
    std::string caption_;
};

class CommandButton : public Control {
public:
    std::string caption;
    // The handler runs from a copy: it may discard the screen that owns this button.
    void click() {
        if (!enabled() || !onClick) return;
        auto handler = onClick;
        handler();
    }
    std::function<void()> onClick;
};

class Slider : public Control {
public:
    int min = 0, max = 10;
    int value() const { return value_; }
    // Raises Change when the position changes; clamps to the range.
    void setValue(int v) {
        if (v < min) v = min;
        if (v > max) v = max;
        if (v == value_) return;
        value_ = v;
        updateView();
        if (onChange) onChange();
    }
    std::function<void()> onChange;

private:
    int value_ = 0;
};

class ProgressBar : public Control {
public:
    int min = 0, max = 100;
    double value() const { return value_; }
    void setValue(double v) {
        if (v != value_) {
            value_ = v;
            updateView();
        }
    }

private:
    double value_ = 0;
};

struct MenuItem {
    std::string name;      // e.g. "mnuNew"
    std::string caption;   // "&New"; "-" is a separator
    std::string shortcut;  // "Ctrl+O" or empty
    bool enabled = true;
    bool visible = true;
    std::vector<MenuItem> items;
    std::function<void()> onClick;
    std::function<void()> onViewUpdate;
    void setEnabled(bool v) {
        if (v != enabled) {
            enabled = v;
            if (onViewUpdate) onViewUpdate();
        }
    }
    void setCaption(std::string v) {
        if (v != caption) {
            caption = std::move(v);
            if (onViewUpdate) onViewUpdate();
        }
    }
    void setVisible(bool v) {
        if (v != visible) {
            visible = v;
            if (onViewUpdate) onViewUpdate();
        }
    }
    // The handler runs from a copy: New, Open and Exit discard the screen that owns the item.
    void click() {
        if (!enabled || !onClick) return;
        auto handler = onClick;
        handler();
    }
};

}  // namespace verrane::platform
