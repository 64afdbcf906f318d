#include "SitePages.h"

#include <algorithm>

namespace tarvolin::testing {

const char* const kLinkPattern = "sup-name\"><a href=\"(.*?)\"";
const char* const kDetailPattern =
    "<div class=\"mp4\"><b>(.*?)</b><br><br><span class=\"mtext\">(.*?)</span><br><br></div>[\\s]*?<div "
    "class=\"mp5\">[\\s]*?<ul><li class=\"mp6\">电话：</li><li class=\"mp7\">(.*?)</li></ul>[\\s]*?<ul><li "
    "class=\"mp6\">手机：</li><li class=\"mp7\">(.*?)</li></ul>[\\s]*?<ul><li class=\"mp6\">传真：</li><li "
    "class=\"mp7\">(.*?)</li></ul>[\\s]*?<ul><li class=\"mp6\">邮件：</li><li "
    "class=\"mp7\">(.*?)</li></ul>[\\s]*?<ul><li "
    "class=\"mp6\">地址：</li><li class=\"mp7\">(.*?)</li></ul>";

namespace {

std::string Item(std::string_view label, const std::string& value) {
    return "<ul><li class=\"mp6\">" + std::string(label) + "：</li><li class=\"mp7\">" + value + "</li></ul>";
}

}  // namespace

std::string DetailBlock(const Company& c, std::string_view gap, bool withPhone) {
    const std::string g(gap);
    std::string out = "<div class=\"mp4\"><b>" + c.name + "</b><br><br><span class=\"mtext\">" + c.contact +
                      "</span><br><br></div>" + g + "<div class=\"mp5\">" + g;
    if (withPhone) out += Item("电话", c.phone) + g;
    out += Item("手机", c.mobile) + g + Item("传真", c.fax) + g + Item("邮件", c.mail) + g +
           Item("地址", c.address);
    return out + g + "</div>";
}

std::string DetailPage(const std::vector<std::string>& blocks) {
    std::string out =
        "<html>\n<head><title>公司详情</title></head>\n<body>\n<div class=\"top\"><a "
        "href=\"/\">首页</a></div>\n";
    for (const std::string& block : blocks)
        out += "<div class=\"box\">\n" + block + "\n</div>\n";
    return out + "<div class=\"foot\">版权所有</div>\n</body>\n</html>\n";
}

std::string ResultPage(const std::vector<std::string>& links, const std::vector<int>& capitals) {
    std::string out = "<html><body>\n<div class=\"list\">\n";
    for (int i = 0; i < static_cast<int>(links.size()); ++i) {
        const bool upper = std::find(capitals.begin(), capitals.end(), i) != capitals.end();
        out += upper ? "<LI><DIV CLASS=\"sup-name\"><A HREF=\"" : "<li><div class=\"sup-name\"><a href=\"";
        out += links[i] + "\" target=\"_blank\" title=\"公司" + std::to_string(i) + "\">公司名称</a></div>";
        // Some entries share a line, so the lazy group must stop at the first quote.
        out += i % 3 == 2 ? "\n" : " ";
    }
    return out + "</div>\n页次: 1/3&nbsp;&nbsp;</body></html>\n";
}

}  // namespace tarvolin::testing
