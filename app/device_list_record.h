#pragma once
// The supported-device list the device-list companion asks for: 1024 bytes of little-endian 32-bit words,
// zero-filled. Words 0 to 3 hold the four fixed bytes 2, 3, 0, 2 (one per word), word 4 the number of
// device pages, then three words per page: vendor id, product id, kind code.

#include <QByteArray>

namespace norvane::app {

inline constexpr int kDeviceListRecordBytes = 1024;

QByteArray BuildDeviceListRecord();

}  // namespace norvane::app
