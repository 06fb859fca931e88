#include "macro/macro_block.h"

#include "macro/event_block.h"
#include "macro/macro_event.h"

namespace norvane::macro {

MacroBlockPlan BuildMacroBlock(const std::filesystem::path& folder, std::span<const MacroEntry> list,
                               std::span<const int> macros, std::size_t capacity) {
  std::vector<EventRecord> records;
  for (const int number : macros) {
    EventRecord& record = records.emplace_back();
    // A number outside the list keeps an empty record, so the others stay where the key table expects them.
    if (number < 0 || static_cast<std::size_t>(number) >= list.size()) continue;
    for (const MacroEvent& event :
         ReadMacroEvents(folder, list[static_cast<std::size_t>(number)].guid)) {
      record.push_back(EncodeMacroEvent(event));
    }
  }
  const std::size_t total = EventBlockSize(records);
  if (total > capacity) return {static_cast<int>((total - capacity) / kEventSize + 1), {}};
  return {0, BuildEventBlock(records)};
}

}  // namespace norvane::macro
