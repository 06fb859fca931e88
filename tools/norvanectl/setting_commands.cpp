#include "tools/norvanectl/setting_commands.h"

#include <json/json.h>

#include <array>
#include <cstdio>
#include <functional>
#include <optional>
#include <set>

#include "devices/mouse/mouse_device.h"
#include "devices/mouse/recoil.h"
#include "platform/xdg_paths.h"
#include "tools/norvanectl/cli_commands.h"
#include "tools/norvanectl/command_parts.h"
#include "tools/norvanectl/command_words.h"
#include "tools/norvanectl/info_reader.h"
#include "tools/norvanectl/key_spelling.h"

namespace norvane::cli {
namespace {

using devices::CNorvaneMouseDevice;

struct SettingCommand {
  std::string_view name;
  std::string usage;
  std::set<std::string> valued;  // its options that take a value
  std::string setting;           // what it needs of a device, for the messages
  KindFilter wanted;
  std::function<Prepared(const CommandWords&)> prepare;
};

std::string Hex(unsigned colour) {
  char text[8];
  std::snprintf(text, sizeof text, "%06x", colour & 0xFFFFFFu);
  return text;
}

bool AnyKind(const devices::DevicePlan&) {
  return true;
}

bool HasKeys(const devices::DevicePlan& plan) {
  const std::uint16_t kind = devices::PageKindCode(plan.linkKind);
  return kind == 1 || kind == 2;
}

bool HasLighting(const devices::DevicePlan& plan) {
  return plan.files.led_count > 0;
}

bool IsMouse(const devices::DevicePlan& plan) {
  return devices::PageKindCode(plan.linkKind) == 2;
}

bool IsWirelessCapable(const devices::DevicePlan& plan) {
  return plan.files.wireless_capable != 0;
}

CNorvaneMouseDevice& MouseOf(OpenedDevice& opened) {
  return dynamic_cast<CNorvaneMouseDevice&>(*opened.device);
}

// The profile first, then the device, as the window's editors do.
CommandOutput SaveAndWriteMouse(CNorvaneMouseDevice& mouse, std::string done) {
  const FileResult saved = mouse.SaveProfile();
  if (!saved) return Failed(kExitFailure, "the profile could not be saved, nothing was written: " + saved.error);
  const int written = mouse.WriteSettings(0, 0);
  if (written != protocol::kResultOk) {
    return Failed(kExitFailure, "the profile holds the change, but the mouse did not take it: " +
                                    DescribeFailure(written, mouse.CommandChannel()));
  }
  return {kExitOk, std::move(done), {}};
}

// ---- dpi

unsigned StageColour(const DpiStage& stage) {
  return unsigned(stage.red) << 16 | unsigned(stage.green) << 8 | stage.blue;
}

CommandOutput ShowDpi(CNorvaneMouseDevice& mouse, bool json) {
  const devices::mouse::DpiScale scale = mouse.DpiScale();
  Json::Value stages(Json::arrayValue);
  std::string text;
  for (int s = 0; s < mouse.StageCount(); ++s) {
    const DpiStage& stage = mouse.DpiStages()[std::size_t(s)];
    const int dpi = scale.DpiOf(stage.dpi_x);
    const bool active = s == mouse.ActiveStage();
    Json::Value entry;
    entry["stage"] = s + 1;
    entry["dpi"] = dpi;
    entry["enabled"] = stage.active != 0;
    entry["active"] = active;
    entry["colour"] = Hex(StageColour(stage));
    stages.append(entry);
    char line[96];
    std::snprintf(line, sizeof line, "%c %d  %5d DPI  #%s%s\n", active ? '*' : ' ', s + 1, dpi,
                  Hex(StageColour(stage)).c_str(), stage.active != 0 ? "" : "  (off)");
    text += line;
  }
  if (!json) return {kExitOk, text, {}};
  Json::Value root;
  root["stages"] = stages;
  root["lowest"] = scale.lowest;
  root["highest"] = scale.HighestDpi();
  return {kExitOk, WriteJson(root), {}};
}

std::optional<int> StageWord(const std::string& word) {
  const std::optional<int> stage = WholeNumber(word, 1, CNorvaneMouseDevice::kStageCount);
  return stage ? std::optional<int>(*stage - 1) : std::nullopt;
}

Prepared PrepareDpi(const CommandWords& words) {
  const std::string action = words.words.size() > 1 ? words.words[1] : "show";
  const bool json = words.json;
  if (action == "show") {
    if (words.words.size() > 2) return Wrong("dpi show takes no more words");
    return {[json](OpenedDevice& opened) { return ShowDpi(MouseOf(opened), json); }, {}};
  }
  if (action == "select") {
    if (words.words.size() != 3) return Wrong("dpi select needs one STAGE (1 to 5)");
    const std::optional<int> stage = StageWord(words.words[2]);
    if (!stage) return Wrong("no stage " + words.words[2] + ": stages are numbered 1 to 5");
    return {[stage = *stage](OpenedDevice& opened) {
              CNorvaneMouseDevice& mouse = MouseOf(opened);
              if (!mouse.HasStage(stage)) {
                return Failed(kExitUsage, "the mouse's profile has no stage " + std::to_string(stage + 1));
              }
              if (mouse.DpiStages()[std::size_t(stage)].active == 0) {
                return Failed(kExitUsage, "stage " + std::to_string(stage + 1) + " is off and cannot be the active one");
              }
              mouse.SetActiveStage(stage);
              return SaveAndWriteMouse(mouse, "active stage: " + std::to_string(stage + 1) + "\n");
            },
            {}};
  }
  if (action == "set") {
    if (words.words.size() != 4) return Wrong("dpi set needs STAGE (1 to 5) and VALUE (in DPI)");
    const std::optional<int> stage = StageWord(words.words[2]);
    if (!stage) return Wrong("no stage " + words.words[2] + ": stages are numbered 1 to 5");
    const std::optional<int> value = WholeNumber(words.words[3], 1, 0xFFFF * 200);
    if (!value) return Wrong("\"" + words.words[3] + "\" is not a DPI value");
    std::optional<unsigned> colour;
    if (const auto given = words.options.find("--colour"); given != words.options.end()) {
      colour = HexColour(given->second);
      if (!colour) return Wrong("\"" + given->second + "\" is not a colour: give RRGGBB in hexadecimal");
    }
    return {[stage = *stage, value = *value, colour](OpenedDevice& opened) {
              CNorvaneMouseDevice& mouse = MouseOf(opened);
              if (!mouse.HasStage(stage)) {
                return Failed(kExitUsage, "the mouse's profile has no stage " + std::to_string(stage + 1));
              }
              if (!mouse.HasDpiScale()) return Failed(kExitFailure, "the mouse did not tell its DPI range");
              const devices::mouse::DpiScale scale = mouse.DpiScale();
              if (value < scale.lowest || value > scale.HighestDpi()) {
                return Failed(kExitUsage, std::to_string(value) + " DPI is outside the mouse's range of " +
                                              std::to_string(scale.lowest) + " to " +
                                              std::to_string(scale.HighestDpi()) + " DPI");
              }
              const int position = scale.PositionOf(value);
              mouse.SetStagePosition(stage, position);
              if (colour) {
                mouse.SetStageColour(stage, {std::uint8_t(*colour >> 16), std::uint8_t(*colour >> 8),
                                             std::uint8_t(*colour)});
              }
              return SaveAndWriteMouse(mouse, "stage " + std::to_string(stage + 1) + ": " +
                                                  std::to_string(scale.DpiOf(position)) + " DPI\n");
            },
            {}};
  }
  return Wrong("unknown dpi action \"" + action + "\" (show, set or select)");
}

// ---- rate

// The report rates as the page's options show them, by option number.
constexpr std::array<int, CNorvaneMouseDevice::kReportRates> kRateHertz = {125, 250, 500, 1000, 2000};

CommandOutput ListRates(CNorvaneMouseDevice& mouse, bool json) {
  const int current = mouse.SystemSettings().report_stage;
  Json::Value rates(Json::arrayValue);
  std::string text;
  for (int n = 0; n < CNorvaneMouseDevice::kReportRates; ++n) {
    Json::Value entry;
    entry["index"] = n;
    entry["hertz"] = kRateHertz[std::size_t(n)];
    entry["selected"] = n == current;
    rates.append(entry);
    text += std::string(n == current ? "* " : "  ") + std::to_string(n) + "  " +
            std::to_string(kRateHertz[std::size_t(n)]) + " Hz\n";
  }
  if (!json) return {kExitOk, text, {}};
  Json::Value root;
  root["rates"] = rates;
  return {kExitOk, WriteJson(root), {}};
}

Prepared PrepareRate(const CommandWords& words) {
  const std::string action = words.words.size() > 1 ? words.words[1] : "list";
  const bool json = words.json;
  if (action == "list") {
    if (words.words.size() > 2) return Wrong("rate list takes no more words");
    return {[json](OpenedDevice& opened) { return ListRates(MouseOf(opened), json); }, {}};
  }
  if (action == "set") {
    if (words.words.size() != 3) return Wrong("rate set needs one INDEX (0 to 4, as rate list shows them)");
    const std::optional<int> index = WholeNumber(words.words[2], 0, CNorvaneMouseDevice::kReportRates - 1);
    if (!index) return Wrong("no report rate " + words.words[2] + ": the options are numbered 0 to 4");
    return {[index = *index](OpenedDevice& opened) {
              CNorvaneMouseDevice& mouse = MouseOf(opened);
              MouseSystemStages settings = mouse.SystemSettings();
              settings.report_stage = std::uint16_t(index);
              mouse.SetSystemSettings(settings);
              return SaveAndWriteMouse(mouse,
                                       "report rate: " + std::to_string(kRateHertz[std::size_t(index)]) + " Hz\n");
            },
            {}};
  }
  return Wrong("unknown rate action \"" + action + "\" (list or set)");
}

// ---- recoil

Prepared PrepareRecoilImport(const std::vector<std::string>& w) {
  if (w.size() != 4) return Wrong("recoil import needs GUN (1 to 4) and FILE");
  const std::optional<int> gun = WholeNumber(w[2], 1, devices::mouse::kGunCount);
  if (!gun) return Wrong("no gun " + w[2] + ": guns are numbered 1 to 4");
  return {[gun = *gun - 1, file = w[3]](OpenedDevice& opened) {
            // The guns hold what the recoil editor would show: their defaults until they are given others.
            devices::mouse::ProvideMissingGunFiles(opened.device->UserProfileFolder(), DefaultDataFolder());
            const std::filesystem::path target = devices::mouse::GunFile(opened.device->UserProfileFolder(), gun);
            std::string error;
            switch (devices::mouse::CopyGunFile(file, target, &error)) {
              case devices::mouse::GunCopy::kDone:
                break;
              case devices::mouse::GunCopy::kNothing:
                return Failed(kExitUsage, file + " is gun " + std::to_string(gun + 1) + "'s own file");
              case devices::mouse::GunCopy::kSourceUnusable:
                return Failed(kExitFailure, file + " cannot be read or is no recoil file: gun " +
                                                std::to_string(gun + 1) + " keeps its pattern");
              case devices::mouse::GunCopy::kWriteFailed:
                return Failed(kExitFailure, "gun " + std::to_string(gun + 1) + "'s file could not be written (" +
                                                error + "): it keeps its pattern");
            }
            return CommandOutput{kExitOk,
                                 "gun " + std::to_string(gun + 1) + " takes the pattern of " + file +
                                     " (norvanectl recoil write sends the four guns to the mouse)\n",
                                 {}};
          },
          {}};
}

Prepared PrepareRecoil(const CommandWords& words) {
  const std::vector<std::string>& w = words.words;
  if (w.size() > 1 && w[1] == "import") return PrepareRecoilImport(w);
  if (w.size() != 2 || w[1] != "write") return Wrong("recoil takes write, or import GUN FILE");
  return {[](OpenedDevice& opened) {
            CNorvaneMouseDevice& mouse = MouseOf(opened);
            devices::mouse::ProvideMissingGunFiles(mouse.UserProfileFolder(), DefaultDataFolder());
            const int written = mouse.WriteShootData();
            if (written == CNorvaneMouseDevice::kShootTooLarge) {
              return Failed(kExitFailure, "the four gun files hold more events than the mouse has room for: "
                                          "nothing was written");
            }
            if (written != protocol::kResultOk) {
              return Failed(kExitFailure, "the mouse did not take the recoil patterns: " +
                                              DescribeFailure(written, mouse.CommandChannel()));
            }
            return CommandOutput{kExitOk, "recoil patterns written\n", {}};
          },
          {}};
}

// ---- status

Prepared PrepareStatus(const CommandWords& words) {
  if (words.words.size() > 1) return Wrong("status takes no more words");
  const bool json = words.json;
  return {[json](OpenedDevice& opened) {
            devices::CNorvaneUSBDevice& device = *opened.device;
            devices::CNorvaneUSBDevice::StatusRecord status{};
            const int read = device.ReadStatusRecord(status);
            if (read != protocol::kResultOk) {
              return Failed(kExitFailure, "the " + KindName(devices::PageKindCode(opened.plan.linkKind)) +
                                              " did not tell its status: " +
                                              DescribeFailure(read, device.CommandChannel()));
            }
            const bool receiver = status[3] != 0;
            if (json) {
              Json::Value root;
              root["device"] = KindName(devices::PageKindCode(opened.plan.linkKind));
              root["battery"] = status[0];
              root["charge"] = status[1];
              root["link"] = receiver ? "receiver" : "cable";
              return CommandOutput{kExitOk, WriteJson(root), {}};
            }
            return CommandOutput{kExitOk,
                                 "battery: " + std::to_string(status[0]) + "%\ncharge state: " +
                                     std::to_string(status[1]) + "\nlink: " + (receiver ? "receiver" : "cable") +
                                     "\n",
                                 {}};
          },
          {}};
}

// ---- the table

const std::vector<SettingCommand>& Commands() {
  static const std::vector<SettingCommand> commands = {
      {"profiles",
       "Usage: norvanectl profiles\n"
       "\n"
       "The profiles of a device, the selected one marked with '*'.\n",
       {},
       "profiles",
       AnyKind,
       PrepareProfiles},
      {"profile",
       "Usage: norvanectl profile select NAME\n"
       "       norvanectl profile export NAME FILE\n"
       "       norvanectl profile import FILE\n"
       "\n"
       "NAME is a profile's name (any case) or identifier as profiles lists them. select makes the device\n"
       "work on the profile (its key table and settings are written to it); export writes the profile to\n"
       "FILE; import adds the profile in FILE to the device's list under the file's name.\n",
       {},
       "profiles",
       AnyKind,
       PrepareProfile},
      {"key",
       "Usage: norvanectl key list\n"
       "       norvanectl key set KEY FUNCTION\n"
       "       norvanectl key reset KEY\n"
       "\n"
       "The functions of a keyboard's keys or a mouse's buttons. KEY is the key's caption on the page (any\n"
       "case) or its index as key list shows it.\n"
       "\n" +
           KeyFunctionSpellings(),
       {},
       "keys",
       HasKeys,
       PrepareKey},
      {"macro",
       "Usage: norvanectl macro list\n"
       "       norvanectl macro import FILE\n"
       "       norvanectl macro export NAME FILE\n"
       "       norvanectl macro bind NAME KEY\n"
       "\n"
       "The macros of a keyboard or mouse. import adds the macro file FILE under its file name; bind gives\n"
       "KEY the macro (the same as key set KEY macro:NAME) and writes it to the device.\n",
       {},
       "macros",
       HasKeys,
       PrepareMacro},
      {"light",
       "Usage: norvanectl light show\n"
       "       norvanectl light set MODE [--colour RRGGBB] [--brightness 0-4] [--speed 0-4]\n"
       "                                 [--direction left|right]\n"
       "\n"
       "The lighting effect of a device. MODE is the effect's English name (any case, '-' for spaces) or\n"
       "its index, as light show lists them; a colour makes the effect one-coloured.\n",
       {"--colour", "--brightness", "--speed", "--direction"},
       "lighting",
       HasLighting,
       PrepareLight},
      {"dpi",
       "Usage: norvanectl dpi show\n"
       "       norvanectl dpi set STAGE VALUE [--colour RRGGBB]\n"
       "       norvanectl dpi select STAGE\n"
       "\n"
       "The DPI stages of a mouse. STAGE is 1 to 5 as on the mouse page; VALUE is in DPI and becomes the\n"
       "nearest setting of the mouse's sensor that is not above it; select makes a stage the active one.\n",
       {"--colour"},
       "DPI stages",
       IsMouse,
       PrepareDpi},
      {"rate",
       "Usage: norvanectl rate list\n"
       "       norvanectl rate set INDEX\n"
       "\n"
       "The report rate of a mouse; INDEX numbers the options as rate list shows them (0 is 125 Hz).\n",
       {},
       "a report rate",
       IsMouse,
       PrepareRate},
      {"recoil",
       "Usage: norvanectl recoil write\n"
       "       norvanectl recoil import GUN FILE\n"
       "\n"
       "write sends the recoil patterns of the four gun files of the mouse's folder to the mouse. import\n"
       "makes FILE (a recoil file, as the recoil editor imports it) gun GUN's file (1 to 4); a file that is\n"
       "no recoil file leaves the gun as it was. recoil write then sends it.\n",
       {},
       "recoil patterns",
       IsMouse,
       PrepareRecoil},
      {"status",
       "Usage: norvanectl status\n"
       "\n"
       "The battery level, charge state (0, 1 or 2 as the device reports it) and link (cable or receiver) of a\n"
       "wireless keyboard or mouse.\n",
       {},
       "a wireless status",
       IsWirelessCapable,
       PrepareStatus},
  };
  return commands;
}

const std::string_view kDeviceOptions =
    "\n"
    "Options:\n"
    "  --device KIND|PATH  the first connected keyboard, mouse, mousepad or headset, or the device at an\n"
    "                      interface path; without it, the one connected device that has the setting\n"
    "  --json              machine-readable output\n"
    "  --help              this text\n";

const SettingCommand* Find(std::string_view name) {
  for (const SettingCommand& command : Commands()) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

}  // namespace

std::string WriteJson(const Json::Value& value) {
  Json::StreamWriterBuilder builder;
  builder["indentation"] = "  ";
  return Json::writeString(builder, value) + "\n";
}

bool IsSettingCommand(std::string_view name) {
  return Find(name) != nullptr;
}

CommandOutput RunSettingCommand(const std::vector<std::string>& arguments, bool json) {
  ScanningProvider scanning;
  return RunSettingCommand(arguments, json, scanning);
}

CommandOutput RunSettingCommand(const std::vector<std::string>& arguments, bool json, DeviceProvider& provider) {
  const SettingCommand* command = arguments.empty() ? nullptr : Find(arguments.front());
  if (!command) return Failed(kExitUsage, "unknown command (try --help)");
  CommandWords words = SplitCommandWords(arguments, command->valued);
  words.json = words.json || json;
  if (words.help) return {kExitOk, std::string(command->usage) + std::string(kDeviceOptions), {}};
  if (!words.error.empty()) {
    return Failed(kExitUsage, words.error + " (try norvanectl " + std::string(command->name) + " --help)");
  }
  const Prepared prepared = command->prepare(words);
  if (!prepared.error.empty()) {
    return Failed(kExitUsage, prepared.error + " (try norvanectl " + std::string(command->name) + " --help)");
  }
  OpenOutcome outcome = provider.Provide(words.device, command->wanted, command->setting);
  if (!outcome.opened) return outcome.failure;
  CommandOutput output = prepared.act(*outcome.opened);
  provider.CommandDone(*outcome.opened, command->name);
  return output;
}

std::string SettingCommandsSummary() {
  std::string summary;
  for (const SettingCommand& command : Commands()) {
    summary += "  " + std::string(command.name) + std::string(8 - std::min<std::size_t>(7, command.name.size()), ' ') +
               std::string(command.setting) + " (" + std::string(command.name) + " --help)\n";
  }
  return summary;
}

}  // namespace norvane::cli
