#include "web/CookieJar.h"

#include <array>
#include <string_view>

#include "text/TextOps.h"
#include "web/WebTexts.h"

namespace tarvolin {

namespace {

constexpr int kSetCookieLength = 11;  // "Set-Cookie:"
constexpr std::array<std::string_view, 3> kDeletedEndings = {"=deleted;", "=DELETED;", "=Deleted;"};

bool MarksDeletion(const Text& item) {
    const Text ending = TextRight(item, 9);
    for (std::string_view deleted : kDeletedEndings) {
        if (ending.view() == deleted) return true;
    }
    return false;
}

// item is name=value followed by ";".
void MergeItem(Text& jar, const Text& item) {
    const Text name = TextLeft(item, FindText(item, AsciiText("=")));  // through the "="
    const bool deleted = MarksDeletion(item);
    const int f = FindText(jar, AsciiText("; ") + name);
    if (f == -1) {
        if (!deleted) jar += item + AsciiText(" ");
        return;
    }
    const int next = FindText(jar, AsciiText("; "), f + 2 + TextLength(name));
    if (next == -1) return;
    if (deleted) {
        jar = ReplaceAt(jar, f + 1, next - f);  // the space, name, value and ";"
    } else {
        jar = ReplaceAt(jar, f + 2, next - f - 1, item);  // name, value and ";"
    }
}

}  // namespace

void MergeSetCookies(Text& jar, const Text& rawHeaders) {
    const Text setCookie = AsciiText("Set-Cookie:");
    const Text semicolon = AsciiText(";");
    const Text lineBreak = AsciiText("\r\n");
    int p = FindText(rawHeaders, setCookie, 1, true);
    while (p != -1) {
        const int start = p + kSetCookieLength;
        // The item is name=value up to the first ";" (the attributes after it are not kept), or
        // up to the end of the line when the line has no ";": an item never takes in the next
        // header line. With neither left in the text the merge ends.
        const int stop = FindText(rawHeaders, semicolon, start);
        const int lineEnd = FindText(rawHeaders, lineBreak, start);
        if (stop == -1 && lineEnd == -1) return;
        const bool cutAtLineEnd = lineEnd != -1 && (stop == -1 || lineEnd < stop);
        const int end = cutAtLineEnd ? lineEnd : stop;
        Text item = TextMid(rawHeaders, start, end - start);
        item = TrimLeadingSpaces(item + semicolon);
        if (FindText(item, AsciiText("=")) != -1) MergeItem(jar, item);
        p = FindText(rawHeaders, setCookie, end + 1, true);
    }
}

bool SetCookiesInJar(Text& jar, const Text& cookies) {
    if (cookies.empty()) return false;
    bool changed = false;
    for (const Text& raw : SplitText(cookies, AsciiText(";"))) {
        const Text piece = TrimLeadingSpaces(raw);
        const int eq = FindText(piece, AsciiText("="));
        if (eq == -1) continue;
        const Text key = AsciiText("; ") + TextLeft(piece, eq);
        const int f = FindText(jar, key);
        if (f == -1) {
            jar += piece + AsciiText("; ");
            changed = true;
            continue;
        }
        const int next = FindText(jar, AsciiText("; "), f + TextLength(key));
        if (next == -1) continue;
        jar = ReplaceAt(jar, f + 2, next - f - 2, piece);
        changed = true;
    }
    return changed;
}

bool DeleteCookiesFromJar(Text& jar, const Text& names) {
    if (names.empty()) return false;
    bool changed = false;
    for (const Text& raw : SplitText(names, AsciiText(";"))) {
        Text name = TrimLeadingSpaces(raw);
        const int eq = FindText(name, AsciiText("="));
        if (eq != -1) name = TextLeft(name, eq - 1);
        const Text key = AsciiText("; ") + name + AsciiText("=");
        const int f = FindText(jar, key);
        if (f == -1) continue;
        const int next = FindText(jar, AsciiText("; "), f + TextLength(key));
        if (next == -1) continue;
        jar = ReplaceAt(jar, f, next - f);  // the separator before it, its name and value
        changed = true;
    }
    return changed;
}

Text CookieFromJar(const Text& jar, const Text& name, bool withName) {
    const int f = FindText(jar, AsciiText("; ") + name + AsciiText("="));
    if (f == -1) return {};
    const int equals = f + 2 + TextLength(name);
    const int end = FindText(jar, AsciiText(";"), equals);
    if (end == -1) return {};
    if (withName) return TextMid(jar, f + 2, end - f - 2);
    return TextMid(jar, equals + 1, end - equals - 1);
}

Text CookieListOfJar(const Text& jar) {
    return TextMid(jar, 3, TextLength(jar) - 4);
}

Text JarFromCookieList(const Text& list) {
    Text jar = StartsWith(list, kEmptyJar) ? list : AsciiText(kEmptyJar) + list;
    // Checked on the result, so that the jar always ends with exactly one "; ".
    if (!EndsWith(jar, kEmptyJar)) {
        if (!EndsWith(jar, ";")) jar += AsciiText(";");
        if (!EndsWith(jar, " ")) jar += AsciiText(" ");
    }
    return jar;
}

}  // namespace tarvolin
