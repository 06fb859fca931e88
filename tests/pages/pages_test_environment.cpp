// Creates the QApplication once for the whole test binary, registers the program's controls, points the
// library at the shipped skins and the user data at a private folder.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "controls/device_controls.h"
#include "controls/pages/page_controls.h"
#include "platform/xdg_paths.h"
#include "uilib/resource_manager.h"

namespace {

// Until the shipped skins have a keyboard page layout, the tests use a small stand-in: the skin index is
// read again from a copy that names it.
void StandInForMissingSkins(norvane::ui::CResourceManager& rm) {
  static QTemporaryDir folder;
  const char* keyboard = "XML\\DeviceXml\\keyboarddevice.xml";
  if (!rm.ResolveSkinFile(keyboard).isEmpty()) return;
  QFile shipped(rm.ResolveResource("res.xml"));
  if (!shipped.open(QIODevice::ReadOnly)) return;
  QString index = QString::fromUtf8(shipped.readAll());
  index.replace("</Res>", QString("<Skin name=\"%1\" file=\"%2\"/></Res>")
                              .arg(keyboard, NORVANE_SOURCE_DIR "/tests/pages/stand_in_keyboard.ui"));
  QFile copy(folder.filePath("res.xml"));
  if (!copy.open(QIODevice::WriteOnly) || copy.write(index.toUtf8()) < 0) return;
  copy.close();
  rm.LoadResource(copy.fileName());
}

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
    StandInForMissingSkins(rm);
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
