#pragma once

#include <string>

namespace tarvolin::bench {

// A result page of about 60 KB of UTF-8 markup, rows of Chinese company data in ASCII tags, with
// the pager markers near its end.
std::string SamplePageUtf8();

// About 60 KB of markup that is mostly ASCII, with a few Chinese words and the target near the end.
std::string MostlyAsciiPageUtf8();

// The markers around the page count near the end of both pages.
inline constexpr const char* kPagerStart = "<span class=\"pager-total\">共";
inline constexpr const char* kPagerEnd = "页</span>";

}  // namespace tarvolin::bench
