#pragma once

#include <string>

#include "auxiliary/SkinEngineLibrary.h"

// Deploying and using the skin engine: its library travels inside the program and is written
// beside it as "hrttp.dll" at every start; the window applies a built-in skin through it once it
// exists and detaches it when it closes. Failures change nothing but the look.
namespace tarvolin {

// Writes the library into the run directory (start-up, before the window exists).
void DeploySkinEngine();
// Writes skin n (when it is one of 1..56) to the temporary folder as "1.she" and attaches the
// engine with that file. The engine is loaded from the run directory on first use and kept.
void ApplySkin(int n);
// Detaches the engine (the window's close).
void DetachSkin();

// The pieces of the above, with the folders as arguments.
std::string SkinEnginePath(const std::string& runDirectory);  // empty for an unknown directory
std::string SkinFilePath(const std::string& tempFolder);      // exactly one '/' before "1.sh"
bool WriteSkinEngine(const std::string& runDirectory);
void ApplySkin(SkinEngineLibrary& engine, int n, const std::string& tempFolder);

}  // namespace tarvolin
