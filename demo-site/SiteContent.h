#pragma once

#include <array>
#include <optional>
#include <string>

// The pages of the bundled directory site, built from the search keyword alone so that every
// run over the same keyword sees the same companies. All pages are UTF-8 except the release page,
// which is code page 936.
//
// A keyword may carry settings for tests and demos, anywhere in it:
//   "@pages=N"  N result pages (the last one shorter than 25 companies), N = 0: no results
//   "@total=N"  N companies in all, 25 to a page
//   "@none"     no results
// Without them the site's default page count applies (SiteOptions::defaultPages), and when that is
// 0, a count between 3 and 6 derived from the keyword.
namespace demosite {

inline constexpr int kCompaniesPerPage = 25;

struct SiteOptions {
    int defaultPages = 0;                // 0: derived from the keyword
    std::string releaseVersion = "1.3";  // announced on the release page
};

// What the site holds for one keyword.
struct Catalogue {
    unsigned seed = 0;  // of the whole keyword, settings included
    int pages = 0;
    int total = 0;
    int CompaniesOnPage(int page) const;
    // Global 0-based index of the first company on a page.
    static int FirstOnPage(int page) { return (page - 1) * kCompaniesPerPage; }
};

Catalogue CatalogueFor(const std::string& keyword, const SiteOptions& options);

// The seven fields of company n (counted from 0 over all pages) of a keyword, as its detail page
// shows them (the e-mail as its visible text). Nothing for a company whose page lacks a block.
// Companies depend on the keyword without its settings, so "灯具" and "灯具@pages=2" share them.
using CompanyFields = std::array<std::string, 7>;
std::optional<CompanyFields> ExpectedCompany(const std::string& keyword, int n);
// Whether company n's link on the result page goes through a redirect.
bool LinkRedirects(int n);

// origin: "http://host:port", used for the absolute company links.
std::string ResultPage(const std::string& origin, const std::string& keyword, int page,
                       const SiteOptions& options);
// The detail page for a company id (as CompanyId gives it), nothing for an unknown id.
std::optional<std::string> CompanyPage(const std::string& id);
// Company n's detail page path, "/company/<id>.html"; a redirecting link leads there.
std::string CompanyPath(const std::string& keyword, int n);
std::string CompanyId(const std::string& keyword, int n);
std::string ReleasePage(const std::string& version);  // code page 936 bytes

// The search path and query for a keyword (UTF-8, percent-encoded here), without and with "&p=".
std::string SearchTarget(const std::string& keyword, int page = 0);

}  // namespace demosite
