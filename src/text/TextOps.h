#pragma once

#include <optional>
#include <vector>

#include "text/Text.h"

// The primitive operations on Text. Positions are 1-based byte positions, lengths are byte
// counts, -1 means not found. Scanning operations step over two-byte characters (a byte
// 0x80-0xFF and the byte after it); byte operations may cut such a character in half. Only ASCII
// letters have case; spaces are 0x20 and the full-width space 0xA1 0xA1.
namespace tarvolin {

int TextLength(const Text& text);
Text TextLeft(const Text& text, int count);
Text TextRight(const Text& text, int count);
Text TextMid(const Text& text, int start, int count);

int FindText(const Text& text, const Text& target, int start = 1, bool ignoreCase = false);
// The last occurrence that ends before position start, or in the whole text without start.
int FindTextLast(const Text& text, const Text& target, std::optional<int> start = std::nullopt,
                 bool ignoreCase = false);

Text TextToUpper(const Text& text);
Text TextToLower(const Text& text);
Text TrimLeadingSpaces(const Text& text);
Text TrimSpaces(const Text& text);
Text RemoveSpaces(const Text& text);

Text ReplaceAt(const Text& text, int start, int count, const Text& replacement = Text());

// maxPieces: std::nullopt means unlimited.
std::vector<Text> SplitText(const Text& text, const Text& separator, std::optional<int> maxPieces = std::nullopt);
std::vector<Text> SplitText(const Text& text);  // separator ","

Text SpacesText(int count);
Text BytesToText(const Bytes& bytes);

int TextToInt(const Text& text);
float TextToFloat(const Text& text);

}  // namespace tarvolin
