#include "main_layout.h"

#include <QWidget>
#include <cmath>

namespace MainLayout {
namespace {

using B = Measure::Base;
Measure W(double f) { return {B::WinW, f}; }
Measure H(double f) { return {B::WinH, f}; }
Measure w(double f, double off = 0) { return {B::FrameW, f, off}; }
Measure h(double f) { return {B::FrameH, f}; }
Measure copy(const char* c, Prop p, double f = 1.0, double off = 0) { return {B::Copy, f, off, c, p}; }
Measure none() { return {}; }

constexpr Prop L = Prop::Left, T = Prop::Top, Wd = Prop::Width, Ht = Prop::Height;

}  // namespace

const std::vector<Row>& rows()
{
    // Row order matters: copies read what earlier rows set.
    static const std::vector<Row> table = {
        {"Image1", H(0.165), H(0.0206), W(0.0104), W(0.17)},
        {"fraFormData", H(0.16), copy("Image1", T), W(0.19), W(0.68)},
        {"Label6", h(0.15), h(0.25), w(0.03), w(0.095)},
        {"lblChkins", h(0.4), h(0.45), w(0.046), w(0.06)},
        {"Label1", copy("Label6", Ht), copy("Label6", T), w(0.16), copy("Label6", Wd)},
        {"lblTraffic", copy("lblChkins", Ht), copy("lblChkins", T), w(0.18), copy("lblChkins", Wd)},
        {"Label5", copy("Label6", Ht), copy("Label6", T), w(0.29), w(0.085)},
        {"lblMembers", copy("lblTraffic", Ht), copy("lblTraffic", T), w(0.3), w(0.085)},
        {"Label4", copy("Label6", Ht), copy("Label6", T), w(0.44), w(0.2)},
        {"lblNetCtl", copy("lblMembers", Ht), copy("lblMembers", T), w(0.45), w(0.17)},
        {"Label2", copy("Label6", Ht), copy("Label6", T), w(0.68), w(0.17)},
        {"lblNetMgr", copy("lblNetCtl", Ht), copy("lblNetCtl", T), w(0.69), copy("lblNetCtl", Wd)},
        {"CmdChange", h(0.3), copy("lblNetMgr", T), w(0.89), w(0.09)},
        {"CmdExit", H(0.08), H(0.06), W(0.9), W(0.065)},
        {"Fra1", H(0.19), H(0.21), W(0.0157), W(0.26)},
        {"Label3", h(0.19), h(0.184), w(0.028), w(0.107)},
        {"TxtChkin", h(0.2876), h(0.092), w(0.19), w(0.75)},
        {"lblStatus", copy("TxtChkin", Ht), h(0.47), copy("Fra1", L), w(1.0, -500)},
        {"lblIDTime", h(0.4), copy("lblStatus", T), copy("TxtChkin", L), copy("TxtChkin", Wd)},
        {"fraAdd", H(0.28), H(0.43), W(0.0157), W(0.26)},
        {"cmdSave", h(0.09), h(0.09), w(0.6), w(0.1265)},
        {"cmdCancel", copy("cmdSave", Ht), copy("cmdSave", T), w(0.8), copy("cmdSave", Wd)},
        {"lblMode", h(0.2), h(0.1), w(0.0436), w(0.33)},
        {"TxtNew", h(0.13), h(0.32), w(0.06), w(0.32)},
        {"LblNew", copy("TxtNew", Ht), h(0.37), w(0.4), w(0.2)},
        {"txtCall", copy("TxtNew", Ht), h(0.48), copy("TxtNew", L), copy("TxtNew", Wd)},
        {"lblCall", copy("LblNew", Ht), h(0.53), copy("LblNew", L), w(0.1)},
        {"txtName", copy("txtCall", Ht), h(0.63), copy("txtCall", L), copy("txtCall", Wd)},
        {"lblName", copy("txtName", Ht), h(0.67), copy("lblCall", L), w(0.2)},
        {"TxtCS", none(), h(0.8), copy("txtName", L), w(0.45)},
        {"lblCS", copy("lblName", Ht), h(0.84), w(0.54), copy("lblName", Wd)},
        {"FraSearch", H(0.215), H(0.75), copy("fraAdd", L), copy("fraAdd", Wd)},
        {"cmdHide", h(0.2), h(0.45), w(0.35), w(0.27)},
        {"LblNF1", h(0.15), h(0.15), w(0.044), copy("lstNF", Wd)},
        {"lstNF", h(0.65), h(0.3), w(0.03), w(0.3)},
        {"lblSG", copy("LblNF1", Ht), copy("LblNF1", T), w(0.65), copy("lstSG", Wd)},
        {"lstSG", copy("lstNF", Ht), copy("lstNF", T), w(0.65), copy("lstNF", Wd)},
        {"FraStations", H(0.757), copy("Fra1", T), W(0.295), W(0.31)},
        {"lst1", h(0.93), h(0.046), w(0.021), w(0.954)},
        {"fraInfo", H(0.75), copy("FraStations", T), W(0.625), W(0.359)},
        {"rtfInfo", copy("fraInfo", Ht, 0.92), copy("lst1", T, 1.0, 100), copy("lst1", L), W(0.35)},
    };
    return table;
}

namespace {

double get(const QRectF& r, Prop p)
{
    switch (p) {
    case Prop::Left: return r.x();
    case Prop::Top: return r.y();
    case Prop::Width: return r.width();
    case Prop::Height: return r.height();
    }
    return 0;
}

QRectF twipsOf(const QWidget* wgt)
{
    const QRect g = wgt->geometry();
    return {g.x() * kTwipsPerPixel, g.y() * kTwipsPerPixel, g.width() * kTwipsPerPixel, g.height() * kTwipsPerPixel};
}

}  // namespace

QHash<QString, QRectF> apply(QWidget* root, const QSizeF& clientTwips)
{
    QHash<QString, QRectF> placed;
    auto current = [&](const char* name) -> QRectF {
        const QString key = QString::fromLatin1(name);
        if (placed.contains(key))
            return placed.value(key);
        const QWidget* wgt = root->findChild<QWidget*>(key);
        return wgt ? twipsOf(wgt) : QRectF();
    };

    for (const Row& row : rows()) {
        QWidget* wgt = root->findChild<QWidget*>(QString::fromLatin1(row.control));
        if (!wgt)
            continue;
        const QWidget* frame = wgt->parentWidget() == root ? nullptr : wgt->parentWidget();
        const QRectF frameTwips = frame ? current(frame->objectName().toLatin1().constData()) : QRectF();
        QRectF r = current(row.control);

        auto eval = [&](const Measure& m, double fallback) -> double {
            double base = 0;
            switch (m.base) {
            case B::None: return fallback;
            case B::WinW: base = clientTwips.width(); break;
            case B::WinH: base = clientTwips.height(); break;
            case B::FrameW: base = frameTwips.width(); break;
            case B::FrameH: base = frameTwips.height(); break;
            case B::Copy: base = get(current(m.control), m.prop); break;
            }
            return m.factor * base + m.offset;
        };
        const double height = eval(row.height, r.height());
        const double top = eval(row.top, r.y());
        const double left = eval(row.left, r.x());
        const double width = eval(row.width, r.width());
        r = QRectF(left, top, std::max(0.0, width), std::max(0.0, height));
        placed.insert(QString::fromLatin1(row.control), r);
        QRect px(int(std::lround(r.x() / kTwipsPerPixel)), int(std::lround(r.y() / kTwipsPerPixel)),
                 int(std::lround(r.width() / kTwipsPerPixel)), int(std::lround(r.height() / kTwipsPerPixel)));
        wgt->setGeometry(px);
    }
    return placed;
}

QList<QLineF> separatorLines(const QSizeF& c)
{
    const double W = c.width(), H = c.height();
    return {
        // The border box.
        {120, 120, W - 120, 120},
        {W - 120, 120, W - 120, H - 120},
        {W - 120, H - 120, 120, H - 120},
        {120, H - 120, 120, 120},
        {W / 1.625, 2400, W / 1.625, H - 120},
        {120, H / 5, W - 120, H / 5},
        {W / 3.5, 2400, W / 3.5, H - 120},
        {120, H / 2.39, W / 3.5, H / 2.39},
        {120, H / 1.37, W / 3.5, H / 1.37},
    };
}

}  // namespace MainLayout
