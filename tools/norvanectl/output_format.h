#pragma once
// What norvanectl prints on stdout: plain text for people, or JSON (--json).

#include <string>
#include <vector>

#include "tools/norvanectl/info_reader.h"
#include "tools/norvanectl/interface_scan.h"

namespace norvane::cli {

std::string FormatListText(const ScanResult& scan);
std::string FormatListJson(const ScanResult& scan);

std::string FormatInfoText(const std::vector<InfoOutcome>& outcomes);
std::string FormatInfoJson(const std::vector<InfoOutcome>& outcomes);

}  // namespace norvane::cli
