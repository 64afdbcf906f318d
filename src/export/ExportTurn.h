#pragma once

#include <optional>

namespace tarvolin {

// The right to use the export components. One export holds it at a time: a menu export that
// finds another export running or waiting is refused, and a batch export waits for its turn.
class ExportTurn {
public:
    // A turn for a menu export, or nothing when another export runs or waits.
    static std::optional<ExportTurn> ForMenuExport();
    // Waits until no export runs; nothing when the calling thread is stopped first.
    static std::optional<ExportTurn> ForBatchExport();
    // Batch exports waiting for their turn right now.
    static int WaitingBatchExports();

    ExportTurn(ExportTurn&& other) noexcept : held_(other.held_) { other.held_ = false; }
    ExportTurn& operator=(ExportTurn&&) = delete;
    ~ExportTurn();

private:
    ExportTurn() = default;
    bool held_ = true;
};

}  // namespace tarvolin
