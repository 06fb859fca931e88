#include "uilib/theme.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QPalette>
#include <QStyleFactory>
#include <cstdio>

#include "uilib/control_factory.h"
#include "uilib/resource_manager.h"

namespace norvane::ui {

namespace {

QPalette DarkPalette() {
  QPalette p;
  const QColor window(0x14, 0x16, 0x1c), base(0x0e, 0x10, 0x14), text(0xe6, 0xe8, 0xee),
      accent(0x00, 0xe0, 0xc6);
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, window.lighter(115));
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, QColor(0x22, 0x25, 0x2e));
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::Highlight, accent);
  p.setColor(QPalette::HighlightedText, QColor(0x0b, 0x0c, 0x10));
  p.setColor(QPalette::ToolTipBase, QColor(0x22, 0x25, 0x2e));
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::PlaceholderText, QColor(0x7a, 0x80, 0x8f));
  p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x5a, 0x5f, 0x6b));
  p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x5a, 0x5f, 0x6b));
  p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x5a, 0x5f, 0x6b));
  return p;
}

}  // namespace

bool ApplyTheme(QApplication& app) {
  if (QStyle* fusion = QStyleFactory::create("Fusion")) app.setStyle(fusion);
  app.setPalette(DarkPalette());
  const QString path = CResourceManager::GetInstance().ResolveResource("theme.qss");
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "theme: %s cannot be read (%s); using the plain dark palette\n", qPrintable(path),
                 qPrintable(file.errorString()));
    return false;
  }
  // Image urls in the sheet are relative to the skin folder.
  QString sheet = QString::fromUtf8(file.readAll());
  sheet.replace(QLatin1String("url(skin:"),
                QStringLiteral("url(%1/").arg(CResourceManager::GetInstance().GetResourcePath()));
  app.setStyleSheet(sheet);
  return true;
}

int RegisterBundledFonts() {
  const QDir fonts(CResourceManager::GetInstance().ResolveResource("fonts"));
  int registered = 0;
  QString family;
  for (const QString& name : fonts.entryList({"*.ttf", "*.otf"}, QDir::Files, QDir::Name)) {
    const int id = QFontDatabase::addApplicationFont(fonts.filePath(name));
    if (id < 0) continue;
    ++registered;
    if (family.isEmpty() && !QFontDatabase::applicationFontFamilies(id).isEmpty()) {
      family = QFontDatabase::applicationFontFamilies(id).first();
    }
  }
  return registered;
}

void RegisterLibraryControls() {
  CControlFactory::GetInstance();
}

}  // namespace norvane::ui
