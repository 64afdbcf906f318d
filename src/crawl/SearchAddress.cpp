#include "crawl/SearchAddress.h"

#include "shell/BuildConstants.h"

namespace tarvolin {

Text SearchAddress(const Text& encodedKeyword) {
    return SiteAddress() +
           Text::FromBytes("/search/index.php?_d=company&_a=company_s_search&f=search&terms=") +
           encodedKeyword;
}

Text ResultPageAddress(const Text& encodedKeyword, int page) {
    return SearchAddress(encodedKeyword) + Text::FromBytes("&p=") + IntToText(page);
}

Text LinkPattern() {
    return Text::FromBytes(R"re(sup-name"><a href="(.*?)")re");
}

Text DetailPattern() {
    static const Text pattern = Utf8Text(
        R"re(<div class="mp4"><b>(.*?)</b><br><br><span class="mtext">(.*?)</span><br><br></div>[\s]*?)re"
        R"re(<div class="mp5">[\s]*?<ul><li class="mp6">电话：</li><li class="mp7">(.*?)</li></ul>[\s]*?)re"
        R"re(<ul><li class="mp6">手机：</li><li class="mp7">(.*?)</li></ul>[\s]*?)re"
        R"re(<ul><li class="mp6">传真：</li><li class="mp7">(.*?)</li></ul>[\s]*?)re"
        R"re(<ul><li class="mp6">邮件：</li><li class="mp7">(.*?)</li></ul>[\s]*?)re"
        R"re(<ul><li class="mp6">地址：</li><li class="mp7">(.*?)</li></ul>)re");
    return pattern;
}

}  // namespace tarvolin
