#include <mutex>

#include "platform/Inet.h"
#include "platform/InetCore.h"

namespace tarvolin::platform {

bool EnsureCurlStarted() {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] { started = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    return started;
}

bool SlistAppend(CurlSlist& list, const std::string& line) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (!grown) return false;
    list.release();
    list.reset(grown);
    return true;
}

namespace {

std::shared_ptr<InetSessionCore> NewCore(const InetSettings& settings) {
    if (!EnsureCurlStarted()) return nullptr;
    auto core = std::make_shared<InetSessionCore>();
    core->multi.reset(curl_multi_init());
    if (!core->multi) return nullptr;
    core->settings = settings;
    if (settings.maxConnectionsPerServer > 0) {
        curl_multi_setopt(core->multi.get(), CURLMOPT_MAX_HOST_CONNECTIONS,
                          static_cast<long>(settings.maxConnectionsPerServer));
    }
    return core;
}

// A host that would change the meaning of the URL it is put into names no server.
bool UsableHost(std::string_view host) {
    if (host.empty()) return false;
    for (unsigned char c : host) {
        if (c <= 0x20 || c == 0x7F || c == '/' || c == '\\' || c == '@' || c == '?' || c == '#') return false;
    }
    return true;
}

}  // namespace

InetSession::InetSession(std::shared_ptr<InetSessionCore> core) : core_(std::move(core)) {}
InetSession::~InetSession() = default;

std::unique_ptr<InetSession> InetSession::Open(std::string_view agent) {
    InetSettings settings;
    settings.agent = std::string(agent);
    auto core = NewCore(settings);
    if (!core) return nullptr;
    return std::unique_ptr<InetSession>(new InetSession(std::move(core)));
}

std::unique_ptr<InetSession> InetSession::Duplicate() const {
    auto core = NewCore(core_->settings);
    if (!core) return nullptr;
    return std::unique_ptr<InetSession>(new InetSession(std::move(core)));
}

void InetSession::SetMaxConnectionsPerServer(int count) {
    core_->settings.maxConnectionsPerServer = count;
    curl_multi_setopt(core_->multi.get(), CURLMOPT_MAX_HOST_CONNECTIONS,
                      static_cast<long>(count > 0 ? count : 0));
}

void InetSession::SetConnectTimeout(int ms) {
    core_->settings.connectTimeoutMs = ms;
}
void InetSession::SetSendTimeout(int ms) {
    core_->settings.sendTimeoutMs = ms;
}
void InetSession::SetReceiveTimeout(int ms) {
    core_->settings.receiveTimeoutMs = ms;
}

void InetSession::SetProxy(InetAccess access, std::string_view proxy) {
    core_->settings.access = access;
    core_->settings.proxy = access == InetAccess::kProxy ? std::string(proxy) : std::string();
}

const std::string& InetSession::Agent() const {
    return core_->settings.agent;
}
int InetSession::ConnectTimeout() const {
    return core_->settings.connectTimeoutMs;
}
int InetSession::SendTimeout() const {
    return core_->settings.sendTimeoutMs;
}
int InetSession::ReceiveTimeout() const {
    return core_->settings.receiveTimeoutMs;
}

InetConnection::InetConnection(std::shared_ptr<InetConnectionData> data) : data_(std::move(data)) {}
InetConnection::~InetConnection() = default;

std::unique_ptr<InetConnection> InetConnection::Open(InetSession& session, std::string_view host, int port) {
    if (!UsableHost(host)) return nullptr;
    auto data = std::make_shared<InetConnectionData>();
    data->core = session.core_;
    data->host = std::string(host);
    data->port = port;
    return std::unique_ptr<InetConnection>(new InetConnection(std::move(data)));
}

void InetConnection::SetProxyUserName(std::string_view user) {
    data_->proxyUser = std::string(user);
}
void InetConnection::SetProxyPassword(std::string_view password) {
    data_->proxyPassword = std::string(password);
}

}  // namespace tarvolin::platform
