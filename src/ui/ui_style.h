#pragma once

#include <QColor>
#include <QFont>

class QWidget;
class QLineEdit;

// Colours and fonts of the windows' design look.
namespace Ui {

inline const QColor kButtonShadow(128, 128, 128);
inline const QColor kAppWorkspace(171, 171, 171);
inline const QColor kWindowBackground(255, 255, 255);
inline const QColor kButtonFace(240, 240, 240);

// Maps the design fonts onto the metric-compatible families of the system.
void installFontSubstitutes();

QFont font(const char* family, double pointSize, bool bold = false);
// Text and background colour of a control; an invalid background keeps the
// parent's.
void setColours(QWidget* w, const QColor& text, const QColor& background = QColor());
void setTextColour(QWidget* w, const QColor& text);
void setBackground(QWidget* w, const QColor& background);
QColor textColour(const QWidget* w);
QColor background(const QWidget* w);
// A solid caret 5 pixels wide in the given box.
void giveWideCaret(QLineEdit* box);

}  // namespace Ui
