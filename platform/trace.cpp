#include "platform/trace.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace norvane {
namespace {

bool EnabledFromEnvironment() {
  const char* value = std::getenv("NORVANE_TRACE");
  return value != nullptr && std::strcmp(value, "1") == 0;
}

// The trace switch and sink are process-wide by nature: every layer traces to the same place.
std::atomic<bool> g_enabled{EnabledFromEnvironment()};
std::mutex g_sink_mutex;
TraceSink g_sink;

}  // namespace

bool TraceEnabled() { return g_enabled.load(std::memory_order_relaxed); }

void SetTraceEnabled(bool enabled) { g_enabled.store(enabled, std::memory_order_relaxed); }

TraceSink SetTraceSink(TraceSink sink) {
  std::lock_guard lock(g_sink_mutex);
  TraceSink old = std::move(g_sink);
  g_sink = std::move(sink);
  return old;
}

void Trace(std::string_view line) {
  if (!TraceEnabled()) return;
  std::lock_guard lock(g_sink_mutex);
  if (g_sink) {
    g_sink(line);
  } else {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
  }
}

std::string HexBytes(std::span<const unsigned char> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 3);
  for (unsigned char byte : bytes) {
    if (!text.empty()) text.push_back(' ');
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0x0f]);
  }
  return text;
}

}  // namespace norvane
