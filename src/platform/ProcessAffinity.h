#pragma once

namespace tarvolin::platform {

// Restricts the whole process to the first processor it may use: every thread it has now, and so
// every thread they start later. False when the processor set cannot be read or no thread could
// be restricted.
bool RestrictProcessToFirstProcessor();

// The processors the calling thread may run on.
int AllowedProcessorCount();

}  // namespace tarvolin::platform
