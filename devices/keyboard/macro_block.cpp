#include "devices/keyboard/macro_block.h"

namespace norvane::devices::keyboard {

MacroBlockPlan BuildMacroBlock(const std::filesystem::path& folder, std::span<const macro::MacroEntry> list,
                               std::span<const int> macros, std::size_t capacity) {
  std::vector<macro::EventRecord> records;
  for (const int number : macros) {
    macro::EventRecord& record = records.emplace_back();
    // A number outside the list keeps an empty record, so the others stay where the key table expects them.
    if (number < 0 || static_cast<std::size_t>(number) >= list.size()) continue;
    for (const macro::MacroEvent& event :
         macro::ReadMacroEvents(folder, list[static_cast<std::size_t>(number)].guid)) {
      record.push_back(macro::EncodeMacroEvent(event));
    }
  }
  const std::size_t total = macro::EventBlockSize(records);
  if (total > capacity) return {static_cast<int>((total - capacity) / macro::kEventSize + 1), {}};
  return {0, macro::BuildEventBlock(records)};
}

}  // namespace norvane::devices::keyboard
