#pragma once

#include <ctime>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "XlsxReader.h"
#include "shell/MemoryControls.h"

namespace tarvolin::test {

// A folder of its own under the temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    // path() ends without a separator.
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // Names of the entries in the folder, sorted.
    std::vector<std::string> Entries() const;

private:
    std::string path_;
};

bool FileExists(const std::string& path);

// MemoryControls that runs a hook at every pump, counting from 1.
class HookedControls : public MemoryControls {
public:
    std::function<void(int pump)> onPump;
    void PumpMessages() override;

private:
    int pumps_ = 0;
};

// Seven cells of a list row from UTF-8 texts.
std::vector<Text> Row(const std::vector<std::string>& utf8);
// Rows "r<i>c<j>" for list rows from..to-1.
void AddNumberedRows(MemoryControls& controls, int from, int to);

// Resets the process-wide state the exports use and fixes their clock at 2015-03-02 9:07:03.
class ExportTest : public ::testing::Test {
public:
    // Fixes the export clock at 2015-03-02 hour:minute:second.
    static void SetClock(int hour, int minute, int second);

protected:
    void SetUp() override;
    void TearDown() override;
};

// The text cells of a file: coordinate → UTF-8 value; fails the test for any other kind of cell.
std::map<std::string, std::string> TextCells(const std::string& path);

// 2 March 2015 at the given time of day.
std::tm Moment(int hour, int minute, int second);

}  // namespace tarvolin::test
