#pragma once
// The pieces each setting command is made of: what it does once its words were understood, and how it
// writes its JSON.

#include <json/json.h>

#include <functional>
#include <string>

#include "tools/norvanectl/command_words.h"
#include "tools/norvanectl/device_session.h"

namespace norvane::cli {

// What a command whose words were understood does on the opened device.
using Action = std::function<CommandOutput(OpenedDevice&)>;

struct Prepared {
  Action act;
  std::string error;  // a wrong command line when not empty
};

inline Prepared Wrong(const std::string& error) {
  return {{}, error};
}

std::string WriteJson(const Json::Value& value);

// The profile commands ("profiles"; "profile select|export|import").
Prepared PrepareProfiles(const CommandWords& words);
Prepared PrepareProfile(const CommandWords& words);
// The key commands ("key list|set|reset").
Prepared PrepareKey(const CommandWords& words);
// Sets KEY's function as key set does; an empty spelling: the key's default.
CommandOutput SetKeyFunction(OpenedDevice& opened, const std::string& key, const std::string& spelling);
// The light commands ("light show|set").
Prepared PrepareLight(const CommandWords& words);
// The macro commands ("macro list|import|export|bind").
Prepared PrepareMacro(const CommandWords& words);

}  // namespace norvane::cli
