#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// A counting call converts the whole text anyway to learn the size; its callers almost always
// follow it with the converting call on the same text. This keeps the output of the last counting
// call of one thread for that call, so that a page is converted once instead of twice. The source
// is compared in full, not only by place and length, since a caller may have changed it meanwhile.
namespace tarvolin::platform {

template <typename From, typename To>
class KeptConversion {
public:
    // Past this size a text is converted twice rather than kept, so that no thread holds on to
    // several copies of a huge text.
    static constexpr int kMaxUnits = 1 << 18;

    // Room for the output of converting units units, to be kept by Keep.
    To* Room(int units) {
        Forget();
        output_.resize(static_cast<std::size_t>(units));
        return output_.data();
    }

    // Keeps what Room received as the conversion of source to or from codePage.
    void Keep(int codePage, const From* source, int length, int outputUnits) {
        codePage_ = codePage;
        source_ = source;
        copy_.assign(source, source + length);
        outputUnits_ = outputUnits;
    }

    // Copies the kept output to target and returns its length when it is the conversion of this
    // very source and fits; -1 otherwise. The output is given once.
    int Give(int codePage, const From* source, int length, To* target, int targetUnits) {
        const bool same = source_ == source && codePage_ == codePage &&
                          copy_.size() == static_cast<std::size_t>(length) && outputUnits_ <= targetUnits &&
                          std::equal(copy_.begin(), copy_.end(), source);
        Forget();
        if (!same) return -1;
        std::copy_n(output_.begin(), outputUnits_, target);
        return outputUnits_;
    }

    void Forget() { source_ = nullptr; }

private:
    const From* source_ = nullptr;
    int codePage_ = 0;
    std::vector<From> copy_;
    std::vector<To> output_;
    int outputUnits_ = 0;
};

}  // namespace tarvolin::platform
