#pragma once

// Internal to the Inet*.cpp files: libcurl handles and the state a session shares with its
// connections and requests.

#include <curl/curl.h>

#include <memory>
#include <string>

#include "platform/Inet.h"

namespace tarvolin::platform {

struct CurlEasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct CurlMultiCleanup {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct CurlSlistCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyCleanup>;
using CurlMulti = std::unique_ptr<CURLM, CurlMultiCleanup>;
using CurlSlist = std::unique_ptr<curl_slist, CurlSlistCleanup>;

// Appends one line; false when libcurl could not take it (the list is unchanged then).
bool SlistAppend(CurlSlist& list, const std::string& line);

struct InetSettings {
    std::string agent;
    int maxConnectionsPerServer = 0;  // 0: libcurl's own (no limit)
    int connectTimeoutMs = kInetDefaultConnectTimeoutMs;
    int sendTimeoutMs = kInetDefaultSendTimeoutMs;
    int receiveTimeoutMs = kInetDefaultReceiveTimeoutMs;
    InetAccess access = InetAccess::kDirect;
    std::string proxy;
};

// The multi handle owns the connection cache, so every request added to it reuses the
// connections of the requests before it. Requests keep the core alive, so closing handles in
// any order is safe.
struct InetSessionCore {
    InetSettings settings;
    CurlMulti multi;
    // What the last finished request leaves for the next one: its easy handle (reset) and its body
    // buffer (emptied), so that a run of requests does not allocate and free them over and over.
    CurlEasy spareEasy;
    std::string spareBuffer;
};

struct InetConnectionData {
    std::shared_ptr<InetSessionCore> core;
    std::string host;
    int port = 0;
    std::string proxyUser;
    std::string proxyPassword;
};

// Starts libcurl once per process; false when it cannot be started.
bool EnsureCurlStarted();

}  // namespace tarvolin::platform
