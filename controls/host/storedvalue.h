#pragma once

#include <QJsonValue>
#include <QVariant>

namespace tolvane {

// How one stored property value looks in the form's JSON data. Booleans, integers and floats
// are JSON numbers or booleans, strings are strings, fonts are objects
// {name, size, weight, charset, italic, underline, strikethrough}, pictures are PNG data in
// base64 (an empty string for no picture).
QJsonValue storedToJson(const QVariant &value);

// Turns a stored value (as written by code or as read from JSON) into the type of
// defaultValue. A value that does not fit that type, or an integer out of its range, yields
// defaultValue.
QVariant storedAs(const QVariant &stored, const QVariant &defaultValue);

} // namespace tolvane
