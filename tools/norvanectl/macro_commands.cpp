// macro list, import, export and bind: the device folder's macros as the macro editor keeps them, and a
// macro bound to a key the way key set binds it.
#include <filesystem>

#include "macro/macro_library.h"
#include "tools/norvanectl/cli_commands.h"
#include "tools/norvanectl/command_parts.h"

namespace norvane::cli {
namespace {

int MacroNamed(const macro::MacroLibrary& library, const std::string& wanted) {
  const std::vector<std::string> names = library.Names();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (Lower(names[i]) == Lower(wanted)) return int(i);
  }
  return -1;
}

macro::MacroLibrary LoadedLibrary(const OpenedDevice& opened) {
  macro::MacroLibrary library(opened.device->UserProfileFolder());
  library.Load();
  return library;
}

CommandOutput ListMacros(const OpenedDevice& opened, bool json) {
  const macro::MacroLibrary library = LoadedLibrary(opened);
  const std::vector<std::string> names = library.Names();
  Json::Value macros(Json::arrayValue);
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::size_t events = library.Events(int(i)).size();
    Json::Value entry;
    entry["name"] = names[i];
    entry["events"] = Json::UInt64(events);
    macros.append(entry);
    text += names[i] + "  (" + std::to_string(events) + " events)\n";
  }
  if (!json) return {kExitOk, text, {}};
  Json::Value root;
  root["macros"] = macros;
  return {kExitOk, WriteJson(root), {}};
}

CommandOutput ImportMacro(const OpenedDevice& opened, const std::string& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return Failed(kExitFailure, "no such file: " + file);
  macro::MacroLibrary library = LoadedLibrary(opened);
  const std::string name = library.Import(file);
  if (name.empty()) {
    return Failed(kExitFailure, file + " was not imported: it is not a macro file, or the macro list is full or "
                                       "cannot be written");
  }
  return {kExitOk, "imported as \"" + name + "\"\n", {}};
}

CommandOutput ExportMacro(const OpenedDevice& opened, const std::string& name, const std::string& file) {
  const macro::MacroLibrary library = LoadedLibrary(opened);
  const int index = MacroNamed(library, name);
  if (index < 0) return Failed(kExitFailure, "no macro \"" + name + "\" (norvanectl macro list)");
  if (!library.Export(index, file)) {
    return Failed(kExitFailure, "the macro could not be exported to " + file + " (a macro never recorded has no file)");
  }
  return {kExitOk, "exported \"" + library.Names()[std::size_t(index)] + "\" to " + file + "\n", {}};
}

}  // namespace

Prepared PrepareMacro(const CommandWords& words) {
  const std::vector<std::string>& w = words.words;
  const std::string action = w.size() > 1 ? w[1] : "list";
  if (action == "list") {
    if (w.size() > 2) return Wrong("macro list takes no more words");
    return {[json = words.json](OpenedDevice& opened) { return ListMacros(opened, json); }, {}};
  }
  if (action == "import") {
    if (w.size() != 3) return Wrong("macro import needs one FILE");
    return {[file = w[2]](OpenedDevice& opened) { return ImportMacro(opened, file); }, {}};
  }
  if (action == "export") {
    if (w.size() != 4) return Wrong("macro export needs NAME and FILE");
    return {[name = w[2], file = w[3]](OpenedDevice& opened) { return ExportMacro(opened, name, file); }, {}};
  }
  if (action == "bind") {
    if (w.size() != 4) return Wrong("macro bind needs NAME and KEY");
    return {[name = w[2], key = w[3]](OpenedDevice& opened) { return SetKeyFunction(opened, key, "macro:" + name); },
            {}};
  }
  return Wrong("unknown macro action \"" + action + "\" (list, import, export or bind)");
}

}  // namespace norvane::cli
