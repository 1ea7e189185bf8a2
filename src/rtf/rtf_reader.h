#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// Reading RTF into a QTextDocument.
//
// Read: fonts (\fonttbl names, families, \fcharset, \cpg), colours
// (\colortbl), \b \i \ul (and its styles) \strike \v \caps \scaps \super \sub
// with their 0 forms, \f \fs \cf \highlight \cb \plain; paragraphs with \pard
// \par \line \tab, \ql \qc \qr \qj, \li \ri \fi \sb \sa \sl \slmult; bytes
// (\'hh and 8-bit text) in the code page of the current font's charset, else
// the document's (\ansicpg, \mac, \pc, \pca; 1252 by default); \uN with \ucN
// fallbacks; the named special characters (\bullet, \emdash, \~, ...).
// Table cells become tabs and table rows paragraphs. Destinations that are
// not text (\*-marked ones, \info, \stylesheet, \pict, \object, headers,
// footnotes, field instructions, ...) are skipped; field results and list
// texts are shown. Characters of the East Asian double-byte code pages are
// not decoded: each shows as U+FFFD (the same text given with \u reads fine).
//
// The reader never recurses, so any nesting depth is safe. Groups nested
// deeper than kRtfMaxDepth are skipped. A parameter is held at two billion
// whatever its length. A trailing empty paragraph (the one after the last
// \par) is not added, which is what makes WriteRtf's output read back
// paragraph for paragraph.

constexpr int kRtfMaxDepth = 2048;

struct RtfReadResult {
    // True when the whole input was read as well-formed RTF.
    bool ok = false;
    // When !ok: what was wrong, in a sentence fit for a message box.
    QString error;
    // When !ok: true when the input was RTF but damaged (cut short, braces
    // unbalanced, text after its end, nesting too deep) and the document
    // holds what could be read; false when the document was left untouched.
    bool partial = false;
};

// Replaces the content of doc with the RTF in rtf. Input that does not begin
// with "{\rtf" (after blanks and a UTF-8 byte order mark) is not RTF: plain
// text, HTML or a binary file is refused with ok = false and doc unchanged,
// rather than shown as garbage. The document comes back unmodified and with
// empty undo stacks.
RtfReadResult ReadRtf(const QByteArray& rtf, QTextDocument* doc);

// Reads the file at path with ReadRtf. A missing, unreadable or oversized
// (over kRtfMaxFileBytes) file leaves doc untouched. The error names the file.
constexpr qint64 kRtfMaxFileBytes = 64LL * 1024 * 1024;
RtfReadResult ReadRtfFile(const QString& path, QTextDocument* doc);

// ReadRtfFile for callers that want a yes or no: true only when the file was
// read completely; otherwise *error (when given) says why, and doc holds
// what could be read of damaged RTF, or is unchanged.
bool LoadRtfFile(const QString& path, QTextDocument* doc, QString* error);
