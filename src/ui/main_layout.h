#pragma once

#include <QHash>
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QString>
#include <vector>

class QWidget;

// The main window's proportional layout: every row places one control from
// fractions of the window's client size (W, H), of its frame's size (w, h),
// or from values set by earlier rows. Units are twips (15 per pixel).
namespace MainLayout {

constexpr double kTwipsPerPixel = 15.0;
// The main window's client area as designed, in twips.
constexpr double kDesignWidth = 17400;
constexpr double kDesignHeight = 10716;

enum class Prop { Left, Top, Width, Height };

struct Measure {
    enum class Base { None, WinW, WinH, FrameW, FrameH, Copy };
    Base base = Base::None;
    double factor = 1.0;
    double offset = 0.0;
    const char* control = nullptr;  // for Copy
    Prop prop = Prop::Left;         // for Copy
};

// Design geometry of one control (twips) and its design font size.
struct ControlGeometry {
    QWidget* control = nullptr;
    double left = 0, top = 0, width = 0, height = 0, fontSize = 0;
};

struct Row {
    const char* control;
    Measure height, top, left, width;
};

const std::vector<Row>& rows();

// Applies every row to the children of root whose objectName matches,
// for a client area of clientTwips; rows whose control is missing are skipped.
// Returns the twips geometry each control got.
QHash<QString, QRectF> apply(QWidget* root, const QSizeF& clientTwips);

// The border box and the five separator lines, in twips.
QList<QLineF> separatorLines(const QSizeF& clientTwips);

}  // namespace MainLayout
