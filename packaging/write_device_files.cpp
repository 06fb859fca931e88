// Writes the package's files that come from the interface table:
//   write_device_files RULE_FILE METAINFO_TEMPLATE METAINFO_FILE VERSION
// the udev rule, and the AppStream metadata with "@NORVANE_VERSION@" replaced by VERSION and the line
// holding "@NORVANE_MODALIASES@" by one <modalias> element per device. Run by the build; never installed.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "hid/udev_rule.h"
#include "platform/atomic_file.h"

namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

// The template's line with the marker becomes the elements, each indented as the marker was.
bool FillModaliases(std::string& text) {
  constexpr std::string_view kMarker = "@NORVANE_MODALIASES@";
  const std::size_t at = text.find(kMarker);
  if (at == std::string::npos) return false;
  const std::size_t lineStart = text.rfind('\n', at) + 1;
  const std::string indent = text.substr(lineStart, at - lineStart);
  std::string elements;
  for (const std::string& alias : norvane::hid::UsbModaliases()) {
    if (!elements.empty()) elements += "\n" + indent;
    elements += "<modalias>" + alias + "</modalias>";
  }
  text.replace(at, kMarker.size(), elements);
  return true;
}

bool Write(const std::filesystem::path& path, const std::string& text) {
  const norvane::FileResult written = norvane::WriteFileAtomically(path, text);
  if (!written) std::fprintf(stderr, "write_device_files: %s\n", written.error.c_str());
  return written.ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: write_device_files RULE_FILE METAINFO_TEMPLATE METAINFO_FILE VERSION\n");
    return 2;
  }
  std::string metainfo;
  if (!norvane::ReadWholeFile(argv[2], metainfo)) {
    std::fprintf(stderr, "write_device_files: cannot read %s\n", argv[2]);
    return 1;
  }
  ReplaceAll(metainfo, "@NORVANE_VERSION@", argv[4]);
  if (!FillModaliases(metainfo)) {
    std::fprintf(stderr, "write_device_files: %s has no @NORVANE_MODALIASES@ line\n", argv[2]);
    return 1;
  }
  return Write(argv[1], norvane::hid::UdevRuleText()) && Write(argv[3], metainfo) ? 0 : 1;
}
