// The memory file of the emulated devices is outside input: the user may edit it, another version of the
// program may have written it, a full disk may have cut it short. Whatever it holds, reading it must not
// crash, and what is read must come back the same through a write and a second read (or the next run would
// load other memory than this one kept).
// libFuzzer: -max_len=4096
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "emulator/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace norvane::emulator;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ParsedMemoryFile parsed = ParseMemoryFile(text);
  if (parsed.verdict == MemoryFileVerdict::kDamaged && parsed.problem.empty()) std::abort();
  if (parsed.verdict != MemoryFileVerdict::kRead) return 0;

  const std::string written = FormatMemoryFile(parsed.devices);
  if (written.size() > kMaxMemoryFileBytes) return 0;  // our own header pushed a file at the limit over it
  const ParsedMemoryFile again = ParseMemoryFile(written);
  if (again.verdict != MemoryFileVerdict::kRead || again.devices != parsed.devices) std::abort();
  return 0;
}
