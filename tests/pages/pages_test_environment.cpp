// Creates the QApplication once for the whole test binary, registers the program's controls, points the
// library at the shipped skins and the user data at a private folder.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <memory>

#include "controls/device_controls.h"
#include "controls/pages/page_controls.h"
#include "platform/xdg_paths.h"
#include "uilib/resource_manager.h"

namespace {

class PagesEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
    qputenv("XDG_DATA_HOME", data_.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("NORVANE_SKIN_DIR", NORVANE_SOURCE_DIR "/skin");
    norvane::SetDefaultDataFolderOverride(NORVANE_SOURCE_DIR "/DefaultData");
    static int argc = 1;
    static char name[] = "test_pages";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
    norvane::controls::RegisterDeviceControls();
    norvane::controls::RegisterPageControls();
    norvane::ui::CResourceManager& rm = norvane::ui::CResourceManager::GetInstance();
    rm.SetResourcePath(norvane::ui::CResourceManager::DefaultResourcePath());
    rm.LoadResource("res.xml");
    rm.LoadLanguage("lan_en.xml");
  }
  void TearDown() override { app_.reset(); }

 private:
  QTemporaryDir runtime_;
  QTemporaryDir data_;
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new PagesEnvironment);

}  // namespace
