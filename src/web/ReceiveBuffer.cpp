#include "web/ReceiveBuffer.h"

#include <algorithm>
#include <cstring>

namespace tarvolin {

bool ReceiveBuffer::Allocate(std::size_t size) {
    block_.reset(static_cast<char*>(std::calloc(size, 1)));
    size_ = reserved_ = block_ ? size : 0;
    return block_ != nullptr;
}

bool ReceiveBuffer::Resize(std::size_t size) {
    if (!block_) return Allocate(size);
    if (size > reserved_) {
        const std::size_t reserve = std::max(size, reserved_ * 2);
        auto* grown = static_cast<char*>(std::realloc(block_.get(), reserve));
        if (!grown) return false;
        (void)block_.release();
        block_.reset(grown);
        reserved_ = reserve;
    }
    // Zeroed when the size takes them in, so that each page is touched once, right before use.
    if (size > size_) std::memset(block_.get() + size_, 0, size - size_);
    size_ = size;
    return true;
}

void ReceiveBuffer::Reset(std::size_t size) {
    auto* shrunk = static_cast<char*>(std::realloc(block_.get(), size));
    if (!shrunk) {
        Free();
        return;
    }
    (void)block_.release();
    block_.reset(shrunk);
    std::memset(shrunk, 0, size);
    size_ = reserved_ = size;
}

void ReceiveBuffer::Free() {
    block_.reset();
    size_ = reserved_ = 0;
}

}  // namespace tarvolin
