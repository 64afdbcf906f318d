// The request-header store (the header block) and the cookie operations of HttpSession.

#include <array>

#include "text/TextOps.h"
#include "web/CookieJar.h"
#include "web/HttpSession.h"
#include "web/Location.h"
#include "web/WebTexts.h"

namespace tarvolin {

namespace {

// "Name", "Name:" and "Name: " all become "Name: ".
Text NormaliseHeaderName(const Text& name) {
    if (EndsWith(name, ": ")) return name;
    if (EndsWith(name, ":")) return name + AsciiText(" ");
    return name + AsciiText(": ");
}

bool IsCookieHeader(const Text& normalisedName) {
    return TextToLower(normalisedName).view() == "cookie: ";
}

}  // namespace

std::span<const HttpSession::DefaultHeader> HttpSession::DefaultHeaders() {
    // In the order Send adds them.
    static const std::array<DefaultHeader, 6> headers = {{
        {"Accept: ", &HttpSession::acceptSent, &HttpSession::accept, false},
        {"Referer: ", &HttpSession::refererSent, &HttpSession::referer, false},
        {"Accept-Language: ", &HttpSession::acceptLanguageSent, &HttpSession::acceptLanguage, false},
        {"User-Agent: ", &HttpSession::userAgentSent, &HttpSession::userAgent, false},
        {"Content-Type: ", &HttpSession::contentTypeSent, &HttpSession::contentType, true},
        {"Connection: ", &HttpSession::connectionSent, &HttpSession::connection, false},
    }};
    return headers;
}

const HttpSession::DefaultHeader* HttpSession::FindDefaultHeader(const Text& normalisedName) {
    const Text lower = TextToLower(normalisedName);
    for (const DefaultHeader& header : DefaultHeaders()) {
        if (TextToLower(AsciiText(header.name)) == lower) return &header;
    }
    return nullptr;
}

void HttpSession::AddHeader(const Text& name, const Text& value) {
    if (name.empty()) return;
    const Text normalised = NormaliseHeaderName(name);
    if (defaultHeadersEnabled && !value.empty()) {
        if (const DefaultHeader* header = FindDefaultHeader(normalised)) this->*header->sent = true;
    }
    if (IsCookieHeader(normalised)) {
        if (!value.empty()) SetCookies(value);
        return;
    }
    const int p = FindText(headerBlock, AsciiText("\r\n") + normalised, 1, true);
    if (p == -1) {
        headerBlock += normalised + value + AsciiText("\r\n");
        return;
    }
    // The stored line keeps the letter case of its name; only the value changes.
    const int valueStart = p + 2 + TextLength(normalised);
    const int end = FindText(headerBlock, AsciiText("\r\n"), valueStart);
    if (end != -1) headerBlock = ReplaceAt(headerBlock, valueStart, end - valueStart, value);
}

void HttpSession::RemoveHeader(const Text& name) {
    if (name.empty()) return;
    const Text normalised = NormaliseHeaderName(name);
    // Removing a default header keeps Send from adding it to the next request.
    if (defaultHeadersEnabled) {
        if (const DefaultHeader* header = FindDefaultHeader(normalised)) this->*header->sent = true;
    }
    const int p = FindText(headerBlock, AsciiText("\r\n") + normalised, 1, true);
    if (p == -1) return;
    const int end = FindText(headerBlock, AsciiText("\r\n"), p + 2 + TextLength(normalised));
    if (end != -1) headerBlock = ReplaceAt(headerBlock, p + 2, end - p);  // the line and its CRLF
}

Text HttpSession::ResolveLocation() const {
    return tarvolin::ResolveLocation(rawHeaders, scheme, host, port, currentUrl);
}

bool HttpSession::SetCookies(const Text& cookies) {
    return SetCookiesInJar(cookieJar, cookies);
}

bool HttpSession::DeleteCookies(const Text& names) {
    return DeleteCookiesFromJar(cookieJar, names);
}

Text HttpSession::GetCookie(const Text& name, bool withName) const {
    return CookieFromJar(cookieJar, name, withName);
}

Text HttpSession::GetAllCookies() const {
    return CookieListOfJar(cookieJar);
}

void HttpSession::SetCookieJar(const Text& jar) {
    cookieJar = JarFromCookieList(jar);
}

}  // namespace tarvolin
