#include "platform/ScriptRegExpEngine.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

namespace tarvolin::platform::script_regexp {

namespace {

static_assert(sizeof(PCRE2_UCHAR16) == sizeof(char16_t));
static_assert(kUnsetUnit == PCRE2_UNSET);

struct CodeFree {
    void operator()(pcre2_code* p) const { pcre2_code_free(p); }
};
struct MatchDataFree {
    void operator()(pcre2_match_data* p) const { pcre2_match_data_free(p); }
};
struct CompileContextFree {
    void operator()(pcre2_compile_context* p) const { pcre2_compile_context_free(p); }
};
struct MatchContextFree {
    void operator()(pcre2_match_context* p) const { pcre2_match_context_free(p); }
};
struct JitStackFree {
    void operator()(pcre2_jit_stack* p) const { pcre2_jit_stack_free(p); }
};
using Code = std::unique_ptr<pcre2_code, CodeFree>;
using MatchData = std::unique_ptr<pcre2_match_data, MatchDataFree>;
using CompileContext = std::unique_ptr<pcre2_compile_context, CompileContextFree>;
using MatchContext = std::unique_ptr<pcre2_match_context, MatchContextFree>;
using JitStack = std::unique_ptr<pcre2_jit_stack, JitStackFree>;

// The dialect's reading of a pattern:
// - \uXXXX and \xHH as in the dialect (anything else after \u or \x is the letter itself);
// - "[]" matches nothing and "[^]" any character;
// - a back reference to a group that took no part matches the empty string;
// - without Multiline, "$" is only the end of the subject.
// Line feed is the only newline, so "." matches everything but LF (CR included). Without UTF or
// UCP mode, \s is space, tab, CR, LF, FF and VT, and case folding uses the library's built-in
// "C" tables: only ASCII letters have case.
std::uint32_t CompileOptions(const Options& options) {
    std::uint32_t flags = PCRE2_ALT_BSUX | PCRE2_ALLOW_EMPTY_CLASS | PCRE2_MATCH_UNSET_BACKREF;
    if (options.ignoreCase) flags |= PCRE2_CASELESS;
    flags |= options.multiline ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY;
    return flags;
}

struct Compiled {
    Code code;
    int groups = 0;
};

// Everything one thread needs to match: its compiled patterns, contexts, JIT stack, match data.
class ThreadEngine {
public:
    ThreadEngine()
        : compileContext_(pcre2_compile_context_create(nullptr)),
          matchContext_(pcre2_match_context_create(nullptr)),
          jitStack_(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr)) {
        if (compileContext_) pcre2_set_newline(compileContext_.get(), PCRE2_NEWLINE_LF);
        if (matchContext_ && jitStack_) pcre2_jit_stack_assign(matchContext_.get(), nullptr, jitStack_.get());
    }

    const Compiled* Find(std::u16string_view pattern, std::uint32_t flags) {
        std::u16string key(1, static_cast<char16_t>(flags & 0xFFFF));
        key += static_cast<char16_t>(flags >> 16);
        key += pattern;
        auto found = cache_.find(key);
        if (found != cache_.end()) return &found->second;
        Compiled compiled = Compile(pattern, flags);
        if (!compiled.code) return nullptr;
        if (cache_.size() >= kCacheLimit) cache_.clear();
        return &cache_.emplace(std::move(key), std::move(compiled)).first->second;
    }

    pcre2_match_data* MatchDataFor(int groups) {
        const auto pairs = static_cast<std::uint32_t>(groups) + 1;
        if (!matchData_ || pcre2_get_ovector_count(matchData_.get()) < pairs)
            matchData_.reset(pcre2_match_data_create(pairs, nullptr));
        return matchData_.get();
    }

    pcre2_match_context* MatchContextPtr() const { return matchContext_.get(); }

private:
    static constexpr std::size_t kCacheLimit = 64;
    static constexpr std::size_t kJitStackStart = 32 * 1024;
    static constexpr std::size_t kJitStackMax = 4 * 1024 * 1024;

    Compiled Compile(std::u16string_view pattern, std::uint32_t flags) const {
        int error = 0;
        PCRE2_SIZE errorOffset = 0;
        Compiled compiled;
        compiled.code.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR16>(pattern.data()), pattern.size(),
                                          flags, &error, &errorOffset, compileContext_.get()));
        if (!compiled.code) return compiled;
        // Without the JIT (a platform that lacks it) the interpreter gives the same results.
        pcre2_jit_compile(compiled.code.get(), PCRE2_JIT_COMPLETE);
        std::uint32_t groups = 0;
        pcre2_pattern_info(compiled.code.get(), PCRE2_INFO_CAPTURECOUNT, &groups);
        compiled.groups = static_cast<int>(groups);
        return compiled;
    }

    CompileContext compileContext_;
    MatchContext matchContext_;
    JitStack jitStack_;
    MatchData matchData_;
    std::unordered_map<std::u16string, Compiled> cache_;
};

ThreadEngine& Engine() {
    thread_local ThreadEngine engine;
    return engine;
}

void Record(const PCRE2_SIZE* ovector, int found, int groups, std::vector<UnitSpan>& spans) {
    for (int g = 0; g <= groups; ++g) {
        if (g < found && ovector[2 * g] != PCRE2_UNSET)
            spans.push_back({ovector[2 * g], ovector[2 * g + 1]});
        else
            spans.push_back({kUnsetUnit, kUnsetUnit});
    }
}

}  // namespace

bool FindMatches(std::u16string_view pattern, const Options& options, std::u16string_view subject,
                 Matches& result) {
    result = Matches();
    ThreadEngine& engine = Engine();
    const Compiled* compiled = engine.Find(pattern, CompileOptions(options));
    if (!compiled) return false;
    pcre2_match_data* data = engine.MatchDataFor(compiled->groups);
    if (!data) return false;
    result.groups = compiled->groups;
    const auto* units = reinterpret_cast<PCRE2_SPTR16>(subject.data());
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
    PCRE2_SIZE start = 0;
    while (start <= subject.size()) {
        const int found = pcre2_match(compiled->code.get(), units, subject.size(), start, 0, data,
                                      engine.MatchContextPtr());
        if (found == PCRE2_ERROR_NOMATCH) break;
        if (found < 0) return false;
        Record(ovector, found, compiled->groups, result.spans);
        if (!options.global) break;
        // Resume where the match ended; an empty match steps one unit on.
        start = ovector[1] > ovector[0] ? ovector[1] : ovector[1] + 1;
    }
    return true;
}

}  // namespace tarvolin::platform::script_regexp
