// norvane-skinshot SKIN_NAME OUT.png [--lang en|cn] [--scale N] [--dpi DPI]
// Builds a window from a skin offscreen and writes it as a PNG, so that the look can be reviewed without a
// display. --scale renders at N device pixels per pixel (2 for a high-density screen); --dpi applies the
// program's window scale (96, 144, ...).

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "uilib/demo/demo_controls.h"
#include "uilib/uilib.h"

namespace {

using namespace norvane::ui;

class SkinWindow : public WindowImplBase {
 public:
  explicit SkinWindow(CDuiString skin) : skin_(std::move(skin)) {}
  CDuiString GetWindowClassName() const override { return "SkinShot"; }
  CDuiString GetSkinFile() const override { return skin_; }

 private:
  CDuiString skin_;
};

int Usage() {
  std::fprintf(stderr, "usage: norvane-skinshot SKIN_NAME OUT.png [--lang en|cn] [--scale N] [--dpi DPI]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string skin = argv[1];
  const std::string out = argv[2];
  std::string lang = "en";
  std::string scale;
  int dpi = kDefaultDpi;
  for (int i = 3; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return Usage();
    if (arg == "--lang")
      lang = argv[++i];
    else if (arg == "--scale")
      scale = argv[++i];
    else if (arg == "--dpi")
      dpi = std::atoi(argv[++i]);
    else
      return Usage();
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (!scale.empty()) qputenv("QT_SCALE_FACTOR", scale.c_str());
  QApplication app(argc, argv);

  CResourceManager& resources = CResourceManager::GetInstance();
  resources.SetResourcePath(CResourceManager::DefaultResourcePath());
  resources.LoadResource("res.xml");
  RegisterBundledFonts();
  ApplyTheme(app);
  demo::RegisterDemoControls();
  if (!resources.LoadLanguage(QString::fromStdString("lan_" + lang + ".xml"))) return 1;

  SkinWindow window(QString::fromStdString(skin));
  window.Create(nullptr, "skinshot", false);
  window.GetPaintManager().SetDPI(dpi);
  window.ShowWindow(true, false);
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  const QPixmap shot = window.GetWidget()->grab();
  if (shot.isNull() || !shot.save(QString::fromStdString(out), "PNG")) {
    std::fprintf(stderr, "norvane-skinshot: cannot write %s\n", out.c_str());
    return 1;
  }
  std::printf("%s: %dx%d\n", out.c_str(), shot.width(), shot.height());
  return window.SkinFailed() ? 1 : 0;
}
