// Every control name the window and its editors are routed by is found in the shipped skins, so a route
// that is wired is one a user can reach.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "app/routing_table.h"

namespace norvane::app::test {
namespace {

std::set<std::string> ShippedControlNames() {
  std::set<std::string> names;
  const QRegularExpression name(R"re(<widget class="[^"]*" name="([^"]+)")re");
  for (const auto& entry : std::filesystem::recursive_directory_iterator(NORVANE_SOURCE_DIR "/skin")) {
    if (entry.path().extension() != ".ui") continue;
    std::ifstream file(entry.path());
    std::stringstream text;
    text << file.rdbuf();
    auto matches = name.globalMatch(QString::fromStdString(text.str()));
    while (matches.hasNext()) names.insert(matches.next().captured(1).toStdString());
  }
  return names;
}

bool HasNumberedName(const std::set<std::string>& names, const std::string& prefix) {
  for (const std::string& name : names) {
    if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
        name.find_first_not_of("0123456789", prefix.size()) == std::string::npos)
      return true;
  }
  return false;
}

TEST(SkinNames, EveryRouteOfTheWindowAndItsEditorsHasItsControl) {
  // Routes whose controls belong to windows and editors still to come, or to no shipped skin at all.
  const std::set<std::string> elsewhere = {
      "",                        // "windowinit": any sender
      "maxbtn", "restorebtn",    // the window is not resizable
      "vexor_DPI_slider_", "vexor_DPI_edit_",  // a test page's pair
      "device_key_light",        // the keyboard's light picture, a selection panel of the key editor
      "mouse_device_key_light",  // the mouse's light picture
      "windowdeviceset_",        // the mouse page's link to the desktop settings (the keyboard's is numbered 0)
      "macro_action", "macro_delay",  // a macro step and its delay edit, which the macro panel builds
  };
  const std::set<editors::EditorSlot> checked = {editors::EditorSlot::kWindow, editors::EditorSlot::kKeyboardSystem,
                                                 editors::EditorSlot::kMacro, editors::EditorSlot::kRecording,
                                                 editors::EditorSlot::kMouse, editors::EditorSlot::kShoot,
                                                 editors::EditorSlot::kProfileRules, editors::EditorSlot::kLighting,
                                                 editors::EditorSlot::kAudioLighting};
  const std::set<std::string> names = ShippedControlNames();
  ASSERT_GT(names.size(), 100u);
  for (const RouteRow& row : RoutingTable()) {
    if (!checked.count(row.slot)) continue;
    const std::string name(row.name);
    if (elsewhere.count(name)) continue;
    if (row.stage == RouteStage::kPrefix) {
      EXPECT_TRUE(HasNumberedName(names, name)) << "no control numbered after " << name;
    } else {
      EXPECT_TRUE(names.count(name)) << "no control named " << name;
    }
  }
  EXPECT_TRUE(names.count("windowdeviceset_0")) << "the keyboard's System tab links the desktop settings";
  EXPECT_TRUE(names.count("windowdeviceset_1")) << "the mouse's pointer tab links the desktop settings";
}

}  // namespace
}  // namespace norvane::app::test
