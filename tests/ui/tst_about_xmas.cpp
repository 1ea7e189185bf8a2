#include "test_home.h"
#include "test_main.h"
#include "ui/fit_widgets.h"
#include "ui/frm_about.h"
#include "ui/frm_xmas.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

// A picture file under a greeting name, coloured so a test can tell them apart.
void writePicture(const QString& path, const QColor& colour)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "PNG"));
}

QRgb centre(const QLabel* label)
{
    const QImage image = label->pixmap().toImage();
    return image.pixel(image.width() / 2, image.height() / 2);
}

}  // namespace

class TstAboutXmas : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void aboutControls();
    void aboutSixLines();
    void aboutStaysOpenBesideOtherWindows();
    void aboutCloseButton();
    void xmasCaptionAndTimers();
    void xmasCyclesPicturesSkippingMissing();
    void xmasWithoutAnyPicture();
    void xmasClosesOnItsTimerWhenModal();
    void shots();

private:
    std::unique_ptr<TestHome> home_;
    QString docs_;
};

void TstAboutXmas::init()
{
    home_ = std::make_unique<TestHome>();
    docs_ = home_->path() + QStringLiteral("/docs/");
    QDir().mkpath(docs_);
}

void TstAboutXmas::cleanup() { home_.reset(); }

void TstAboutXmas::aboutControls()
{
    frmAbout a;
    a.show();
    QCOMPARE(a.windowTitle(), QStringLiteral("TSN NET - ABOUT"));
    QCOMPARE(a.lblTitle->text(), QStringLiteral("SOFTWARE"));
    QCOMPARE(a.Label1->text(), QStringLiteral("VELNOR ASSOCIATION"));
    QCOMPARE(a.cmdExit->text(), QStringLiteral("&Close"));
    QVERIFY(!a.Image1->pixmap().isNull());
    QCOMPARE(a.findChild<QWidget*>(QStringLiteral("Text1")), a.Text1);
    QVERIFY(a.Text1->isReadOnly());
}

void TstAboutXmas::aboutSixLines()
{
    const QStringList lines = frmAbout::kText.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0].trimmed(), QStringLiteral("VERSION 1"));
    QVERIFY(lines[0].startsWith(QLatin1Char(' ')) && lines[0].endsWith(QLatin1Char(' ')));
    QVERIFY(lines[1].isEmpty());
    for (int i = 2; i < 6; ++i)
        QVERIFY2(!lines[i].trimmed().isEmpty(), qPrintable(QString::number(i)));
    QVERIFY(lines[5].endsWith(QStringLiteral("@example.invalid")));

    frmAbout a;
    QCOMPARE(a.Text1->document()->blockCount(), 6);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(a.Text1->document()->findBlockByNumber(i).text(), lines[i]);
}

void TstAboutXmas::aboutStaysOpenBesideOtherWindows()
{
    QWidget main;
    main.show();
    auto* a = new frmAbout(&main);
    a->setAttribute(Qt::WA_DeleteOnClose);
    a->show();
    QVERIFY(QTest::qWaitForWindowExposed(a));
    QVERIFY(!a->isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    // The operator goes back to the main window: the about box stays.
    QApplication::setActiveWindow(&main);
    QVERIFY(main.isEnabled());
    QVERIFY(a->isVisible());
}

void TstAboutXmas::aboutCloseButton()
{
    frmAbout a;
    a.show();
    QVERIFY(QTest::qWaitForWindowExposed(&a));
    QTest::mouseClick(a.cmdExit, Qt::LeftButton);
    QVERIFY(!a.isVisible());
}

void TstAboutXmas::xmasCaptionAndTimers()
{
    frmXmas x(docs_);
    QVERIFY(x.windowTitle().startsWith(QStringLiteral("MERRY CHRISTMAS FROM ")));
    QVERIFY(x.windowTitle().size() > 21);
    QCOMPARE(x.TimeXmas->interval(), 200);
    QCOMPARE(x.Timer1->interval(), 15500);
    QCOMPARE(x.frameCounter(), 0);
    QVERIFY(!x.TimeXmas->isActive());
    x.show();
    QVERIFY(x.TimeXmas->isActive());
    QVERIFY(x.Timer1->isActive());
    x.Timer1_Timer();
    QVERIFY(!x.isVisible());
    QVERIFY(!x.TimeXmas->isActive());
}

void TstAboutXmas::xmasCyclesPicturesSkippingMissing()
{
    writePicture(docs_ + QStringLiteral("Xmas-0.gif"), Qt::red);
    writePicture(docs_ + QStringLiteral("Xmas-2.gif"), Qt::green);
    frmXmas x(docs_);
    struct Tick {
        int counter;
        const char* shown;
        QColor colour;
    };
    const Tick ticks[] = {{1, "Xmas-0.gif", Qt::red}, {2, "Xmas-0.gif", Qt::red},  // Xmas-1 missing
                          {0, "Xmas-2.gif", Qt::green}, {1, "Xmas-0.gif", Qt::red},
                          {2, "Xmas-0.gif", Qt::red},   {0, "Xmas-2.gif", Qt::green}};
    for (const Tick& t : ticks) {
        x.TimeXmas_Timer();
        QCOMPARE(x.frameCounter(), t.counter);
        QCOMPARE(x.shownPicture(), docs_ + QString::fromLatin1(t.shown));
        QCOMPARE(QColor(centre(x.Image1)), t.colour);
    }
}

void TstAboutXmas::xmasWithoutAnyPicture()
{
    frmXmas x(home_->path() + QStringLiteral("/nowhere/"));
    for (int i = 0; i < 4; ++i)
        x.TimeXmas_Timer();
    QCOMPARE(x.frameCounter(), 1);
    QVERIFY(x.shownPicture().isEmpty());
    QVERIFY(!x.Image1->pixmap().isNull());
}

void TstAboutXmas::xmasClosesOnItsTimerWhenModal()
{
    frmXmas x(docs_);
    bool wasModal = false;
    QTimer::singleShot(0, this, [&] {
        wasModal = QApplication::activeModalWidget() == &x;
        x.Timer1_Timer();
    });
    QTimer::singleShot(5000, &x, &QDialog::reject);  // never hang
    QCOMPARE(x.exec(), int(QDialog::Accepted));
    QVERIFY(wasModal);
}

void TstAboutXmas::shots()
{
    QDir().mkpath(QStringLiteral("/tmp/shots"));
    frmAbout a;
    a.show();
    QVERIFY(QTest::qWaitForWindowExposed(&a));
    QVERIFY(a.grab().save(QStringLiteral("/tmp/shots/frmAbout.png")));
    for (FitLabel* l : {a.lblTitle, a.Label1})
        QCOMPARE(l->fittedFont().pointSizeF(), l->font().pointSizeF());
    QVERIFY(a.cmdExit->width() >= a.cmdExit->sizeHint().width());

    writePicture(docs_ + QStringLiteral("Xmas-0.gif"), QColor(180, 20, 20));
    frmXmas x(docs_);
    x.show();
    QVERIFY(QTest::qWaitForWindowExposed(&x));
    x.TimeXmas_Timer();
    QVERIFY(x.grab().save(QStringLiteral("/tmp/shots/frmXmas.png")));
    x.Timer1_Timer();
}

VELN_TEST(TstAboutXmas)
#include "tst_about_xmas.moc"
