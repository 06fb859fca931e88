#pragma once
// A synchronous call onto another thread that a worker can abandon: the scan thread hands each arrival and
// removal to the UI thread this way and waits for it, but gives up as soon as it is told to stop, so
// shutdown never waits on a UI thread that is itself waiting for the scanner.

#include <functional>
#include <stop_token>

namespace norvane::hid::catalogue {

// Queues a call for the other thread. Must not block.
using CallPoster = std::function<void(std::function<void()>)>;

// Posts `call` and waits until it has run. False, at once, when stop is requested first; the call is then
// skipped if it has not started yet.
bool CallAndWait(const CallPoster& post, std::function<void()> call, std::stop_token stop);

}  // namespace norvane::hid::catalogue
