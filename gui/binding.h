#pragma once
// Two-way binding of Qt widgets to the headless controls: the widget shows
// the control's value, colours, enabled and visible state; what the user
// does goes into the control through its setters, which raise the screen's
// events exactly as the program's own writes do.
#include <QColor>
#include <QString>
#include <functional>
#include <string>

#include "platform/color.h"
#include "platform/controls.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QWidget;

namespace verrane::gui {

inline QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
inline std::string S(const QString& s) { return s.toUtf8().toStdString(); }
inline QColor ToQColor(platform::Color c) { return QColor(c.r, c.g, c.b); }

void Bind(QLineEdit* w, platform::TextBox& c);
void Bind(QPlainTextEdit* w, platform::TextBox& c);
void Bind(QComboBox* w, platform::ComboBox& c);
void Bind(QCheckBox* w, platform::CheckBox& c);
void Bind(QRadioButton* w, platform::OptionButton& c);
void Bind(QLabel* w, platform::Label& c);
// `display` may reshape the caption for the widget (two lines, say).
void Bind(QPushButton* w, platform::CommandButton& c, const std::function<QString(const QString&)>& display = {});
// Splits a long caption into two balanced lines.
QString TwoLines(const QString& caption);
void Bind(QSlider* w, platform::Slider& c);
void Bind(QProgressBar* w, platform::ProgressBar& c);
// Builds the menus of a screen's menu bar and keeps their enabled state in step.
void BindMenuBar(QMenuBar* bar, std::vector<platform::MenuItem>& items);

// Hands what the user typed in a box to its control. Every command (a
// button, a menu item, a shortcut, closing a window) runs this first, so it
// reads the text on the screen.
void CommitPendingEdits();
// Forgets the boxes under `root` and their uncommitted edits: their screen,
// and with it their controls, is gone.
void ForgetBoxes(QWidget* root);
// Marks the widget that holds one screen; focus moving inside it is the
// user moving between the screen's controls.
inline constexpr char kScreenProperty[] = "verraneScreen";

// Ties an input to its label for keyboard and screen-reader users: the
// label becomes the input's buddy and the input is named `name`, or the
// label's text (without a trailing colon) when `name` is empty.
void LabelInput(QLabel* label, QWidget* input, const QString& name = {});
// A caption as an accessible name: one line, no mnemonic, no trailing colon.
QString AccessibleText(const QString& caption);

// A label in the optional-input blue.
QLabel* BlueLabel(const QString& text, QWidget* parent = nullptr);
inline const QColor kOptionalBlue(0, 0, 192);

}  // namespace verrane::gui
