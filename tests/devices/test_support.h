#pragma once
// Test support for device pages: a UI thread stand-in that queues posted calls, and the emulator installed
// as the HID backend with helpers to find a device's collection paths.

#include "tests/support/emulator_fixture.h"
#include "tests/support/queue_poster.h"

namespace norvane::devices::testing {

using InstalledEmulator = norvane::testing::ScopedEmulator;

}  // namespace norvane::devices::testing
