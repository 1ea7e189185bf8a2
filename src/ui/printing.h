#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <memory>

class MemberTable;
class QPrinter;
class QTextDocument;
class QWidget;
struct Platform;

// The main window's Print items. Each does nothing without an installed
// printer (or without a printer seam).
namespace Printing {

inline const QString kPreambleFile = QStringLiteral("VelnPreamble.rtf");
inline const QString kInstructionsFile = QStringLiteral("VelnInst.rtf");

// What the print queue shows for each printout.
namespace JobName {
inline const QString kDatabase = QStringLiteral("VELN member database");
inline const QString kPreamble = QStringLiteral("VELN preamble");
inline const QString kInstructions = QStringLiteral("VELN instructions");
inline const QString kMonthlyReport = QStringLiteral("VELN monthly report");
// "VELN session 2026-12-08": the date of the session file opened (as its
// third line gives it), else today's.
QString Session(const QString& openedSessionDate, const QDate& today);
// The preamble's or the instructions' name, else "VELN" and the file name.
QString Document(const QString& path);
}  // namespace JobName

bool HasPrinter(const Platform& platform);

// The system's print dialog on the printer every later printout uses: the
// printer, its paper and its options. Cancel changes nothing. Returns true
// when a choice was made; the printer chosen is kept for the next start.
bool PageSetup(Platform& platform, QWidget* parent);

// The font dialog on the printer font; OK makes the choice the printer font
// (kept until exit, when the main window stores it). Cancel changes nothing.
bool ChoosePrinterFont(Platform& platform);

// Prints the roster under its header; a printer failure shows the printer
// error message. openedSessionDate: the date of the session file opened in
// this run, empty when none was (today's date is printed then).
void PrintSession(Platform& platform, const QString& openedSessionDate, const QString& checkinsCaption,
                  const QString& trafficCaption, const QStringList& rosterLines);

// Asks "PRINT SORTED?" first, so Cancel sends nothing to the printer; then
// prints the members sorted by call or in slot order.
void PrintDatabase(Platform& platform, const MemberTable& table);

// A copy of the document with emptyLines empty paragraphs before its text.
std::unique_ptr<QTextDocument> WithLeadingEmptyLines(const QTextDocument& document, int emptyLines);

// The document as formatted text at the left margin, after emptyLines empty
// lines, as one printer job on printer. Returns false when it could not be
// printed.
bool PrintDocument(QPrinter& printer, const QTextDocument& document, int emptyLines);

// Reads the RTF file and prints it on the system's printer. A file that
// cannot be read at all prints nothing (no blank sheet); damaged RTF prints
// what could be read. Failures are not reported.
void PrintDocumentFile(Platform& platform, const QString& path, int emptyLines);
// The preamble after one empty line, the instructions after two.
void PrintPreamble(Platform& platform, const QString& documentsFolder);
void PrintInstructions(Platform& platform, const QString& documentsFolder);

}  // namespace Printing
