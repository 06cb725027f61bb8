#pragma once

#include <QByteArray>
#include <QString>

namespace tolvane {

// File names are raw bytes: a file's identity is exactly what readdir returned.

// A name as text: valid UTF-8 exactly as it is (a leading byte-order mark included), each byte
// that is not part of it as "\xNN". For text that may become a name again, for sorting and for
// JSON; it holds control characters as they are, so it is not for a terminal.
QString nameText(const QByteArray &raw);

// A name as the window and the terminal show it: the name itself, unless it holds control
// characters, bidirectional overrides or isolates, or bytes that are not valid UTF-8 (or starts
// as this form does), which make it a bash $'...' string that gives back exactly its bytes.
QString displayName(const QByteArray &raw);

bool isValidUtf8(const QByteArray &raw);
// Whether displayName escapes the character: a control character or a bidirectional override
// or isolate.
bool isEscapedCharacter(char32_t c);

// A name of one entry of a folder: not empty, no "/" or NUL, not "." or "..". Anything else
// would name another folder, or reach out of this one.
bool isSingleName(const QByteArray &name);

// Joins a folder and a name with exactly one "/" (the root "/" gets no second one).
QByteArray joinPath(const QByteArray &folder, const QByteArray &name);

} // namespace tolvane
