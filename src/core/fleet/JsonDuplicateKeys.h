#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace vormex {

// The path of the first key that an object of the JSON text holds twice ("targets[1].name",
// "job.allocate", "printer"); nothing when every key is given once. A JSON reader keeps only one
// of the two values, so a manifest with such a key says two things at once. The text is expected
// to be well-formed JSON; on anything else the answer is nothing.
std::optional<QString> FirstDuplicateJsonKey(const QByteArray& json);

}  // namespace vormex
