#pragma once

#include <functional>
#include <string>

// Opening a web page or link in the desktop's default handler.
namespace tarvolin::platform {

// Starts the default handler for the target (UTF-8) and returns at once; false when it could not
// be started.
bool ShellOpen(const std::string& target);

// Replaces what ShellOpen does (tests); nullptr restores the desktop's handler.
void SetShellOpener(std::function<bool(const std::string&)> opener);

}  // namespace tarvolin::platform
