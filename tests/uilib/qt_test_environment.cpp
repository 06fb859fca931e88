// Creates the QApplication once for the whole test binary and points the library at the shipped skins.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "tests/uilib/ui_test_support.h"
#include "uilib/demo/demo_controls.h"

namespace norvane::ui::test {

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("NORVANE_SKIN_DIR", NORVANE_SOURCE_DIR "/skin");
    static int argc = 1;
    static char name[] = "test_uilib";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
    demo::RegisterDemoControls();
    ResetResources();
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

void ResetResources() {
  CResourceManager& rm = CResourceManager::GetInstance();
  rm.Release();
  rm.SetResourcePath(CResourceManager::DefaultResourcePath());
  rm.LoadResource("res.xml");
  rm.LoadLanguage("lan_en.xml");
}

ScopedSkinDir::ScopedSkinDir() {
  CResourceManager::GetInstance().SetResourcePath(dir_.path());
}

ScopedSkinDir::~ScopedSkinDir() {
  ResetResources();
}

void ScopedSkinDir::Write(const QString& relativePath, const QByteArray& content) const {
  const QString path = dir_.filePath(relativePath);
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(content);
}

bool WaitFor(const std::function<bool()>& pred, int timeoutMs) {
  return QTest::qWaitFor(pred, timeoutMs);
}

}  // namespace norvane::ui::test
