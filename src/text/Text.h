#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvolin {

// A byte buffer with an explicit length; may hold zero bytes. UTF-16 travels in it as
// little-endian 16-bit units.
class Bytes {
public:
    Bytes() = default;
    explicit Bytes(std::string data) : data_(std::move(data)) {}
    Bytes(const void* data, std::size_t size) : data_(static_cast<const char*>(data), size) {}

    const std::string& data() const { return data_; }
    std::string& data() { return data_; }
    std::string_view view() const { return data_; }
    std::size_t size() const { return data_.size(); }
    bool empty() const { return data_.empty(); }

    friend bool operator==(const Bytes&, const Bytes&) = default;

private:
    std::string data_;
};

// A string of code page 936 bytes. It never holds a zero byte: building one from bytes stops at
// the first zero. The empty and the absent text are one value.
//
// There is deliberately no constructor from a string literal: source files are UTF-8, so a
// literal becomes a Text only through operator""_t below, which converts it to code page 936.
class Text {
public:
    Text() = default;

    // The given bytes, taken as code page 936, up to the first zero byte.
    static Text FromBytes(std::string_view cp936);
    // The same for raw bytes whose length is known to be free of zeros (not checked again).
    static Text FromBytesUnchecked(std::string bytes);

    const std::string& bytes() const { return bytes_; }
    std::string_view view() const { return bytes_; }
    // Zero-terminated, for calls into C interfaces.
    const char* c_str() const { return bytes_.c_str(); }
    int length() const { return static_cast<int>(bytes_.size()); }
    bool empty() const { return bytes_.empty(); }

    Text& operator+=(const Text& more) {
        bytes_ += more.bytes_;
        return *this;
    }
    friend Text operator+(Text a, const Text& b) { return a += b; }

    friend bool operator==(const Text&, const Text&) = default;
    friend auto operator<=>(const Text&, const Text&) = default;

private:
    explicit Text(std::string bytes) : bytes_(std::move(bytes)) {}
    std::string bytes_;
};

// Decimal text of a number, without leading zeros.
Text IntToText(long long value);

// Converts UTF-8 source text to its code page 936 Text ("状态：运行中"_t). Characters that code page
// 936 lacks become "?".
Text Utf8Text(std::string_view utf8);

// The inverse, for the window's edge and for logs.
std::string TextToUtf8(const Text& text);

inline namespace literals {
inline Text operator""_t(const char* utf8, std::size_t size) { return Utf8Text(std::string_view(utf8, size)); }
}  // namespace literals

}  // namespace tarvolin
