// One QApplication for the panel tests, the program's controls registered and the shipped skins and
// English texts loaded (the pure field tests need none of it, and it costs them nothing).

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <memory>

#include "controls/device_controls.h"
#include "editors/editor_controls.h"
#include "uilib/control_factory.h"
#include "uilib/resource_manager.h"
#include "uilib/theme.h"

namespace {

class EditorsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("NORVANE_SKIN_DIR", NORVANE_SOURCE_DIR "/skin");
    static int argc = 1;
    static char name[] = "test_editors";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
    norvane::ui::RegisterLibraryControls();
    norvane::controls::RegisterDeviceControls();
    norvane::editors::RegisterEditorControls();
    norvane::ui::CResourceManager& rm = norvane::ui::CResourceManager::GetInstance();
    rm.SetResourcePath(norvane::ui::CResourceManager::DefaultResourcePath());
    rm.LoadResource("res.xml");
    rm.LoadLanguage("lan_en.xml");
  }
  void TearDown() override { app_.reset(); }

 private:
  QTemporaryDir runtime_;
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new EditorsEnvironment);

}  // namespace
