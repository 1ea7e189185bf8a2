#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// Writing a QTextDocument as RTF that ReadRtf reads back to the same text and
// formatting: font families (with their style hints), point sizes (to the
// half point), bold, italic, underline, strike-out, capitals, super- and
// subscript, text and background colours; paragraphs with alignment, left,
// right and first-line indents, space before and after, and line height.
// Text goes out as 1252 bytes where the page has them and \u otherwise, so
// any character survives. Text without a font or size of its own is written
// in the document's default font. Images and other objects are left out.
QByteArray WriteRtf(const QTextDocument& doc);

// Writes WriteRtf(doc) to path through a temporary file that replaces the
// old one only once it is complete, so a failed save never leaves half a
// document. False, with *error (when given) naming the file and the cause,
// when the file cannot be written.
bool SaveRtfFile(const QString& path, const QTextDocument& doc, QString* error);
