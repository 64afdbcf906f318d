#pragma once

#include <string>

// Folders of the running program and the user's desktop. Paths are UTF-8.
namespace tarvolin::platform {

// The folder holding the program file, without a trailing separator; empty when unknown.
std::string RunDirectory();
// The user's desktop folder with a trailing '/'; empty when the user has none.
std::string DesktopFolder();
// The folder for temporary files ($TMPDIR, else /tmp), ending with exactly one '/'.
std::string TempFolder();

bool PathIsDirectory(const std::string& path);
// Creates every missing folder of the path up to its last '/'; the part after it is ignored
// (a file name, or nothing when the path ends with '/'). True when the folders exist afterwards.
bool MakeSureDirectoryPathExists(const std::string& path);

}  // namespace tarvolin::platform
