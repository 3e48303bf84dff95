#include "sqlite2/Sqlite2Writer.h"

#include "sqlite2/BTreeImage.h"
#include "sqlite2/Record.h"
#include "sqlite2/Schema.h"
#include "sqlite2/SqlParser.h"
#include "sqlite2/Sqlite2Error.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace sqlite2 {

namespace {

constexpr std::size_t kMaxRecord = 1048576; // SQLite 2 refuses longer rows

std::string EncodeRecord(const std::vector<const Field*>& fields) {
    std::size_t body = 0;
    for (const Field* f : fields) {
        if (f->IsNull()) continue;
        if (f->Text().find('\0') != std::string::npos)
            throw ESqlite2Error(ErrGeneric, "a value contains a zero byte");
        body += f->Text().size() + 1;
    }
    std::size_t width = 1;
    while ((fields.size() + 1) * width + body >= (width == 1 ? 256u : width == 2 ? 65536u : 16777216u)) {
        if (++width > 3) throw ESqlite2Error(ErrNoMem, "record too large");
    }
    const std::size_t total = (fields.size() + 1) * width + body;
    if (total > kMaxRecord) throw ESqlite2Error(ErrNoMem, "record too large");
    std::string out;
    out.reserve(total);
    auto putOffset = [&](std::size_t v) {
        for (std::size_t b = 0; b < width; ++b)
            out += static_cast<char>((v >> (8 * b)) & 0xFF);
    };
    std::size_t offset = (fields.size() + 1) * width;
    for (const Field* f : fields) {
        putOffset(offset);
        if (!f->IsNull()) offset += f->Text().size() + 1;
    }
    putOffset(offset);
    for (const Field* f : fields)
        if (!f->IsNull()) {
            out += f->Text();
            out += '\0';
        }
    return out;
}

bool ParseRowid(const std::string& text, std::int32_t& rowid) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size() || text.size() - i > 11) return false;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        v = v * 10 + (text[i] - '0');
    }
    if (negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return false;
    rowid = static_cast<std::int32_t>(v);
    return true;
}

std::string TrimStatement(const std::string& sql) {
    std::size_t end = sql.size();
    while (end > 0 && (std::isspace(static_cast<unsigned char>(sql[end - 1])) || sql[end - 1] == ';'))
        --end;
    std::size_t begin = 0;
    while (begin < end && std::isspace(static_cast<unsigned char>(sql[begin])))
        ++begin;
    return sql.substr(begin, end - begin);
}

} // namespace

struct Sqlite2Writer::Impl {
    struct Table {
        std::string sql;
        TableInfo info;
        std::map<std::int32_t, std::string> rows; // rowid -> record
    };
    ByteOrder order;
    std::vector<Table> tables;

    Table& Find(std::string_view name) {
        for (Table& t : tables)
            if (sql::SameName(t.info.name, name)) return t;
        throw ESqlite2Error(ErrGeneric, "no such table: " + std::string(name));
    }
};

Sqlite2Writer::Sqlite2Writer(ByteOrder order) : impl_(std::make_unique<Impl>()) {
    impl_->order = order;
}
Sqlite2Writer::~Sqlite2Writer() = default;
Sqlite2Writer::Sqlite2Writer(Sqlite2Writer&&) noexcept = default;
Sqlite2Writer& Sqlite2Writer::operator=(Sqlite2Writer&&) noexcept = default;

void Sqlite2Writer::CreateTable(const std::string& createSql) {
    const std::string text = TrimStatement(createSql);
    const sql::CreateTable create = sql::ParseCreateTable(text);
    if (create.temporary) throw ESqlite2Error(ErrGeneric, "temporary tables are not stored in the file");
    TableInfo info = DescribeTable(create);
    const bool anyKey =
        !create.tablePrimaryKey.empty() ||
        std::any_of(create.columns.begin(), create.columns.end(), [](auto& c) { return c.primaryKey; });
    const bool anyUnique = create.tableUnique || std::any_of(create.columns.begin(), create.columns.end(),
                                                             [](auto& c) { return c.unique; });
    if (anyUnique || (anyKey && info.integerPrimaryKey < 0))
        throw ESqlite2Error(ErrGeneric,
                            "UNIQUE and PRIMARY KEY constraints need index rows; only an INTEGER PRIMARY "
                            "KEY column can be written: " +
                                info.name);
    if (info.name.size() >= 7 && sql::SameName(info.name.substr(0, 7), "sqlite_"))
        throw ESqlite2Error(ErrGeneric, "table name reserved for internal use: " + info.name);
    if (HasTable(info.name)) throw ESqlite2Error(ErrGeneric, "table " + info.name + " already exists");
    impl_->tables.push_back(Impl::Table{text, std::move(info), {}});
}

bool Sqlite2Writer::HasTable(std::string_view name) const {
    return std::any_of(impl_->tables.begin(), impl_->tables.end(),
                       [&](const Impl::Table& t) { return sql::SameName(t.info.name, name); });
}

std::vector<std::string> Sqlite2Writer::ColumnNames(std::string_view table) const {
    std::vector<std::string> names;
    for (const ColumnInfo& c : impl_->Find(table).info.columns)
        names.push_back(c.name);
    return names;
}

std::size_t Sqlite2Writer::RowCount(std::string_view table) const {
    return impl_->Find(table).rows.size();
}

std::int32_t Sqlite2Writer::Insert(std::string_view table, const Row& row) {
    Impl::Table& t = impl_->Find(table);
    const int key = t.info.integerPrimaryKey;
    if (key >= 0 && static_cast<std::size_t>(key) < row.size() && !row[key].IsNull()) {
        std::int32_t rowid = 0;
        if (!ParseRowid(row[key].Text(), rowid)) throw ESqlite2Error(ErrGeneric, "datatype mismatch");
        InsertWithRowid(table, rowid, row);
        return rowid;
    }
    std::int32_t rowid = 1;
    if (!t.rows.empty()) {
        if (t.rows.rbegin()->first == INT32_MAX)
            throw ESqlite2Error(ErrGeneric, "no rowid left in " + t.info.name);
        rowid = std::max<std::int32_t>(t.rows.rbegin()->first + 1, 1);
    }
    InsertWithRowid(table, rowid, row);
    return rowid;
}

void Sqlite2Writer::InsertWithRowid(std::string_view table, std::int32_t rowid, const Row& row) {
    Impl::Table& t = impl_->Find(table);
    if (row.size() != t.info.columns.size())
        throw ESqlite2Error(ErrGeneric, "table " + t.info.name + " has " +
                                            std::to_string(t.info.columns.size()) + " columns but " +
                                            std::to_string(row.size()) + " values were supplied");
    if (t.rows.count(rowid)) throw ESqlite2Error(ErrGeneric, "PRIMARY KEY must be unique");
    static const Field null;
    std::vector<const Field*> fields;
    for (std::size_t i = 0; i < row.size(); ++i)
        fields.push_back(static_cast<int>(i) == t.info.integerPrimaryKey ? &null : &row[i]);
    t.rows.emplace(rowid, EncodeRecord(fields));
}

std::string Sqlite2Writer::Image() const {
    BTreeImage image(impl_->order == ByteOrder::Big);
    const std::uint32_t masterRoot = image.AllocatePage();
    std::vector<std::string> masterRecords;
    for (const Impl::Table& t : impl_->tables) {
        const std::uint32_t root = image.AllocatePage();
        std::vector<BTreeImage::Entry> entries;
        entries.reserve(t.rows.size());
        for (const auto& [rowid, record] : t.rows)
            entries.push_back({rowid, &record});
        image.WriteTable(root, entries);
        const Field type("table"), name(t.info.name), rootText(static_cast<long long>(root)), sql(t.sql);
        masterRecords.push_back(EncodeRecord({&type, &name, &name, &rootText, &sql}));
    }
    std::vector<BTreeImage::Entry> master;
    for (std::size_t i = 0; i < masterRecords.size(); ++i)
        master.push_back({static_cast<std::int32_t>(i + 1), &masterRecords[i]});
    image.WriteTable(masterRoot, master);
    return image.Finish(0x2F1u + static_cast<std::uint32_t>(impl_->tables.size()));
}

void Sqlite2Writer::WriteFile(const std::string& path) const {
    const std::string image = Image();
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) throw ESqlite2Error(ErrCantOpen, "cannot create a file beside " + path);
    std::size_t done = 0;
    while (done < image.size()) {
        const ssize_t n = ::write(fd, image.data() + done, image.size() - done);
        if (n <= 0) {
            ::close(fd);
            ::unlink(temp.c_str());
            throw ESqlite2Error(ErrCantOpen, "cannot write " + temp);
        }
        done += static_cast<std::size_t>(n);
    }
    ::fchmod(fd, 0644);
    if (::close(fd) != 0 || std::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        throw ESqlite2Error(ErrCantOpen, "cannot write " + path);
    }
}

} // namespace sqlite2
