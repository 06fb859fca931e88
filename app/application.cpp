#include "app/application.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/control_registration.h"
#include "app/instance_bus.h"
#include "app/main_wnd.h"
#include "app/program_options.h"
#include "app/startup_checks.h"
#include "app/termination_signal.h"
#include "devices/headset/audio_chip_provider.h"
#include "devices/headset/emulated_audio_chip.h"
#include "emulator/emulator.h"
#include "emulator/typing_demo.h"
#include "platform/autostart_entry.h"
#include "platform/trace.h"
#include "platform/xdg_paths.h"
#include "tools/norvanectl/cli_commands.h"
#include "uilib/uilib.h"

namespace norvane::app {
namespace {

// The window's name as the system sees it.
constexpr const char* kMainWindowName = "R27 有线.exe";
// The size the window is created with; the start-up sequence scales it to the monitor.
constexpr int kCreateWidth = 800;
constexpr int kCreateHeight = 572;
// The desktop entry the window belongs to, named after the program's bus name.
constexpr const char* kDesktopFileName = "org.norvane.Norvane";

// Said before any skin or language text can be read, so in both languages at once.
void ShowDataFolderMessage(const std::string& problem) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Norvane"),
                  QStringLiteral("Norvane cannot start: its data folder is missing or damaged.\n"
                                 "Norvane 无法启动：数据文件夹缺失或已损坏。\n\n%1\n\n"
                                 "Reinstalling the package restores it. 重新安装软件包即可恢复。")
                      .arg(QString::fromStdString(problem)));
  // A logout or Ctrl+C closes the message as it would end the program.
  CTerminationSignal termination([&box] { box.reject(); });
  Trace("startup: data folder message shown");
  box.exec();
}

}  // namespace

int RunApplication(int argc, char** argv) {
  // Qt aborts when it finds no display; say it in one line instead, and where to turn.
  const GraphicalEnvironment graphical = ReadGraphicalEnvironment(argc, argv);
  if (const std::string problem = MissingDisplayProblem(graphical, CanOpenXDisplay); !problem.empty()) {
    if (AsksForUsage(argc, argv)) {
      std::fputs(ProgramUsageText().c_str(), stdout);
      return 0;
    }
    std::fprintf(stderr, "%s\n", problem.c_str());
    return 1;
  }
  // Only a Wayland display to talk to: go there directly rather than trying X11 first.
  if (graphical.platform.empty() && graphical.display.empty()) qputenv("QT_QPA_PLATFORM", "wayland");

  QApplication qtApp(argc, argv);
  QApplication::setApplicationName(QStringLiteral("norvane"));
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
  // The window hides to the tray; the program ends only through the tray's "exit".
  QApplication::setQuitOnLastWindowClosed(false);

  std::vector<std::string> argumentTexts;
  const QStringList qtArguments = QApplication::arguments();
  for (qsizetype i = 1; i < qtArguments.size(); ++i) argumentTexts.push_back(qtArguments[i].toStdString());
  const std::vector<std::string_view> arguments(argumentTexts.begin(), argumentTexts.end());
  const ProgramOptionsOutcome parsed = ParseProgramOptions(arguments);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "norvane: %s\n%s", parsed.error.c_str(), ProgramUsageText().c_str());
    return 2;
  }
  const ProgramOptions& options = parsed.options;
  if (options.help) {
    std::fputs(ProgramUsageText().c_str(), stdout);
    return 0;
  }
  if (options.trace) SetTraceEnabled(true);
  Trace("session: " + DescribeSession(QGuiApplication::platformName().toStdString(), graphical) +
        " (Qt platform \"" + QGuiApplication::platformName().toStdString() + "\")");

  const std::filesystem::path skinFolder = ui::CResourceManager::DefaultResourcePath().toStdString();
  if (const std::string problem = DataFolderProblem(skinFolder, DefaultDataFolder()); !problem.empty()) {
    std::fprintf(stderr, "norvane: %s; reinstalling the package restores it\n", problem.c_str());
    ShowDataFolderMessage(problem);
    return 1;
  }
  Trace("startup: skins in " + skinFolder.string() + ", default data in " + DefaultDataFolder().string());

  // The emulator stays installed, and alive, until the program ends.
  std::shared_ptr<emulator::EmulatorBackend> emulated;
  if (const std::optional<std::string> list =
          options.emulate ? options.emulate : emulator::EmulateListFromEnvironment()) {
    std::string error;
    emulated = emulator::InstallEmulator(*list, &error);
    if (!emulated) {
      std::fprintf(stderr, "norvane: cannot emulate \"%s\": %s\n", list->c_str(), error.c_str());
      return 2;
    }
    // Like real devices, the emulated ones keep what the user set when the program starts again.
    const std::string problem = emulated->KeepMemoryIn(emulator::DemoMemoryFile());
    if (!problem.empty()) std::fprintf(stderr, "norvane: %s\n", problem.c_str());
    // An emulated headset comes with the emulated audio chip, so its whole page works.
    devices::headset::SetAudioChipSource(
        [chip = std::make_shared<devices::headset::EmulatedAudioChip>()](const std::string&) {
          return std::vector<std::shared_ptr<devices::headset::AudioChip>>{chip};
        });
  }
  // Someone types on the emulated keyboards now and then, so that the key-reactive lighting shows.
  std::unique_ptr<emulator::TypingDemo> typing;
  if (emulated) typing = std::make_unique<emulator::TypingDemo>(emulated);

  ui::CResourceManager& resources = ui::CResourceManager::GetInstance();
  resources.SetResourcePath(ui::CResourceManager::DefaultResourcePath());
  ui::RegisterBundledFonts();

  // One instance per session: a second start brings the running window forward and ends.
  CMainWnd* window = nullptr;
  InstanceBusOptions busOptions;
  busOptions.commands = [&window](const std::vector<std::string>& words) {
    return window ? window->RunBusCommand(words)
                  : cli::Failed(cli::kExitFailure, "the window program is starting or ending: try again");
  };
  CInstanceBus bus([&window](const BusMessage& message) {
    if (window) window->OnBusMessage(message);
  }, std::move(busOptions));
  if (!bus.TryBecomePrimary()) {
    if (!bus.AskPrimaryToRaise()) std::fprintf(stderr, "norvane: the running instance did not answer\n");
    return 0;
  }

  if (!EnsureFolder(UserDataFolder())) {
    std::fprintf(stderr, "norvane: cannot create the folder %s; settings and profiles will not be kept\n",
                 UserDataFolder().string().c_str());
  }
  const AutostartOutcome autostart =
      ApplyAutostartSetting(RegistrySettings(), DefaultAutostartEntryFile(), ExecutablePath());
  if (!autostart.error.empty()) {
    std::fprintf(stderr, "norvane: the autostart entry: %s\n", autostart.error.c_str());
  } else if (autostart.change == AutostartChange::kKeptForeign) {
    Trace("autostart: " + DefaultAutostartEntryFile().string() + " is not ours; left as it is");
  } else if (autostart.change != AutostartChange::kNone) {
    Trace(std::string("autostart: entry ") +
          (autostart.change == AutostartChange::kWritten ? "written" : "removed"));
  }
  resources.LoadResource("res.xml");
  // The skin's texts are resolved as the main window is built: the first language file is there before.
  resources.LoadLanguage("lan_cn.xml");
  ui::ApplyTheme(qtApp);
  RegisterProgramControls();

  int code = 0;
  {
    MainWndOptions windowOptions;
    windowOptions.deviceServiceFactory = MakeDeviceHostService;
    windowOptions.bus = &bus;
    windowOptions.startMinimized = options.minimized;
    windowOptions.profileRules = CProfileSwitcher::Options{};
    CMainWnd mainWindow(std::move(windowOptions));
    window = &mainWindow;
    // A logout or Ctrl+C ends the program as the tray's "exit" does.
    CTerminationSignal termination([&mainWindow] {
      mainWindow.OnMenuCommand(ui::MenuCmd{"exit", {}, {}, false});
    });
    if (mainWindow.Create(nullptr, kMainWindowName, false, 0, 0, kCreateWidth, kCreateHeight)) {
      mainWindow.CenterWindow();
      code = ui::CPaintManagerUI::MessageLoop();
    }
    window = nullptr;
  }
  resources.Release();

  // The emulated devices' last change reaches their file before an end that skips the destructors.
  if (emulated) emulated->FlushMemoryFile();
  if (AnyWorkerLeftRunning()) {
    // A worker overran its stop bound and still runs: end now rather than tear down what it may use.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(0);
  }
  (void)code;  // every way out of the loop is a normal end
  return 0;
}

}  // namespace norvane::app
