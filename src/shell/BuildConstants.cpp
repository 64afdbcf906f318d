#include "shell/BuildConstants.h"

#include <cstdlib>
#include <string>

#include "shell/BuildConstantsConfig.h"

namespace tarvolin {

namespace {

std::string FromEnvironment(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

}  // namespace

Text SiteAddress() {
    std::string site = FromEnvironment("TARVOLIN_SITE", TARVOLIN_SITE_DEFAULT);
    while (!site.empty() && site.back() == '/') site.pop_back();
    return Text::FromBytes(site);
}

Text ReleasePageUrl() { return Text::FromBytes(FromEnvironment("TARVOLIN_RELEASE_URL", TARVOLIN_RELEASE_URL_DEFAULT)); }

Text AuthorChatLink() { return Text::FromBytes("tencent://message/?uin=10000&Site=Tarvolin&Menu=yes"); }

Text AuthorProfileUrl() { return Text::FromBytes("http://127.0.0.1:8418/author.html"); }

}  // namespace tarvolin
