/* A stand-in for a headset audio-chip configuration library, loaded by the tests through the program's
 * loader. FakeChipMode picks how it answers: 0 sensibly, 1 a failed start, 2 a negative device count,
 * 3 a huge device count, 4 a feature text without its end. */
#include <stdint.h>
#include <string.h>

#include "devices/headset/audio_chip_sdk.h"

static int mode = 0;
static int32_t muted = 0;

void FakeChipMode(int m) {
  mode = m;
}

int32_t ConfLibInit(void) {
  return mode == 1 ? 5 : 0;
}

int32_t CreateDeviceList(void) {
  return 0;
}

int32_t GetDeviceCount(int32_t direction, int32_t* count) {
  (void)direction;
  *count = mode == 2 ? -4 : mode == 3 ? (1 << 30) : 1;
  return 0;
}

int32_t GetDeviceById(int32_t direction, int32_t index, AudioChipDevice* device) {
  if (index != 0) return 3;
  device->id = direction == AUDIO_CHIP_OUTPUT ? 1 : 2;
  device->type = direction == AUDIO_CHIP_OUTPUT ? 1 : 2;
  device->reserved = 0;
  device->state = 1;
  return 0;
}

int32_t PropertyControl(const AudioChipDevice* device, const char* property, int32_t access, void* value,
                        void* second, uint32_t size) {
  (void)device;
  (void)second;
  if (strcmp(property, "GetSupportFeature") == 0) {
    if (mode == 4) {
      memset(value, '1', size);
    } else {
      strcpy((char*)value, "1,1,1,1,1,1,1");
    }
    return 0;
  }
  if (strcmp(property, "MuteControl") == 0) {
    if (access == AUDIO_CHIP_SET) {
      memcpy(&muted, value, sizeof muted);
    } else {
      memcpy(value, &muted, sizeof muted);
    }
    return 0;
  }
  return 9;
}
