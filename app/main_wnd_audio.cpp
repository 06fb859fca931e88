// The main window's music lighting: the sound levels and bands from the audio capture companion, processed
// and fed to the first keyboard and mouse pages; the audio style and its colour for the companion; the
// companion itself, run while a keyboard shows a music effect.
#include <QCoreApplication>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "app/audio_companion.h"
#include "app/audio_levels.h"
#include "app/audio_style.h"
#include "app/copy_data_record.h"
#include "app/instance_bus.h"
#include "app/main_messages.h"
#include "app/main_wnd.h"
#include "app/music_wnd.h"
#include "controls/pages/device_page.h"
#include "devices/device_kinds.h"
#include "editors/light_control.h"
#include "editors/lighting_editor.h"
#include "platform/trace.h"
#include "platform/xdg_paths.h"

namespace norvane::app {

namespace {

constexpr std::uint8_t kMusicLevels = 29;
constexpr std::uint8_t kMusicBands = 30;
// More level records than this in a second are dropped: a companion sends about 96.
constexpr int kMostLevelRecordsPerSecond = 300;
// The style's colour sliders: wParam 6, 7, 8 of the capture message; levels 0 to 9.
constexpr int kStyleRedSlider = 6;
constexpr int kTopStyleLevel = 9;
constexpr int kStyleSaveDelayMs = 400;
constexpr const char* kStyleNotSaved = "audio_style_save_failed_text";

// The first connected page of a kind (1 keyboard, 2 mouse; their receiver links count as theirs).
controls::CDevicePageUI* FirstConnected(IDeviceService* devices, std::uint16_t kind) {
  if (!devices) return nullptr;
  for (controls::CDevicePageUI* page : devices->Pages()) {
    if (page->Device() && devices::PageKindCode(page->Device()->KindCode()) == kind && page->IsChannelOpen())
      return page;
  }
  return nullptr;
}

}  // namespace

void CMainWnd::ProcessAudioLevels() {
  // A flood is bounded: what comes beyond the rate a companion sends is dropped.
  const auto now = std::chrono::steady_clock::now();
  if (now - levelWindowStart_ >= std::chrono::seconds(1)) {
    levelWindowStart_ = now;
    levelsInWindow_ = 0;
  }
  if (++levelsInWindow_ > kMostLevelRecordsPerSecond) return;
  controls::CDevicePageUI* keyboard = FirstConnected(devices_.get(), 1);
  controls::CDevicePageUI* mouse = FirstConnected(devices_.get(), 2);
  const AudioLevelProcessor::Feeds feeds =
      audioLevels_->Process(std::span<const std::int32_t, kSoundLevelCount>(soundLevels_), keyboard, mouse);
  // As the capture program sends them: little-endian 32-bit values (this machine's own order).
  auto bytes = [](const AudioLevelProcessor::Buffer& buffer) {
    return std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(buffer.data()), buffer.size() * 4);
  };
  if (feeds.keyboard && keyboard) {
    keyboard->Device()->FeedAudioLevels(bytes(*feeds.keyboard));
    // The sound graph of the keyboard's music panel, as often as the keyboard takes the sound. It shows
    // how far the samples swing either way.
    if (editors::CLightControlUI* panel = editors::CLightingEditor::PanelOf(*keyboard)) {
      std::array<std::int32_t, kSoundLevelCount> swing;
      std::transform(soundLevels_.begin(), soundLevels_.end(), swing.begin(), [](std::int32_t level) {
        return static_cast<std::int32_t>(std::min<std::int64_t>(std::abs(std::int64_t{level}), INT32_MAX));
      });
      panel->ShowSoundLevels(swing);
    }
  }
  if (feeds.mouse && mouse) mouse->Device()->FeedAudioLevels(bytes(*feeds.mouse));
}

const AudioStyle& CMainWnd::GetAudioStyle() const {
  return audioStyle_->Style();
}

void CMainWnd::SetAudioStyle(const AudioStyle& style) {
  audioStyle_->SetStyle(style);
  ShowAudioStyle();
}

FileResult CMainWnd::SaveAudioStyleFile() {
  if (styleSave_) styleSave_->stop();
  const FileResult saved = audioStyle_->Save();
  if (!saved) LogFileFailure(saved);
  return saved;
}

void CMainWnd::SaveAudioStyleNow() {
  if (!SaveAudioStyleFile()) Prompts().Tell(kStyleNotSaved);
}

void CMainWnd::LoadAudioStyleFile() {
  audioStyle_->Reset();
  SendStyleColour(audioStyle_->Style());
  ShowAudioStyle();
}

void CMainWnd::ShowAudioStyle() {
  if (!devices_) return;
  const AudioStyle& style = audioStyle_->Style();
  const auto& colour = style.colours[std::size_t(style.style % AudioStyle::kGroups)];
  for (controls::CDevicePageUI* page : devices_->Pages()) {
    if (editors::CLightControlUI* panel = editors::CLightingEditor::PanelOf(*page)) panel->ShowStyleColour(colour);
  }
}

void CMainWnd::OnStyleSlider(int wParam, int level) {
  const int component = wParam - kStyleRedSlider;
  if (component < 0 || component > 2) return;
  level = std::clamp(level, 0, kTopStyleLevel);
  SendAudioCaptureCommand(wParam, level);
  AudioStyle style = audioStyle_->Style();
  style.colours[std::size_t(style.style % AudioStyle::kGroups)][std::size_t(component)] = std::uint8_t(level);
  SetAudioStyle(style);
  // A run of changes (a key held on the slider) is written once, when it pauses.
  if (!styleSave_) {
    styleSave_ = std::make_unique<QTimer>();
    styleSave_->setSingleShot(true);
    QObject::connect(styleSave_.get(), &QTimer::timeout, [this] {
      if (!destroyed_) SaveAudioStyleNow();
    });
  }
  styleSave_->start(kStyleSaveDelayMs);
}

void CMainWnd::OpenAudioStyleWindow() {
  if (audioStyleOpen_) return;
  audioStyleOpen_ = true;
  AudioStyle style = audioStyle_->Style();
  const int code = CMusicWnd::Open(this, dpi_, style);
  audioStyleOpen_ = false;
  if (code != 1 || destroyed_) return;
  SendStyleColour(style);
  SetAudioStyle(style);
  SaveAudioStyleNow();
}

void CMainWnd::SendStyleColour(const AudioStyle& style) {
  if (!options_.bus) return;
  const auto record = StyleColourRecord(style);
  options_.bus->SendCopyDataTo(kAudioCaptureServiceName, kCopyDataStyleColour,
                               QByteArray(reinterpret_cast<const char*>(record.data()), qsizetype(record.size())));
}

void CMainWnd::SendAudioCaptureCommand(int wParam, int value) {
  if (options_.bus)
    options_.bus->PostTo(kAudioCaptureServiceName, RegisteredMessage::kAudioCaptureMessage, wParam, value);
}

void CMainWnd::CloseAudioCapture() {
  // The companion's closing commands, whoever runs it; it ends with the last.
  for (const int command : {2, 4, 5}) SendAudioCaptureCommand(command, 0);
  audioCompanion_->SetWanted(false);
}

void CMainWnd::WatchMusicEffects() {
  bool wanted = false;
  if (devices_ && lightControl_ && awake_) {
    for (controls::CDevicePageUI* page : devices_->Pages()) {
      if (!page->Device() || devices::PageKindCode(page->Device()->KindCode()) != 1 || !page->IsChannelOpen())
        continue;
      const std::uint8_t mode = page->Device()->GetLightParams().mode;
      wanted = wanted || mode == kMusicLevels || mode == kMusicBands;
    }
  }
  audioCompanion_->SetWanted(wanted);
}

}  // namespace norvane::app
