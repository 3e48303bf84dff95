// Decoding of one row record: a header of offsets (1, 2 or 3 bytes each, chosen by the record size)
// followed by zero-terminated texts; an empty field is NULL.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace sqlite2 {

using FieldView = std::optional<std::string_view>; // nullopt = NULL

// Fills `fields` with exactly `columns` fields pointing into `record`. Throws ESqlite2Error
// (ErrCorrupt) when the header does not describe `columns` fields inside the record.
void DecodeRecord(std::string_view record, std::size_t columns, std::vector<FieldView>& fields);

// The header width a record of `size` bytes uses.
std::size_t RecordOffsetWidth(std::size_t size);

} // namespace sqlite2
