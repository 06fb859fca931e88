#pragma once
// The main of a benchmark that builds real widgets: a QApplication without a display, the program's controls
// registered, the shipped skins, English texts and default data.

#include <benchmark/benchmark.h>

#include <QApplication>

#include "controls/device_controls.h"
#include "controls/pages/page_controls.h"
#include "editors/editor_controls.h"
#include "platform/xdg_paths.h"
#include "uilib/resource_manager.h"

namespace norvane::bench {

inline int RunWidgetBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("NORVANE_SKIN_DIR", NORVANE_SOURCE_DIR "/skin");
  SetDefaultDataFolderOverride(NORVANE_SOURCE_DIR "/DefaultData");
  QApplication app(argc, argv);
  controls::RegisterDeviceControls();
  controls::RegisterPageControls();
  editors::RegisterEditorControls();
  ui::CResourceManager& resources = ui::CResourceManager::GetInstance();
  resources.SetResourcePath(ui::CResourceManager::DefaultResourcePath());
  resources.LoadResource("res.xml");
  resources.LoadLanguage("lan_en.xml");
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace norvane::bench
