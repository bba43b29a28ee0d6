#pragma once
// What monitoring asks of the process beside its start: one implementation per system.

namespace plx::qtp {

long long residentMemoryBytes();
// Open file descriptors; on Windows, the process's handles.
long long openFileCount();

}  // namespace plx::qtp
