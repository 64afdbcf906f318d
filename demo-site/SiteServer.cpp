#include "SiteServer.h"

#include <chrono>

namespace demosite {

namespace {

constexpr const char* kHtmlUtf8 = "text/html; charset=utf-8";

// The origin the client used, so that absolute links lead back to this server.
std::string OriginOf(const httplib::Request& request, int fallbackPort) {
    std::string host = request.get_header_value("Host");
    if (host.empty()) host = "127.0.0.1:" + std::to_string(fallbackPort);
    return "http://" + host;
}

std::string NextSessionId() {
    static std::atomic<unsigned> counter{0};
    const unsigned value = counter.fetch_add(1) * 2654435761u + 0x5bd1e995u;
    char buffer[17];
    std::snprintf(buffer, sizeof buffer, "%08x%08x", value, ~value);
    return buffer;
}

// A session cookie as a PHP site sets it, renewed on every page without one.
void SetSessionCookie(const httplib::Request& request, httplib::Response& response) {
    if (request.get_header_value("Cookie").find("PHPSESSID=") != std::string::npos) return;
    response.set_header("Set-Cookie", "PHPSESSID=" + NextSessionId() + "; path=/");
}

void SearchHandler(const httplib::Request& request, httplib::Response& response, const SiteOptions& options,
                   int port) {
    SetSessionCookie(request, response);
    if (request.get_param_value("_a") != "company_s_search") {
        response.set_redirect("/");
        return;
    }
    const std::string keyword = request.get_param_value("terms");
    const int page = request.has_param("p") ? std::atoi(request.get_param_value("p").c_str()) : 1;
    response.set_header("Set-Cookie", "last_search=" + std::to_string(CatalogueFor(keyword, options).seed) +
                                          "; path=/search/");
    response.set_content(ResultPage(OriginOf(request, port), keyword, page, options), kHtmlUtf8);
}

void CompanyHandler(const httplib::Request& request, httplib::Response& response) {
    SetSessionCookie(request, response);
    const std::optional<std::string> page = CompanyPage(request.matches[1]);
    if (!page) {
        response.status = 404;
        response.set_content("<html><body>该公司不存在或已被删除。</body></html>", kHtmlUtf8);
        return;
    }
    response.set_content(*page, kHtmlUtf8);
}

void RedirectHandler(const httplib::Request& request, httplib::Response& response) {
    SetSessionCookie(request, response);
    response.set_header("Set-Cookie", "from_list=1; path=/");
    response.status = 302;
    response.set_header("Location", "/company/" + request.get_param_value("id") + ".html");
}

const char* kFrontPage =
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" "
    "/><title>企业黄页</title>"
    "</head><body><h1>企业黄页</h1><form action=\"/search/index.php\" method=\"get\">"
    "<input type=\"hidden\" name=\"_d\" value=\"company\" /><input type=\"hidden\" name=\"_a\" "
    "value=\"company_s_search\" /><input type=\"hidden\" name=\"f\" value=\"search\" />"
    "<input type=\"text\" name=\"terms\" /> <input type=\"submit\" value=\"搜索公司\" "
    "/></form></body></html>";

}  // namespace

void RegisterSiteRoutes(httplib::Server& server, const SiteOptions& options) {
    server.Get("/search/index.php", [options](const httplib::Request& request, httplib::Response& response) {
        SearchHandler(request, response, options, request.local_port);
    });
    server.Get(R"(/company/([0-9a-f]*_[0-9]+)\.html)", CompanyHandler);
    server.Get("/go.php", RedirectHandler);
    server.Get("/release.html", [options](const httplib::Request&, httplib::Response& response) {
        response.set_content(ReleasePage(options.releaseVersion), "text/html; charset=gb2312");
    });
    server.Get("/", [](const httplib::Request& request, httplib::Response& response) {
        SetSessionCookie(request, response);
        response.set_content(kFrontPage, kHtmlUtf8);
    });
}

SiteServer::SiteServer(SiteOptions options)
    : options_(std::move(options)), server_(std::make_unique<httplib::Server>()) {
    // Responses go out in two writes (headers, body); without this every keep-alive exchange
    // waits for the client's delayed acknowledgement.
    server_->set_tcp_nodelay(true);
    server_->new_task_queue = [] { return new httplib::ThreadPool(16); };
}

SiteServer::~SiteServer() {
    Stop();
}

bool SiteServer::Start(int port) {
    RegisterSiteRoutes(*server_, options_);
    if (port == 0) {
        port_ = server_->bind_to_any_port("127.0.0.1");
    } else {
        port_ = server_->bind_to_port("127.0.0.1", port) ? port : -1;
    }
    if (port_ <= 0) return false;
    auto ended = std::make_shared<std::atomic<bool>>(false);
    thread_ = std::thread([this, ended] {
        server_->listen_after_bind();
        *ended = true;
    });
    while (!server_->is_running() && !*ended)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return !*ended;
}

void SiteServer::Stop() {
    if (!thread_.joinable()) return;
    server_->stop();
    thread_.join();
}

std::string SiteServer::Address() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

}  // namespace demosite
