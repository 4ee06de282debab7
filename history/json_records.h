// The records of a JSON history file, each as a line the line reader takes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ports.h"

namespace dlt {

struct JsonRecord {
    std::string line; // the issue and the numbers, or every value in order
    std::string date; // the value of the record's date key, as written; or ""
};

// The records of a document that is an array of texts, or else of the
// longest array of records at the shallowest depth that has one
// ({"data": [...]}). None when the text is not JSON (UTF-8), nests deeper
// than any history file, holds no such array, or the flag is raised.
std::optional<std::vector<JsonRecord>> jsonRecords(std::string_view text,
                                                   const CancelFlag* cancel = nullptr);

} // namespace dlt
