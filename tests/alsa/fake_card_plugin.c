/* A sound card's mixer controls as an ALSA control plugin, so the program's ALSA mixer code runs against
 * libasound itself: "Mic Capture Volume" (0 to 31, -12.00 dB in steps of 1.35 dB) and "Mic Capture Switch",
 * and, unless the configuration says "monitoring false", "Mic Playback Volume" and "Mic Playback Switch".
 * The test reads and sets the controls' values through FakeCard* and can make the card vanish. */
#include <alsa/asoundlib.h>
#include <alsa/control_external.h>
#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

enum { PLAYBACK_SWITCH, PLAYBACK_VOLUME, CAPTURE_SWITCH, CAPTURE_VOLUME, CONTROLS };
static const char* const names[CONTROLS] = {"Mic Playback Switch", "Mic Playback Volume", "Mic Capture Switch",
                                            "Mic Capture Volume"};
static long values[CONTROLS] = {1, 10, 0, 23};
static int writes = 0;
static int gone = 0;
/* A decibel scale: -12.00 dB at 0, 1.35 dB a step. */
static const unsigned int scale[4] = {SND_CTL_TLVT_DB_SCALE, 2 * sizeof(unsigned int), (unsigned int)-1200, 135};

typedef struct {
  snd_ctl_ext_t ext;
  int first; /* PLAYBACK_SWITCH, or CAPTURE_SWITCH without monitoring */
  int pipe[2];
} card_t;

void FakeCardReset(void) {
  values[PLAYBACK_SWITCH] = 1;
  values[PLAYBACK_VOLUME] = 10;
  values[CAPTURE_SWITCH] = 0;
  values[CAPTURE_VOLUME] = 23;
  writes = 0;
  gone = 0;
}
long FakeCardValue(int control) { return values[control]; }
int FakeCardWrites(void) { return writes; }
void FakeCardGone(int g) { gone = g; }

static void fake_close(snd_ctl_ext_t* ext) {
  card_t* card = ext->private_data;
  close(card->pipe[0]);
  close(card->pipe[1]);
  free(card);
}

static int fake_count(snd_ctl_ext_t* ext) {
  card_t* card = ext->private_data;
  return CONTROLS - card->first;
}

static int fake_list(snd_ctl_ext_t* ext, unsigned int offset, snd_ctl_elem_id_t* id) {
  card_t* card = ext->private_data;
  snd_ctl_elem_id_set_interface(id, SND_CTL_ELEM_IFACE_MIXER);
  snd_ctl_elem_id_set_name(id, names[card->first + (int)offset]);
  return 0;
}

static snd_ctl_ext_key_t fake_find(snd_ctl_ext_t* ext, const snd_ctl_elem_id_t* id) {
  card_t* card = ext->private_data;
  const char* name = snd_ctl_elem_id_get_name(id);
  for (int i = card->first; i < CONTROLS; ++i)
    if (strcmp(name, names[i]) == 0) return (snd_ctl_ext_key_t)i;
  return SND_CTL_EXT_KEY_NOT_FOUND;
}

static int fake_attribute(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, int* type, unsigned int* acc, unsigned int* count) {
  (void)ext;
  const int volume = key == PLAYBACK_VOLUME || key == CAPTURE_VOLUME;
  *type = volume ? SND_CTL_ELEM_TYPE_INTEGER : SND_CTL_ELEM_TYPE_BOOLEAN;
  *acc = SND_CTL_EXT_ACCESS_READWRITE | (volume ? SND_CTL_EXT_ACCESS_TLV_READ : 0);
  *count = 1;
  return 0;
}

static int fake_info(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, long* min, long* max, long* step) {
  (void)ext;
  (void)key;
  *min = 0;
  *max = 31;
  *step = 1;
  return 0;
}

static int fake_read(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, long* value) {
  (void)ext;
  if (gone) return -ENODEV;
  *value = values[key];
  return 0;
}

static int fake_write(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, long* value) {
  (void)ext;
  if (gone) return -ENODEV;
  ++writes;
  const int changed = values[key] != *value;
  values[key] = *value;
  return changed;
}

static void fake_subscribe(snd_ctl_ext_t* ext, int subscribe) {
  (void)ext;
  (void)subscribe;
}

static int fake_event(snd_ctl_ext_t* ext, snd_ctl_elem_id_t* id, unsigned int* mask) {
  (void)ext;
  (void)id;
  (void)mask;
  return gone ? -ENODEV : -EAGAIN;
}

static const snd_ctl_ext_callback_t callbacks = {
    .close = fake_close,
    .elem_count = fake_count,
    .elem_list = fake_list,
    .find_elem = fake_find,
    .get_attribute = fake_attribute,
    .get_integer_info = fake_info,
    .read_integer = fake_read,
    .write_integer = fake_write,
    .subscribe_events = fake_subscribe,
    .read_event = fake_event,
};

SND_CTL_PLUGIN_DEFINE_FUNC(norvane_fake) {
  (void)root;
  int monitoring = 1;
  snd_config_iterator_t i, next;
  snd_config_for_each(i, next, conf) {
    snd_config_t* n = snd_config_iterator_entry(i);
    const char* id = NULL;
    if (snd_config_get_id(n, &id) < 0) continue;
    if (strcmp(id, "monitoring") == 0) {
      monitoring = snd_config_get_bool(n);
      if (monitoring < 0) return monitoring;
    }
  }
  card_t* card = calloc(1, sizeof *card);
  if (card == NULL) return -ENOMEM;
  if (pipe(card->pipe) < 0) {
    free(card);
    return -errno;
  }
  card->first = monitoring ? PLAYBACK_SWITCH : CAPTURE_SWITCH;
  card->ext.version = SND_CTL_EXT_VERSION;
  card->ext.card_idx = 0;
  strcpy(card->ext.id, "FakeCard");
  strcpy(card->ext.driver, "fake");
  strcpy(card->ext.name, "Fake headset card");
  strcpy(card->ext.longname, "Fake headset card");
  strcpy(card->ext.mixername, "Fake headset mixer");
  card->ext.poll_fd = card->pipe[0];
  card->ext.callback = &callbacks;
  card->ext.private_data = card;
  card->ext.tlv.p = scale;
  const int err = snd_ctl_ext_create(&card->ext, name, mode);
  if (err < 0) {
    close(card->pipe[0]);
    close(card->pipe[1]);
    free(card);
    return err;
  }
  *handlep = card->ext.handle;
  return 0;
}

SND_CTL_PLUGIN_SYMBOL(norvane_fake);
