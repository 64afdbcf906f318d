#pragma once

#include "text/Text.h"

// Pages of about 60 KB shaped like the directory site's, and the crawl's two patterns.
namespace tarvolin::bench {

extern const char* const kLinkPattern;
extern const char* const kDetailPattern;

// A company page whose one company block sits near the end.
Text CompanyPage();
// The same page with the block's phone item missing, so the pattern finds nothing.
Text CompanyPageWithoutMatch();
// A result page with 25 company links spread over it.
Text ResultPage();

}  // namespace tarvolin::bench
