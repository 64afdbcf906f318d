#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>

namespace tarvolin {

// A heap block whose growth is zero-filled and whose failure to grow or shrink is a result, not an
// exception, so a reader can keep what it has when memory runs out. Its size grows in whatever
// steps the caller asks for; underneath, the block is reserved in doubling steps so that a long
// run of small steps does not move a large block over and over.
class ReceiveBuffer {
public:
    // A fresh zero-filled block; false (and no block) when it cannot be had.
    bool Allocate(std::size_t size);
    // Keeps the bytes that fit and zero-fills new ones; false, with the old block kept, on failure.
    bool Resize(std::size_t size);
    // Back to size zero-filled bytes; on failure there is no block any more.
    void Reset(std::size_t size);
    void Free();

    char* data() { return block_.get(); }
    std::size_t size() const { return size_; }
    std::size_t reserved() const { return reserved_; }
    explicit operator bool() const { return block_ != nullptr; }

private:
    struct FreeBlock {
        void operator()(char* block) const { std::free(block); }
    };
    std::unique_ptr<char, FreeBlock> block_;
    std::size_t size_ = 0;
    std::size_t reserved_ = 0;
};

}  // namespace tarvolin
