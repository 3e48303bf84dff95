#include "sqlite2/Sq3Functions.h"

#include "sqlite2/Sq2Values.h"

#include <sqlite3.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <string_view>

namespace sqlite2 {

namespace {

constexpr std::int64_t kExactDouble = 9007199254740992; // 2^53

std::string_view TextOf(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? std::string_view(p, static_cast<std::size_t>(sqlite3_value_bytes(v))) : std::string_view();
}

// SQLite 2's text of a value.
std::string Sq2Text(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return std::to_string(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return FormatReal(sqlite3_value_double(v));
    default:
        return std::string(TextOf(v));
    }
}

// The number arithmetic reads from a value: leading number of a text, 0 when there is none.
double Numeric(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return static_cast<double>(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return sqlite3_value_double(v);
    default:
        return LeadingNumber(TextOf(v));
    }
}

std::int32_t Int32(sqlite3_value* v) {
    if (sqlite3_value_type(v) == SQLITE_INTEGER) return static_cast<std::int32_t>(sqlite3_value_int64(v));
    const double d = Numeric(v);
    if (!(d > -2147483649.0 && d < 2147483648.0)) return d < 0 ? INT_MIN : INT_MAX;
    return static_cast<std::int32_t>(d);
}

// A value in number form: numbers compare by value and come before texts, which compare byte-wise.
struct NumKey {
    bool isNull = false;
    bool isNumber = false;
    double number = 0;
    std::string_view text;
};

NumKey KeyOf(sqlite3_value* v) {
    NumKey k;
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        k.isNull = true;
        break;
    case SQLITE_INTEGER:
        k.isNumber = true;
        k.number = static_cast<double>(sqlite3_value_int64(v));
        break;
    case SQLITE_FLOAT:
        k.isNumber = true;
        k.number = sqlite3_value_double(v);
        break;
    default:
        k.text = TextOf(v);
        if (LooksLikeNumber(k.text)) {
            k.isNumber = true;
            k.number = NumberValue(k.text);
        }
    }
    return k;
}

int CompareNum(const NumKey& a, const NumKey& b) {
    if (a.isNumber && b.isNumber) return a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
    if (a.isNumber) return -1;
    if (b.isNumber) return 1;
    const int c = a.text.compare(b.text);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

void ResultNumber(sqlite3_context* ctx, double d) {
    sqlite3_result_double(ctx, d);
}

void NumFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER: {
        const std::int64_t i = sqlite3_value_int64(v);
        if (i >= -kExactDouble && i <= kExactDouble)
            sqlite3_result_int64(ctx, i);
        else
            sqlite3_result_double(ctx, static_cast<double>(i));
        return;
    }
    case SQLITE_FLOAT:
        sqlite3_result_value(ctx, v);
        return;
    default: {
        const std::string_view t = TextOf(v);
        if (!LooksLikeNumber(t)) {
            sqlite3_result_value(ctx, v);
            return;
        }
        std::int64_t i = 0;
        if (CanonicalInteger(t, i) && i >= -kExactDouble && i <= kExactDouble)
            sqlite3_result_int64(ctx, i);
        else
            sqlite3_result_double(ctx, NumberValue(t));
    }
    }
}

void TextFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_NULL || type == SQLITE_TEXT) {
        sqlite3_result_value(ctx, v);
        return;
    }
    const std::string t = Sq2Text(v);
    sqlite3_result_text(ctx, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
}

void SameFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_value(ctx, argv[0]);
}

void BoolFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    if (sqlite3_value_type(v) == SQLITE_NULL) return sqlite3_result_null(ctx);
    if (sqlite3_value_type(v) == SQLITE_INTEGER) return sqlite3_result_int(ctx, sqlite3_value_int64(v) != 0);
    const double d = Numeric(v);
    sqlite3_result_int(ctx, std::trunc(d) != 0.0);
}

// sq2_arith(op, a, b, integer): op 0 +, 1 -, 2 *, 3 /, 4 %. Integer operands (literals and integer
// results) use 32-bit arithmetic that wraps; everything else is double precision.
void ArithFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int op = sqlite3_value_int(argv[0]);
    sqlite3_value* a = argv[1];
    sqlite3_value* b = argv[2];
    if (sqlite3_value_type(a) == SQLITE_NULL || sqlite3_value_type(b) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    if (op == 4) {
        const double da = Numeric(a), db = Numeric(b);
        if (!(std::fabs(da) < 9.2e18) || !(std::fabs(db) < 9.2e18)) return sqlite3_result_null(ctx);
        const auto ia = static_cast<std::int64_t>(da), ib = static_cast<std::int64_t>(db);
        if (ib == 0) return sqlite3_result_null(ctx);
        return sqlite3_result_int64(ctx, ib == -1 ? 0 : ia % ib);
    }
    if (sqlite3_value_int(argv[3]) != 0) {
        const std::uint32_t ua = static_cast<std::uint32_t>(Int32(a)),
                            ub = static_cast<std::uint32_t>(Int32(b));
        std::int32_t r = 0;
        switch (op) {
        case 0:
            r = static_cast<std::int32_t>(ua + ub);
            break;
        case 1:
            r = static_cast<std::int32_t>(ua - ub);
            break;
        case 2:
            r = static_cast<std::int32_t>(ua * ub);
            break;
        default: {
            const std::int32_t ia = static_cast<std::int32_t>(ua), ib = static_cast<std::int32_t>(ub);
            if (ib == 0) return sqlite3_result_null(ctx);
            r = (ia == INT_MIN && ib == -1) ? INT_MIN : ia / ib;
        }
        }
        return sqlite3_result_int64(ctx, r);
    }
    const double da = Numeric(a), db = Numeric(b);
    switch (op) {
    case 0:
        return ResultNumber(ctx, da + db);
    case 1:
        return ResultNumber(ctx, da - db);
    case 2:
        return ResultNumber(ctx, da * db);
    default:
        if (db == 0.0) return sqlite3_result_null(ctx);
        return ResultNumber(ctx, da / db);
    }
}

void NegFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    if (sqlite3_value_type(v) == SQLITE_NULL) return sqlite3_result_null(ctx);
    if (sqlite3_value_int(argv[1]) != 0)
        return sqlite3_result_int64(ctx,
                                    static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(Int32(v))));
    ResultNumber(ctx, -Numeric(v));
}

// sq2_bit(op, a, b): 1 &, 2 |, 3 <<, 4 >>, 5 ~a.
void BitFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int op = sqlite3_value_int(argv[0]);
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_type(argv[2]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const std::uint32_t a = static_cast<std::uint32_t>(Int32(argv[1]));
    const std::uint32_t b = static_cast<std::uint32_t>(Int32(argv[2]));
    std::uint32_t r = 0;
    switch (op) {
    case 1:
        r = a & b;
        break;
    case 2:
        r = a | b;
        break;
    case 3:
        r = b >= 32 ? 0 : a << b;
        break;
    case 4:
        r = b >= 32 ? (static_cast<std::int32_t>(a) < 0 ? ~0u : 0u)
                    : static_cast<std::uint32_t>(static_cast<std::int32_t>(a) >> b);
        break;
    default:
        r = ~a;
    }
    sqlite3_result_int64(ctx, static_cast<std::int32_t>(r));
}

// sq2_minmax2(isMax, a, b, ...): the multi-argument max()/min() with a numeric first argument.
void MinMax2Fn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const bool isMax = sqlite3_value_int(argv[0]) != 0;
    int best = 1;
    for (int i = 1; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    for (int i = 2; i < argc; ++i) {
        const int c = CompareNum(KeyOf(argv[i]), KeyOf(argv[best]));
        if (isMax ? c > 0 : c < 0) best = i;
    }
    sqlite3_result_value(ctx, argv[best]);
}

void LengthFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, static_cast<std::int64_t>(Sq2Text(argv[0]).size()));
}

// substr(text, start, count) on bytes; start counts from 1, or from the end when negative.
void SubstrFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const std::string text = Sq2Text(argv[0]);
    const long long len = static_cast<long long>(text.size());
    long long p1 = Int32(argv[1]);
    long long p2 = Int32(argv[2]);
    if (p1 < 0) {
        p1 += len;
        if (p1 < 0) {
            p2 += p1;
            p1 = 0;
        }
    } else if (p1 > 0) {
        --p1;
    }
    if (p1 > len) p1 = len;
    if (p1 + p2 > len) p2 = len - p1;
    if (p2 < 0) p2 = 0;
    sqlite3_result_text(ctx, text.data() + p1, static_cast<int>(p2), SQLITE_TRANSIENT);
}

void AbsFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    if (sqlite3_value_type(v) == SQLITE_NULL) return sqlite3_result_null(ctx);
    if (sqlite3_value_int(argv[1]) != 0) {
        const std::int32_t i = Int32(v);
        return sqlite3_result_int64(ctx, i < 0 ? -static_cast<std::int64_t>(i) : i);
    }
    ResultNumber(ctx, std::fabs(Numeric(v)));
}

void RoundFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    int digits = argc > 1 ? Int32(argv[1]) : 0;
    digits = digits < 0 ? 0 : digits > 30 ? 30 : digits;
    // Halves round away from zero, as SQLite 2's own printf does.
    const double value = Numeric(argv[0]);
    const double scale = std::pow(10.0, digits);
    double rounded = std::floor(std::fabs(value) * scale + 0.5) / scale;
    if (!std::isfinite(rounded)) rounded = std::fabs(value);
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", digits, value < 0 ? -rounded : rounded);
    sqlite3_result_text(ctx, buf, -1, SQLITE_TRANSIENT);
}

void RandomFn(sqlite3_context* ctx, int, sqlite3_value**) {
    static thread_local std::mt19937 engine{std::random_device{}()};
    sqlite3_result_int64(ctx, static_cast<std::int32_t>(engine()));
}

// ---- aggregates

struct KeptValue {
    sqlite3_value* value = nullptr;
    sqlite3_value* key = nullptr;
};

void Keep(sqlite3_value*& slot, sqlite3_value* v) {
    sqlite3_value_free(slot);
    slot = sqlite3_value_dup(v);
}

void FinishKept(sqlite3_context* ctx) {
    auto* kept = static_cast<KeptValue*>(sqlite3_aggregate_context(ctx, 0));
    if (!kept || !kept->value) return sqlite3_result_null(ctx);
    sqlite3_result_value(ctx, kept->value);
    sqlite3_value_free(kept->value);
    sqlite3_value_free(kept->key);
    kept->value = kept->key = nullptr;
}

// min()/max() of a numeric-typed column whose texts may spell numbers in several ways: compares by
// value, hands back the stored text; min keeps the first of equal values, max the last.
template <bool IsMax>
void MinMaxStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return;
    auto* kept = static_cast<KeptValue*>(sqlite3_aggregate_context(ctx, sizeof(KeptValue)));
    if (!kept) return sqlite3_result_error_nomem(ctx);
    if (!kept->value) return Keep(kept->value, argv[0]);
    const int c = CompareNum(KeyOf(argv[0]), KeyOf(kept->value));
    if (IsMax ? c >= 0 : c < 0) Keep(kept->value, argv[0]);
}

// The value of the group's first row: the one with the lowest scan key when a key is given.
void FirstStep(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    auto* kept = static_cast<KeptValue*>(sqlite3_aggregate_context(ctx, sizeof(KeptValue)));
    if (!kept) return sqlite3_result_error_nomem(ctx);
    if (!kept->value) {
        Keep(kept->value, argv[0]);
        if (argc > 1) Keep(kept->key, argv[1]);
        return;
    }
    if (argc > 1 && sqlite3_value_int64(argv[1]) < sqlite3_value_int64(kept->key)) {
        Keep(kept->value, argv[0]);
        Keep(kept->key, argv[1]);
    }
}

struct SumState {
    double sum = 0;
    std::int64_t count = 0;
};

void SumStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return;
    auto* s = static_cast<SumState*>(sqlite3_aggregate_context(ctx, sizeof(SumState)));
    if (!s) return sqlite3_result_error_nomem(ctx);
    s->sum += Numeric(argv[0]);
    ++s->count;
}

void SumFinal(sqlite3_context* ctx) {
    auto* s = static_cast<SumState*>(sqlite3_aggregate_context(ctx, 0));
    ResultNumber(ctx, s ? s->sum : 0.0);
}

void AvgFinal(sqlite3_context* ctx) {
    auto* s = static_cast<SumState*>(sqlite3_aggregate_context(ctx, 0));
    if (!s || s->count == 0) return sqlite3_result_null(ctx);
    ResultNumber(ctx, s->sum / static_cast<double>(s->count));
}

} // namespace

bool RegisterSq2Functions(sqlite3* db) {
    struct Scalar {
        const char* name;
        int args;
        void (*fn)(sqlite3_context*, int, sqlite3_value**);
    };
    const Scalar scalars[] = {
        {"sq2_num", 1, NumFn},       {"sq2_text", 1, TextFn},        {"sq2_same", 1, SameFn},
        {"sq2_bool", 1, BoolFn},     {"sq2_arith", 4, ArithFn},      {"sq2_neg", 2, NegFn},
        {"sq2_bit", 3, BitFn},       {"sq2_minmax2", -1, MinMax2Fn}, {"sq2_length", 1, LengthFn},
        {"sq2_substr", 3, SubstrFn}, {"sq2_abs", 2, AbsFn},          {"sq2_round", -1, RoundFn},
        {"sq2_random", 0, RandomFn},
    };
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    for (const Scalar& s : scalars) {
        const int f = s.fn == RandomFn ? SQLITE_UTF8 : flags;
        if (sqlite3_create_function(db, s.name, s.args, f, nullptr, s.fn, nullptr, nullptr) != SQLITE_OK)
            return false;
    }
    struct Aggregate {
        const char* name;
        int args;
        void (*step)(sqlite3_context*, int, sqlite3_value**);
        void (*final)(sqlite3_context*);
    };
    const Aggregate aggregates[] = {
        {"sq2_min", 1, MinMaxStep<false>, FinishKept},
        {"sq2_max", 1, MinMaxStep<true>, FinishKept},
        {"sq2_first", 1, FirstStep, FinishKept},
        {"sq2_first", 2, FirstStep, FinishKept},
        {"sq2_sum", 1, SumStep, SumFinal},
        {"sq2_avg", 1, SumStep, AvgFinal},
    };
    for (const Aggregate& a : aggregates)
        if (sqlite3_create_function(db, a.name, a.args, SQLITE_UTF8, nullptr, nullptr, a.step, a.final) !=
            SQLITE_OK)
            return false;
    return true;
}

} // namespace sqlite2
