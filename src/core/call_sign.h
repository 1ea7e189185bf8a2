#pragma once

#include <QChar>
#include <QString>
#include <optional>

// Plausibility test for a call sign of the net's kind: one- or two-letter
// prefix starting with A, K, N or W, one district digit, a suffix.
// The text is tested exactly as passed (callers upper-case and trim it).
bool IsValidCall(const QString& call);

// Which text box a typed character is meant for.
enum class FieldKind {
    MemberCall,  // txtCall
    NewCall,     // TxtNew
    MemberName,  // txtName
    MemberQth,   // TxtCS
    CheckIn,     // TxtChkin
};

// Per-key filter: the character when it may be typed into the box,
// nothing when it is dropped. Backspace always passes.
std::optional<QChar> FilterKey(FieldKind kind, QChar key, bool disableEnterKeyDing = false);

// Typing into the new-call box enables the editor's Cancel button.
bool KeyEnablesCancel(FieldKind kind, QChar key);
