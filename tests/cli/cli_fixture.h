#pragma once
// norvanectl's setting commands run in process against emulated devices, with the profiles in a private
// data folder, so that the device memory and the profile file can be checked afterwards.

#include <gtest/gtest.h>
#include <json/json.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "emulator/emulator.h"
#include "profiles/profile_list.h"
#include "tests/support/emulator_fixture.h"
#include "tests/support/temp_folder.h"
#include "tools/norvanectl/setting_commands.h"

namespace norvane::cli::testing {

class CliTest : public ::testing::Test {
 protected:
  explicit CliTest(std::vector<emulator::DeviceModel> models)
      : data_home_("XDG_DATA_HOME", root_.path().c_str()), emulator_(std::move(models)) {}

  // The display of the run (the tests run under an X server), for the tests that want one; the others run
  // as on a machine without one.
  const std::string display_ = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";

  CommandOutput Run(std::vector<std::string> words, bool json = false) {
    return RunSettingCommand(words, json);
  }

  std::vector<uint8_t> Memory(emulator::DeviceModel model, emulator::MemoryArea area, size_t offset,
                              size_t length) const {
    return emulator_.Backend().ReadMemory(emulator_.Device(model), area, offset, length);
  }

  // The file of the selected profile of a device folder ("mouse"), as the window would load it.
  std::filesystem::path SelectedProfilePath(const std::string& folder) const {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root_.path())) {
      if (entry.path().filename() != CDeviceProfileList::kListFileName) continue;
      if (entry.path().parent_path().filename() != folder) continue;
      CDeviceProfileList list;
      list.SetFolders(entry.path().parent_path(), {});
      if (list.LoadProfileList().done()) return list.GetCurrentProfilePath();
    }
    ADD_FAILURE() << "no profile list in the " << folder << " folder";
    return {};
  }

  Json::Value SelectedProfile(const std::string& folder) const {
    std::ifstream in(SelectedProfilePath(folder));
    Json::Value root;
    std::string errors;
    EXPECT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &root, &errors)) << errors;
    return root;
  }

  static Json::Value ParseJson(const std::string& text) {
    Json::Value root;
    std::string errors;
    std::istringstream stream(text);
    EXPECT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), stream, &root, &errors)) << errors << text;
    return root;
  }

  norvane::testing::TempFolder root_;
  norvane::testing::ScopedEnv data_home_;
  norvane::testing::ScopedEnv no_display_{"DISPLAY", nullptr};
  norvane::testing::ScopedEmulator emulator_;
  norvane::testing::ScopedDefaultData default_data_;
};

}  // namespace norvane::cli::testing
