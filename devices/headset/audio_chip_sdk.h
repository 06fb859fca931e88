/* The entry points a headset audio-chip configuration library gives the program.
 *
 * The program looks for the library as SDK/libaudiochipconf.so in its own folder and loads it at run time
 * when it is there. Every function returns 0 for success and anything else for failure; the program calls
 * them on one thread only, in this order of first use: ConfLibInit, CreateDeviceList, GetDeviceCount,
 * GetDeviceById, PropertyControl. ConfLibUnInit, when the library has it, is called before it is unloaded.
 * A library whose ConfLibInit fails is not used (the program falls back to the sound card's mixer).
 *
 * Devices: two lists, playback (direction 0) and capture (direction 1). The program takes the first
 * playback device of type 1 in state 1, else of type 12, 7 or 4 in that order (state 1), and the first
 * capture device of type 2.
 *
 * Properties (by name; "out" the playback device, "in" the capture device). `value` and `second` point to
 * buffers of `size` bytes (1024). A value is the buffer's first 32-bit word: an integer, a float for the
 * scalar volumes (0.0 to 1.0), or a zero-terminated text for decibel values, ranges and the feature list.
 * `second` carries a selector word in both directions (-1 the microphone's level, 0 the monitoring's
 * level, 1 the monitoring's decibel read).
 *   GetSupportFeature        both  text: comma-separated flags, at least 7: field 0 equalizer (out),
 *                                  field 4 voice changer (in), field 6 virtual surround (out)
 *   Enable_EQ_GFX            out   0 or 1; set to 1 before bands are written
 *   EQ_Slider1 .. EQ_Slider10 out  band value in decibels, -20 to 20
 *   VirtualSurroundEffectControl, XearSurrHP_Enable, XearSurrHP_Room, XearSurrHP_Mode   out   surround
 *   Enable_RFX_GFX, RFX_ENVIRONMENT, RFX_ROOMSIZE   out   room effect
 *   Enable_ENC_LFX, ENC_SELFCALIB   in   noise cancelling
 *   VolumeScalarControl      in    microphone level, float; VolumeControl its decibels (text, read only)
 *   MuteControl              in    1 muted, 0 not
 *   AAVolumeScalarControl, AAVolumeControl, AAMuteControl   in   the same for monitoring
 *   GetMaxVol, GetMinVol, GetVolStep, GetAAMaxVol, GetAAMinVol, GetAAVolStep   in   ranges, decimal text
 *   Enable_MAGICVOICE, Enable_MICECHO   in   voice changer and echo, 0 or 1
 *   MagicVoice_Selection     in    voice 0 to 3
 */
#ifndef NORVANE_AUDIO_CHIP_SDK_H
#define NORVANE_AUDIO_CHIP_SDK_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct AudioChipDevice {
  int32_t id;
  int32_t type;
  int32_t reserved;
  int32_t state;
} AudioChipDevice;

enum { AUDIO_CHIP_OUTPUT = 0, AUDIO_CHIP_INPUT = 1 };
enum { AUDIO_CHIP_GET = 0, AUDIO_CHIP_SET = 1 };

typedef int32_t (*ConfLibInitFn)(void);
typedef int32_t (*CreateDeviceListFn)(void);
typedef int32_t (*GetDeviceCountFn)(int32_t direction, int32_t* count);
typedef int32_t (*GetDeviceByIdFn)(int32_t direction, int32_t index, AudioChipDevice* device);
typedef int32_t (*PropertyControlFn)(const AudioChipDevice* device, const char* property, int32_t access,
                                     void* value, void* second, uint32_t size);
typedef void (*ConfLibUnInitFn)(void);

int32_t ConfLibInit(void);
int32_t CreateDeviceList(void);
int32_t GetDeviceCount(int32_t direction, int32_t* count);
int32_t GetDeviceById(int32_t direction, int32_t index, AudioChipDevice* device);
int32_t PropertyControl(const AudioChipDevice* device, const char* property, int32_t access, void* value,
                        void* second, uint32_t size);
void ConfLibUnInit(void);

#ifdef __cplusplus
}
#endif

#endif
