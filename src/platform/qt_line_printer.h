#pragma once

#include "line_printer.h"

#include <QFont>
#include <memory>

class PrinterSetting;
class QPainter;
class QPrinter;

// Draws the lines on a QPrinter: the system's current printer, or a PDF file.
class QtLinePrinter : public LinePrinter {
public:
    // The system's default printer, until the page set-up changes printer().
    QtLinePrinter();
    // Every document goes to this PDF file, replacing it.
    explicit QtLinePrinter(const QString& pdfPath);
    // An open document is ended, so what was printed still comes out.
    ~QtLinePrinter() override;
    QtLinePrinter(const QtLinePrinter&) = delete;
    QtLinePrinter& operator=(const QtLinePrinter&) = delete;

    bool printLine(const QString& text, int column = 1) override;
    bool printEmptyLine() override;
    bool endDocument() override;
    void setDocumentName(const QString& name) override { documentName_ = name; }
    PrinterFont font() const override { return font_; }
    void setFont(const PrinterFont& printerFont) override { font_ = printerFont; }

    // For the page set-up dialog; a change applies from the next document.
    // Made on first use: finding the system's printer takes time and memory
    // the start of the program need not spend.
    QPrinter& printer();
    bool documentOpen() const;

    // The printer chosen in an earlier run, and where a new choice is kept.
    // A remembered printer that is no longer installed leaves the default.
    void rememberChoiceIn(PrinterSetting* setting);
    // After the page set-up: keeps the printer now chosen for the next start.
    void keepChoice();
    // A name for a job that was given none.
    static inline const QString kDefaultDocumentName = QStringLiteral("VELN");

    static QFont toQFont(const PrinterFont& printerFont);

private:
    bool open();
    bool fail();
    // Makes room for one more line, on a new page when this one is full.
    bool roomForLine(qreal height);
    bool printParagraph(const QString& text, int column);

    void applyRememberedPrinter();

    std::unique_ptr<QPrinter> printer_;
    QString pdfPath_;
    PrinterSetting* setting_ = nullptr;
    QString documentName_;
    std::unique_ptr<QPainter> painter_;
    PrinterFont font_;
    qreal y_ = 0;  // top of the next line, device pixels from the printable area's top
};
