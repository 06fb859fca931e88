#pragma once
// Diagnostic trace: frame hex dumps, thread exits and similar. Silent unless NORVANE_TRACE=1 is set in the
// environment or a tool switches it on; then each line goes to stderr (or to the sink a test installs).
// Traces carry no behaviour: nothing may depend on whether tracing is on.

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace norvane {

using TraceSink = std::function<void(std::string_view line)>;

// True when trace lines are written anywhere. Cheap; call it before formatting an expensive line.
bool TraceEnabled();

// Writes one line (without its newline) to the active sink when tracing is on.
void Trace(std::string_view line);

// Switches tracing on or off for the whole process (norvanectl --trace).
void SetTraceEnabled(bool enabled);

// Replaces the sink (stderr by default). Passing an empty function restores stderr. Returns the old sink.
TraceSink SetTraceSink(TraceSink sink);

// "0a 1b ff ..." : lower-case two-digit hex separated by single spaces.
std::string HexBytes(std::span<const unsigned char> bytes);

}  // namespace norvane
