#include "SiteContent.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace demosite {

namespace {

constexpr int kBytesBeforeMarkers = 10400;  // in code page 936 bytes, as the client sees the page

// ---- deterministic numbers --------------------------------------------------------------------

unsigned Fnv1a(std::string_view bytes) {
    unsigned hash = 2166136261u;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}

unsigned Mix(unsigned seed, int n, unsigned salt) {
    unsigned long long x = (static_cast<unsigned long long>(seed) << 32) ^ static_cast<unsigned>(n) ^
                           (static_cast<unsigned long long>(salt) * 0x9E3779B97F4A7C15ull);
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    x ^= x >> 31;
    return static_cast<unsigned>(x);
}

template <std::size_t N>
const char* Pick(const char* const (&table)[N], unsigned value) {
    return table[value % N];
}

std::string Digits(unsigned value, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += static_cast<char>('0' + value % 10);
        value = value / 10 + Mix(value, i, 7) % 7;
    }
    return out;
}

// ---- data tables ------------------------------------------------------------------------------

struct City {
    const char* name;
    const char* province;
    const char* areaCode;
    const char* districts[3];
};

const City kCities[] = {
    {"深圳市", "广东省", "0755", {"南山区", "宝安区", "龙岗区"}},
    {"广州市", "广东省", "020", {"天河区", "白云区", "番禺区"}},
    {"东莞市", "广东省", "0769", {"长安镇", "虎门镇", "塘厦镇"}},
    {"佛山市", "广东省", "0757", {"顺德区", "南海区", "禅城区"}},
    {"杭州市", "浙江省", "0571", {"西湖区", "滨江区", "萧山区"}},
    {"宁波市", "浙江省", "0574", {"鄞州区", "北仑区", "江北区"}},
    {"温州市", "浙江省", "0577", {"鹿城区", "瓯海区", "龙湾区"}},
    {"苏州市", "江苏省", "0512", {"工业园区", "吴中区", "相城区"}},
    {"无锡市", "江苏省", "0510", {"新吴区", "滨湖区", "惠山区"}},
    {"青岛市", "山东省", "0532", {"黄岛区", "城阳区", "李沧区"}},
    {"厦门市", "福建省", "0592", {"思明区", "湖里区", "集美区"}},
    {"成都市", "四川省", "028", {"武侯区", "高新区", "青羊区"}},
};

const char* const kBrand[] = {"华", "泰", "鑫", "盛", "达", "宏", "伟", "恒", "丰", "源",
                              "金", "利", "嘉", "明", "瑞", "兴", "辉", "德", "永", "通",
                              "昌", "富", "佳", "光", "新", "联", "创", "博", "尚", "益"};
const char* const kSuffix[] = {"有限公司",     "科技有限公司", "实业有限公司",
                               "贸易有限公司", "制造有限公司", "电子有限公司"};
const char* const kIndustry[] = {"五金", "塑胶", "照明", "包装", "机械", "化工", "纺织", "建材"};
const char* const kSurname[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周",
                                "徐", "孙", "马", "朱", "胡", "郭", "何", "林", "罗", "高"};
const char* const kGiven[] = {"伟", "芳", "娜", "敏", "静", "强", "磊",   "军", "洋", "勇",
                              "艳", "杰", "娟", "涛", "明", "超", "秀英", "华", "平", "志刚"};
const char* const kRole[] = {"先生", "女士", "经理", "销售经理", "总经理"};
const char* const kRoad[] = {"人民路",   "建设路",   "中山路",   "解放路",
                             "工业大道", "科技园路", "环城东路", "新华街"};
const char* const kMailbox[] = {"sales", "info", "service", "market", "admin", "trade"};
const char* const kMailDomain[] = {"163.com", "126.com", "qq.com", "sina.com", "yahoo.com.cn", "foxmail.com"};
const char* const kMobilePrefix[] = {"130", "133", "135", "136", "137", "138",
                                     "139", "150", "158", "186", "189"};
const char* const kCategories[] = {"电子元器件", "五金工具", "照明灯具", "纺织皮革", "化工原料", "建筑建材",
                                   "机械设备",   "仪器仪表", "包装印刷", "服装服饰", "家居用品", "安防监控",
                                   "汽车配件",   "通信产品", "电工电气", "橡胶塑料", "冶金矿产", "农业林业",
                                   "食品饮料",   "医药保养", "办公文教", "礼品工艺", "运动休闲", "环保设备",
                                   "能源产品",   "玩具婴童", "箱包鞋帽", "家用电器", "数码电脑", "商务服务"};

// ---- text helpers -----------------------------------------------------------------------------

std::string Hex(std::string_view bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::optional<std::string> FromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        int value = 0;
        for (char c : hex.substr(i, 2)) {
            const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
            if (digit < 0) return std::nullopt;
            value = value * 16 + digit;
        }
        out += static_cast<char>(value);
    }
    return out;
}

std::string EscapeHtml(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string PercentEncode(std::string_view text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '.';
        if (plain) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

// Bytes the text takes in code page 936: one for ASCII, two for a character of the basic plane.
std::size_t Cp936Length(std::string_view utf8) {
    std::size_t length = 0;
    for (unsigned char c : utf8) {
        if (c < 0x80) {
            ++length;
        } else if ((c & 0xC0) == 0xC0) {
            length += c >= 0xF0 ? 4 : 2;
        }
    }
    return length;
}

// The keyword's tags, and the keyword without them, cut to the characters a company name can hold.
struct ParsedKeyword {
    std::string core;
    int pages = -1;
    int total = -1;
    bool none = false;
};

int TagValue(const std::string& keyword, const std::string& tag) {
    const std::size_t at = keyword.find(tag);
    if (at == std::string::npos) return -1;
    return std::atoi(keyword.c_str() + at + tag.size());
}

ParsedKeyword ParseKeyword(const std::string& keyword) {
    ParsedKeyword parsed;
    parsed.pages = TagValue(keyword, "@pages=");
    parsed.total = TagValue(keyword, "@total=");
    parsed.none = keyword.find("@none") != std::string::npos;
    const std::string rest = keyword.substr(0, keyword.find('@'));
    int characters = 0;
    for (std::size_t i = 0; i < rest.size() && characters < 6;) {
        const unsigned char c = rest[i];
        const std::size_t width = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        const bool keep = (c < 0x80 && std::isalnum(c)) || width == 3;
        if (keep) {
            parsed.core.append(rest.substr(i, width));
            ++characters;
        }
        i += width;
    }
    return parsed;
}

const City& CityOf(unsigned seed, int n) {
    return kCities[Mix(seed, n, 1) % std::size(kCities)];
}

std::string CompanyName(unsigned seed, int n, const std::string& core) {
    const City& city = CityOf(seed, n);
    std::string name = city.name;
    name += Pick(kBrand, Mix(seed, n, 2));
    name += Pick(kBrand, Mix(seed, n, 3));
    name += core.empty() ? Pick(kIndustry, seed) : core;
    name += Pick(kSuffix, Mix(seed, n, 4));
    return name;
}

enum class MissingBlock { None, Telephone, Fax };

MissingBlock MissingBlockOf(int n) {
    if (n % 17 == 11) return MissingBlock::Telephone;
    if (n % 29 == 20) return MissingBlock::Fax;
    return MissingBlock::None;
}

std::string CompanyIdOf(const std::string& core, int n) {
    return Hex(core) + "_" + std::to_string(n);
}

bool MailIsLink(int n) {
    return n % 3 == 1;
}

struct Company {
    std::string name, contact, telephone, mobile, fax, mail, address;
};

Company MakeCompany(const std::string& core, int n) {
    const unsigned seed = Fnv1a(core);
    const City& city = CityOf(seed, n);
    Company company;
    company.name = CompanyName(seed, n, core);
    company.contact = std::string(Pick(kSurname, Mix(seed, n, 5))) + Pick(kGiven, Mix(seed, n, 6)) + " " +
                      Pick(kRole, Mix(seed, n, 7));
    company.telephone = std::string(city.areaCode) + "-" + Digits(Mix(seed, n, 8), 8);
    company.mobile = std::string(Pick(kMobilePrefix, Mix(seed, n, 9))) + Digits(Mix(seed, n, 10), 8);
    if (n % 7 != 2) company.fax = std::string(city.areaCode) + "-" + Digits(Mix(seed, n, 11), 8);
    company.mail = std::string(Pick(kMailbox, Mix(seed, n, 12))) + Digits(Mix(seed, n, 13), 3) + "@" +
                   Pick(kMailDomain, Mix(seed, n, 14));
    company.address = std::string(city.province) + city.name + city.districts[Mix(seed, n, 15) % 3] +
                      Pick(kRoad, Mix(seed, n, 16)) + std::to_string(1 + Mix(seed, n, 17) % 300) + "号";
    return company;
}

// ---- page pieces ------------------------------------------------------------------------------

const char* kStyle =
    "<style type=\"text/css\">\n"
    "body{margin:0;padding:0;font:12px/1.6 \"SimSun\",\"Microsoft YaHei\",Arial,sans-serif;color:#333;}\n"
    "a{color:#2d64b3;text-decoration:none;}a:hover{color:#f60;text-decoration:underline;}\n"
    "ul,li{margin:0;padding:0;list-style:none;}\n"
    ".top-bar{height:30px;line-height:30px;background:#f5f5f5;border-bottom:1px solid #e5e5e5;}\n"
    ".wrap{width:980px;margin:0 auto;}.logo{float:left;width:220px;height:60px;}\n"
    ".search-box{float:left;margin:14px 0 0 30px;}.search-box input.txt{width:360px;height:26px;}\n"
    ".cat-nav{clear:both;border:1px solid #dce6f4;background:#f7faff;padding:6px 10px;}\n"
    ".cat-nav li{float:left;width:120px;height:24px;overflow:hidden;}\n"
    ".hot-words{clear:both;padding:6px 0;color:#999;}.hot-words a{margin-right:8px;}\n"
    ".page-info{clear:both;height:28px;line-height:28px;border-bottom:2px solid #2d64b3;}\n"
    ".sup-list li.sup-item{padding:10px 0;border-bottom:1px dashed #ddd;}\n"
    ".sup-name{font-size:14px;font-weight:bold;}.sup-info{color:#666;}\n"
    ".pages{text-align:center;padding:16px 0;}.pages a{border:1px solid #ccc;padding:2px 7px;}\n"
    ".mp4{font-size:14px;}.mp5 ul{height:24px;}.mp6{float:left;width:60px;color:#999;}.mp7{float:left;}\n"
    ".footer{border-top:1px solid #ddd;color:#999;text-align:center;padding:12px 0;}\n"
    "</style>\n";

std::string PageHead(const std::string& title) {
    std::string head =
        "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
        "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n"
        "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n<head>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\n"
        "<meta name=\"keywords\" content=\"企业名录,公司黄页,供应商,厂家,批发\" />\n"
        "<title>" +
        EscapeHtml(title) + " - 企业黄页</title>\n";
    head += kStyle;
    head +=
        "<script type=\"text/javascript\">var _site={channel:'company',ver:'2014.11'};"
        "function addFav(){try{window.external.addFavorite(location.href,document.title);}catch(e){}}"
        "</script>\n</head>\n<body>\n";
    return head;
}

std::string TopBar(const std::string& keyword) {
    return "<div class=\"top-bar\"><div class=\"wrap\">您好，欢迎来到企业黄页！ <a "
           "href=\"/member/login.php\">请登录</a> "
           "<a href=\"/member/register.php\">免费注册</a> | <a "
           "href=\"javascript:addFav()\">收藏本站</a></div></div>\n"
           "<div class=\"wrap\">\n<div class=\"logo\"><a href=\"/\"><img src=\"/skin/logo.gif\" "
           "alt=\"企业黄页\" "
           "/></a></div>\n"
           "<div class=\"search-box\"><form action=\"/search/index.php\" method=\"get\">"
           "<input type=\"hidden\" name=\"_d\" value=\"company\" /><input type=\"hidden\" name=\"_a\" "
           "value=\"company_s_search\" /><input type=\"hidden\" name=\"f\" value=\"search\" />"
           "<input class=\"txt\" type=\"text\" name=\"terms\" value=\"" +
           EscapeHtml(keyword) + "\" /> <input type=\"submit\" value=\"搜 索\" /></form></div>\n";
}

// Category navigation and hot searches: the bulk that puts the page-count markers past byte 10000.
std::string Filler(std::size_t alreadyWritten) {
    std::string out = "<div class=\"cat-nav\"><ul>\n";
    int round = 0;
    while (alreadyWritten + Cp936Length(out) < kBytesBeforeMarkers - 400) {
        for (const char* category : kCategories) {
            out += "<li><a href=\"";
            out += SearchTarget(category);
            if (round > 0) out += "&amp;c=" + std::to_string(round);
            out += "\" title=\"";
            out += category;
            out += "\">";
            out += category;
            out += "</a></li>\n";
        }
        ++round;
    }
    out += "</ul></div>\n<div class=\"hot-words\">热门搜索：";
    for (int i = 0; alreadyWritten + Cp936Length(out) < kBytesBeforeMarkers; ++i) {
        out += "<a href=\"/search/hot.php?w=" + std::to_string(i) + "\">";
        out += kCategories[i % std::size(kCategories)];
        out += "</a>";
    }
    out += "</div>\n";
    return out;
}

std::string Footer() {
    return "<div class=\"footer\">关于我们 | 联系方式 | 服务条款 | 隐私声明 | 网站地图<br />"
           "Copyright &copy; 2006-2014 企业黄页 All Rights Reserved</div>\n</div>\n</body>\n</html>\n";
}

std::string CompanyLink(const std::string& origin, const std::string& core, int n) {
    if (LinkRedirects(n)) return origin + "/go.php?id=" + CompanyIdOf(core, n);
    return origin + "/company/" + CompanyIdOf(core, n) + ".html";
}

std::string ResultItem(const std::string& origin, const std::string& core, int n) {
    const unsigned seed = Fnv1a(core);
    const Company company = MakeCompany(core, n);
    return "  <li class=\"sup-item\">\n"
           "    <div class=\"sup-name\"><a href=\"" +
           CompanyLink(origin, core, n) + "\" target=\"_blank\" title=\"" + company.name + "\">" +
           company.name +
           "</a></div>\n"
           "    <div class=\"sup-info\">主营产品：" +
           std::string(Pick(kCategories, Mix(seed, n, 20))) + "、" + Pick(kCategories, Mix(seed, n, 21)) +
           "<br />所在地区：" + company.address + "</div>\n  </li>\n";
}

std::string Pagination(const std::string& keyword, int page, int pages) {
    std::string out = "<div class=\"pages\">";
    if (page > 1) out += "<a href=\"" + SearchTarget(keyword, page - 1) + "\">上一页</a> ";
    for (int p = std::max(1, page - 4); p <= std::min(pages, page + 4); ++p) {
        if (p == page) {
            out += "<b>" + std::to_string(p) + "</b> ";
        } else {
            out += "<a href=\"" + SearchTarget(keyword, p) + "\">" + std::to_string(p) + "</a> ";
        }
    }
    if (page < pages) out += "<a href=\"" + SearchTarget(keyword, page + 1) + "\">下一页</a>";
    return out + "</div>\n";
}

std::string ToCp936(const std::string& utf8) {
    iconv_t converter = iconv_open("CP936", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) return {};
    std::string out(utf8.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1)) return {};
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace

int Catalogue::CompaniesOnPage(int page) const {
    if (page < 1 || page > pages) return 0;
    return std::min(kCompaniesPerPage, total - FirstOnPage(page));
}

Catalogue CatalogueFor(const std::string& keyword, const SiteOptions& options) {
    const ParsedKeyword parsed = ParseKeyword(keyword);
    Catalogue catalogue;
    catalogue.seed = Fnv1a(keyword);
    if (parsed.none || parsed.pages == 0 || parsed.total == 0) return catalogue;
    if (parsed.total > 0) {
        catalogue.total = parsed.total;
        catalogue.pages = (parsed.total + kCompaniesPerPage - 1) / kCompaniesPerPage;
        return catalogue;
    }
    int pages = parsed.pages > 0 ? parsed.pages : options.defaultPages;
    if (pages <= 0) pages = 3 + static_cast<int>(catalogue.seed % 4);
    catalogue.pages = pages;
    const int lastPage = 5 + static_cast<int>(Mix(catalogue.seed, 0, 30) % 19);  // 5 to 23
    catalogue.total = (pages - 1) * kCompaniesPerPage + lastPage;
    return catalogue;
}

bool LinkRedirects(int n) {
    return n % 10 == 3;
}

std::string CompanyId(const std::string& keyword, int n) {
    return CompanyIdOf(ParseKeyword(keyword).core, n);
}

std::string CompanyPath(const std::string& keyword, int n) {
    return "/company/" + CompanyId(keyword, n) + ".html";
}

std::optional<CompanyFields> ExpectedCompany(const std::string& keyword, int n) {
    if (MissingBlockOf(n) != MissingBlock::None) return std::nullopt;
    const Company c = MakeCompany(ParseKeyword(keyword).core, n);
    return CompanyFields{c.name, c.contact, c.telephone, c.mobile, c.fax, c.mail, c.address};
}

std::string SearchTarget(const std::string& keyword, int page) {
    std::string target =
        "/search/index.php?_d=company&_a=company_s_search&f=search&terms=" + PercentEncode(keyword);
    if (page > 0) target += "&p=" + std::to_string(page);
    return target;
}

std::string ResultPage(const std::string& origin, const std::string& keyword, int page,
                       const SiteOptions& options) {
    const Catalogue catalogue = CatalogueFor(keyword, options);
    const ParsedKeyword parsed = ParseKeyword(keyword);
    if (page < 1) page = 1;

    std::string html = PageHead(keyword + " 公司搜索结果") + TopBar(keyword);
    html += Filler(Cp936Length(html));
    if (catalogue.total == 0) {
        html += "<div class=\"no-result\">抱歉，没有找到与“" + EscapeHtml(keyword) +
                "”相关的公司。<br />建议您：检查输入的文字是否有误，或换一个关键字试试。</div>\n";
        return html + Footer();
    }
    html += "<div class=\"page-info\">页次: " + std::to_string(page) + "/" + std::to_string(catalogue.pages) +
            "&nbsp;&nbsp;每页: " + std::to_string(kCompaniesPerPage) +
            "&nbsp;&nbsp;总数: " + std::to_string(catalogue.total) + "&nbsp;&nbsp;</div>\n";
    html += "<div class=\"sup-list\">\n<ul>\n";
    const int first = Catalogue::FirstOnPage(page);
    for (int i = 0; i < catalogue.CompaniesOnPage(page); ++i)
        html += ResultItem(origin, parsed.core, first + i);
    html += "</ul>\n</div>\n";
    html += Pagination(keyword, page, catalogue.pages);
    return html + Footer();
}

std::optional<std::string> CompanyPage(const std::string& id) {
    const std::size_t cut = id.rfind('_');
    if (cut == std::string::npos || cut + 1 >= id.size()) return std::nullopt;
    const std::optional<std::string> core = FromHex(std::string_view(id).substr(0, cut));
    char* end = nullptr;
    const long n = std::strtol(id.c_str() + cut + 1, &end, 10);
    if (!core || *end != '\0' || n < 0 || n > 1000000) return std::nullopt;

    const unsigned s = Fnv1a(*core);
    const int index = static_cast<int>(n);
    const Company c = MakeCompany(*core, index);
    const MissingBlock missing = MissingBlockOf(index);
    const std::string mail =
        MailIsLink(index) ? "<a href=\"mailto:" + c.mail + "\" target=_blank>" + c.mail + "</a>" : c.mail;
    auto block = [](const char* label, const std::string& value) {
        return std::string("\t\t\t\t<ul><li class=\"mp6\">") + label + "</li><li class=\"mp7\">" + value +
               "</li></ul>\n";
    };

    std::string html = PageHead(c.name) + TopBar("");
    html +=
        "<div class=\"crumbs\">当前位置：<a href=\"/\">首页</a> &gt; <a href=\"/company/\">公司库</a> &gt; " +
        c.name + "</div>\n";
    html += "<div class=\"intro\"><h1>" + c.name + "</h1><p>本公司主要经营" +
            Pick(kCategories, Mix(s, index, 20)) + "、" + Pick(kCategories, Mix(s, index, 21)) +
            "等产品，产品远销国内外，欢迎新老客户来电洽谈。</p></div>\n";
    html += "<div class=\"side-contact\">\n\t\t<h3>联系方式</h3>\n";
    html += "\t\t<div class=\"mp4\"><b>" + c.name + "</b><br><br><span class=\"mtext\">" + c.contact +
            "</span><br><br></div>\n";
    html += "\t\t<div class=\"mp5\">\n";
    if (missing != MissingBlock::Telephone) html += block("电话：", c.telephone);
    html += block("手机：", c.mobile);
    if (missing != MissingBlock::Fax) html += block("传真：", c.fax);
    html += block("邮件：", mail);
    html += block("地址：", c.address);
    html += "\t\t</div>\n</div>\n";
    return html + Footer();
}

std::string ReleasePage(const std::string& version) {
    const std::string page =
        "<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />\n"
        "<title>Tarvolin 企业信息采集工具 发布页</title>\n</head>\n<body>\n"
        "<h2>Tarvolin 企业信息采集工具</h2>\n"
        "<p>【原帖更新到" +
        version +
        "版本】</p>\n"
        "<p>本工具按关键字搜索企业黄页，采集公司名、联系人、电话、手机、传真、邮箱和地址，可导出表格。</p>\n"
        "</body>\n</html>\n";
    return ToCp936(page);
}

}  // namespace demosite
