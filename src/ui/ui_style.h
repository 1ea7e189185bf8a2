#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

class QWidget;
class QLabel;
class QLineEdit;
class QObject;
class QString;

// Colours and fonts of the windows' design look.
namespace Ui {

inline const QColor kButtonShadow(128, 128, 128);
inline const QColor kAppWorkspace(171, 171, 171);
inline const QColor kWindowBackground(255, 255, 255);
inline const QColor kButtonFace(240, 240, 240);

// Maps the design fonts onto the metric-compatible families of the system.
void installFontSubstitutes();

// A window sized by its contents that would not fit on the screen (a large
// scale on a small screen) gets smaller fonts and sizes until it does, and
// is kept inside the screen. Called before the window is first shown.
void fitToScreen(QWidget* window);

QFont font(const char* family, double pointSize, bool bold = false);
// Text and background colour of a control; an invalid background keeps the
// parent's.
void setColours(QWidget* w, const QColor& text, const QColor& background = QColor());
void setTextColour(QWidget* w, const QColor& text);
void setBackground(QWidget* w, const QColor& background);
QColor textColour(const QWidget* w);
QColor background(const QWidget* w);
// What is drawn behind a control: its own background when it fills one,
// else its parent's.
QColor effectiveBackground(const QWidget* w);
// Contrast ratio of two colours (1 to 21, relative luminance).
double contrast(const QColor& a, const QColor& b);
// The text colour moved toward the background as far as 4.5:1 allows: a
// line that is there but no longer in play.
QColor dimmed(const QColor& text, const QColor& background);
// A text colour too close to what is behind it becomes black or white,
// whichever reads better.
void keepReadable(QWidget* w, double minimum = 4.5);
// A named label, and a named text box wide enough for `chars` wide letters
// whose events go to filter; for the small dialogs.
QLabel* namedLabel(QWidget* parent, const char* name, const QString& caption, const QFont& font);
QLineEdit* namedBox(QWidget* parent, const char* name, const QFont& font, int chars, QObject* filter);

// Centres a window in area, or on the primary screen when area is empty.
void centreOnScreen(QWidget* w, const QRect& area = QRect());

// A solid caret 5 pixels wide in the given box.
void giveWideCaret(QLineEdit* box);

}  // namespace Ui
