// "windowdeviceset_N": the desktop's own keyboard (N 0) or mouse (N 1) settings, the first installed of
// GNOME's, KDE's and Xfce's tools, started with the page's argument; nothing for other N or without a tool.

#include "app/desktop_settings_launcher.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <set>
#include <string>
#include <vector>

namespace norvane::app::test {
namespace {

// A machine with some of the tools installed under /opt/fake/bin, and a record of what was started.
class FakeDesktop {
 public:
  explicit FakeDesktop(std::set<QString> installed, bool startWorks = true)
      : installed_(std::move(installed)), startWorks_(startWorks) {}

  ProgramFinder Finder() {
    return [this](const QString& name) {
      asked.push_back(name);
      return installed_.contains(name) ? "/opt/fake/bin/" + name : QString();
    };
  }
  ProgramStarter Starter() {
    return [this](const QString& path, const QStringList& arguments) {
      started.push_back(path + (arguments.isEmpty() ? "" : " " + arguments.join(' ')));
      return startWorks_;
    };
  }
  bool Open(int n) { return OpenDesktopDeviceSettings(n, Finder(), Starter()); }

  std::vector<QString> asked;
  std::vector<QString> started;

 private:
  std::set<QString> installed_;
  bool startWorks_;
};

const std::set<QString> kAllTools{"gnome-control-center", "systemsettings", "xfce4-keyboard-settings",
                                  "xfce4-mouse-settings"};

TEST(DesktopSettingsTest, KeyboardSettingsComeFromTheFirstInstalledTool) {
  FakeDesktop all(kAllTools);
  EXPECT_TRUE(all.Open(0));
  EXPECT_EQ(all.started, std::vector<QString>{"/opt/fake/bin/gnome-control-center keyboard"});
  EXPECT_EQ(all.asked, std::vector<QString>{"gnome-control-center"}) << "the first one found is enough";

  FakeDesktop kde({"systemsettings", "xfce4-keyboard-settings"});
  EXPECT_TRUE(kde.Open(0));
  EXPECT_EQ(kde.started, std::vector<QString>{"/opt/fake/bin/systemsettings kcm_keyboard"});

  FakeDesktop xfce({"xfce4-keyboard-settings", "xfce4-mouse-settings"});
  EXPECT_TRUE(xfce.Open(0));
  EXPECT_EQ(xfce.started, std::vector<QString>{"/opt/fake/bin/xfce4-keyboard-settings"});
  EXPECT_EQ(xfce.asked,
            (std::vector<QString>{"gnome-control-center", "systemsettings", "xfce4-keyboard-settings"}));
}

TEST(DesktopSettingsTest, MouseSettingsComeFromTheSameToolsMousePages) {
  FakeDesktop all(kAllTools);
  EXPECT_TRUE(all.Open(1));
  EXPECT_EQ(all.started, std::vector<QString>{"/opt/fake/bin/gnome-control-center mouse"});

  FakeDesktop kde({"systemsettings", "xfce4-mouse-settings"});
  EXPECT_TRUE(kde.Open(1));
  EXPECT_EQ(kde.started, std::vector<QString>{"/opt/fake/bin/systemsettings kcm_mouse"});

  // Xfce's keyboard tool is no mouse settings.
  FakeDesktop xfce({"xfce4-keyboard-settings", "xfce4-mouse-settings"});
  EXPECT_TRUE(xfce.Open(1));
  EXPECT_EQ(xfce.started, std::vector<QString>{"/opt/fake/bin/xfce4-mouse-settings"});
}

TEST(DesktopSettingsTest, NothingStartsWithoutAToolOrForAnotherNumber) {
  FakeDesktop none({});
  EXPECT_FALSE(none.Open(0));
  EXPECT_FALSE(none.Open(1));
  EXPECT_TRUE(none.started.empty());

  FakeDesktop onlyKeyboard({"xfce4-keyboard-settings"});
  EXPECT_FALSE(onlyKeyboard.Open(1));
  EXPECT_TRUE(onlyKeyboard.started.empty());

  FakeDesktop all(kAllTools);
  for (int n : {-1, 2, 3, 100}) EXPECT_FALSE(all.Open(n)) << n;
  EXPECT_TRUE(all.started.empty());
  EXPECT_TRUE(all.asked.empty()) << "no tool is even looked for";

  // A tool that is found but does not start is reported.
  FakeDesktop broken(kAllTools, false);
  EXPECT_FALSE(broken.Open(0));
  EXPECT_EQ(broken.started.size(), 1u);
}

TEST(DesktopSettingsTest, TheDefaultFinderLooksOnPath) {
  QTemporaryDir bin;
  ASSERT_TRUE(bin.isValid());
  QFile tool(bin.filePath("xfce4-mouse-settings"));
  ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
  tool.write("#!/bin/sh\n");
  tool.close();
  tool.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

  const QByteArray oldPath = qgetenv("PATH");
  qputenv("PATH", bin.path().toUtf8());
  const QString found = FindProgramOnPath("xfce4-mouse-settings");
  const QString missing = FindProgramOnPath("gnome-control-center");
  std::vector<QString> started;
  const bool opened =
      OpenDesktopDeviceSettings(1, FindProgramOnPath, [&](const QString& path, const QStringList&) {
        started.push_back(path);
        return true;
      });
  qputenv("PATH", oldPath);

  EXPECT_EQ(found, QDir(bin.path()).filePath("xfce4-mouse-settings"));
  EXPECT_TRUE(missing.isEmpty());
  EXPECT_TRUE(opened);
  EXPECT_EQ(started, std::vector<QString>{found});
}

}  // namespace
}  // namespace norvane::app::test
