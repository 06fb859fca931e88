// Creates the QApplication once for the whole test binary, points the UI library at the shipped skins and the
// user data folder at a private one.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "tests/windows/windows_test_support.h"

namespace norvane::app::test {

namespace {

QTemporaryDir& DataDir() {
  static QTemporaryDir dir;
  return dir;
}

class WindowsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    qputenv("XDG_DATA_HOME", DataDir().path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("NORVANE_SKIN_DIR", NORVANE_SOURCE_DIR "/skin");
    static int argc = 1;
    static char name[] = "test_windows";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
    ResetResources();
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new WindowsEnvironment);

}  // namespace

void ResetResources() {
  ui::CResourceManager& rm = ui::CResourceManager::GetInstance();
  rm.Release();
  rm.SetResourcePath(ui::CResourceManager::DefaultResourcePath());
  rm.LoadResource("res.xml");
  rm.LoadLanguage("lan_en.xml");
}

QString DataHome() {
  return DataDir().path();
}

QWidget* FindTopLevel(const QString& className) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == className && w->isVisible()) return w;
  }
  return nullptr;
}

QWidget* FindChildNamed(QWidget* window, const QString& name) {
  return window ? window->findChild<QWidget*>(name) : nullptr;
}

void WhenShown(const QString& className, std::function<void(QWidget*)> action) {
  QTimer::singleShot(0, [className, action = std::move(action)] {
    if (!WaitFor([&] { return FindTopLevel(className) != nullptr; })) return;
    action(FindTopLevel(className));
  });
}

void Click(QWidget* window, const QString& name) {
  QWidget* target = FindChildNamed(window, name);
  ASSERT_NE(target, nullptr) << name.toStdString();
  QTest::mouseClick(target, Qt::LeftButton);
}

bool WaitFor(const std::function<bool()>& pred, int timeoutMs) {
  return QTest::qWaitFor(pred, timeoutMs);
}

}  // namespace norvane::app::test
