// RegexMatcher over the crawl's pages against the work it cannot avoid: one conversion of the
// page to UTF-16 with ICU and the JIT-compiled PCRE2 match over it (pattern compiled once).
#include <benchmark/benchmark.h>

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>
#include <unicode/ucnv.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "RatioTable.h"
#include "RegexPages.h"
#include "text/Encodings.h"
#include "text/RegexMatcher.h"

namespace tarvolin::bench {
namespace {

// What a caller of the crawl does with one page: execute, count, read every group.
void Ours(benchmark::State& state, const char* pattern, Text (*makePage)(), int expectedMatches) {
    const Text patternText = Utf8Text(pattern);
    const Text page = makePage();
    for (auto _ : state) {
        RegexMatcher matcher;
        matcher.ExecutePattern(patternText, page);
        const int matches = matcher.MatchCount();
        const int groups = matcher.SubMatchCount();
        for (int m = 1; m <= matches; ++m)
            for (int g = 1; g <= groups; ++g)
                benchmark::DoNotOptimize(matcher.SubMatchText(m, g));
        if (matches != expectedMatches) state.SkipWithError("unexpected match count");
    }
}

struct UConverterClose {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
struct CodeFree {
    void operator()(pcre2_code* c) const { pcre2_code_free(c); }
};
struct MatchDataFree {
    void operator()(pcre2_match_data* d) const { pcre2_match_data_free(d); }
};

// The bare calls: ICU into a ready buffer, then pcre2_match with the JIT from left to right
// until no match is left (for one match near the end that is one call over the page).
void Bare(benchmark::State& state, const char* pattern, Text (*makePage)(), int expectedMatches) {
    const Text page = makePage();
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, UConverterClose> converter(ucnv_open("windows-936", &status));
    const Bytes patternUnits = GbkToUtf16Ex(Utf8Text(pattern), true);
    std::u16string patternString(patternUnits.size() / 2, u'\0');
    std::copy_n(patternUnits.view().data(), patternUnits.size(),
                reinterpret_cast<char*>(patternString.data()));
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    std::unique_ptr<pcre2_code, CodeFree> code(
        pcre2_compile(reinterpret_cast<PCRE2_SPTR16>(patternString.data()), patternString.size(),
                      PCRE2_CASELESS | PCRE2_MULTILINE, &error, &errorOffset, nullptr));
    if (!converter || !code || pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE) != 0) {
        state.SkipWithError("setup failed");
        return;
    }
    std::unique_ptr<pcre2_match_data, MatchDataFree> data(
        pcre2_match_data_create_from_pattern(code.get(), nullptr));
    std::vector<UChar> units(static_cast<std::size_t>(page.length()) + 1);
    for (auto _ : state) {
        status = U_ZERO_ERROR;
        const int32_t length =
            ucnv_toUChars(converter.get(), units.data(), static_cast<int32_t>(units.size()), page.c_str(),
                          page.length(), &status);
        int matches = 0;
        PCRE2_SIZE start = 0;
        while (pcre2_match(code.get(), reinterpret_cast<PCRE2_SPTR16>(units.data()), length, start, 0,
                           data.get(), nullptr) > 0) {
            ++matches;
            start = pcre2_get_ovector_pointer(data.get())[1];
        }
        benchmark::DoNotOptimize(matches);
        if (matches != expectedMatches) state.SkipWithError("unexpected match count");
    }
}

void Register(const std::string& work, const char* pattern, Text (*makePage)(), int expectedMatches) {
    benchmark::RegisterBenchmark((work + "/ours").c_str(), Ours, pattern, makePage, expectedMatches)
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(5);
    benchmark::RegisterBenchmark((work + "/bare").c_str(), Bare, pattern, makePage, expectedMatches)
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(5);
}

}  // namespace
}  // namespace tarvolin::bench

int main(int argc, char** argv) {
    using namespace tarvolin::bench;
    Register("detail-match", kDetailPattern, CompanyPage, 1);
    Register("detail-none", kDetailPattern, CompanyPageWithoutMatch, 0);
    Register("links", kLinkPattern, ResultPage, 25);
    benchmark::Initialize(&argc, argv);
    RatioTable table({"detail-match", "detail-none", "links"}, 1.3);
    benchmark::RunSpecifiedBenchmarks(&table);
    benchmark::Shutdown();
    return 0;
}
