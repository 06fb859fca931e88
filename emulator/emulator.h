#pragma once
// The in-process emulator of our devices: a HidBackend whose nodes are simulated keyboards, mice, mouse pads,
// headsets and 2.4 GHz receivers. It is test support and the program's demo mode ("--emulate LIST" or the
// environment variable NORVANE_EMULATE).
//
// Each emulated device shows the USB identity and the report descriptors of the real hardware and runs a
// firmware model that answers the 64-byte command frames from its own memory. The firmware is written from
// the device's side of the protocol only, so a host that builds a frame wrongly gets a refusal, a wrong
// answer or silence, just as from the hardware. Memory starts as the device leaves the factory; in the demo
// mode it is kept in a file between runs (KeepMemoryIn), as a device keeps its flash.
//
// Firmware answers, as the hardware gives them:
//   - reply = the request echoed (command code, length, offset), status in byte 7, read data from byte 8,
//     checksum of bytes 3 to 63 in bytes 1 and 2;
//   - status 0x01 = done; 0xFF = refused (command the device does not have, length above 56 or, through a
//     receiver, above 24 except for the recoil block, an address range outside the memory area, a key-table
//     page other than 0, a request whose status byte is not 0, a link query 0xAA on the device's own cable);
//     0xFE = refused because the request's checksum does not match its bytes 3 to 63;
//   - the headset knows only 0x01, 0x02, 0x05, 0x06 and 0x1A;
//   - a frame with another report id or length is not answered at all;
//   - a receiver whose wireless link is down answers every command with command code 0xAA, payload byte 0 =
//     0x00; the link query 0xAA answers payload byte 0 = 0xFF while the link is up.
// A device reached through its receiver shares its memory with the wired device of the same list (the n-th
// receiver of a family with the n-th wired device of that family; a receiver without a partner has its own).
//
// Thread safety: every member is safe to call from any thread. Connections follow HidNodeConnection: one
// reader thread per connection, writes from any thread, Wake() from any thread.

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "hid/hid_backend.h"

namespace norvane::emulator {

enum class DeviceModel {
  kKeyboard,          // 320F:5055, wired keyboard
  kKeyboardReceiver,  // 320F:50EC, the keyboard's 2.4 GHz receiver
  kMouse,             // 320F:50EF, wired mouse
  kMouseReceiver,     // 320F:221D, the mouse's 2.4 GHz receiver
  kMousePad,          // 320F:1004, lighted mouse pad with phone-charging surface
  kHeadset,           // 0C76:1630, headset on the 6533 audio chip (HID interface 3)
};

// "keyboard", "keyboard-receiver", "mouse", "mouse-receiver", "mousepad", "headset".
std::string_view DeviceModelName(DeviceModel model);

// Parses a comma-separated device list such as "keyboard,mouse-receiver". Names are matched without regard to
// case; blanks around names are ignored; a name may repeat. nullopt for an empty list or an unknown name,
// with a message naming the culprit and the known names in `error` (when given).
std::optional<std::vector<DeviceModel>> ParseDeviceList(std::string_view list, std::string* error = nullptr);

// The value of NORVANE_EMULATE, nullopt when the variable is unset.
std::optional<std::string> EmulateListFromEnvironment();

// Index of a device in the list the backend was created from; stays valid across unplug and replug.
using DeviceId = int;

// The memory areas of a device's firmware (what the command set reads and writes).
enum class MemoryArea {
  kInfo,           // 34-byte information block (0x03)
  kSettings,       // settings area (0x05 / 0x06); byte 0 = active profile number
  kKeyTable,       // key assignment table, 512 bytes (0x07 / 0x09)
  kKeyTableExtra,  // second key table, 512 bytes (0x1B / 0x27)
  kLightMask,      // per-key light mask records (0x0B, offset = record index x 3)
  kMacros,         // macro block (0x15), 128 x information byte 6 bytes
  kRecoil,         // recoil ("shoot") block (0x17)
  kStatus,         // 6-byte wireless status (0x1A)
  kLightStream,    // last streamed lighting frame (0x12); on the headset the 17-byte lighting output reports
};

enum class FaultKind {
  kRefuse,        // status 0xFF, request not carried out
  kRefuseAlt,     // status 0xFE, request not carried out
  kNoReply,       // request carried out, no reply sent
  kLateReply,     // request carried out, reply sent `delay` later or when the next request is written,
                  // whichever comes first (then ahead of that request's reply: a stale reply)
  kWrongCommand,  // request carried out, reply carries `reply_command` in byte 3
  kWriteFailure,  // the write itself fails; the device sees nothing and the frame log shows nothing
};
// While a receiver's link is down it answers 0xAA whatever the refusal faults say; the timing faults still
// apply to that answer.

// A fault applied to the command frames written to one device. Per command code when `command` is set, per
// frame otherwise (`skip` picks the frame: 0 = the next one).
struct FaultRule {
  FaultKind kind = FaultKind::kNoReply;
  std::optional<uint8_t> command = std::nullopt;  // only frames carrying this command code
  int skip = 0;                                   // let this many matching frames pass unharmed first
  int times = 1;                          // matching frames hit after the skipped ones; 0 = until cleared
  std::chrono::milliseconds delay{2000};  // kLateReply
  uint8_t reply_command = 0x00;           // kWrongCommand
  // kRefuse, kRefuseAlt: what the refusal's payload bytes hold; a firmware may leave its reply buffer as it
  // was instead of clearing it.
  uint8_t refusal_fill = 0x00;
};

enum class FrameDirection { kToDevice, kToHost };

// One command frame on the wire.
struct LoggedFrame {
  FrameDirection direction = FrameDirection::kToDevice;
  DeviceId device = 0;
  std::string node_id;
  std::array<uint8_t, 64> bytes{};
  std::chrono::steady_clock::time_point at;
};

// What the firmware did besides memory (for tests).
struct FirmwareCounters {
  int begin_count = 0;               // 0x01 frames accepted
  int end_count = 0;                 // 0x02 frames accepted
  bool session_open = false;         // between an accepted 0x01 and 0x02
  bool light_control_taken = false;  // set by 0x1C
  int stream_frames = 0;             // 0x12 frames accepted
};

// How a replugged device's nodes are numbered: the lowest free numbers (as the kernel does, so a number may
// be reused), or numbers above every number handed out so far.
enum class NodeNumbering { kLowestFree, kFresh };

// Builds of the mouse other than the factory's, for tests and the demo mode: another sensor (lowest DPI
// 200, 50 DPI per slider position, 116 positions) and a mouse that has all eleven buttons of the mouse page.
enum class MouseFixture { kFactory, kOtherSensor, kElevenButtons };

class EmulatorCore;  // the shared state behind the backend and its connections

class EmulatorBackend : public hid::HidBackend {
 public:
  // Every device of the list starts plugged in, numbered in list order.
  explicit EmulatorBackend(std::span<const DeviceModel> devices);
  // From a device list text; nullptr with a message in `error` when the list does not parse.
  static std::shared_ptr<EmulatorBackend> FromList(std::string_view list, std::string* error = nullptr);
  ~EmulatorBackend() override;
  EmulatorBackend(const EmulatorBackend&) = delete;
  EmulatorBackend& operator=(const EmulatorBackend&) = delete;

  // HidBackend.
  std::optional<std::vector<hid::HidNodeInfo>> Enumerate() override;
  std::unique_ptr<hid::HidNodeConnection> Open(const std::string& node_id, const hid::HidNodeInfo* expected,
                                               hid::OpenError& error) override;
  std::unique_ptr<hid::HotplugSubscription> WatchHotplug(std::function<void()> on_change) override;

  // The devices.
  size_t DeviceCount() const;
  DeviceModel ModelOf(DeviceId device) const;
  std::optional<DeviceId> FindDevice(DeviceModel model, int nth = 0) const;
  // Node id of the device's HID interface with that number while plugged in ("emu/hidrawN"). The command and
  // event collections sit on interface 1 (interface 3 on the headset).
  std::optional<std::string> NodeId(DeviceId device, int interface_number) const;
  std::optional<std::string> CommandNodeId(DeviceId device) const;

  // Plugging. Open connections of an unplugged device report kGone and fail their writes, also after a
  // replug (a replugged device has new nodes). Each change notifies the hotplug listeners.
  void Unplug(DeviceId device);
  void Plug(DeviceId device, NodeNumbering numbering = NodeNumbering::kLowestFree);
  bool IsPlugged(DeviceId device) const;

  // Wireless link of a receiver (ignored for wired devices). Receivers start with the link up.
  void SetLinkUp(DeviceId receiver, bool up);
  bool IsLinkUp(DeviceId device) const;

  // Sends an event report (a 16-bit consumer usage such as 0x0401) on the device's consumer-control
  // collection. False when the device is unplugged or, for a receiver, its link is down.
  bool InjectEvent(DeviceId device, uint16_t code);
  // Sends any input report (byte 0 = report id, or 0 on an interface without ids) on the device's HID
  // interface with that number, e.g. a key report for routing tests. Same conditions as InjectEvent, and
  // false when the device has no such interface or the report is empty.
  bool InjectInputReport(DeviceId device, int interface_number, std::span<const uint8_t> report);

  // Time between a request and its reply. Zero by default.
  void SetLatency(std::chrono::milliseconds latency);
  void SetLatency(DeviceId device, std::chrono::milliseconds latency);

  void AddFault(DeviceId device, const FaultRule& rule);
  void ClearFaults(DeviceId device);

  // Direct access to firmware memory. Reads return fewer bytes (possibly none) past the end of the area;
  // writes fail when they do not fit.
  std::vector<uint8_t> ReadMemory(DeviceId device, MemoryArea area, size_t offset, size_t length) const;
  bool WriteMemory(DeviceId device, MemoryArea area, size_t offset, std::span<const uint8_t> bytes);
  size_t MemorySize(DeviceId device, MemoryArea area) const;
  FirmwareCounters Counters(DeviceId device) const;

  // Keeps the devices' memory in `file` from one backend to the next, as a real device keeps its flash when
  // it is switched off: loads what the file holds for each device (matched by model and by its rank among
  // the list's devices of that model) into its settings, key tables, light mask, macros and recoil block,
  // and from then on writes the file again after each change to those areas. The information block, the
  // status and the light stream are never stored. An area of another size than the device's stays as it
  // left the factory; a damaged file is set aside ("<file>.malformed") and every device starts from factory
  // memory; what the file holds for devices not in this list stays in it. A device behind a receiver of the
  // list is stored under its wired partner's name. Returns why the file was not used (empty when it was, or
  // when there is none yet), for a one-line diagnostic. Call it before a host opens the devices; without
  // it, no file is read or written.
  [[nodiscard]] std::string KeepMemoryIn(const std::filesystem::path& file);
  // The file is written on a thread of its own, so that no reply waits for the disk. Returns once every
  // change made so far is in the file (or its write failed); the backend's end does the same.
  void FlushMemoryFile();

  // The mouse as its user handles it (mouse_controls.cpp). UseMouseFixture replaces the information block
  // and the key table with those of another build. PressProfileButton switches the mouse to stored profile
  // `profile` (0..3: byte 0 of its settings area) and reports 0x10p; PressDpiButton makes `stage` (0..4) the
  // active profile's DPI stage and reports 0x11sp. Each is false, and changes nothing, for a device that is
  // not a mouse or a number the mouse does not have; the report is not sent while a receiver's link is down.
  void UseMouseFixture(DeviceId mouse, MouseFixture fixture);
  bool PressProfileButton(DeviceId mouse, int profile);
  bool PressDpiButton(DeviceId mouse, int stage);

  // Every command frame both ways, oldest first (the oldest are dropped beyond 100000 frames).
  std::vector<LoggedFrame> FrameLog() const;
  void ClearFrameLog();
  // Called for each frame as it is logged, from the thread that moved it; pass an empty function to stop.
  // The listener must not call back into the backend.
  void SetFrameListener(std::function<void(const LoggedFrame&)> listener);

 private:
  std::shared_ptr<EmulatorCore> core_;
};

// Creates an emulator from a device list and installs it as the active HID backend. nullptr (and nothing
// installed) when the list does not parse.
std::shared_ptr<EmulatorBackend> InstallEmulator(std::string_view list, std::string* error = nullptr);

// Where the demo mode keeps the emulated devices' memory between runs: UserDataFolder() +
// "emulated_devices.txt". Shared by the program and norvanectl; deleting it starts from factory memory.
std::filesystem::path DemoMemoryFile();

}  // namespace norvane::emulator
