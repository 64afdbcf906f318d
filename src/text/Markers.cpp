#include "text/Markers.h"

#include "text/TextOps.h"

namespace tarvolin {

Text TextBetween(const Text& source, const Text& startMarker, const Text& endMarker, int start,
                 bool ignoreCase) {
    const int p = FindText(source, startMarker, start, ignoreCase);
    if (p == -1) return Text();
    const int c = p + TextLength(startMarker);
    // The end marker may begin right after the start marker; it is looked for only from there on.
    const int q = FindText(source, endMarker, c, ignoreCase);
    if (q == -1) return Text();
    return TextMid(source, c, q - c);
}

Text TextAfterLast(const Text& source, const Text& marker, int start, bool ignoreCase) {
    if (start <= 0) start = TextLength(source);
    const int p = FindTextLast(source, marker, start, ignoreCase);
    if (p == -1) return Text();
    return TextRight(source, TextLength(source) - TextLength(marker) - p + 1);
}

}  // namespace tarvolin
