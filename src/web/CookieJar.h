#pragma once

#include "text/Text.h"

// The cookie jar is one Text: "; " followed by every cookie as name=value and "; ", in the order
// the cookies first arrived. Names match exactly (letter case counts); attributes are not kept.
namespace tarvolin {

inline constexpr char kEmptyJar[] = "; ";

// Merges every Set-Cookie line of a raw response header block into the jar: a new name is
// appended, a known one changes in place, a value of "deleted" (in three spellings) removes it.
void MergeSetCookies(Text& jar, const Text& rawHeaders);

// name=value pairs separated by ";"; true when at least one cookie was added or changed.
bool SetCookiesInJar(Text& jar, const Text& cookies);
// Names separated by ";" (a "=value" after a name is ignored); true when one was removed.
bool DeleteCookiesFromJar(Text& jar, const Text& names);
// The value of one cookie, or name=value; empty when the jar does not hold it.
Text CookieFromJar(const Text& jar, const Text& name, bool withName);
// The cookies separated by "; ", as a Cookie header carries them; empty for an empty jar.
Text CookieListOfJar(const Text& jar);
// A jar made of such a list (with or without the jar's leading and trailing separators).
Text JarFromCookieList(const Text& list);

}  // namespace tarvolin
