#include "SamplePage.h"

#include <string>

namespace tarvolin::bench {

namespace {

constexpr std::size_t kPageBytes = 60 * 1024;

const char* const kCompanies[] = {"上海华东机械设备有限公司", "广州市天河区电子科技有限公司",
                                  "北京中关村软件开发有限责任公司", "深圳市南山区贸易有限公司"};
const char* const kContacts[] = {"张先生", "李女士", "王经理", "陈总"};

std::string Row(int i) {
    const std::string n = std::to_string(10000 + i);
    return "<tr class=\"row\"><td class=\"name\"><a href=\"/company/" + n + ".html\" target=\"_blank\">" +
           kCompanies[i % 4] + "</a></td><td>联系人：" + kContacts[i % 4] + "</td><td>电话：021-6" + n +
           "</td><td>地址：上海市浦东新区张江路" + n + "号</td></tr>\n";
}

std::string AsciiRow(int i) {
    const std::string n = std::to_string(10000 + i);
    return "<tr class=\"row\"><td class=\"name\"><a href=\"/company/" + n +
           ".html\" target=\"_blank\" title=\"company\">Company " + n +
           "</a></td><td class=\"tel\">Tel: 021-6" + n + "</td><td>" + kContacts[i % 4] + "</td></tr>\n";
}

template <typename MakeRow>
std::string Page(MakeRow makeRow) {
    std::string page = "<html><head><meta charset=\"utf-8\"><title>搜索结果</title></head><body><table>\n";
    const std::string tail = std::string("</table><div class=\"pager\">") + kPagerStart + "1234" + kPagerEnd +
                             "</div></body></html>\n";
    for (int i = 0; page.size() + tail.size() < kPageBytes; ++i)
        page += makeRow(i);
    return page + tail;
}

}  // namespace

std::string SamplePageUtf8() {
    return Page(Row);
}

std::string MostlyAsciiPageUtf8() {
    return Page(AsciiRow);
}

}  // namespace tarvolin::bench
