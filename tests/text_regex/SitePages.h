#pragma once

#include <string>
#include <string_view>
#include <vector>

// Pages of the directory site as the crawl sees them, written in UTF-8 (tests convert them).
namespace tarvolin::testing {

// The crawl's two patterns, as the crawl writes them.
extern const char* const kLinkPattern;
extern const char* const kDetailPattern;

struct Company {
    std::string name, contact, phone, mobile, fax, mail, address;
    std::vector<std::string> Fields() const { return {name, contact, phone, mobile, fax, mail, address}; }
};

// One company block of a detail page; gap goes between its parts, where the site puts line
// breaks and indentation.
std::string DetailBlock(const Company& company, std::string_view gap, bool withPhone = true);

// A detail page holding the given blocks among the site's other markup.
std::string DetailPage(const std::vector<std::string>& blocks);

// A result page with one company entry per link; entries whose index is in capitals are written
// with upper-case tag and attribute names.
std::string ResultPage(const std::vector<std::string>& links, const std::vector<int>& capitals);

}  // namespace tarvolin::testing
