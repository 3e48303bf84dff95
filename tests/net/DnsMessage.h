// Crafted DNS messages for the tests: bytes written field by field, so that replies can be as broken as
// a test needs them.
#pragma once

#include <cstdint>
#include <string>

namespace dnstest {

class TMessage {
public:
    TMessage& U8(int v) {
        bytes_.push_back(static_cast<char>(v & 0xFF));
        return *this;
    }
    TMessage& U16(int v) { return U8(v >> 8).U8(v); }
    TMessage& U32(std::uint32_t v) {
        return U16(static_cast<int>(v >> 16)).U16(static_cast<int>(v & 0xFFFF));
    }
    TMessage& Raw(const std::string& b) {
        bytes_ += b;
        return *this;
    }
    // Labels of a dotted name, ended by the root unless `terminate` is false (a pointer follows).
    TMessage& Name(const std::string& dotted, bool terminate = true) {
        std::size_t start = 0;
        while (start < dotted.size()) {
            std::size_t dot = dotted.find('.', start);
            if (dot == std::string::npos) dot = dotted.size();
            U8(static_cast<int>(dot - start)).Raw(dotted.substr(start, dot - start));
            start = dot + 1;
        }
        if (terminate) U8(0);
        return *this;
    }
    TMessage& Ptr(int offset) { return U16(0xC000 | offset); }
    TMessage& Header(int id, int flags, int qd, int an, int ns = 0, int ar = 0) {
        return U16(id).U16(flags).U16(qd).U16(an).U16(ns).U16(ar);
    }
    // The fixed part of an answer after its name.
    TMessage& Fixed(int type, int rdLength, std::uint32_t ttl = 3600, int cls = 1) {
        return U16(type).U16(cls).U32(ttl).U16(rdLength);
    }
    int Size() const { return static_cast<int>(bytes_.size()); }
    const std::string& Bytes() const { return bytes_; }
    const std::uint8_t* Data() const { return reinterpret_cast<const std::uint8_t*>(bytes_.data()); }

private:
    std::string bytes_;
};

inline constexpr int kResponseFlags = 0x8180; // response, recursion desired and available

// A reply to "example.com" MX: two exchangers, the first compressed back into the question.
inline TMessage MXReply(int id) {
    TMessage m;
    m.Header(id, kResponseFlags, 1, 2).Name("example.com").U16(15).U16(1);
    m.Ptr(12).Fixed(15, 2 + 7).U16(10).Name("mail", false).Ptr(12);
    m.Ptr(12).Fixed(15, 2 + 17, 7200).U16(20).Name("mx2.example.com");
    return m;
}

} // namespace dnstest
