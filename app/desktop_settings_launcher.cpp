#include "app/desktop_settings_launcher.h"

#include <QProcess>
#include <QStandardPaths>
#include <array>
#include <span>

namespace norvane::app {
namespace {

struct SettingsTool {
  const char* program;
  const char* page;  // the tool's argument for that page; null: the tool is that page
};

constexpr std::array kKeyboardTools{
    SettingsTool{"gnome-control-center", "keyboard"},
    SettingsTool{"systemsettings", "kcm_keyboard"},
    SettingsTool{"xfce4-keyboard-settings", nullptr},
};

constexpr std::array kMouseTools{
    SettingsTool{"gnome-control-center", "mouse"},
    SettingsTool{"systemsettings", "kcm_mouse"},
    SettingsTool{"xfce4-mouse-settings", nullptr},
};

std::span<const SettingsTool> ToolsFor(int n) {
  switch (n) {
    case kDesktopKeyboardSettings:
      return kKeyboardTools;
    case kDesktopMouseSettings:
      return kMouseTools;
    default:
      return {};
  }
}

}  // namespace

QString FindProgramOnPath(const QString& name) {
  return QStandardPaths::findExecutable(name);
}

bool StartProgramDetached(const QString& path, const QStringList& arguments) {
  return QProcess::startDetached(path, arguments);
}

bool OpenDesktopDeviceSettings(int n, const ProgramFinder& find, const ProgramStarter& start) {
  for (const SettingsTool& tool : ToolsFor(n)) {
    const QString path = find(QString::fromLatin1(tool.program));
    if (path.isEmpty()) continue;
    const QStringList arguments = tool.page ? QStringList{QString::fromLatin1(tool.page)} : QStringList{};
    return start(path, arguments);
  }
  return false;
}

}  // namespace norvane::app
