#include "text/TextOps.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "text/CharScan.h"

namespace tarvolin {

using charscan::CharLength;
using charscan::IsLeadByte;
using charscan::kNone;
using charscan::SpaceLength;

namespace {

Text Piece(std::string_view bytes) {
    return Text::FromBytesUnchecked(std::string(bytes));
}

std::size_t Clamp(int value, std::size_t limit) {
    return value <= 0 ? 0 : std::min(static_cast<std::size_t>(value), limit);
}

// Applies fold to every one-byte character; two-byte characters, and a lone lead byte at the
// end, are kept as they are.
template <typename Fold>
Text MapSingleBytes(const Text& text, Fold fold) {
    std::string out = text.bytes();
    for (std::size_t i = 0; i < out.size(); i += CharLength(out, i)) {
        if (!IsLeadByte(out[i])) out[i] = fold(out[i]);
    }
    return Text::FromBytesUnchecked(std::move(out));
}

// The byte offset of a 1-based position; positions below 1 mean the first byte.
std::size_t Offset(int position, std::size_t limit) {
    return position <= 1 ? 0 : Clamp(position - 1, limit);
}

std::size_t SkipLeadingSpaces(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t space = SpaceLength(bytes, i);
        if (space == 0) break;
        i += space;
    }
    return i;
}

}  // namespace

int TextLength(const Text& text) {
    return text.length();
}

Text TextLeft(const Text& text, int count) {
    return Piece(text.view().substr(0, Clamp(count, text.view().size())));
}

Text TextRight(const Text& text, int count) {
    const std::size_t n = Clamp(count, text.view().size());
    return Piece(text.view().substr(text.view().size() - n));
}

Text TextMid(const Text& text, int start, int count) {
    if (start < 1 || start > text.length() || count <= 0) return Text();
    return Piece(text.view().substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

int FindText(const Text& text, const Text& target, int start, bool ignoreCase) {
    const std::size_t offset = Offset(start, text.view().size());
    if (offset >= text.view().size()) return -1;
    if (target.empty()) return 1;
    const std::size_t hit = charscan::Find(text.view(), target.view(), offset, ignoreCase);
    return hit == kNone ? -1 : static_cast<int>(hit) + 1;
}

int FindTextLast(const Text& text, const Text& target, std::optional<int> start, bool ignoreCase) {
    const std::string_view whole = text.view();
    // An occurrence counts only when it ends before position start.
    const std::string_view range = start ? whole.substr(0, Offset(*start, whole.size())) : whole;
    if (range.empty()) return -1;
    if (target.empty()) return 1;
    std::size_t last = kNone;
    for (std::size_t from = 0;;) {
        const std::size_t hit = charscan::Find(range, target.view(), from, ignoreCase);
        if (hit == kNone) break;
        last = hit;
        from = hit + CharLength(range, hit);
    }
    return last == kNone ? -1 : static_cast<int>(last) + 1;
}

Text TextToUpper(const Text& text) {
    return MapSingleBytes(text,
                          [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; });
}

Text TextToLower(const Text& text) {
    return MapSingleBytes(text,
                          [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
}

Text TrimLeadingSpaces(const Text& text) {
    return Piece(text.view().substr(SkipLeadingSpaces(text.view())));
}

Text TrimSpaces(const Text& text) {
    const std::string_view bytes = text.view();
    const std::size_t begin = SkipLeadingSpaces(bytes);
    std::size_t end = begin;  // just past the last character that is not a space
    for (std::size_t i = begin; i < bytes.size();) {
        // A lone lead byte at the end: only that byte goes, trailing spaces before it stay.
        if (IsLeadByte(bytes[i]) && i + 1 == bytes.size()) return Piece(bytes.substr(begin, i - begin));
        const std::size_t space = SpaceLength(bytes, i);
        i += space ? space : CharLength(bytes, i);
        if (!space) end = i;
    }
    return Piece(bytes.substr(begin, end - begin));
}

Text RemoveSpaces(const Text& text) {
    const std::string_view bytes = text.view();
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        if (IsLeadByte(bytes[i]) && i + 1 == bytes.size()) break;  // a truncated character is dropped
        const std::size_t space = SpaceLength(bytes, i);
        const std::size_t length = space ? space : CharLength(bytes, i);
        if (!space) out.append(bytes.substr(i, length));
        i += length;
    }
    return Text::FromBytesUnchecked(std::move(out));
}

Text ReplaceAt(const Text& text, int start, int count, const Text& replacement) {
    std::string out = text.bytes();
    const std::size_t at = Offset(start, out.size());
    out.replace(at, Clamp(count, out.size() - at), replacement.bytes());
    return Text::FromBytesUnchecked(std::move(out));
}

std::vector<Text> SplitText(const Text& text, const Text& separator, std::optional<int> maxPieces) {
    const std::size_t limit = maxPieces ? Clamp(*maxPieces, kNone) : kNone;
    std::vector<Text> pieces;
    if (text.empty() || limit == 0) return pieces;
    if (separator.empty()) return {text};
    const std::string_view bytes = text.view();
    std::size_t pieceStart = 0;
    for (;;) {
        const std::size_t hit = charscan::Find(bytes, separator.view(), pieceStart, false);
        if (hit == kNone) break;
        pieces.push_back(Piece(bytes.substr(pieceStart, hit - pieceStart)));
        if (pieces.size() == limit) return pieces;  // the rest of the text is dropped
        pieceStart = hit + separator.view().size();
    }
    if (pieceStart < bytes.size()) pieces.push_back(Piece(bytes.substr(pieceStart)));
    return pieces;
}

std::vector<Text> SplitText(const Text& text) {
    return SplitText(text, Text::FromBytes(","));
}

Text SpacesText(int count) {
    return Text::FromBytesUnchecked(std::string(Clamp(count, kNone), ' '));
}

Text BytesToText(const Bytes& bytes) {
    return Text::FromBytes(bytes.view());
}

}  // namespace tarvolin
