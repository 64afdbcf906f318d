#include "platform/UrlReader.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

#include "platform/ThreadControl.h"

namespace tarvolin::platform {
namespace {

constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr long kConnectSeconds = 60;
constexpr long kSilentSeconds = 30;
constexpr long kMaxRedirects = 10;

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

void InitialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

size_t AppendBody(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

// Called by libcurl about once a second and whenever data moves: the safe point of the read.
int TransferSafePoint(void*, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return Checkpoint() ? 0 : 1;
}

HeaderList NoCacheHeaders() {
    curl_slist* list = curl_slist_append(nullptr, "Pragma: no-cache");
    if (!list) return nullptr;
    HeaderList headers(list);
    list = curl_slist_append(headers.get(), "Cache-Control: no-cache");
    if (!list) return nullptr;
    return headers;
}

void Configure(CURL* easy, const std::string& url, curl_slist* headers, std::string* body) {
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(easy, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    // A web page and nothing else: no local files or other schemes, also not through a redirect.
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, kSilentSeconds);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, body);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, TransferSafePoint);
}

}  // namespace

std::string ReadUrl(const std::string& url) {
    if (url.empty()) return {};
    InitialiseCurlOnce();
    EasyHandle easy(curl_easy_init());
    HeaderList headers = NoCacheHeaders();
    if (!easy || !headers) return {};
    std::string body;
    Configure(easy.get(), url, headers.get(), &body);
    // A transfer that breaks off keeps what it read; one that never got going has read nothing.
    curl_easy_perform(easy.get());
    return body;
}

}  // namespace tarvolin::platform
