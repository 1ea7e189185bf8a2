#include "printing.h"

#include "core/member_table.h"
#include "platform/clock.h"
#include "platform/line_printer.h"
#include "platform/caps_lock.h"
#include "platform/platform.h"
#include "platform/printers.h"
#include "platform/prompts.h"
#include "platform/qt_line_printer.h"
#include "platform/style_dialogs.h"
#include "rtf/rtf_reader.h"
#include "session/printouts.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPushButton>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QtLinePrinter* systemPrinter(Platform& platform)
{
    return dynamic_cast<QtLinePrinter*>(platform.printer);
}

}  // namespace

namespace Printing {

namespace JobName {

QString Session(const QString& openedSessionDate, const QDate& today)
{
    QDate date = today;
    if (!openedSessionDate.isEmpty())
        date = QDate::fromString(openedSessionDate.trimmed(), QStringLiteral("M/d/yyyy"));
    // A damaged date line still names the job after what it says.
    const QString text = date.isValid() ? date.toString(Qt::ISODate) : openedSessionDate.trimmed();
    return QStringLiteral("VELN session ") + text;
}

QString Document(const QString& path)
{
    const QString file = QFileInfo(path).fileName();
    if (file == kPreambleFile)
        return kPreamble;
    if (file == kInstructionsFile)
        return kInstructions;
    return QStringLiteral("VELN ") + file;
}

}  // namespace JobName

bool HasPrinter(const Platform& platform)
{
    return platform.printer && platform.printers && platform.printers->count() > 0;
}

bool PageSetup(Platform& platform, QWidget* parent)
{
    if (!HasPrinter(platform))
        return false;
    QtLinePrinter* qt = systemPrinter(platform);
    if (!qt)
        return false;
    // A set-up made while a document is open would apply to half of it.
    if (!qt->endDocument()) {
        ShowPrinterError(*platform.prompts);
        return false;
    }
    // The page set-up dialog has no printer choice here; the print dialog
    // has, with the paper among the printer's properties.
    QPrintDialog dialog(&qt->printer(), parent);
    dialog.setWindowTitle(QStringLiteral("Page Setup"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    }
    // Printing to a file asks for its name.
    CapsLock::CaseMatters typing(platform.capsLock);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    qt->keepChoice();
    return true;
}

bool ChoosePrinterFont(Platform& platform)
{
    if (!HasPrinter(platform) || !platform.styleDialogs)
        return false;
    const PrinterFont current = platform.printer->font();
    const std::optional<QFont> chosen = platform.styleDialogs->askFont(QtLinePrinter::toQFont(current));
    if (!chosen)
        return false;
    PrinterFont f;
    f.name = chosen->family();
    f.bold = chosen->bold();
    f.italic = chosen->italic();
    // A font given in pixels has no point size; keep the one there was.
    f.size = chosen->pointSizeF() > 0 ? chosen->pointSizeF() : current.size;
    platform.printer->setFont(f);
    return true;
}

void PrintSession(Platform& platform, const QString& openedSessionDate, const QString& checkinsCaption,
                  const QString& trafficCaption, const QStringList& rosterLines)
{
    if (!HasPrinter(platform))
        return;
    platform.printer->setDocumentName(JobName::Session(openedSessionDate, platform.clock->today()));
    const Printout out = Printouts::Session(Printouts::SessionDate(openedSessionDate, platform.clock->today()), checkinsCaption,
                                            trafficCaption, rosterLines);
    if (!Printouts::Print(*platform.printer, out))
        ShowPrinterError(*platform.prompts);
}

void PrintDatabase(Platform& platform, const MemberTable& table)
{
    if (!HasPrinter(platform))
        return;
    const Prompts::Answer answer =
        platform.prompts->ask(Printouts::kSortQuestion, Prompts::Buttons::YesNoCancel, Prompts::Answer::Yes,
                              Prompts::Icon::Information, Printouts::kSortTitle);
    if (answer == Prompts::Answer::Cancel)
        return;
    const Printout out =
        answer == Prompts::Answer::Yes ? Printouts::DatabaseSorted(table) : Printouts::DatabaseSlotOrder(table);
    platform.printer->setDocumentName(JobName::kDatabase);
    if (!Printouts::Print(*platform.printer, out))
        ShowPrinterError(*platform.prompts);
}

std::unique_ptr<QTextDocument> WithLeadingEmptyLines(const QTextDocument& document, int emptyLines)
{
    std::unique_ptr<QTextDocument> copy(document.clone());
    QTextCursor cursor(copy.get());
    cursor.movePosition(QTextCursor::Start);
    for (int i = 0; i < emptyLines; ++i)
        cursor.insertBlock();
    return copy;
}

bool PrintDocument(QPrinter& printer, const QTextDocument& document, int emptyLines)
{
    if (!printer.isValid())
        return false;
    WithLeadingEmptyLines(document, emptyLines)->print(&printer);
    return printer.printerState() != QPrinter::Error;
}

void PrintDocumentFile(Platform& platform, const QString& path, int emptyLines)
{
    if (!HasPrinter(platform))
        return;
    QtLinePrinter* qt = systemPrinter(platform);
    if (!qt)
        return;
    QTextDocument document;
    const RtfReadResult read = ReadRtfFile(path, &document);
    if (!read.ok && !read.partial)
        return;
    // The document is a job of its own; one the line printer left open
    // comes out first.
    qt->endDocument();
    qt->printer().setDocName(JobName::Document(path));
    PrintDocument(qt->printer(), document, emptyLines);
}

void PrintPreamble(Platform& platform, const QString& documentsFolder)
{
    PrintDocumentFile(platform, documentsFolder + kPreambleFile, 1);
}

void PrintInstructions(Platform& platform, const QString& documentsFolder)
{
    PrintDocumentFile(platform, documentsFolder + kInstructionsFile, 2);
}

}  // namespace Printing
