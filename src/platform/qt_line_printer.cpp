#include "qt_line_printer.h"

#include "core/printer_setting.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

#include <algorithm>

QtLinePrinter::QtLinePrinter() = default;

QtLinePrinter::QtLinePrinter(const QString& pdfPath) : pdfPath_(pdfPath) {}

QPrinter& QtLinePrinter::printer()
{
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (!pdfPath_.isEmpty()) {
            printer_->setOutputFormat(QPrinter::PdfFormat);
            printer_->setOutputFileName(pdfPath_);
            // A file has no printer's unprintable edge; give it a paper-like margin.
            printer_->setPageMargins(QMarginsF(12.7, 12.7, 12.7, 12.7), QPageLayout::Millimeter);
        } else {
            applyRememberedPrinter();
        }
    }
    return *printer_;
}

void QtLinePrinter::rememberChoiceIn(PrinterSetting* setting)
{
    setting_ = setting;
    if (printer_ && pdfPath_.isEmpty())
        applyRememberedPrinter();
}

void QtLinePrinter::applyRememberedPrinter()
{
    const QString name = setting_ ? setting_->printerName() : QString();
    // A printer that is gone would make every printout fail.
    if (!name.isEmpty() && QPrinterInfo::availablePrinterNames().contains(name))
        printer_->setPrinterName(name);
}

void QtLinePrinter::keepChoice()
{
    if (setting_ && printer_)
        setting_->setPrinterName(printer_->printerName());
}

QtLinePrinter::~QtLinePrinter()
{
    if (documentOpen())
        painter_->end();
}

bool QtLinePrinter::documentOpen() const { return painter_ && painter_->isActive(); }

QFont QtLinePrinter::toQFont(const PrinterFont& printerFont)
{
    QFont f(printerFont.name);
    f.setPointSizeF(printerFont.size > 0 ? printerFont.size : 10.0);
    f.setBold(printerFont.bold);
    f.setItalic(printerFont.italic);
    return f;
}

bool QtLinePrinter::open()
{
    if (documentOpen())
        return true;
    printer().setDocName(documentName_.isEmpty() ? kDefaultDocumentName : documentName_);
    documentName_.clear();
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(&printer())) {
        painter_.reset();
        return false;
    }
    y_ = 0;
    return true;
}

bool QtLinePrinter::fail()
{
    if (documentOpen())
        painter_->end();
    painter_.reset();
    y_ = 0;
    return false;
}

bool QtLinePrinter::roomForLine(qreal height)
{
    if (y_ > 0 && y_ + height > printer().height()) {
        if (!printer().newPage())
            return false;
        y_ = 0;
    }
    return true;
}

bool QtLinePrinter::printLine(const QString& text, int column)
{
    if (!open())
        return false;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    for (const QString& paragraph : text.split(lineBreak)) {
        if (!printParagraph(paragraph, column))
            return fail();
    }
    return printer().printerState() == QPrinter::Error ? fail() : true;
}

bool QtLinePrinter::printParagraph(const QString& text, int column)
{
    painter_->setFont(toQFont(font_));
    const QFontMetricsF metrics(painter_->font(), &printer());
    const qreal pageWidth = printer().width();
    qreal x = std::max(0, column - 1) * metrics.averageCharWidth();
    // A column past the page's edge would print nothing that can be read.
    if (x + metrics.averageCharWidth() > pageWidth)
        x = 0;
    const qreal room = pageWidth - x;

    QString rest = text;
    do {
        // A line too long for the page goes on at the same column below,
        // broken after a word where there is one; nothing is cut off.
        QString piece = rest;
        if (metrics.horizontalAdvance(rest) > room) {
            qsizetype fits = 1;
            qsizetype tooMany = rest.size();
            while (tooMany - fits > 1) {
                const qsizetype mid = (fits + tooMany) / 2;
                (metrics.horizontalAdvance(rest.left(mid)) <= room ? fits : tooMany) = mid;
            }
            const qsizetype blank = rest.left(fits + 1).lastIndexOf(QLatin1Char(' '));
            if (blank > 0) {
                piece = rest.left(blank);
                rest = rest.mid(blank + 1);
            } else {
                piece = rest.left(fits);
                rest = rest.mid(fits);
            }
        } else {
            rest.clear();
        }
        if (!roomForLine(metrics.height()))
            return false;
        if (!piece.isEmpty())
            painter_->drawText(QPointF(x, y_ + metrics.ascent()), piece);
        y_ += metrics.lineSpacing();
    } while (!rest.isEmpty());
    return true;
}

bool QtLinePrinter::printEmptyLine()
{
    if (!open())
        return false;
    y_ += QFontMetricsF(toQFont(font_), &printer()).lineSpacing();
    return printer().printerState() == QPrinter::Error ? fail() : true;
}

bool QtLinePrinter::endDocument()
{
    if (!painter_)
        return true;
    const bool ended = painter_->end();
    painter_.reset();
    y_ = 0;
    return ended && printer().printerState() != QPrinter::Error;
}
