#pragma once

#include "definitions/ParameterCheck.h"
#include "definitions/PrinterDefinition.h"

#include <QString>

#include <array>
#include <optional>

namespace vormex {

class StringTable;

inline constexpr int kResponseCount = 15;

// The label of an answer in the definitions and the text ("HI String", ...), and its element
// name in the XML file ("HIString", ...).
QString ResponseLabel(int row);
QString ResponseElementName(int row);

// The fifteen answers of the emulation to the host's status requests.
struct ResponseSet {
    std::array<QString, kResponseCount> answers;
    friend bool operator==(const ResponseSet&, const ResponseSet&) = default;
};

// Every answer from its status response entry, in row order; a missing entry leaves that
// answer and the later ones unchanged.
void FillResponseDefaults(const PrinterDefinition& printer, ResponseSet& set);
ResponseSet DefaultResponses(const PrinterDefinition& printer);

// Thirty lines: each label, then its answer (an empty answer gives an empty line).
QString ResponseCommandsText(const ResponseSet& set);

// Reads the answers from a whole text, each label searched from the start; without an answer
// for "HI String" all fifteen come from the definitions. Always succeeds.
bool ParseResponseCommands(const QString& text, const PrinterDefinition& printer, ResponseSet& set);

// The first answer that fails its format (layout entry 15 + row), with the message the page
// shows; nothing when all pass. `formatMissing`: the definitions have no format of that name
// in its place, so the answer could not be checked at all.
struct ResponseFailure {
    int row = 0;
    QString message;
    bool formatMissing = false;
};
std::optional<ResponseFailure> ValidateResponseCommands(const ResponseSet& set, const PrinterDefinition& printer,
                                                        ParameterCheckState& check, const StringTable& strings);

}  // namespace vormex
