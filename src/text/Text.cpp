#include "text/Text.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/Codepage.h"

namespace tarvolin {

Text Text::FromBytes(std::string_view cp936) {
    const std::size_t zero = cp936.find('\0');
    return Text(std::string(cp936.substr(0, zero)));
}

Text Text::FromBytesUnchecked(std::string bytes) { return Text(std::move(bytes)); }

Text IntToText(long long value) { return Text::FromBytesUnchecked(std::to_string(value)); }

namespace {

std::string Convert(std::string_view source, int fromCodePage, int toCodePage) {
    if (source.empty()) return {};
    const int length = static_cast<int>(source.size());
    const int units = platform::MultiByteToWideChar(fromCodePage, 0, source.data(), length, nullptr, 0);
    if (units < 1) return {};
    std::vector<char16_t> wide(units);
    const int written = platform::MultiByteToWideChar(fromCodePage, 0, source.data(), length, wide.data(), units);
    if (written < 1) return {};
    const int bytes = platform::WideCharToMultiByte(toCodePage, 0, wide.data(), written, nullptr, 0);
    if (bytes < 1) return {};
    std::string out(bytes, '\0');
    const int done = platform::WideCharToMultiByte(toCodePage, 0, wide.data(), written, out.data(), bytes);
    out.resize(done > 0 ? done : 0);
    return out;
}

}  // namespace

Text Utf8Text(std::string_view utf8) {
    return Text::FromBytes(Convert(utf8, platform::kCpUtf8, platform::kCpGbk));
}

std::string TextToUtf8(const Text& text) { return Convert(text.view(), platform::kCpGbk, platform::kCpUtf8); }

}  // namespace tarvolin
