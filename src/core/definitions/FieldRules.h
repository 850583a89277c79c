#pragma once

#include "definitions/PrinterDefinition.h"

#include <QStringView>

namespace vormex {

// Appends the rules of a format's text: comma-separated tokens of an optional "O" (omissible),
// a kind letter ("S", "D" or "U"), the minimum length, "-" and the maximum length. A token with
// another kind letter or without "-" ends the parsing silently; the rules before it stay. Nothing
// is trimmed, so a blank before a token makes it invalid.
void ParseFieldRules(QStringView text, QList<FieldRule>& rules);

}  // namespace vormex
