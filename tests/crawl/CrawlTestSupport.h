#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "shell/MemoryControls.h"
#include "shell/RunState.h"
#include "text/Text.h"

namespace tarvolin::testing {

// MemoryControls that also keep every text each status panel was given, in order.
class RecordingControls : public MemoryControls {
public:
    void SetPanelText(int panel, const Text& text) override {
        {
            std::lock_guard lock(historyMutex_);
            history_[panel].push_back(TextToUtf8(text));
        }
        MemoryControls::SetPanelText(panel, text);
    }
    std::vector<std::string> PanelHistory(int panel) {
        std::lock_guard lock(historyMutex_);
        return history_[panel];
    }
    std::string Panel(int panel) { return TextToUtf8(PanelText(panel)); }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> texts;
        for (const MessageBoxSpec& box : Boxes())
            texts.push_back(TextToUtf8(box.text));
        return texts;
    }
    // The rows as UTF-8, for comparing with the site's companies.
    std::vector<std::vector<std::string>> Utf8Rows() {
        std::vector<std::vector<std::string>> rows;
        for (const std::vector<Text>& row : Rows()) {
            std::vector<std::string> cells;
            for (const Text& cell : row)
                cells.push_back(TextToUtf8(cell));
            rows.push_back(std::move(cells));
        }
        return rows;
    }

private:
    std::mutex historyMutex_;
    std::map<int, std::vector<std::string>> history_;
};

inline bool WaitUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

inline Text U(const std::string& utf8) {
    return Utf8Text(utf8);
}

}  // namespace tarvolin::testing
