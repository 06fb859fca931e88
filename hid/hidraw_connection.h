#pragma once
// One open /dev/hidrawN. Reads wait in poll() on the node and an eventfd, so Wake() ends a wait at once.

#include <memory>

#include "hid/hid_backend.h"
#include "hid/unique_fd.h"

namespace norvane::hid {

class HidrawConnection final : public HidNodeConnection {
 public:
  // Takes an open node; nullptr when the wake-up eventfd cannot be made.
  static std::unique_ptr<HidrawConnection> Create(UniqueFd node);

  bool WriteOutput(std::span<const uint8_t> report) override;
  bool WriteOutputControl(std::span<const uint8_t> report) override;
  bool SetFeature(std::span<const uint8_t> report) override;
  std::optional<size_t> GetFeature(std::span<uint8_t> report) override;
  ReadStatus ReadInput(std::vector<uint8_t>& report, std::chrono::milliseconds timeout) override;
  void Wake() override;

 private:
  HidrawConnection(UniqueFd node, UniqueFd wake) : node_(std::move(node)), wake_(std::move(wake)) {}

  UniqueFd node_;
  UniqueFd wake_;
};

}  // namespace norvane::hid
