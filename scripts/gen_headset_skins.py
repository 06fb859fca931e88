#!/usr/bin/env python3
"""Writes the headset's and the mouse pad's skins:
  skin/CustomControlXML/Voice6533Control.ui  the headset's sound panel: equalizer presets and bands, the
                                             user's own equalizer sets, microphone and monitoring levels
  skin/CustomControlXML/MagicControl.ui      the voice changer
  skin/DeviceXml/hs6533device.ui             the headset page
  skin/DeviceXml/mousepaddevice.ui           the mouse pad page

Both pages show their LEDs in a small picture above the function area, which holds the lighting panel (and
on the headset the sound and voice changer panels) like the keyboard page's. The page is about 670 px wide
at 1000 x 640 and the panels sit below the picture, so each is kept low: the sound panel puts the
microphone beside the equalizer rather than below it.

Run from anywhere: scripts/gen_headset_skins.py."""

import pathlib
from gen_light_skin import HIDDEN, combo, fixed, group
from skin_ui import NO_MARGINS, label, prop, size, texted

TOP = pathlib.Path(__file__).resolve().parent.parent

EQ_PRESETS = [f"hs_eq_preset_{n}_text" for n in range(1, 14)]
BANDS = ["31", "62", "125", "250", "500", "1k", "2k", "4k", "8k", "16k"]
VOICES = [f"hs_voice_{n}_text" for n in range(1, 5)]


def preset_option(number, text_id):
    return texted("COptionUI", f"6533_eq_option_{number}", text_id,
                  prop("group", "hs_eq_presets") + prop("role", "tab") + size("minimumSize", 58, 24))


def band(number, caption):
    slider = (f'<widget class="QSlider" name="6533_eq_hz_slider_{number}">'
              '<property name="orientation"><enum>Qt::Vertical</enum></property>'
              '<property name="minimum"><number>-20</number></property><property name="maximum"><number>20</number></property>'
              '<property name="pageStep"><number>2</number></property>'
              + fixed(30, 84) + "</widget>")
    hz = (f'<widget class="QLabel" name="hs_eq_band_label_{number}">' + prop("text", caption, dynamic=False)
          + prop("role", "muted") + '<property name="alignment"><set>Qt::AlignCenter</set></property></widget>')
    return group(f"hs_eq_band_{number}", [slider, hz], kind="QVBoxLayout", spacing=2)


def equalizer():
    presets = [preset_option(n, text) for n, text in enumerate(EQ_PRESETS, 1)]
    rows = group("hs_eq_preset_rows", [group("hs_eq_presets_a", presets[:7], spacing=4, stretch=True),
                                        group("hs_eq_presets_b", presets[7:], spacing=4, stretch=True)],
                 kind="QVBoxLayout", spacing=4)
    bands = group("hs_eq_bands", [band(n, caption) for n, caption in enumerate(BANDS, 1)], spacing=10, stretch=True)
    name_edit = ('<widget class="QLineEdit" name="custom_eq_name_edit">' + size("minimumSize", 110, 0)
                 + '<property name="maxLength"><number>24</number></property>' + "</widget>")
    custom = group("custom_eq_option_layout", [
        label("hs_eq_custom_caption", "hs_eq_custom_text"),
        combo("custom_eq_name_combo", [], 120),
        name_edit,
        texted("QPushButton", "hs_EQ_btn_save", "hs_eq_save_text"),
        texted("QPushButton", "hs_EQ_btn_delete", "hs_eq_delete_text"),
    ], spacing=6, stretch=True, hidden=True)
    return group("hs_eq_layout", [label("hs_eq_caption", "hs_eq_text"), rows, bands, custom], kind="QVBoxLayout",
                 spacing=4)


def level_line(prefix, option, slider, value, caption):
    check = texted("QCheckBox", option, caption)
    bar = (f'<widget class="QSlider" name="{slider}"><property name="orientation"><enum>Qt::Horizontal</enum></property>'
           '<property name="minimum"><number>0</number></property><property name="maximum"><number>100</number></property>'
           + size("minimumSize", 150, 0) + "</widget>")
    shown = (f'<widget class="QLabel" name="{value}">' + prop("text", "", dynamic=False) + prop("role", "body")
             + "</widget>")
    return group(prefix, [check, bar, shown], kind="QVBoxLayout", spacing=3)


def sound_panel():
    levels = group("hs_level_column", [
        label("hs_levels_caption", "hs_levels_text"),
        level_line("hs_mic_layout", "6533_MicIn_option", "6533_MicIn_slider", "hs_mic_value_label", "hs_mic_text"),
        level_line("hs_monitor_layout", "6533_MicMoniter_option", "6533_MicMoniter_slider", "hs_monitor_value_label",
                   "hs_monitor_text"),
        ('<widget class="QLabel" name="hs_audio_notice">' + prop("text", "", dynamic=False) + prop("role", "muted")
         + '<property name="wordWrap"><bool>true</bool></property>' + size("maximumSize", 220, 16777215) + HIDDEN
         + "</widget>"),
        '<spacer name="hs_level_column_spacer"><property name="orientation"><enum>Qt::Vertical</enum></property></spacer>',
    ], kind="QVBoxLayout", spacing=8)
    return group("hs_sound_root", [equalizer(), levels], spacing=22, stretch=True)


def magic_panel():
    voices = group("magic_option_layout", [
        texted("QRadioButton", f"magic_option_{n}", text, prop("group", "hs_voices")) for n, text in enumerate(VOICES, 1)
    ], spacing=14, stretch=True)
    notice = label("magic_notice", "hs_voice_unavailable_text", role="muted", extra=HIDDEN)
    return group("magic_root", [texted("QCheckBox", "magic_enable_option", "hs_voice_changer_text"), voices, notice,
                                '<spacer name="magic_root_spacer"><property name="orientation"><enum>Qt::Vertical</enum>'
                                '</property></spacer>'], kind="QVBoxLayout", spacing=10)


def panel_file(cls, root, body, width, height):
    return f'''<?xml version="1.0" encoding="UTF-8"?>
<!-- Written by scripts/gen_headset_skins.py; edit the script, not this file. -->
<ui version="4.0">
 <class>{cls}</class>
 <widget class="QWidget" name="{root}">
  <property name="geometry"><rect><x>0</x><y>0</y><width>{width}</width><height>{height}</height></rect></property>
  <layout class="QVBoxLayout" name="{root}_box">{NO_MARGINS}<item>{body}</item></layout>
 </widget>
 <resources/>
 <connections/>
</ui>
'''


def stack_page(stack, index, item=""):
    if not item:
        return f'<widget class="QWidget" name="{stack}_page_{index}"/>'
    return (f'<widget class="QWidget" name="{stack}_page_{index}"><layout class="QVBoxLayout" name="{stack}_page_{index}_box">'
            f'{NO_MARGINS}<item>{item}</item></layout></widget>')


def surround_panel():
    return group("hs_surround_layout", [
        label("hs_surround_caption", "hs_surround_text"),
        label("hs_surround_state", "hs_surround_unavailable_text", role="body"),
        '<spacer name="hs_surround_spacer"><property name="orientation"><enum>Qt::Vertical</enum></property></spacer>',
    ], kind="QVBoxLayout", spacing=6, stretch=False)


def page_file(cls, prefix, caption, picture, function_pages, key_pages):
    functions = "".join(stack_page("device_function_switch", i, item) for i, item in enumerate(function_pages))
    keys = "".join(stack_page("device_key_function_switch", i, item) for i, item in enumerate(key_pages))
    return f'''<?xml version="1.0" encoding="UTF-8"?>
<!-- Written by scripts/gen_headset_skins.py; edit the script, not this file. -->
<ui version="4.0">
 <class>{cls}</class>
 <widget class="QWidget" name="{prefix}_device_page">
  <property name="geometry"><rect><x>0</x><y>0</y><width>700</width><height>560</height></rect></property>
  <property name="role" stdset="0"><string>panel</string></property>
  <layout class="QVBoxLayout" name="{prefix}_device_page_layout">
   <property name="leftMargin"><number>24</number></property>
   <property name="topMargin"><number>20</number></property>
   <property name="rightMargin"><number>24</number></property>
   <property name="bottomMargin"><number>20</number></property>
   <property name="spacing"><number>10</number></property>
   <item><widget class="QLabel" name="{prefix}_device_page_caption">{prop("text", caption, dynamic=False)}{prop("textid", caption)}{prop("role", "bigvalue")}</widget></item>
   <item><widget class="DeviceProfile" name="DeviceProfileItem"/></item>
   <item alignment="Qt::AlignHCenter">{picture}</item>
   <item alignment="Qt::AlignHCenter"><widget class="QLabel" name="device_sync_notice">{prop("text", "device_sync_no_reply", dynamic=False)}{prop("textid", "device_sync_no_reply")}{prop("role", "muted")}<property name="visible"><bool>false</bool></property></widget></item>
   <item><widget class="QStackedWidget" name="device_function_switch">{functions}</widget></item>
   <item><widget class="QStackedWidget" name="device_key_function_switch"><property name="maximumSize"><size><width>16777215</width><height>0</height></size></property>{keys}</widget></item>
   <item><spacer name="{prefix}_device_page_spacer"><property name="orientation"><enum>Qt::Vertical</enum></property></spacer></item>
  </layout>
 </widget>
 <resources/>
 <connections/>
</ui>
'''


def headset_picture():
    # The LEDs run around the ear cup.
    return (f'<widget class="QWidget" name="hs6533_device_key_light">{fixed(150, 150)}'
            '<widget class="QWidget" name="headset_cup"><property name="geometry"><rect><x>10</x><y>10</y><width>130</width><height>130</height></rect></property>'
            + prop("role", "card") + "</widget>"
            '<widget class="LightPreview" name="device_light_preview"><property name="geometry"><rect><x>10</x><y>10</y><width>130</width><height>130</height></rect></property>'
            + prop("ledshape", "ring") + "</widget></widget>")


def pad_picture():
    return (f'<widget class="QWidget" name="mousepad_device_key_light">{fixed(380, 190)}'
            '<widget class="QWidget" name="mousepad_surface"><property name="geometry"><rect><x>18</x><y>18</y><width>344</width><height>154</height></rect></property>'
            + prop("role", "card") + "</widget>"
            '<widget class="LightPreview" name="device_light_preview"><property name="geometry"><rect><x>0</x><y>0</y><width>380</width><height>190</height></rect></property>'
            + prop("ledshape", "frame") + "</widget></widget>")


def write(relative, text):
    out = TOP / relative
    out.write_text(text, encoding="utf-8")
    print(f"{relative} written")


def main():
    light = '<widget class="LightControl" name="LightControlItem"/>'
    write("skin/CustomControlXML/Voice6533Control.ui", panel_file("Voice6533Control", "voice6533_root", sound_panel(), 660, 230))
    write("skin/CustomControlXML/MagicControl.ui", panel_file("MagicControl", "magic_control_root", magic_panel(), 660, 90))
    write("skin/DeviceXml/hs6533device.ui", page_file(
        "HS6533Device", "hs6533", "hd_page_caption", headset_picture(), ["", surround_panel()],
        [light, '<widget class="Voice6533Control" name="Voice6533ControlItem"/>',
         '<widget class="MagicControl" name="MagicControlItem"/>']))
    write("skin/DeviceXml/mousepaddevice.ui", page_file(
        "MousePadDevice", "mousepad", "hard_mp_page_caption", pad_picture(), [""], [light]))


if __name__ == "__main__":
    main()
