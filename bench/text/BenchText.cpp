// Our text conversions and searches beside the bare library calls that do the same work, on a
// 60 KB result page; prints MB/s and the ratio ours/bare for each.
#include <benchmark/benchmark.h>
#include <unicode/ucnv.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "RatioReporter.h"
#include "SamplePage.h"
#include "text/Encodings.h"
#include "text/Markers.h"
#include "text/TextOps.h"

namespace tarvolin::bench {
namespace {

constexpr int kSearchStart = 10000;

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter Open(const char* name) {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &status));
    if (U_FAILURE(status)) return nullptr;
    ucnv_setSubstChars(converter.get(), "?", 1, &status);
    return converter;
}

struct Pages {
    std::string utf8 = SamplePageUtf8();
    Bytes utf8Bytes{utf8};
    Text gbk = Utf8ToGbk(utf8Bytes);
    Text asciiGbk = Utf8ToGbk(Bytes(MostlyAsciiPageUtf8()));
    Text pagerStart = Utf8ToGbk(Bytes(std::string(kPagerStart)));
    Text pagerEnd = Utf8ToGbk(Bytes(std::string(kPagerEnd)));
};

const Pages& Sample() {
    static const Pages pages;
    return pages;
}

void SetBytes(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void Utf8ToGbkOurs(benchmark::State& state) {
    const Pages& p = Sample();
    for (auto _ : state)
        benchmark::DoNotOptimize(Utf8ToGbk(p.utf8Bytes));
    SetBytes(state, p.utf8.size());
}

// Counting pass and converting pass UTF-8 to UTF-16, then the same UTF-16 to code page 936.
void Utf8ToGbkBare(benchmark::State& state) {
    const Pages& p = Sample();
    const Converter utf8 = Open("UTF-8");
    const Converter gbk = Open("windows-936");
    const int length = static_cast<int>(p.utf8.size());
    for (auto _ : state) {
        UErrorCode status = U_ZERO_ERROR;
        const int units = ucnv_toUChars(utf8.get(), nullptr, 0, p.utf8.data(), length, &status);
        std::u16string wide(static_cast<std::size_t>(units), u'\0');
        status = U_ZERO_ERROR;
        ucnv_toUChars(utf8.get(), wide.data(), units, p.utf8.data(), length, &status);
        status = U_ZERO_ERROR;
        const int bytes = ucnv_fromUChars(gbk.get(), nullptr, 0, wide.data(), units, &status);
        std::string out(static_cast<std::size_t>(bytes), '\0');
        status = U_ZERO_ERROR;
        ucnv_fromUChars(gbk.get(), out.data(), bytes, wide.data(), units, &status);
        benchmark::DoNotOptimize(out);
    }
    SetBytes(state, p.utf8.size());
}

void GbkToUtf16Ours(benchmark::State& state) {
    const Pages& p = Sample();
    for (auto _ : state)
        benchmark::DoNotOptimize(GbkToUtf16(p.gbk));
    SetBytes(state, p.gbk.view().size());
}

// Counting pass and converting pass of code page 936 to UTF-16, terminator included.
void GbkToUtf16Bare(benchmark::State& state) {
    const Pages& p = Sample();
    const Converter gbk = Open("windows-936");
    const int length = p.gbk.length() + 1;
    for (auto _ : state) {
        UErrorCode status = U_ZERO_ERROR;
        const int units = ucnv_toUChars(gbk.get(), nullptr, 0, p.gbk.c_str(), length, &status);
        std::string out(static_cast<std::size_t>(units) * 2, '\0');
        status = U_ZERO_ERROR;
        ucnv_toUChars(gbk.get(), reinterpret_cast<UChar*>(out.data()), units, p.gbk.c_str(), length, &status);
        benchmark::DoNotOptimize(out);
    }
    SetBytes(state, p.gbk.view().size());
}

std::size_t SearchedBytes(const Pages& p) {
    return p.gbk.view().size() - (kSearchStart - 1);
}

void TextBetweenOurs(benchmark::State& state) {
    const Pages& p = Sample();
    if (TextBetween(p.gbk, p.pagerStart, p.pagerEnd, kSearchStart).view() != "1234") {
        state.SkipWithError("the pager markers are not on the sample page");
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(TextBetween(p.gbk, p.pagerStart, p.pagerEnd, kSearchStart));
    SetBytes(state, SearchedBytes(p));
}

void TextBetweenBare(benchmark::State& state) {
    const Pages& p = Sample();
    const std::string_view page = p.gbk.view();
    for (auto _ : state) {
        const std::size_t at = page.find(p.pagerStart.view(), kSearchStart - 1);
        const std::size_t from = at + p.pagerStart.view().size();
        const std::size_t end = page.find(p.pagerEnd.view(), from);
        benchmark::DoNotOptimize(std::string(page.substr(from, end - from)));
    }
    SetBytes(state, SearchedBytes(p));
}

void FindTextOurs(benchmark::State& state) {
    const Pages& p = Sample();
    if (FindText(p.asciiGbk, p.pagerStart) !=
        static_cast<int>(p.asciiGbk.view().find(p.pagerStart.view())) + 1) {
        state.SkipWithError("FindText disagrees with find on the sample page");
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(FindText(p.asciiGbk, p.pagerStart));
    SetBytes(state, p.asciiGbk.view().size());
}

void FindTextBare(benchmark::State& state) {
    const Pages& p = Sample();
    for (auto _ : state)
        benchmark::DoNotOptimize(p.asciiGbk.view().find(p.pagerStart.view()));
    SetBytes(state, p.asciiGbk.view().size());
}

// The character-by-character scan that a case-blind search makes, against the same plain find.
void FindTextIgnoreCaseOurs(benchmark::State& state) {
    const Pages& p = Sample();
    for (auto _ : state)
        benchmark::DoNotOptimize(FindText(p.asciiGbk, p.pagerStart, 1, true));
    SetBytes(state, p.asciiGbk.view().size());
}

}  // namespace
}  // namespace tarvolin::bench

int main(int argc, char** argv) {
    using namespace tarvolin::bench;
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("Utf8ToGbk/ours", Utf8ToGbkOurs)->Repetitions(3)->MinTime(0.2);
    benchmark::RegisterBenchmark("Utf8ToGbk/bare", Utf8ToGbkBare)->Repetitions(3)->MinTime(0.2);
    benchmark::RegisterBenchmark("GbkToUtf16/ours", GbkToUtf16Ours)->Repetitions(3)->MinTime(0.2);
    benchmark::RegisterBenchmark("GbkToUtf16/bare", GbkToUtf16Bare)->Repetitions(3)->MinTime(0.2);
    benchmark::RegisterBenchmark("TextBetween/ours", TextBetweenOurs)->Repetitions(3)->MinTime(0.2);
    benchmark::RegisterBenchmark("TextBetween/bare", TextBetweenBare)->Repetitions(3)->MinTime(0.2);
    benchmark::RegisterBenchmark("FindText/ours", FindTextOurs)->Repetitions(3)->MinTime(0.2);
    benchmark::RegisterBenchmark("FindText/bare", FindTextBare)->Repetitions(3)->MinTime(0.2);
    benchmark::RegisterBenchmark("FindTextIgnoreCase/ours", FindTextIgnoreCaseOurs)
        ->Repetitions(3)
        ->MinTime(0.2);
    benchmark::RegisterBenchmark("FindTextIgnoreCase/bare", FindTextBare)->Repetitions(3)->MinTime(0.2);
    RatioReporter reporter({{"Utf8ToGbk", 1.5},
                            {"GbkToUtf16", 1.5},
                            {"TextBetween", 1.5},
                            {"FindText", 4.0},
                            {"FindTextIgnoreCase", 4.0}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
