#include "tools/norvanectl/cli_commands.h"

#include <cstdio>
#include <string>
#include <vector>

#include "hid/hid_device.h"
#include "tools/norvanectl/info_reader.h"
#include "tools/norvanectl/interface_scan.h"
#include "tools/norvanectl/output_format.h"

namespace norvane::cli {
namespace {

void PrintError(const std::string& message) {
  std::fprintf(stderr, "norvanectl: %s\n", message.c_str());
}

void PrintOut(const std::string& text) {
  std::fputs(text.c_str(), stdout);
}

// Interfaces whose path names a supported device but which could not be opened to read their usage: the
// usual cause is a missing udev rule, so they are reported rather than passed over in silence.
int ReportUnopenedCandidates(const ScanResult& scan) {
  int count = 0;
  for (const SeenInterface& seen : scan.interfaces) {
    if (seen.probed) continue;
    const hid::InterfaceProbe& p = seen.probe;
    if (!hid::FindCandidateRow(p.vendor_id, p.product_id, p.interface_number, p.collection_number)) continue;
    std::string message = "cannot open " + seen.path + ": " + DescribeOpenError(seen.open_error);
    if (seen.open_error == hid::OpenError::kPermissionDenied) message += " - " + hid::PermissionHint();
    PrintError(message);
    ++count;
  }
  return count;
}

bool AnyTableMatch(const ScanResult& scan) {
  for (const SeenInterface& seen : scan.interfaces) {
    if (seen.table_row) return true;
  }
  return false;
}

}  // namespace

int RunList(const CliOptions& options) {
  const ScanResult scan = ScanInterfaces();
  if (!scan.enumerated) {
    PrintError("cannot list the HID interfaces of this machine");
    return kExitFailure;
  }
  PrintOut(options.json ? FormatListJson(scan) : FormatListText(scan));
  const int unopened = ReportUnopenedCandidates(scan);
  if (!AnyTableMatch(scan)) {
    if (unopened == 0) PrintError("no supported device connected");
    return kExitFailure;
  }
  return unopened == 0 ? kExitOk : kExitFailure;
}

int RunInfo(const CliOptions& options) {
  const ScanResult scan = ScanInterfaces();
  if (!scan.enumerated) {
    PrintError("cannot list the HID interfaces of this machine");
    return kExitFailure;
  }
  const int unopened = ReportUnopenedCandidates(scan);
  std::vector<InfoOutcome> outcomes;
  for (const SeenInterface& seen : scan.interfaces) {
    if (seen.IsCommandInterface()) outcomes.push_back(ReadDeviceInfo(seen));
  }
  if (outcomes.empty()) {
    if (unopened == 0) PrintError("no supported device connected");
    return kExitFailure;
  }
  PrintOut(options.json ? FormatInfoJson(outcomes) : FormatInfoText(outcomes));
  bool all_ok = unopened == 0;
  for (const InfoOutcome& outcome : outcomes) {
    if (outcome.ok) continue;
    PrintError(outcome.error);
    all_ok = false;
  }
  return all_ok ? kExitOk : kExitFailure;
}

}  // namespace norvane::cli
