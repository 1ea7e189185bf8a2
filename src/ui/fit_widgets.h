#pragma once

#include <QLabel>
#include <QPushButton>

// A label whose caption is drawn smaller when its box is too small for it,
// so a caption is never cut off on a small screen. The font the operator
// chose stays the label's font.
class FitLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // The font the caption is drawn with: the label's font, or a smaller one.
    QFont fittedFont() const;
    // Whether the caption is drawn over several lines (a caption of several
    // words that would otherwise shrink too far).
    bool wrapsCaption() const;
    // The caption as drawn (CR LF counts as one line break), at most a few
    // hundred characters.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Fit {
        QFont font;
        bool wrap = false;
    };
    Fit fit() const;
};

// The same for a button's caption.
class FitButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;
    QFont fittedFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
