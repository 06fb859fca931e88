#!/usr/bin/env python3
"""Writes skin/CustomControlXML/LightControl.ui: the lighting editor's panel. It sits below the device
picture, where the page is narrow (about 670 px at 1000 x 640) and the panel must stay low, so it is three
rows: the effect with brightness and speed; the direction and the groups only some keyboard modes use
(they take the direction's place, which those modes hide) with the multi-colour flag and the same-mode
button; the colour values, preset swatches and the colour shown, with a small palette beside them. The
music effect has its own colour page, with the sound graph and the music style's colour below it. The
keyboard-only groups and the same-mode button start hidden: only the layouts that use them show them.

The mode combo starts empty: the lighting editor fills it with the device's modes.

Run from anywhere: scripts/gen_light_skin.py."""

import pathlib
import skin_ui
from skin_ui import label, prop, size, texted

TOP = pathlib.Path(__file__).resolve().parent.parent

# The swatches' colours, in the order users meet them in a rainbow; white last.
SWATCHES = ["#FF0000", "#FF8000", "#FFFF00", "#00FF00", "#00FFFF", "#0000FF", "#8000FF", "#FFFFFF"]
CUSTOM_GROUPS = ["light_group_1_text", "light_group_2_text", "light_group_3_text"]
PRESETS = ["light_preset_1_text", "light_preset_2_text", "light_preset_3_text", "light_preset_4_text"]
AUDIO_MODES = [f"light_audio_mode_{i}_text" for i in range(7)]
AUDIO_SWATCHES = ["#000000", "#FF0000", "#FF8000", "#FFFF00", "#00FF00", "#00FFFF", "#0000FF", "#FF00FF"]


def fixed(width, height):
    return size("minimumSize", width, height) + size("maximumSize", width, height)


def combo(name, items, width):
    ids = prop("itemtextids", ",".join(items)) if items else ""
    return f'<widget class="QComboBox" name="{name}">' + size("minimumSize", width, 0) + ids + "</widget>"


def slider(name):
    return (f'<widget class="QSlider" name="{name}">' + size("minimumSize", 100, 0) + size("maximumSize", 140, 16777215)
            + '<property name="orientation"><enum>Qt::Horizontal</enum></property></widget>')


def edit(name):
    return (f'<widget class="QLineEdit" name="{name}">' + size("minimumSize", 46, 0) + size("maximumSize", 46, 16777215)
            + '<property name="maxLength"><number>3</number></property>' + prop("numberonly", "true", kind="bool")
            + "</widget>")


def swatch(name, colour, width=22, height=22):
    return (f'<widget class="QPushButton" name="{name}">' + fixed(width, height) + prop("bkcolor", colour)
            + prop("role", "lightswatch") + "</widget>")


def box(kind, name, items, spacing=8, stretch=False):
    return skin_ui.box(kind, name, items, spacing, stretch)


HIDDEN = '<property name="visible"><bool>false</bool></property>'


def group(name, items, kind="QHBoxLayout", spacing=6, stretch=False, hidden=False):
    return (f'<widget class="QWidget" name="{name}">' + (HIDDEN if hidden else "")
            + box(kind, name, items, spacing, stretch) + "</widget>")


def effect_row():
    return group("light_row_effect", [
        group("lighteffect_layout", [label("light_effect_caption", "light_effect_text"),
                                     combo("light_combo_modeSelect", [], 150)]),
        group("deng_light_layout", [label("light_brightness_caption", "light_brightness_text"),
                                    slider("deng_light_slider")]),
        group("deng_speed_layout", [label("light_speed_caption", "light_speed_text"), slider("deng_speed_slider")]),
    ], spacing=14, stretch=True)


def options_row():
    direction = group("deng_fx_layout", [
        texted("QRadioButton", "deng_FXL_check", "light_set_right_to_left_text", prop("group", "light_direction")),
        texted("QRadioButton", "deng_FXR_check", "light_set_left_to_right_text", prop("group", "light_direction")),
    ])
    custom = group("lightcustom_layout", [
        combo("light_combo_custommodeSelect", CUSTOM_GROUPS, 100),
        texted("QPushButton", "custom_bright_color_btn", "light_custom_bright_text"),
        texted("QPushButton", "custom_off_color_btn", "light_custom_off_text"),
    ], hidden=True)
    preset = group("light_combo_ZZCCmodeSelectLayout", [combo("light_combo_ZZCCmodeSelect", PRESETS, 120)], hidden=True)
    # The music effect's picture on the keyboard and its style window.
    audio = group("light_combo_AudiomodeSelectLayout", [
        label("light_audio_mode_caption", "light_audio_mode_text"),
        combo("light_combo_audiomodeSelect", AUDIO_MODES, 130),
        texted("QPushButton", "music_setting_btn", "light_music_setting_text"),
    ], hidden=True)
    return group("light_row_options", [
        direction, custom, preset, audio,
        texted("QCheckBox", "deng_7color_check", "light_seven_color_text"),
        texted("QPushButton", "deng_same_mode", "light_same_mode_text", HIDDEN),
    ], spacing=14, stretch=True)


def colour_page():
    values = group("light_rgb_row", [
        label("light_red_caption", "light_red_text"), edit("deng_edit_R"),
        label("light_green_caption", "light_green_text"), edit("deng_edit_G"),
        label("light_blue_caption", "light_blue_text"), edit("deng_edit_B"),
        swatch("deng_colordp_btn", "#FF0000", 40, 26),
    ], stretch=True)
    swatches = group("light_swatch_row", [swatch(f"color_option_{i}", c) for i, c in enumerate(SWATCHES)],
                     stretch=True)
    colour = group("deng_color_layout", [values, swatches], kind="QVBoxLayout")
    palette = group("colorpallet_layout", ['<widget class="CColorPaletteUI" name="deng_Color_Pallet">'
                                           + fixed(190, 96) + "</widget>"])
    area = group("light_color_layout", [colour, palette], spacing=16, stretch=True)
    return group("light_color_page_0", [area])


def music_page():
    kinds = group("light_audio_kind_row", [
        texted("QRadioButton", "audio_BkColor_check", "light_audio_background_text", prop("group", "audio_colour_type")),
        texted("QRadioButton", "audio_FgColor_check", "light_audio_foreground_text", prop("group", "audio_colour_type")),
        texted("QCheckBox", "deng_7audiocolor_check", "light_seven_color_text"),
        texted("QPushButton", "Close_bkColor_btn", "light_audio_no_background_text"),
    ], stretch=True)
    values = group("light_audio_rgb_row", [
        label("light_audio_red_caption", "light_red_text"), edit("deng_audioedit_R"),
        label("light_audio_green_caption", "light_green_text"), edit("deng_audioedit_G"),
        label("light_audio_blue_caption", "light_blue_text"), edit("deng_audioedit_B"),
        swatch("deng_audiocolordp_btn", "#000000", 40, 26),
    ], stretch=True)
    swatches = group("light_audio_swatch_row",
                     [swatch(f"audiocolor_option_{i}", c) for i, c in enumerate(AUDIO_SWATCHES)], stretch=True)
    colours = group("light_audiocolor_layout", [kinds, values, swatches], kind="QVBoxLayout")
    palette = group("audiocolorpallet_layout", ['<widget class="CColorPaletteUI" name="deng_audioColor_Pallet">'
                                                + fixed(190, 96) + "</widget>"])
    choice = group("light_audio_colour_row", [colours, palette], spacing=16, stretch=True)
    return group("light_color_page_1", [choice, sound_row()], kind="QVBoxLayout")


def sound_row():
    """What the window receives from the audio companion, as a level graph, and the colour of the music
    style's current group (levels 0 to 9), which the graph is drawn in."""
    graph = ('<widget class="AudioRecord" name="audio_record_graph">' + fixed(200, 30)
             + prop("bkcolor", "#10151D") + prop("linecolor", "#2BD9C3") + "</widget>")
    sliders = []
    for component in "RGB":
        sliders.append(f'<widget class="QLabel" name="{component}_light_label">' + fixed(34, 20)
                       + prop("text", f"{component} 0", dynamic=False) + prop("role", "caption") + "</widget>")
        sliders.append(f'<widget class="QSlider" name="{component}_light_slider">' + size("minimumSize", 60, 0)
                       + size("maximumSize", 80, 16777215) + '<property name="maximum"><number>9</number></property>'
                       + '<property name="orientation"><enum>Qt::Horizontal</enum></property></widget>')
    return group("light_audio_sound_row", [label("light_audio_sound_caption", "light_audio_sound_text"), graph]
                 + sliders, spacing=8, stretch=True)


def main():
    pages = ('<widget class="QStackedWidget" name="light_color_tablayout">'
             + size("maximumSize", 16777215, 140) + colour_page() + music_page() + "</widget>")
    ui = f'''<?xml version="1.0" encoding="UTF-8"?>
<!-- Written by scripts/gen_light_skin.py; edit the script, not this file. -->
<ui version="4.0">
 <class>LightControl</class>
 <widget class="QWidget" name="light_root">
  <property name="geometry"><rect><x>0</x><y>0</y><width>660</width><height>180</height></rect></property>
  {box("QVBoxLayout", "light_root", [effect_row(), options_row(), pages], 6)}
 </widget>
 <resources/>
 <connections/>
</ui>
'''
    out = TOP / "skin/CustomControlXML/LightControl.ui"
    out.write_text(ui, encoding="utf-8")
    print(f"{out.relative_to(TOP)} written")


if __name__ == "__main__":
    main()
