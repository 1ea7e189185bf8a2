#pragma once

#include "callbook.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// A callbook reply is a few kB; a longer one is cut off while it arrives.
constexpr qint64 kCallbookReplyMaxBytes = 64 * 1024;
// The longest session key kept; the services give 32 to 40 characters.
constexpr int kSessionKeyMaxChars = 64;

// What an XML reader found in a callbook's reply.
struct CallbookReply {
    QHash<QString, QString> values;  // the first complete element of each wanted name
    bool wellFormed = true;
    bool serviceElement = false;     // an element the service writes was opened
    QString readerError;
};

// Reads a reply with an XML reader: entities and CDATA decoded; a value
// counts only when its element closed before the reader gave up. Replies may
// hold several top-level elements. Names are compared without namespace.
CallbookReply ReadCallbookReply(const QString& reply, const QStringList& wanted, const QSet<QString>& containers);

// "The reply is not the service's XML", with the reader's words when it had any.
QString NotServiceXmlText(const CallbookReply& read);

// A login reply's outcome, given the key element's text and the service's
// error words: refused when the words say so; else logged in when there is a
// key; a garbled reply refuses nothing (the next lookup tries again); a
// reply without a key refuses, in noKeyText unless the service said why.
// A key that is no short token is a reply not understood, never kept.
// key gets the trimmed key, or nothing unless logged in.
CallbookResult LoginReplyOutcome(const CallbookReply& read, const QString& keyText, const QString& errorText,
                                 bool refusedInWords, const QString& noKeyText, QString& key);
