// The device host with the scan thread and the emulator: pages and tabs as devices come and go, the
// wired/receiver pairs, faults of the device and of the enumeration, and teardown.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "controls/device_profile.h"
#include "controls/mp_device_power.h"
#include "devices/basic_device.h"
#include "hid/catalogue/device_catalogue.h"
#include "profiles/json_file_util.h"
#include "protocol/commands.h"
#include "tests/pages/page_test_window.h"
#include "uilib/combo.h"

namespace norvane::pages::test {
namespace {

using hid::DeviceKind;
using Steady = std::chrono::steady_clock;

using DeviceHostTest = HostHarness;

TEST_F(DeviceHostTest, StartupPagesAreHiddenAndTheFirstPassRaisesTheWindow) {
  Open({});
  ASSERT_EQ(host_->Pages().size(), 2u);
  EXPECT_EQ(PageOf(DeviceKind::kMouse)->DeviceTab()->TabIndex(), 0)
      << "mouse first, as the catalogue lists it";
  EXPECT_EQ(PageOf(DeviceKind::kKeyboard)->DeviceTab()->TabIndex(), 1);
  EXPECT_EQ(VisibleTabs(), 0);
  EXPECT_TRUE(Strip().noDeviceNotice->IsVisible());
  EXPECT_EQ(Strip().pages->GetCount(), 3) << "placeholder plus two pages";
  EXPECT_EQ(Strip().powerPages->GetCount(), 3);
  host_->CreateStartupPages();
  EXPECT_EQ(host_->Pages().size(), 2u) << "a second call adds nothing";

  host_->StartScan();
  ASSERT_TRUE(WaitFor([&] { return raised_ >= 1; }));
  host_->SetSuspended(true);
  host_->SetSuspended(false);
  QTest::qWait(200);
  EXPECT_EQ(raised_, 1) << "a scan restarted after a suspend does not raise the window again";
}

TEST_F(DeviceHostTest, PluggingAndUnpluggingShowsAndHidesTheTabAtOnce) {
  Open({DeviceModel::kMousePad}, {DeviceModel::kMousePad});
  host_->StartScan();
  ASSERT_TRUE(WaitFor([&] { return raised_ >= 1; }));
  EXPECT_EQ(PageOf(DeviceKind::kMousePad), nullptr) << "the pad's page is made on its first arrival";

  const Steady::time_point plugged = Steady::now();
  backend_->Plug(Device(DeviceModel::kMousePad));
  ASSERT_TRUE(WaitFor([&] { return TabShown(PageOf(DeviceKind::kMousePad)); }, 5000ms));
  EXPECT_LE(Steady::now() - plugged, kHotplugBound);
  controls::CDevicePageUI* pad = PageOf(DeviceKind::kMousePad);
  EXPECT_TRUE(pad->IsChannelOpen());
  EXPECT_FALSE(Strip().noDeviceNotice->IsVisible());
  EXPECT_EQ(host_->CurrentPage(), pad);
  EXPECT_TRUE(WaitFor([&] { return pad->Device()->IsSyncThreadRunning(devices::EventSide::kWired); }))
      << "the pad's event interface went to its page";

  const Steady::time_point unplugged = Steady::now();
  backend_->Unplug(Device(DeviceModel::kMousePad));
  ASSERT_TRUE(WaitFor([&] { return !TabShown(pad); }, 5000ms));
  EXPECT_LE(Steady::now() - unplugged, kHotplugBound);
  EXPECT_FALSE(pad->IsChannelOpen());
  EXPECT_TRUE(Strip().noDeviceNotice->IsVisible());
  EXPECT_EQ(host_->CurrentPage(), nullptr);
  EXPECT_EQ(selectionLosses_, 1) << "the selected device went: child windows close";
}

// The catalogue opens the mouse pad's and the headset's wired interface without a link type: their channels
// keep a new channel's settings (24-byte frames, not wireless), which their firmware expects.
TEST_F(DeviceHostTest, TheMousePadAndTheHeadsetKeepTheLinkOfANewChannel) {
  Open({DeviceModel::kMousePad, DeviceModel::kHeadset});
  host_->StartScan();
  const auto synced = [&](hid::DeviceKind kind) {
    controls::CDevicePageUI* page = PageOf(kind);
    auto* basic = page ? dynamic_cast<devices::CNorvaneBasicDevice*>(page->Device()) : nullptr;
    return TabShown(page) && basic && basic->LastSyncResult() == devices::SyncResult::kDone;
  };
  ASSERT_TRUE(WaitFor([&] { return synced(DeviceKind::kMousePad) && synced(DeviceKind::kHeadset); }));

  // Requests to one device with one command code: (data length, offset) in wire order.
  const auto pieces = [&](emulator::DeviceId device, uint8_t code) {
    std::vector<std::pair<int, int>> found;
    for (const emulator::LoggedFrame& frame : backend_->FrameLog()) {
      if (frame.direction == emulator::FrameDirection::kToDevice && frame.device == device &&
          frame.bytes[3] == code) {
        found.emplace_back(frame.bytes[4], frame.bytes[5] | frame.bytes[6] << 8);
      }
    }
    return found;
  };
  using Pieces = std::vector<std::pair<int, int>>;
  EXPECT_EQ(pieces(Device(DeviceModel::kMousePad), 0x03), (Pieces{{24, 0}, {10, 24}}))
      << "the pad's 34-byte information block in 24-byte frames";

  for (const DeviceKind kind : {DeviceKind::kMousePad, DeviceKind::kHeadset}) {
    protocol::CommandChannel& channel = PageOf(kind)->Device()->CommandChannel();
    EXPECT_FALSE(channel.IsWireless()) << int(kind);
    EXPECT_EQ(channel.PayloadSize(), 24) << int(kind);
  }
  std::array<uint8_t, 31> record{};
  ASSERT_EQ(protocol::CmdReadSettings(PageOf(DeviceKind::kHeadset)->Device()->CommandChannel(), record, 31), 1);
  EXPECT_EQ(pieces(Device(DeviceModel::kHeadset), 0x05), (Pieces{{1, 0}, {24, 31}, {7, 55}}))
      << "the first sync's profile number, then a 31-byte record in 24-byte frames";
}

TEST_F(DeviceHostTest, EachPageWorksOnTheProfileItsBarSelectsAndSwitchesWithIt) {
  Open({});
  controls::CDevicePageUI* keyboard = PageOf(DeviceKind::kKeyboard);
  ASSERT_NE(keyboard, nullptr);
  controls::CDeviceProfileUI* bar = keyboard->ProfileBar();
  ASSERT_NE(bar, nullptr) << "every page layout carries the profile bar";
  devices::CNorvaneUSBDevice& device = *keyboard->Device();
  const std::string first = bar->GetCurrentProfileId().ToUtf8();
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(device.ProfileStem(), first) << "settings go to the selected profile, not nowhere";
  EXPECT_TRUE(std::filesystem::exists(device.CurrentProfileFile())) << "the first profile was made";

  ASSERT_TRUE(bar->AddProfile().done());
  ASSERT_EQ(bar->GetProfileCount(), 2);
  auto* combo = dynamic_cast<ui::CComboUI*>(bar->FindSubControl("device_profile_combo"));
  ASSERT_NE(combo, nullptr);
  combo->SelectItem(1, false);
  EXPECT_TRUE(keyboard->SwitchToChosenProfile());
  const std::string added = device.ProfileStem();
  EXPECT_NE(added, first);
  EXPECT_EQ(bar->GetCurrentProfileId().ToUtf8(), added);
  EXPECT_TRUE(std::filesystem::exists(device.CurrentProfileFile()));
  combo->SelectItem(0, false);
  EXPECT_TRUE(keyboard->SwitchToChosenProfile());
  EXPECT_EQ(device.ProfileStem(), first);
  combo->SelectItem(1, false);
  EXPECT_TRUE(keyboard->SwitchToChosenProfile());

  // The next program start comes back on the profile selected last.
  const Json::Value list = JsonFileUtil().ReadJsonValue(device.UserProfileFolder() / "ProfileList.ini");
  EXPECT_EQ(list["profileselect"].asInt(), 1);
}

TEST_F(DeviceHostTest, TheSameDeviceReplugsIntoItsOwnPageAndTab) {
  Open({DeviceModel::kHeadset});
  host_->StartScan();
  ASSERT_TRUE(WaitFor([&] { return TabShown(PageOf(DeviceKind::kHeadset)); }));
  controls::CDevicePageUI* headset = PageOf(DeviceKind::kHeadset);
  controls::CDeviceOptionUI* tab = headset->DeviceTab();
  ASSERT_TRUE(WaitFor([&] { return headset->Device()->IsLightingThreadRunning(); })) << "first sync ran";
  headset->Device()->SetLightParams({.mode = 3, .brightness = 2, .red = 9});
  const int tabs = Strip().TabCount();

  for (int round = 0; round < 2; ++round) {
    backend_->Unplug(Device(DeviceModel::kHeadset));
    ASSERT_TRUE(WaitFor([&] { return !TabShown(headset); }));
    backend_->Plug(Device(DeviceModel::kHeadset), emulator::NodeNumbering::kFresh);
    ASSERT_TRUE(WaitFor([&] { return TabShown(headset) && headset->IsChannelOpen(); }));
  }
  EXPECT_EQ(PageOf(DeviceKind::kHeadset), headset);
  EXPECT_EQ(headset->DeviceTab(), tab);
  EXPECT_EQ(Strip().TabCount(), tabs);
  EXPECT_EQ(host_->Pages().size(), 3u);
  EXPECT_EQ(headset->Device()->GetLightParams().red, 9) << "the page keeps its settings";
}

TEST_F(DeviceHostTest, ASecondIdenticalMouseIsIgnored) {
  Open({DeviceModel::kMouse, DeviceModel::kMouse});
  host_->StartScan();
  controls::CDevicePageUI* mouse = PageOf(DeviceKind::kMouse);
  ASSERT_TRUE(WaitFor([&] { return TabShown(mouse); }));
  QTest::qWait(200);
  EXPECT_EQ(host_->Pages().size(), 2u);
  EXPECT_EQ(VisibleTabs(), 1);
  const std::vector<hid::InterfaceEntry> entries = host_->Entries();
  const std::string first = backend_->CommandNodeId(Device(DeviceModel::kMouse, 0)).value();
  EXPECT_NE(entries[4].path.find(first), std::string::npos) << "the first mouse keeps the entry";
  EXPECT_EQ(mouse->Device()->CommandChannel().Wired().IsOpen(), true);
}

TEST_F(DeviceHostTest, AHeadsetArrivingBeforeAMousePadGetsItsTabFirst) {
  Open({DeviceModel::kHeadset, DeviceModel::kMousePad}, {DeviceModel::kHeadset, DeviceModel::kMousePad});
  host_->StartScan();
  ASSERT_TRUE(WaitFor([&] { return raised_ >= 1; }));
  backend_->Plug(Device(DeviceModel::kHeadset));
  ASSERT_TRUE(WaitFor([&] { return TabShown(PageOf(DeviceKind::kHeadset)); }));
  backend_->Plug(Device(DeviceModel::kMousePad));
  ASSERT_TRUE(WaitFor([&] { return TabShown(PageOf(DeviceKind::kMousePad)); }));
  EXPECT_EQ(PageOf(DeviceKind::kHeadset)->DeviceTab()->TabIndex(), 2);
  EXPECT_EQ(PageOf(DeviceKind::kMousePad)->DeviceTab()->TabIndex(), 3);
  // Each tab shows its own page and power page.
  for (DeviceKind kind : {DeviceKind::kHeadset, DeviceKind::kMousePad}) {
    controls::CDevicePageUI* page = PageOf(kind);
    controls::CDeviceOptionUI* tab = page->DeviceTab();
    EXPECT_EQ(Strip().pages->GetItemAt(tab->GetBindTabIndex()), page);
    EXPECT_EQ(Strip().powerPages->GetItemAt(tab->GetPowerIndex()), page->PowerPanel());
  }
  EXPECT_EQ(PageOf(DeviceKind::kMousePad)->PowerPanel()->GetKind(), 3);
}

TEST_F(DeviceHostTest, AWiredKeyboardNextToItsReceiverMovesThePageAndBackWithoutASecondTab) {
  Open({DeviceModel::kKeyboardReceiver, DeviceModel::kKeyboard}, {DeviceModel::kKeyboard});
  host_->StartScan();
  controls::CDevicePageUI* keyboard = PageOf(DeviceKind::kKeyboard);
  protocol::CommandChannel& channel = keyboard->Device()->CommandChannel();
  // The receiver's tab shows once the link check finds the keyboard online.
  ASSERT_TRUE(WaitFor([&] { return TabShown(keyboard); }));
  EXPECT_TRUE(channel.IsWireless());
  const int tabs = Strip().TabCount();

  backend_->Plug(Device(DeviceModel::kKeyboard));
  ASSERT_TRUE(WaitFor([&] { return channel.IsOpen() && !channel.IsWireless(); }));
  EXPECT_FALSE(channel.Receiver().IsOpen()) << "the receiver interface is let go";
  EXPECT_TRUE(TabShown(keyboard));
  EXPECT_EQ(settingsClosed_, 1);

  backend_->Unplug(Device(DeviceModel::kKeyboard));
  ASSERT_TRUE(WaitFor([&] { return channel.IsOpen() && channel.IsWireless(); }));
  EXPECT_FALSE(channel.Wired().IsOpen());
  EXPECT_TRUE(TabShown(keyboard));
  EXPECT_EQ(settingsClosed_, 2);
  EXPECT_EQ(Strip().TabCount(), tabs);
  EXPECT_EQ(host_->Pages().size(), 2u);
  EXPECT_EQ(VisibleTabs(), 1);
}

TEST_F(DeviceHostTest, ADeadReceiverStopsTheLinkQueriesAtOnce) {
  Open({DeviceModel::kMouse, DeviceModel::kMouseReceiver});
  host_->StartScan();
  controls::CDevicePageUI* mouse = PageOf(DeviceKind::kMouse);
  protocol::CommandChannel& channel = mouse->Device()->CommandChannel();
  ASSERT_TRUE(WaitFor([&] { return TabShown(mouse) && channel.IsOpen() && !channel.IsWireless(); }));
  channel.SetTimeLimits(200ms, 200ms);
  backend_->AddFault(Device(DeviceModel::kMouseReceiver),
                     {.kind = emulator::FaultKind::kNoReply, .times = 0});
  backend_->ClearFrameLog();

  const Steady::time_point unplugged = Steady::now();
  backend_->Unplug(Device(DeviceModel::kMouse));
  ASSERT_TRUE(WaitFor([&] { return channel.IsWireless(); }));
  // The host returns to the event loop promptly: one silent query, not twenty-six.
  ASSERT_TRUE(WaitFor([&] { return !backend_->FrameLog().empty(); }));
  EXPECT_LT(Steady::now() - unplugged, 1500ms);
  int queries = 0;
  for (const emulator::LoggedFrame& frame : backend_->FrameLog()) {
    if (frame.direction == emulator::FrameDirection::kToDevice && frame.bytes[3] == 0xAA) ++queries;
  }
  EXPECT_EQ(queries, 1);
  EXPECT_FALSE(channel.Wired().IsOpen());
}

TEST_F(DeviceHostTest, AFailedFirstEnumerationStillShowsTheWindowAndTheScanRetries) {
  Open({DeviceModel::kMousePad});
  faulty_->failuresLeft = 3;
  host_->StartScan();
  ASSERT_TRUE(WaitFor([&] { return raised_ >= 1; }));
  EXPECT_TRUE(WaitFor([&] { return TabShown(PageOf(DeviceKind::kMousePad)); }));
  EXPECT_GE(faulty_->enumerations.load(), 4);
}

TEST_F(DeviceHostTest, AnInterfaceWithAMalformedDescriptorIsSkipped) {
  Open({DeviceModel::kMousePad, DeviceModel::kHeadset});
  faulty_->spoiledNode = backend_->CommandNodeId(Device(DeviceModel::kMousePad)).value();
  host_->StartScan();
  ASSERT_TRUE(WaitFor([&] { return TabShown(PageOf(DeviceKind::kHeadset)); }));
  QTest::qWait(200);
  EXPECT_EQ(PageOf(DeviceKind::kMousePad), nullptr);
}

TEST_F(DeviceHostTest, ADeviceUnpluggedDuringItsFirstSyncLeavesAConsistentPageThatTheNextArrivalReuses) {
  Open({DeviceModel::kMousePad});
  const emulator::DeviceId pad = Device(DeviceModel::kMousePad);
  backend_->SetLatency(pad, 150ms);
  host_->StartScan();
  ASSERT_TRUE(WaitFor([&] { return TabShown(PageOf(DeviceKind::kMousePad)); }));
  controls::CDevicePageUI* page = PageOf(DeviceKind::kMousePad);
  page->Device()->CommandChannel().SetTimeLimits(300ms, 300ms);
  // Pulled out between the series' frames; the sync runs on this thread, the unplug on another.
  std::jthread puller([&] {
    while (backend_->Counters(pad).begin_count == 0) std::this_thread::sleep_for(1ms);
    backend_->Unplug(pad);
  });
  ASSERT_TRUE(WaitFor([&] { return !TabShown(page); }, 5000ms));
  puller.join();
  EXPECT_FALSE(page->IsChannelOpen());
  auto* basic = dynamic_cast<devices::CNorvaneBasicDevice*>(page->Device());
  ASSERT_NE(basic, nullptr);
  EXPECT_EQ(basic->LastSyncResult(), devices::SyncResult::kNoReply);
  EXPECT_EQ(page->SyncNoticeTextId(), "device_sync_no_reply");
  ASSERT_EQ(messages_.size(), 1u);

  backend_->SetLatency(pad, 0ms);
  backend_->Plug(pad);
  ASSERT_TRUE(
      WaitFor([&] { return TabShown(page) && basic->LastSyncResult() == devices::SyncResult::kDone; }));
  EXPECT_EQ(PageOf(DeviceKind::kMousePad), page);
  EXPECT_TRUE(page->SyncNoticeTextId().isEmpty()) << "the notice goes once the device answers";
  EXPECT_TRUE(basic->HasDeviceInfo());
}

TEST_F(DeviceHostTest, TeardownLeavesNothingBehind) {
  Open({DeviceModel::kMouse, DeviceModel::kHeadset});
  host_->StartScan();
  ASSERT_TRUE(WaitFor(
      [&] { return TabShown(PageOf(DeviceKind::kHeadset)) && TabShown(PageOf(DeviceKind::kMouse)); }));
  ASSERT_TRUE(WaitFor([&] { return PageOf(DeviceKind::kHeadset)->Device()->IsLightingThreadRunning(); }));
  std::vector<QPointer<controls::CDevicePageUI>> pages;
  for (controls::CDevicePageUI* page : host_->Pages()) pages.emplace_back(page);

  host_->Teardown();
  for (const auto& page : pages) EXPECT_TRUE(page.isNull());
  EXPECT_TRUE(host_->Pages().empty());
  EXPECT_EQ(Strip().TabCount(), 0);
  EXPECT_EQ(Strip().pages->GetCount(), 1) << "only the window's own placeholder";
  EXPECT_EQ(Strip().powerPages->GetCount(), 1);
  EXPECT_TRUE(Strip().noDeviceNotice->IsVisible());
  host_->Teardown();  // twice is harmless
  backend_->Unplug(Device(DeviceModel::kMouse));
  QTest::qWait(150);
  EXPECT_EQ(Strip().TabCount(), 0) << "the scan has stopped";
}

}  // namespace
}  // namespace norvane::pages::test
