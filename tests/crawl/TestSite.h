#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "SiteServer.h"

namespace tarvolin::testing {

// The bundled directory site on 127.0.0.1:0, with faults a test can switch on: search pages of
// its own making, a detail request held until the test lets it go, and a record of what was
// asked. Detail requests linger briefly in the server so that two that overlap are seen to.
class TestSite {
public:
    struct SearchRequest {
        std::string keyword;
        int page = 0;  // 0: the address without "&p="
    };
    // Answers a search request instead of the site; nothing lets the site answer.
    using SearchOverride = std::function<std::optional<std::string>(const SearchRequest& request, int index)>;

    explicit TestSite(demosite::SiteOptions options = {});
    ~TestSite();

    std::string Address() const { return site_.Address(); }
    // Points the program at this site (TARVOLIN_SITE).
    void Use() const;

    void OverrideSearch(SearchOverride answer);
    // Called as each search request arrives, before it is answered (index from 0).
    void OnSearch(std::function<void(const SearchRequest&, int index)> observer);
    // Holds the detail request with this number (from 1) until Release, or until the server stops.
    void HoldDetail(int number);
    void Release();
    // Waits until the held request has arrived; false after the time-out.
    bool WaitForHeld(int timeoutMs = 5000);

    std::vector<SearchRequest> Searches();
    int DetailRequests();
    // The paths of the detail requests, in the order they arrived.
    std::vector<std::string> DetailPaths();
    int MaxDetailsInFlight();

private:
    httplib::Server::HandlerResponse PreRoute(const httplib::Request& request, httplib::Response& response);

    demosite::SiteServer site_;
    std::mutex mutex_;
    std::condition_variable changed_;
    SearchOverride override_;
    std::function<void(const SearchRequest&, int)> observer_;
    std::vector<SearchRequest> searches_;
    std::vector<std::string> detailPaths_;
    int details_ = 0;
    int inFlight_ = 0;
    int maxInFlight_ = 0;
    int holdNumber_ = 0;
    bool heldArrived_ = false;
    bool released_ = false;
};

// A result page as the site lays it out: more than 10000 bytes of markup, then the page-count and
// total markers (left out when pages is negative), then one company link per entry.
std::string ResultPageWith(int pages, const std::string& total, const std::vector<std::string>& links);

}  // namespace tarvolin::testing
