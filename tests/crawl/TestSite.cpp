#include "TestSite.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace tarvolin::testing {

using namespace std::chrono_literals;

TestSite::TestSite(demosite::SiteOptions options) : site_(std::move(options)) {
    site_.Http().set_pre_routing_handler(
        [this](const httplib::Request& request, httplib::Response& response) {
            return PreRoute(request, response);
        });
    site_.Start(0);
}

TestSite::~TestSite() {
    Release();
    site_.Stop();
}

void TestSite::Use() const {
    ::setenv("TARVOLIN_SITE", Address().c_str(), 1);
}

void TestSite::OverrideSearch(SearchOverride answer) {
    std::lock_guard lock(mutex_);
    override_ = std::move(answer);
}

void TestSite::OnSearch(std::function<void(const SearchRequest&, int)> observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

void TestSite::HoldDetail(int number) {
    std::lock_guard lock(mutex_);
    holdNumber_ = number;
    heldArrived_ = false;
    released_ = false;
}

void TestSite::Release() {
    {
        std::lock_guard lock(mutex_);
        released_ = true;
    }
    changed_.notify_all();
}

bool TestSite::WaitForHeld(int timeoutMs) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return heldArrived_; });
}

std::vector<TestSite::SearchRequest> TestSite::Searches() {
    std::lock_guard lock(mutex_);
    return searches_;
}

int TestSite::DetailRequests() {
    std::lock_guard lock(mutex_);
    return details_;
}

std::vector<std::string> TestSite::DetailPaths() {
    std::lock_guard lock(mutex_);
    return detailPaths_;
}

int TestSite::MaxDetailsInFlight() {
    std::lock_guard lock(mutex_);
    return maxInFlight_;
}

httplib::Server::HandlerResponse TestSite::PreRoute(const httplib::Request& request,
                                                    httplib::Response& response) {
    if (request.path == "/search/index.php") {
        SearchRequest search{request.get_param_value("terms"),
                             request.has_param("p") ? std::atoi(request.get_param_value("p").c_str()) : 0};
        SearchOverride answer;
        std::function<void(const SearchRequest&, int)> observer;
        int index = 0;
        {
            std::lock_guard lock(mutex_);
            index = static_cast<int>(searches_.size());
            searches_.push_back(search);
            answer = override_;
            observer = observer_;
        }
        if (observer) observer(search, index);
        if (!answer) return httplib::Server::HandlerResponse::Unhandled;
        std::optional<std::string> page = answer(search, index);
        if (!page) return httplib::Server::HandlerResponse::Unhandled;
        response.set_content(*page, "text/html; charset=utf-8");
        return httplib::Server::HandlerResponse::Handled;
    }
    if (request.path.rfind("/company/", 0) == 0) {
        std::unique_lock lock(mutex_);
        const int number = ++details_;
        detailPaths_.push_back(request.path);
        maxInFlight_ = std::max(maxInFlight_, ++inFlight_);
        if (number == holdNumber_) {
            heldArrived_ = true;
            changed_.notify_all();
            changed_.wait(lock, [&] { return released_; });
        }
        lock.unlock();
        std::this_thread::sleep_for(3ms);
        lock.lock();
        --inFlight_;
    }
    return httplib::Server::HandlerResponse::Unhandled;
}

std::string ResultPageWith(int pages, const std::string& total, const std::vector<std::string>& links) {
    std::string page = "<html><head><title>results</title></head><body>\n";
    while (page.size() < 10200)
        page += "<div class=\"nav\"><a href=\"/category/\">category</a></div>\n";
    if (pages >= 0) {
        page += "<div class=\"page-info\">页次: 1/" + std::to_string(pages) + "&nbsp;&nbsp;总数: " + total +
                "&nbsp;&nbsp;</div>\n";
    }
    for (const std::string& link : links)
        page += "<div class=\"sup-name\"><a href=\"" + link + "\">company</a></div>\n";
    return page + "</body></html>\n";
}

}  // namespace tarvolin::testing
