#include "sqlite2/Record.h"

#include "sqlite2/Sqlite2File.h"

#include <cstring>
#include <string>

namespace sqlite2 {

std::size_t RecordOffsetWidth(std::size_t size) {
    if (size < 256) return 1;
    if (size < 65536) return 2;
    return 3;
}

void DecodeRecord(std::string_view record, std::size_t columns, std::vector<FieldView>& fields) {
    fields.clear();
    const std::size_t size = record.size();
    const std::size_t width = RecordOffsetWidth(size);
    const std::size_t headerSize = (columns + 1) * width;
    if (headerSize > size) ThrowCorrupt("record header larger than the record");
    const auto* p = reinterpret_cast<const unsigned char*>(record.data());
    auto offsetAt = [&](std::size_t i) {
        std::size_t v = 0;
        for (std::size_t b = 0; b < width; ++b)
            v |= std::size_t(p[i * width + b]) << (8 * b);
        return v;
    };
    if (offsetAt(0) != headerSize)
        ThrowCorrupt("record holds " + std::to_string(offsetAt(0) / width) + " offsets, the table has " +
                     std::to_string(columns) + " columns");
    if (offsetAt(columns) != size) ThrowCorrupt("record size does not match its header");
    fields.reserve(columns);
    std::size_t start = headerSize;
    for (std::size_t i = 0; i < columns; ++i) {
        const std::size_t end = offsetAt(i + 1);
        if (end < start || end > size) ThrowCorrupt("record field outside the record");
        if (end == start) {
            fields.emplace_back(std::nullopt);
        } else {
            if (p[end - 1] != 0) ThrowCorrupt("record field without its terminating zero");
            // A value is a C text: it ends at its first zero byte.
            const char* text = record.data() + start;
            fields.emplace_back(std::string_view(text, ::strnlen(text, end - start - 1)));
        }
        start = end;
    }
}

} // namespace sqlite2
