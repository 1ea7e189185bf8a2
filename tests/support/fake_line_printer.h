#pragma once

#include "platform/line_printer.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

// Records every printed line with its column; an empty line is recorded as
// column 1 with no text. Can be told to fail from a given call on.
class FakeLinePrinter : public LinePrinter {
public:
    struct Line {
        int column = 1;
        QString text;
        bool operator==(const Line&) const = default;
    };

    bool printLine(const QString& text, int column = 1) override
    {
        if (failing())
            return false;
        open();
        lines.append({column, text});
        return true;
    }
    bool printEmptyLine() override
    {
        if (failing())
            return false;
        open();
        lines.append({1, QString()});
        return true;
    }
    bool endDocument() override
    {
        if (failing())
            return false;
        if (open_) {
            endedAfter.append(int(lines.size()));
            endedNames.append(openName_);
        }
        open_ = false;
        return true;
    }
    void setDocumentName(const QString& name) override { nextName_ = name; }
    PrinterFont font() const override { return printerFont; }
    void setFont(const PrinterFont& f) override { printerFont = f; }

    QList<Line> lines;
    // The number of lines recorded when each document was ended.
    QList<int> endedAfter;
    // The name each ended document carried (empty: none was given).
    QStringList endedNames;
    PrinterFont printerFont;
    // Calls (lines, empty lines and ends, counted from 0) from this one on
    // fail and record nothing; -1 never fails.
    int failFromCall = -1;
    int calls = 0;

private:
    bool open_ = false;
    QString nextName_;
    QString openName_;

    void open()
    {
        if (!open_)
            openName_ = std::exchange(nextName_, QString());
        open_ = true;
    }
    bool failing()
    {
        const int call = calls++;
        return failFromCall >= 0 && call >= failFromCall;
    }
};
