#pragma once
// HidDevice: one HID top-level collection, opened or not. The only way the rest of the program reaches HID
// interfaces. Paths name one collection of one node, shaped like
//   /dev/hidraw3#vid_320f&pid_5055&mi_01&col04#1-2.3:1.1
// so that the path parse functions read vendor, product, interface and collection numbers from the text.
//
// PUBLIC CONTRACT (fixed; the implementation below the public section is the hid layer's own):
// results are 1 for success and 0 for failure unless stated.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "hid/hid_backend.h"

namespace norvane::hid {

inline constexpr uint32_t kInfinite = 0xFFFFFFFFu;  // time limit that never expires

struct HidAttributes {
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t version = 0;
};

struct HidCaps {
  uint16_t usage = 0;
  uint16_t usage_page = 0;
  uint16_t input_report_byte_length = 0;
  uint16_t output_report_byte_length = 0;
  uint16_t feature_report_byte_length = 0;
  uint16_t number_input_button_caps = 0;
  uint16_t number_input_value_caps = 0;
  uint16_t number_output_button_caps = 0;
  uint16_t number_output_value_caps = 0;
  uint16_t number_feature_button_caps = 0;
  uint16_t number_feature_value_caps = 0;
};

enum class ReportType { kInput = 0, kOutput = 1, kFeature = 2 };

// One decoded item of one report type (a button capability, or one usage of a value capability).
struct HidUsageData {
  bool is_button = false;
  uint16_t usage_page = 0;
  uint32_t status = 0x00110000;  // success
  uint32_t report_id = 0;
  bool is_set = false;
  // Button item.
  uint32_t usage_min = 0;
  uint32_t usage_max = 0;
  uint32_t max_usage_count = 0;
  std::vector<uint16_t> usages;  // pressed usages, 0 after the last one when not full
  // Value item.
  uint16_t usage = 0;
  uint32_t raw_value = 0;
  int32_t scaled_value = 0;
};

class HidDevice {
 public:
  HidDevice();
  ~HidDevice();
  HidDevice(const HidDevice&) = delete;
  HidDevice& operator=(const HidDevice&) = delete;

  // Path list.
  int EnumerateInterfaces();
  const std::string* NextInterfacePath();  // nullptr at the end or without a list
  void ClearInterfacePaths();
  size_t InterfacePathCount() const;

  // Opening.
  int Open(std::string_view path, bool read_access, bool write_access, bool overlapped, bool exclusive);
  void Close();  // safe from another thread while a transfer waits; safe on a closed record
  bool IsOpen() const;
  // Why the last Open failed (kNone after a success).
  OpenError LastOpenError() const;

  // Transfers. `bytes` may be null. Time limit in milliseconds, kInfinite allowed.
  int ReadReport(std::span<uint8_t> buffer, uint32_t* bytes_read, uint32_t timeout_ms);
  int WriteReport(std::span<const uint8_t> buffer, uint32_t* bytes_written, uint32_t timeout_ms);
  // Sends one output report through the control pipe instead of the interrupt pipe (the headset's LED
  // reports). Same rules and results as WriteReport.
  int SetOutputReport(std::span<const uint8_t> report, uint32_t timeout_ms);

  // What an open interface tells.
  const std::string& Path() const;
  const HidAttributes& Attributes() const;
  const HidCaps& Caps() const;
  std::span<uint8_t> ReportBuffer(ReportType type);
  std::span<HidUsageData> UsageData(ReportType type);
  uint32_t InterfaceNumber() const;
  uint32_t CollectionNumber() const;

  // Decodes `report` into the items of `type` whose report id equals report[0].
  int DecodeInputReport(std::span<const uint8_t> report, ReportType type);

 private:
  struct State;
  int SendOutput(std::span<const uint8_t> buffer, uint32_t* bytes_written, uint32_t timeout_ms,
                 bool control_pipe);
  std::unique_ptr<State> state_;
};

// Numbers carried by a path's text; 0 when the marker is absent. Markers are matched regardless of case.
uint16_t ParseVendorId(std::string_view path);
uint16_t ParseProductId(std::string_view path);
uint16_t ParseInterfaceNumber(std::string_view path);
uint16_t ParseCollectionNumber(std::string_view path);

// One line for the user when a device could not be opened for lack of permission, naming the udev rule.
std::string PermissionHint();

}  // namespace norvane::hid
