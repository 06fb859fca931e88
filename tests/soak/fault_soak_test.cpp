// The window program under sustained faults: the real window on an emulated keyboard, a mouse through its
// receiver, a mouse pad and a headset, driven through its own controls by a seeded script of a user's
// actions (profile switches, report rates, DPI stages, key functions, lighting effects, colours and
// brightness, equalizer presets, page switches) while the devices refuse, stay silent, answer late or with a
// foreign code, fail writes, are unplugged and plugged again and lose their wireless link, at random moments.
// It prints the run's figures and fails on a UI stall beyond what the faults and the protocol's pauses
// (10 ms before each series' end) explain, or a profile on disk that is damaged or lost a setting that was
// saved. A crash ends the run (and fails it).
#include <gtest/gtest.h>
#include <json/json.h>

#include <QTest>
#include <algorithm>
#include <atomic>
#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <variant>

#include "devices/headset/audio_chip_provider.h"
#include "devices/headset/emulated_audio_chip.h"
#include "devices/mouse/mouse_device.h"
#include "devices/strip/strip_device.h"
#include "editors/mouse_editor.h"
#include "protocol/command_channel.h"
#include "tests/app/window_fixture.h"
#include "tests/soak/soak_parameters.h"
#include "tests/support/stall_meter.h"
#include "uilib/edit.h"
#include "uilib/slider.h"

namespace norvane::app::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using hid::DeviceKind;
using soak::SoakParameters;
using norvane::testing::StallMeter;

constexpr std::uint8_t kReadSettings = 0x05;
constexpr std::uint8_t kEndSeries = 0x02;
// The pause the protocol asks for before each series' end, on the thread that writes the series (the UI
// thread, for what a page writes).
constexpr milliseconds kPauseBeforeEnd{10};

// What the soak does to the devices.
enum class Injected {
  kRefuse,
  kRefuseAlt,
  kNoReply,
  kLateReply,
  kStaleReply,
  kForeignCode,
  kWriteFailure,
  kUnplug,
  kLinkDown,
};
constexpr std::array kInjected{Injected::kRefuse,      Injected::kRefuseAlt,    Injected::kNoReply,
                               Injected::kLateReply,   Injected::kStaleReply,   Injected::kForeignCode,
                               Injected::kWriteFailure, Injected::kUnplug,      Injected::kLinkDown};
const char* NameOf(Injected kind) {
  switch (kind) {
    case Injected::kRefuse: return "refusal 0xFF";
    case Injected::kRefuseAlt: return "refusal 0xFE";
    case Injected::kNoReply: return "no reply";
    case Injected::kLateReply: return "late reply";
    case Injected::kStaleReply: return "stale reply";
    case Injected::kForeignCode: return "foreign code";
    case Injected::kWriteFailure: return "write failure";
    case Injected::kUnplug: return "unplug and replug";
    case Injected::kLinkDown: return "link down and up";
  }
  return "?";
}

// A place in a profile document: member names and array indexes.
using JsonPath = std::vector<std::variant<std::string, int>>;
Json::Value At(const Json::Value& document, const JsonPath& path) {
  const Json::Value* value = &document;
  for (const auto& step : path) {
    if (const auto* name = std::get_if<std::string>(&step)) {
      if (!value->isObject() || !value->isMember(*name)) return Json::Value();
      value = &(*value)[*name];
    } else {
      const int index = std::get<int>(step);
      if (!value->isArray() || Json::ArrayIndex(index) >= value->size()) return Json::Value();
      value = &(*value)[Json::ArrayIndex(index)];
    }
  }
  return *value;
}
std::string Text(const JsonPath& path) {
  std::string text;
  for (const auto& step : path)
    text += "/" + (std::holds_alternative<int>(step) ? std::to_string(std::get<int>(step)) : std::get<std::string>(step));
  return text;
}

// A file parsed as strictly as JSON is written; nullopt when it is not whole, valid JSON.
std::optional<Json::Value> ParseStrictly(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  Json::CharReaderBuilder builder;
  Json::CharReaderBuilder::strictMode(&builder.settings_);
  Json::Value document;
  std::string errors;
  if (!Json::parseFromStream(builder, in, &document, &errors)) return std::nullopt;
  return document;
}

class FaultSoakTest : public WindowOnEmulatorTest {
 protected:
  FaultSoakTest() {
    models_ = {DeviceModel::kKeyboard, DeviceModel::kMouseReceiver, DeviceModel::kMousePad, DeviceModel::kHeadset};
  }

  void SetUp() override {
    WindowOnEmulatorTest::SetUp();
    if (HasFatalFailure()) return;
    devices_ = {KeyboardId(), *backend_->FindDevice(DeviceModel::kMouseReceiver),
                *backend_->FindDevice(DeviceModel::kMousePad), *backend_->FindDevice(DeviceModel::kHeadset)};
    ASSERT_TRUE(QTest::qWaitFor([&] { return AllReady(); }, 10000)) << "every page synchronised";
    // Two profiles each on the keyboard and the mouse, so that there is something to switch between.
    for (DeviceKind kind : {DeviceKind::kKeyboard, DeviceKind::kMouse})
      ASSERT_TRUE(PageOfKind(kind)->ProfileBar()->AddProfile().done());
    BuildScript();
    backend_->SetFrameListener([this](const emulator::LoggedFrame& frame) {
      const bool readsActiveProfile = frame.direction == emulator::FrameDirection::kToDevice &&
                                      frame.bytes[3] == kReadSettings && frame.bytes[4] == 1 && frame.bytes[5] == 0 &&
                                      frame.bytes[6] == 0;
      if (readsActiveProfile && frame.device >= 0 && std::size_t(frame.device) < liveReads_.size())
        ++liveReads_[std::size_t(frame.device)];
      if (frame.direction == emulator::FrameDirection::kToDevice && frame.bytes[3] == kEndSeries) ++seriesEnded_;
    });
  }
  void TearDown() override {
    if (backend_) backend_->SetFrameListener({});
    WindowOnEmulatorTest::TearDown();
  }

  // --- the devices and their pages ---

  static constexpr std::array kKinds{DeviceKind::kKeyboard, DeviceKind::kMouse, DeviceKind::kMousePad,
                                     DeviceKind::kHeadset};
  // The emulated device behind a page kind (same order as kKinds).
  emulator::DeviceId DeviceOf(DeviceKind kind) const {
    return devices_[std::size_t(std::find(kKinds.begin(), kKinds.end(), kind) - kKinds.begin())];
  }
  milliseconds TimeLimitOf(emulator::DeviceId device) const {
    return backend_->ModelOf(device) == DeviceModel::kMouseReceiver ? protocol::CommandChannel::kReceiverTimeLimit
                                                                     : protocol::CommandChannel::kWiredTimeLimit;
  }
  // What one unanswered command costs: the channel waits for its reply twice (the first reply may be an
  // earlier command's, which it skips), each time for the link's limit.
  milliseconds UnansweredCostOf(emulator::DeviceId device) const { return 2 * TimeLimitOf(device); }
  controls::CDevicePageUI* Usable(DeviceKind kind) const {
    controls::CDevicePageUI* page = PageOfKind(kind);
    return page && TabVisible(page) ? page : nullptr;
  }
  // What keeps a page from being ready (empty when it is): its tab shown and its last read of the device
  // answered.
  std::string NotReadyBecause(DeviceKind kind) const {
    controls::CDevicePageUI* page = PageOfKind(kind);
    if (!page) return "no page";
    if (!TabVisible(page)) return "its tab is hidden";
    const auto liveRead = [](int result) {
      return result == 1 ? std::string() : "the last live read gave " + std::to_string(result);
    };
    if (auto* mouse = dynamic_cast<devices::CNorvaneMouseDevice*>(page->Device()))
      return liveRead(mouse->LastLiveReadResult());
    if (auto* keyboard = dynamic_cast<devices::CNorvaneKeyboardDevice*>(page->Device()))
      return liveRead(keyboard->LastLiveReadResult());
    auto* strip = dynamic_cast<devices::CStripDevice*>(page->Device());
    if (!strip) return "an unknown page";
    return strip->LastSyncResult() == devices::SyncResult::kDone
               ? ""
               : "its last synchronisation gave " + std::to_string(int(strip->LastSyncResult()));
  }
  bool Ready(DeviceKind kind) const { return NotReadyBecause(kind).empty(); }
  std::string NotReady() const {
    std::string text;
    for (DeviceKind kind : kKinds) {
      const std::string why = NotReadyBecause(kind);
      if (why.empty()) continue;
      text += "\n  kind " + std::to_string(int(kind)) + ": " + why +
              (backend_->IsPlugged(DeviceOf(kind)) ? " (plugged)" : " (unplugged)");
    }
    return text;
  }
  bool AllReady() const {
    return std::all_of(kKinds.begin(), kKinds.end(), [&](DeviceKind kind) { return Ready(kind); });
  }
  void WaitForMouseWrites() {
    QTest::qWait(editors::CMouseEditor::kSettleMs * 2);
    if (controls::CDevicePageUI* page = PageOfKind(DeviceKind::kMouse))
      if (auto* mouse = dynamic_cast<devices::CNorvaneMouseDevice*>(page->Device())) mouse->WaitForSettingsWrites();
  }

  // --- what the user does ---

  struct Action {
    const char* name;
    DeviceKind kind;
    std::function<void(controls::CDevicePageUI*)> run;
  };

  int Pick(int lowest, int highest) { return std::uniform_int_distribution<int>(lowest, highest)(random_); }

  // Remembers a value the window reported as saved in the page's current profile. A setting the device
  // also holds (`readBack`) is taken from the device again when the page reads its live settings (after a
  // replug, a link regained, a reopened channel): only a save after the last such read must be on disk.
  // A choice the page does not show afterwards was not taken (a headset whose audio chip is not there yet
  // puts its option back): what the profile holds for it is then not known to the soak any more.
  void Saved(controls::CDevicePageUI* page, bool shown, const JsonPath& path, Json::Int64 value,
             bool readBack = false) {
    const std::filesystem::path file = page->Device()->CurrentProfileFile();
    const std::pair key{file.string(), Text(path)};
    if (!shown) {
      saved_.erase(key);
      return;
    }
    const emulator::DeviceId device = DeviceOf(page->Device()->Kind());
    // Whether the file held the value at once tells a save that never reached it from one undone later.
    const std::optional<Json::Value> document = ParseStrictly(file);
    const Json::Value onDisk = document ? At(*document, path) : Json::Value();
    const bool landed = onDisk.isIntegral() && onDisk.asInt64() == value;
    saved_[key] = {file, path, value, device, readBack, liveReads_[std::size_t(device)].load(), landed, when_};
  }
  // Selects an option as a click does; whether it shows selected afterwards.
  bool Choose(controls::CDevicePageUI* page, const std::string& name) {
    Select(page, name.c_str());
    auto* option = dynamic_cast<ui::COptionUI*>(InPage(page, name.c_str()));
    return option && option->IsSelected();
  }
  void Notify(controls::CDevicePageUI* page, const char* type, const char* name, ui::WPARAM wParam = 0) {
    ui::CControlUI* control = InPage(page, name);
    ASSERT_NE(control, nullptr) << name;
    ui::TNotifyUI msg{type, control, wParam, 0};
    window_->Notify(msg);
  }
  // Chooses an item as a user does; whether the combo shows it afterwards.
  static bool ChooseInCombo(ui::CComboUI* combo, int item) {
    if (combo == nullptr || item >= combo->GetCount() || !combo->SelectItem(item, false, true)) return false;
    QTest::qWait(5);
    return combo->GetCurSel() == item;
  }
  ui::CComboUI* ComboIn(controls::CDevicePageUI* page, const char* name) const {
    return dynamic_cast<ui::CComboUI*>(InPage(page, name));
  }

  void SwitchProfile(controls::CDevicePageUI* page) {
    auto* combo = dynamic_cast<ui::CComboUI*>(page->ProfileBar()->FindSubControl("device_profile_combo"));
    ASSERT_NE(combo, nullptr);
    const int chosen = Pick(0, std::max(0, combo->GetCount() - 1));
    combo->SelectItem(chosen, false, false);
    ui::TNotifyUI msg{ui::DUI_MSGTYPE_ITEMSELECT, combo, ui::WPARAM(chosen), 0};
    window_->Notify(msg);
  }
  void ChooseEffect(controls::CDevicePageUI* page, int highest) {
    Select(page, "deng_Op_tab");
    const int mode = Pick(1, highest);
    const bool shown = ChooseInCombo(ComboIn(page, "light_combo_modeSelect"), mode);
    Saved(page, shown, {"Device", 0, "LightInfo", "SelectItem"}, mode, true);
  }
  void MoveBrightness(controls::CDevicePageUI* page) {
    Select(page, "deng_Op_tab");
    const int level = Pick(0, 4);
    Notify(page, ui::DUI_MSGTYPE_MOVEVALUECHANGED, "deng_light_slider", ui::WPARAM(level));
    Saved(page, true, {"Device", 0, "LightInfo", "Light"}, level, true);
  }
  void TypeColour(controls::CDevicePageUI* page) {
    Select(page, "deng_Op_tab");
    static constexpr std::array<std::pair<const char*, const char*>, 3> kChannels{
        {{"deng_edit_R", "Red"}, {"deng_edit_G", "Green"}, {"deng_edit_B", "Blue"}}};
    const auto& [edit, member] = kChannels[std::size_t(Pick(0, 2))];
    const int value = Pick(0, 255);
    auto* field = dynamic_cast<ui::CEditUI*>(InPage(page, edit));
    ASSERT_NE(field, nullptr) << edit;
    field->SetText(QString::number(value));
    Notify(page, ui::DUI_MSGTYPE_KILLFOCUS, edit);
    Saved(page, field->GetText() == QString::number(value), {"Device", 0, "LightInfo", member}, value, true);
  }

  // The report rate's option on the System tab; `saved` is where the kind's profile keeps it.
  void ChooseReportRate(controls::CDevicePageUI* page, const JsonPath& saved) {
    Select(page, "system_Op_tab");
    const int rate = Pick(0, 3);
    Saved(page, Choose(page, "polling_rate_option_" + std::to_string(rate)), saved, rate);
  }

  void BuildScript() {
    using P = controls::CDevicePageUI*;
    script_ = {
        {"keyboard report rate", DeviceKind::kKeyboard,
         [this](P page) { ChooseReportRate(page, {"Device", 0, "SystemStages", "PollingRate"}); }},
        {"keyboard key function", DeviceKind::kKeyboard,
         [this](P page) {
           // Key A becomes volume down or volume up (consumer usages 0xEA, 0xE9), then goes to the keyboard.
           Select(page, "key_Op_tab");
           Click(page, "key_64");
           ui::CComboUI* kinds = ComboIn(page, "keyset_function_combo");
           ASSERT_NE(kinds, nullptr);
           const int media = kinds->FindItemByUserData(QStringLiteral("7"));
           ASSERT_GE(media, 0);
           ChooseInCombo(kinds, media);
           const bool up = Pick(0, 1) == 1;
           const bool shown = ChooseInCombo(ComboIn(page, "keyset_media_combo"), up ? 6 : 5);
           Saved(page, shown, {"Device", 0, "KeyList", 64, "Assignment"}, up ? 0x30E900 : 0x30EA00);
           Click(page, "key_butt_prosave");
         }},
        {"keyboard effect", DeviceKind::kKeyboard, [this](P page) { ChooseEffect(page, 20); }},
        {"keyboard colour", DeviceKind::kKeyboard, [this](P page) { TypeColour(page); }},
        {"keyboard brightness", DeviceKind::kKeyboard, [this](P page) { MoveBrightness(page); }},
        {"keyboard profile", DeviceKind::kKeyboard, [this](P page) { SwitchProfile(page); }},
        {"mouse report rate", DeviceKind::kMouse,
         [this](P page) { ChooseReportRate(page, {"Device", 0, "ReportStages", "StageActive"}); }},
        {"mouse DPI stage", DeviceKind::kMouse,
         [this](P page) {
           Select(page, "system_Op_tab");
           const int stage = Pick(0, 4);
           auto* enabled = dynamic_cast<ui::COptionUI*>(InPage(page, ("DPI_enable_check_" + std::to_string(stage)).c_str()));
           if (enabled && !enabled->IsSelected()) return;
           const bool shown = Choose(page, "DPI_select_check_" + std::to_string(stage));
           Saved(page, shown, {"Device", 0, "DPIStages", "StageActive"}, stage, true);
         }},
        {"mouse profile", DeviceKind::kMouse, [this](P page) { SwitchProfile(page); }},
        {"pad effect", DeviceKind::kMousePad, [this](P page) { ChooseEffect(page, 8); }},
        {"pad brightness", DeviceKind::kMousePad, [this](P page) { MoveBrightness(page); }},
        {"headset equalizer", DeviceKind::kHeadset,
         [this](P page) {
           Select(page, "6533_voice_Op_tab");
           const int preset = Pick(1, 12);
           const bool shown = Choose(page, "6533_eq_option_" + std::to_string(preset));
           Saved(page, shown, {"Device", 0, "SystemSetStages", "EqType"}, preset);
         }},
        {"headset effect", DeviceKind::kHeadset, [this](P page) { ChooseEffect(page, 8); }},
    };
  }

  // One of the script's actions whose page is there; false when none is.
  bool DoSomething() {
    if (Pick(0, 9) == 0) {  // a page switch now and then
      std::vector<controls::CDevicePageUI*> pages;
      for (DeviceKind kind : kKinds)
        if (controls::CDevicePageUI* page = Usable(kind)) pages.push_back(page);
      if (pages.empty()) return false;
      SelectTab(pages[std::size_t(Pick(0, int(pages.size()) - 1))]);
      lastAction_ = "page switch";
      ++actions_[lastAction_];
      return true;
    }
    const Action& action = script_[std::size_t(Pick(0, int(script_.size()) - 1))];
    controls::CDevicePageUI* page = Usable(action.kind);
    if (!page) return false;
    SelectTab(page);
    when_ = "\"" + std::string(action.name) + "\" at " + step_;
    lastAction_ = action.name;
    action.run(page);
    ++actions_[action.name];
    return true;
  }

  // --- what the devices do ---

  // Injects one fault at random; the longest the UI thread may wait on its account: at most one command's
  // whole wait, zero when nothing was injected or the fault is answered at once.
  milliseconds InjectFault(int step) {
    const Injected kind = kInjected[std::size_t(Pick(0, int(kInjected.size()) - 1))];
    emulator::DeviceId device = devices_[std::size_t(Pick(0, int(devices_.size()) - 1))];
    emulator::FaultRule rule;
    rule.skip = Pick(0, 2);
    milliseconds cost{0};
    switch (kind) {
      case Injected::kRefuse:
        rule.kind = emulator::FaultKind::kRefuse;
        rule.refusal_fill = std::uint8_t(Pick(0, 1) * 0xA5);
        break;
      case Injected::kRefuseAlt: rule.kind = emulator::FaultKind::kRefuseAlt; break;
      case Injected::kNoReply:
        rule.kind = emulator::FaultKind::kNoReply;
        cost = UnansweredCostOf(device);
        break;
      case Injected::kLateReply:  // after the host gave up waiting: it arrives ahead of the next reply
        rule.kind = emulator::FaultKind::kLateReply;
        rule.delay = UnansweredCostOf(device) + milliseconds(Pick(10, 1000));
        cost = UnansweredCostOf(device);
        break;
      case Injected::kStaleReply:  // within the time limit, but often after the next request went out
        rule.kind = emulator::FaultKind::kLateReply;
        rule.delay = milliseconds(Pick(5, 300));
        cost = rule.delay;
        break;
      case Injected::kForeignCode:  // skipped as an earlier command's reply; the second wait finds nothing
        rule.kind = emulator::FaultKind::kWrongCommand;
        rule.reply_command = std::array<std::uint8_t, 4>{0x03, 0x05, 0x7E, 0xAA}[std::size_t(Pick(0, 3))];
        cost = UnansweredCostOf(device);
        break;
      case Injected::kWriteFailure:  // the channel is reopened and the page reads the device again
        rule.kind = emulator::FaultKind::kWriteFailure;
        cost = UnansweredCostOf(device);
        break;
      case Injected::kUnplug:
        if (!backend_->IsPlugged(device)) return milliseconds(0);
        backend_->Unplug(device);
        replugAt_[device] = step + Pick(1, 6);
        ++injected_[kind];
        return UnansweredCostOf(device);
      case Injected::kLinkDown:
        device = DeviceOf(DeviceKind::kMouse);
        if (!backend_->IsLinkUp(device)) return milliseconds(0);
        backend_->SetLinkUp(device, false);
        linkUpAt_ = step + Pick(1, 6);
        ++injected_[kind];
        return UnansweredCostOf(device);
    }
    backend_->AddFault(device, rule);
    ++injected_[kind];
    return cost;
  }
  // Ends the unplugs and link losses that are due; the time the UI thread may spend on the devices' return.
  milliseconds RestoreDue(int step) {
    milliseconds cost{0};
    for (auto it = replugAt_.begin(); it != replugAt_.end();) {
      if (it->second > step) {
        ++it;
        continue;
      }
      backend_->Plug(it->first, Pick(0, 1) ? emulator::NodeNumbering::kFresh : emulator::NodeNumbering::kLowestFree);
      cost += UnansweredCostOf(it->first);
      it = replugAt_.erase(it);
    }
    if (linkUpAt_ && *linkUpAt_ <= step) {
      backend_->SetLinkUp(DeviceOf(DeviceKind::kMouse), true);
      cost += UnansweredCostOf(DeviceOf(DeviceKind::kMouse));
      linkUpAt_.reset();
    }
    return cost;
  }
  void EndAllFaults() {
    for (emulator::DeviceId device : devices_) {
      backend_->ClearFaults(device);
      if (!backend_->IsPlugged(device)) backend_->Plug(device);
    }
    backend_->SetLinkUp(DeviceOf(DeviceKind::kMouse), true);
    replugAt_.clear();
    linkUpAt_.reset();
  }

  // --- one phase of the run ---

  struct PhaseFigures {
    int steps = 0;
    milliseconds longest{0};
    milliseconds longestOwn{0};  // less the protocol's pauses before the series that ended in the step
    std::vector<std::string> overlong;  // steps whose stall went beyond what their faults explain
  };

  // A fault fires within the step that set it (the rules are cleared after each step), but what it costs may
  // reach the UI thread later: a worker that holds the device's command lock while it waits makes every
  // other command of that device wait too. So a fault may explain any stall that begins before its cost has
  // run out after its step; a stall beyond the costs of the faults in flight is the window's own doing.
  PhaseFigures RunPhase(Clock::duration length, bool faults, milliseconds quiet) {
    PhaseFigures figures;
    const Clock::time_point end = Clock::now() + length;
    inFlight_.clear();
    for (int step = 0; Clock::now() < end && !HasFatalFailure(); ++step) {
      step_ = "step " + std::to_string(step) + (faults ? " with faults" : " without faults");
      meter_.Restart();
      const Clock::time_point stepStart = Clock::now();
      const int endedBefore = seriesEnded_.load();
      milliseconds cost{0};
      if (faults) {
        cost += RestoreDue(step);
        if (Pick(0, 2) == 0) cost += InjectFault(step);
      }
      const bool done = DoSomething();
      QTest::qWait(Pick(2, 30));
      const milliseconds stall = meter_.Longest();
      if (faults) {
        for (emulator::DeviceId device : devices_) backend_->ClearFaults(device);
      }
      if (cost > milliseconds(0)) inFlight_.push_back({Clock::now() + cost, cost});
      std::erase_if(inFlight_, [&](const InFlight& fault) { return fault.until < stepStart; });
      // A step whose writes end series waits the protocol's pause before each end: that much is the
      // protocol's, not the window's.
      const milliseconds pauses = kPauseBeforeEnd * (seriesEnded_.load() - endedBefore);
      milliseconds allowed = quiet + pauses;
      for (const InFlight& fault : inFlight_) allowed += fault.cost;
      figures.longestOwn = std::max(figures.longestOwn, std::max(milliseconds(0), stall - pauses));
      if (stall > allowed) {
        std::ostringstream what;
        what << "step " << step << " (" << (done ? lastAction_ : std::string("nothing to do")) << "): " << stall.count()
             << " ms stall, " << allowed.count() << " ms allowed";
        figures.overlong.push_back(what.str());
      }
      figures.longest = std::max(figures.longest, stall);
      figures.steps += done ? 1 : 0;
      if (!done) QTest::qWait(20);  // every page is away: let the devices come back
    }
    return figures;
  }

  // --- what is on disk ---

  struct DiskFigures {
    int files = 0;
    std::vector<std::string> damaged;
    int checked = 0;
    int retaken = 0;  // settings the device gave back when its live settings were read again
    std::vector<std::string> lost;
  };
  DiskFigures CheckDisk() const {
    DiskFigures figures;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(data_.path())) {
      std::string extension = entry.path().extension().string();
      std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
      if (!entry.is_regular_file() || extension != ".json") continue;
      ++figures.files;
      if (!ParseStrictly(entry.path())) figures.damaged.push_back(entry.path().string());
    }
    for (const auto& [key, saved] : saved_) {
      if (saved.readBack && liveReads_[std::size_t(saved.device)].load() > saved.liveReadsBefore) {
        ++figures.retaken;
        continue;
      }
      ++figures.checked;
      const std::optional<Json::Value> document = ParseStrictly(saved.file);
      const Json::Value value = document ? At(*document, saved.path) : Json::Value();
      if (!value.isIntegral() || value.asInt64() != saved.value) {
        std::ostringstream what;
        what << saved.file.filename().string() << Text(saved.path) << ": saved " << saved.value << " by " << saved.when << " ("
             << (saved.landed ? "on disk right after its save" : "not on disk even right after its save")
             << "), on disk at the end " << (value.isNull() ? std::string("nothing") : value.toStyledString());
        figures.lost.push_back(what.str());
      }
    }
    return figures;
  }

  struct SavedSetting {
    std::filesystem::path file;
    JsonPath path;
    Json::Int64 value = 0;
    emulator::DeviceId device = 0;
    bool readBack = false;
    int liveReadsBefore = 0;
    bool landed = false;
    std::string when;  // the action and its step
  };

  std::shared_ptr<devices::headset::EmulatedAudioChip> chip_ = std::make_shared<devices::headset::EmulatedAudioChip>();
  devices::headset::ScopedAudioChipSource source_{[this](const std::string&) {
    return std::vector<std::shared_ptr<devices::headset::AudioChip>>{chip_};
  }};
  std::vector<emulator::DeviceId> devices_;
  std::vector<Action> script_;
  std::mt19937 random_;
  StallMeter meter_;
  std::map<std::string, int> actions_;
  std::map<Injected, int> injected_;
  std::map<emulator::DeviceId, int> replugAt_;
  std::optional<int> linkUpAt_;
  std::map<std::pair<std::string, std::string>, SavedSetting> saved_;
  // Where the script is, for the report of a lost setting.
  std::string step_;
  std::string when_;
  std::string lastAction_;
  // Live-settings reads per device (the read of the active profile byte that starts them), counted as the
  // frames go out.
  std::array<std::atomic<int>, 4> liveReads_{};
  std::atomic<int> seriesEnded_{0};  // command series ended on any device, counted as their end goes out
  struct InFlight {
    Clock::time_point until;
    milliseconds cost;
  };
  std::vector<InFlight> inFlight_;
};

std::string Listed(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size() && i < 10; ++i) text += "\n  " + lines[i];
  if (lines.size() > 10) text += "\n  ... " + std::to_string(lines.size() - 10) + " more";
  return text;
}

TEST_F(FaultSoakTest, TheWindowStaysResponsiveAndKeepsEverySavedSettingUnderDeviceFaults) {
  const SoakParameters parameters = SoakParameters::FromEnvironment();
  random_.seed(parameters.seed);
  const Clock::duration quietLength = std::max<Clock::duration>(parameters.duration / 5, std::chrono::seconds(3));
  const Clock::duration faultLength = parameters.duration - quietLength;

  const PhaseFigures faulted = RunPhase(faultLength, true, parameters.quiet_stall);
  ASSERT_FALSE(HasFatalFailure());
  // Every device back and answering before the phase without faults.
  EndAllFaults();
  if (!QTest::qWaitFor([&] { return AllReady(); }, 15000)) {
    // A first synchronisation that met a fault says so on its page and asks the user to replug the device;
    // the user does.
    for (DeviceKind kind : kKinds) {
      controls::CDevicePageUI* page = Usable(kind);
      if (Ready(kind) || !page || page->SyncNoticeTextId().isEmpty()) continue;
      std::printf("  replugged as its page asks (%s): kind %d\n", page->SyncNoticeTextId().toUtf8().constData(),
                  int(kind));
      backend_->Unplug(DeviceOf(kind));
      QTest::qWait(200);
      backend_->Plug(DeviceOf(kind));
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return AllReady(); }, 15000))
        << "every page back after the faults; not back:" << NotReady();
  }
  WaitForMouseWrites();
  QTest::qWait(300);
  const PhaseFigures quiet = RunPhase(quietLength, false, parameters.quiet_stall);
  ASSERT_FALSE(HasFatalFailure());
  WaitForMouseWrites();
  QTest::qWait(500);  // a settled slider's write and its save
  const DiskFigures disk = CheckDisk();

  int actions = 0;
  std::string actionList;
  for (const auto& [name, count] : actions_) {
    actions += count;
    actionList += "\n    " + name + ": " + std::to_string(count);
  }
  int faults = 0;
  std::string faultList;
  for (Injected kind : kInjected) {
    faults += injected_[kind];
    faultList += "\n    " + std::string(NameOf(kind)) + ": " + std::to_string(injected_[kind]);
  }
  std::printf(
      "fault soak: %lld s, seed %u\n"
      "  actions done: %d%s\n"
      "  faults injected: %d%s\n"
      "  crashes: 0\n"
      "  longest UI stall with faults: %lld ms (allowed: %lld ms plus the cost of each fault in flight, an "
      "unanswered command %lld ms wired, %lld ms through the receiver); steps beyond: %zu\n"
      "  longest UI stall without faults: %lld ms, %lld ms of it the window's own (limit %lld ms beyond the "
      "protocol's %lld ms pause before each series' end); steps beyond: %zu\n"
      "  profiles on disk: %d JSON files, %zu damaged; %d last saved settings checked, %zu lost (%d more "
      "taken from the device again after their save)\n",
      static_cast<long long>(parameters.duration.count()), parameters.seed, actions, actionList.c_str(), faults,
      faultList.c_str(), static_cast<long long>(faulted.longest.count()),
      static_cast<long long>(parameters.quiet_stall.count()),
      static_cast<long long>(2 * protocol::CommandChannel::kWiredTimeLimit.count()),
      static_cast<long long>(2 * protocol::CommandChannel::kReceiverTimeLimit.count()), faulted.overlong.size(),
      static_cast<long long>(quiet.longest.count()), static_cast<long long>(quiet.longestOwn.count()),
      static_cast<long long>(parameters.quiet_stall.count()), static_cast<long long>(kPauseBeforeEnd.count()),
      quiet.overlong.size(), disk.files, disk.damaged.size(), disk.checked, disk.lost.size(), disk.retaken);
  std::fflush(stdout);

  EXPECT_GT(faulted.steps, 0);
  EXPECT_GT(quiet.steps, 0);
  EXPECT_TRUE(faulted.overlong.empty()) << "UI stalls beyond the faults' time limits:" << Listed(faulted.overlong);
  EXPECT_TRUE(quiet.overlong.empty()) << "UI stalls without faults:" << Listed(quiet.overlong);
  EXPECT_TRUE(disk.damaged.empty()) << "damaged files:" << Listed(disk.damaged);
  EXPECT_TRUE(disk.lost.empty()) << "saved settings not on disk:" << Listed(disk.lost);
}

}  // namespace
}  // namespace norvane::app::test
