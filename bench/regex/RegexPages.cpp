#include "RegexPages.h"

#include <string>

namespace tarvolin::bench {

const char* const kLinkPattern = "sup-name\"><a href=\"(.*?)\"";
const char* const kDetailPattern =
    "<div class=\"mp4\"><b>(.*?)</b><br><br><span class=\"mtext\">(.*?)</span><br><br></div>[\\s]*?<div "
    "class=\"mp5\">[\\s]*?<ul><li class=\"mp6\">电话：</li><li class=\"mp7\">(.*?)</li></ul>[\\s]*?<ul><li "
    "class=\"mp6\">手机：</li><li class=\"mp7\">(.*?)</li></ul>[\\s]*?<ul><li class=\"mp6\">传真：</li><li "
    "class=\"mp7\">(.*?)</li></ul>[\\s]*?<ul><li class=\"mp6\">邮件：</li><li "
    "class=\"mp7\">(.*?)</li></ul>[\\s]*?<ul><li "
    "class=\"mp6\">地址：</li><li class=\"mp7\">(.*?)</li></ul>";

namespace {

constexpr int kPageBytes = 60 * 1024;

// One line of the product lists and side bars that fill the site's pages.
Text FillerLine(int n) {
    const std::string number = std::to_string(n);
    return Utf8Text("<li class=\"item\"><a href=\"/product/" + number + ".html\" title=\"不锈钢离心水泵 " +
                    number + "\">不锈钢离心水泵 型号ISW-" + number +
                    "</a><span>价格面议 | 浙江温州</span></li>\r\n");
}

Text Filler(int bytes) {
    Text out = "<html>\r\n<head><title>企业黄页</title></head>\r\n<body>\r\n<ul class=\"list\">\r\n"_t;
    for (int n = 1; out.length() < bytes; ++n)
        out += FillerLine(n);
    return out;
}

Text DetailBlock(bool withPhone) {
    std::string block =
        "<div class=\"mp4\"><b>温州市龙湾永兴阀门有限公司</b><br><br><span class=\"mtext\">陈经理</span>"
        "<br><br></div>\r\n\t\t<div class=\"mp5\">\r\n\t\t\t";
    if (withPhone)
        block += "<ul><li class=\"mp6\">电话：</li><li class=\"mp7\">0577-86981234</li></ul>\r\n\t\t\t";
    block +=
        "<ul><li class=\"mp6\">手机：</li><li class=\"mp7\">13906661234</li></ul>\r\n\t\t\t"
        "<ul><li class=\"mp6\">传真：</li><li class=\"mp7\">0577-86985678</li></ul>\r\n\t\t\t"
        "<ul><li class=\"mp6\">邮件：</li><li class=\"mp7\"><a href=\"mailto:sales@yx-valve.cn\" "
        "target=_blank>sales@yx-valve.cn</a></li></ul>\r\n\t\t\t"
        "<ul><li class=\"mp6\">地址：</li><li "
        "class=\"mp7\">浙江省温州市龙湾区永兴街道工业区８号</li></ul>\r\n\t\t</div>\r\n";
    return Utf8Text(block);
}

Text CompanyPageWith(bool withPhone) {
    const Text block = DetailBlock(withPhone);
    const Text footer = "</ul>\r\n<div class=\"foot\">版权所有 技术支持</div>\r\n</body>\r\n</html>\r\n"_t;
    return Filler(kPageBytes - block.length() - footer.length() - 512) + block + footer;
}

}  // namespace

Text CompanyPage() {
    return CompanyPageWith(true);
}
Text CompanyPageWithoutMatch() {
    return CompanyPageWith(false);
}

Text ResultPage() {
    constexpr int kLinks = 25;
    Text out = "<html>\r\n<head><title>搜索结果</title></head>\r\n<body>\r\n"_t;
    int line = 1;
    for (int link = 0; link < kLinks; ++link) {
        while (out.length() < (link + 1) * (kPageBytes / (kLinks + 1)))
            out += FillerLine(line++);
        const std::string id = std::to_string(20000 + link);
        out += Utf8Text("<li><div class=\"sup-name\"><a href=\"http://127.0.0.1:8418/company/" + id +
                        ".html\" target=\"_blank\">温州阀门厂" + id + "</a></div></li>\r\n");
    }
    while (out.length() < kPageBytes)
        out += FillerLine(line++);
    return out + "页次: 1/40&nbsp;&nbsp;总数: 1000&nbsp;&nbsp;</body></html>\r\n"_t;
}

}  // namespace tarvolin::bench
