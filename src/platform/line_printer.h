#pragma once

#include "prompts.h"

#include <QString>

// The printer's font, kept while the program runs (stored at exit by the
// main window, under "Print").
struct PrinterFont {
    QString name = QStringLiteral("Arial");
    bool bold = false;
    bool italic = false;
    double size = 10.0;  // points, with its fraction
    bool operator==(const PrinterFont&) const = default;
};

// Plain text lines on the system's printer, in the printer font. A column is
// counted in average character widths of that font; column 1 is the left
// margin. The first line opens a document; a full page goes on to a new one.
// Every call answers false when the printer failed; what was printed so far
// is then ended as it stands, and the next line opens a new document.
class LinePrinter {
public:
    static inline const QString kErrorMessage = QStringLiteral("PRINTER ERROR - FIX PROBLEM AND TRY AGAIN!");

    virtual ~LinePrinter() = default;
    // The text from the column on, then the end of the line. A line break in
    // the text starts a new line at the same column.
    virtual bool printLine(const QString& text, int column = 1) = 0;
    virtual bool printEmptyLine() = 0;
    // Sends the open document to the printer; with none open there is
    // nothing to send and nothing fails.
    virtual bool endDocument() = 0;
    // The name the print queue shows for the next document opened; only
    // that document carries it.
    virtual void setDocumentName(const QString& name) = 0;

    virtual PrinterFont font() const = 0;
    // Applies from the next line on.
    virtual void setFont(const PrinterFont& font) = 0;
};

// The printer error message: OK and Cancel, exclamation icon, the program's
// title; the answer is not used.
inline void ShowPrinterError(Prompts& prompts)
{
    prompts.ask(LinePrinter::kErrorMessage, Prompts::Buttons::OkCancel, Prompts::Answer::Ok,
                Prompts::Icon::Exclamation, Prompts::kProgramTitle);
}
