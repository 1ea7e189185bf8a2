#include "test_main.h"
#include "ui/fit_widgets.h"
#include "ui/ui_style.h"

#include <QDialog>
#include <QScreen>
#include <QVBoxLayout>

#include <QTest>

// Captions fitted to their boxes measure only what a box can show.
class TstFitWidgets : public QObject {
    Q_OBJECT
private slots:
    void hugeCaptionIsCut();
    void tinyBoxGetsTheSmallestFont();
    void windowLargerThanTheScreenFits();
};

void TstFitWidgets::hugeCaptionIsCut()
{
    // A caption filled from a damaged file: five million characters, no blank.
    const QString huge(5 * 1000 * 1000, QLatin1Char('X'));
    FitLabel label;
    label.resize(120, 30);
    label.setText(huge);
    QVERIFY(label.shownText().size() <= 300);
    QVERIFY(huge.startsWith(label.shownText()));
    QVERIFY(label.fittedFont().pointSizeF() < label.font().pointSizeF());
    QVERIFY(!label.grab().isNull());

    FitButton button;
    button.resize(120, 30);
    button.setText(huge);
    QVERIFY(button.fittedFont().pointSizeF() < button.font().pointSizeF());
    QVERIFY(!button.grab().isNull());
}

void TstFitWidgets::tinyBoxGetsTheSmallestFont()
{
    // A box far too small (a large scale on a small screen): the caption is
    // drawn at the smallest size instead of the full one.
    FitButton button;
    QFont f = button.font();
    f.setPointSizeF(6.5);
    button.setFont(f);
    button.setText(QStringLiteral("&Cancel"));
    button.resize(21, 12);
    QCOMPARE(button.fittedFont().pointSizeF(), 4.0);
}

void TstFitWidgets::windowLargerThanTheScreenFits()
{
    // A window sized by its contents, twice as wide as the screen: a box set
    // in pixels and a caption.
    QDialog window;
    auto* layout = new QVBoxLayout(&window);
    auto* box = new QWidget(&window);
    const QRect room = window.screen()->availableGeometry();
    box->setFixedSize(room.width() * 2, 50);
    auto* caption = new FitLabel(QStringLiteral("SESSIONS CALLED"), &window);
    layout->addWidget(box);
    layout->addWidget(caption);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Ui::fitToScreen(&window);
    QVERIFY(window.width() <= room.width());
    QVERIFY(window.height() <= room.height());
    QVERIFY(room.contains(window.pos()));
}

VELN_TEST(TstFitWidgets)
#include "tst_fit_widgets.moc"
