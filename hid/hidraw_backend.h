#pragma once
// HID nodes of the Linux kernel: /dev/hidraw*, found and watched through libudev.

#include <memory>

#include "hid/hid_backend.h"

namespace norvane::hid {

std::shared_ptr<HidBackend> MakeHidrawBackend();

}  // namespace norvane::hid
