#!/usr/bin/env python3
"""Writes skin/DeviceXml/keyboarddevice.ui: the keyboard page with a picture of the keyboard, one DeviceKeyButton
per physical key, sized and placed as the keys sit on the keyboard.

Each button is named "key_N" with user data "light_N": N is the key's index, which on keyboards is also the index
of the LED under it. A few LEDs have no key of their own (the lighting grid has LEDs in the gap between F4 and
F5, beside the right Shift, under the long keys); the key that covers them lists them in the button's dynamic
property "extraleds", so the picture still accounts for every LED of the grid in
devices/lighting/keyboard/keyboard_tables.h.

Run from anywhere: scripts/gen_keyboard_skin.py. The key captions come from the key codes in
devices/keyboard/key_positions.cpp."""

import pathlib
import re
import skin_ui
from skin_ui import check, label, prop, radio

TOP = pathlib.Path(__file__).resolve().parent.parent
# Pixels per key unit. The whole picture is 25.25 units wide and has to fit the page at the window's 1000 x 640
# layout size, where the page leaves about 670 pixels for it; at 26 the picture is 657 pixels wide.
UNIT = 26
GAP = 3     # between neighbouring keys: a button is this much smaller than its cell
# Caption sizes in points. They are the buttons' own fonts, not the style sheet's, so that the window scale
# enlarges them with the buttons. A caption of four letters or more ("Home", "PgUp") only fits a key narrower than
# 1.25 units in the small size.
CAPTION_PT = 6
SMALL_CAPTION_PT = 5
NO_LED = 170

# ---- The physical layout, in key units (1 unit = one letter key). -------------------------------------------
# Each key is (led, x, y, width, height, extra leds). The M keys stand in a column of their own at the left, the
# main block starts a quarter unit after them, and the function row sits a quarter unit above the rest.

X0 = 1.25             # the main block's left edge
EXTRA_COLUMN = X0 + 15.25
NAV = X0 + 16.5
NUMPAD = X0 + 20


def row_y(row):
    """Row 0 is the function row; the rows below it start a quarter unit lower."""
    return 0 if row == 0 else 1.25 + (row - 1)


def run(x, row, *keys):
    """Keys side by side from x on one row; each is (led, width[, height[, extra leds]])."""
    placed = []
    for led, width, *rest in keys:
        height = rest[0] if rest else 1
        extras = tuple(rest[1]) if len(rest) > 1 else ()
        placed.append((led, x, row_y(row), width, height, extras))
        x += width
    return placed


def ones(x, row, leds):
    return run(x, row, *((led, 1) for led in leds))


LAYOUT = [
    # The M keys, beside rows 1 to 5.
    *[(120 + i, 0, row_y(i + 1), 1, 1, ()) for i in range(5)],
    # Function row: Esc, then F1-F4, F5-F8 and F9-F12 in groups of four. F5 covers the LED in the gap before it.
    *run(X0, 0, (0, 1)),
    *ones(X0 + 2, 0, [1, 2, 3, 4]),
    *run(X0 + 6.5, 0, (5, 1, 1, [18]), (6, 1), (7, 1), (8, 1)),
    *ones(X0 + 11, 0, [9, 10, 11, 12]),
    # The main block: every row is 15 units wide.
    *run(X0, 1, *((led, 1) for led in range(21, 34)), (34, 2)),
    *run(X0, 2, (42, 1.5), *((led, 1) for led in range(43, 55)), (55, 1.5)),
    *run(X0, 3, (63, 1.75), *((led, 1) for led in range(64, 75)), (62, 1), (75, 1.25)),
    *run(X0, 4, (84, 1.25), (102, 1), *((led, 1) for led in range(85, 95)), (100, 1), (95, 1.75, 1, [19])),
    *run(X0, 5, (105, 1.25), (106, 1.25), (107, 1.25, 1, [20]), (108, 5.75, 1, [126, 127, 128, 129]),
         (109, 1.25), (125, 1), (110, 1), (111, 1), (112, 1.25, 1, [130])),
    # One key a row right of the main block on rows 1 to 3.
    *run(EXTRA_COLUMN, 1, (101, 1)),
    *run(EXTRA_COLUMN, 2, (103, 1)),
    *run(EXTRA_COLUMN, 3, (79, 1)),
    # The navigation cluster and the arrows.
    *ones(NAV, 0, [13, 14, 15]),
    *ones(NAV, 1, [35, 36, 37]),
    *ones(NAV, 2, [56, 57, 58]),
    *ones(NAV, 3, [82, 83, 17]),
    *ones(NAV, 4, [80, 96, 81]),
    *ones(NAV, 5, [113, 114, 115]),
    # The number pad: + and Enter are two rows tall, 0 two units wide.
    *run(NUMPAD + 3, 0, (16, 1)),
    *ones(NUMPAD, 1, [38, 39, 40, 41]),
    *run(NUMPAD, 2, (59, 1), (60, 1), (61, 1), (119, 1, 2)),
    *ones(NUMPAD, 3, [76, 77, 78]),
    *run(NUMPAD, 4, (97, 1), (98, 1), (99, 1), (118, 1, 2, [131])),
    *run(NUMPAD, 5, (116, 2, 1, [104]), (117, 1)),
]

PICTURE_WIDTH = NUMPAD + 4
PICTURE_HEIGHT = row_y(5) + 1


def pixels(units):
    """Key edges are rounded the same way everywhere, so neighbours keep the same gap."""
    return int(units * UNIT + 0.5)


# Short captions of HID keyboard usages and device functions, by 3-byte code.
USAGE_NAMES = {
    0x29: "Esc", 0x35: "`", 0x2D: "-", 0x2E: "=", 0x2A: "Bksp", 0x2B: "Tab", 0x2F: "[", 0x30: "]", 0x31: "\\",
    0x39: "Caps", 0x33: ";", 0x34: "'", 0x28: "Enter", 0x36: ",", 0x37: ".", 0x38: "/", 0x2C: "Space",
    0x46: "PrtSc", 0x47: "ScrLk", 0x48: "Pause", 0x49: "Ins", 0x4A: "Home", 0x4B: "PgUp", 0x4C: "Del",
    0x4D: "End", 0x4E: "PgDn", 0x4F: "→", 0x50: "←", 0x51: "↓", 0x52: "↑", 0x53: "Num", 0x54: "/",
    0x55: "*", 0x56: "-", 0x57: "+", 0x58: "Ent", 0x62: "0", 0x63: ".", 0x65: "Menu", 0x64: "\\",
    # The international keys: ISO #, Ro, Yen, keypad comma, Muhenkan, Henkan, Kana, the two language keys.
    0x32: "#", 0x87: "Ro", 0x89: "¥", 0x85: ",", 0x8B: "Mu", 0x8A: "He", 0x88: "Ka", 0x90: "L1", 0x91: "L2",
}
MODIFIER_NAMES = {0x01: "Ctrl", 0x02: "Shift", 0x04: "Alt", 0x08: "Win", 0x10: "Ctrl", 0x20: "Shift",
                  0x40: "Alt", 0x80: "Win"}


def caption(code):
    kind, data1, data2 = code
    if kind == 0xA0:
        return {0x01: "Fn", 0x1B: "GM"}.get(data1, "•")
    if kind == 0xD0:
        return "M%d" % data2
    if data1:
        return MODIFIER_NAMES.get(data1, "")
    if 0x04 <= data2 <= 0x1D:
        return chr(ord("A") + data2 - 0x04)
    if 0x1E <= data2 <= 0x26:
        return str(data2 - 0x1D)
    if data2 == 0x27:
        return "0"
    if 0x3A <= data2 <= 0x45:
        return "F%d" % (data2 - 0x39)
    if 0x59 <= data2 <= 0x61:
        return str(data2 - 0x58)
    return USAGE_NAMES.get(data2, "")


def grid_leds():
    """The LEDs of the lighting grid (kGeometry: 23 columns of 6 rows, 170 for none)."""
    text = (TOP / "devices/lighting/keyboard/keyboard_tables.h").read_text()
    body = text[text.index("kGeometry"):]
    body = body[body.index("{{") + 2:body.index("}};")]
    columns = [[int(v) for v in col.split(",")] for col in re.findall(r"\{([^{}]*)\}", body)]
    assert len(columns) == 23 and all(len(c) == 6 for c in columns), "unexpected keyboard geometry"
    return {led for column in columns for led in column if led != NO_LED}


def check_layout():
    """Every LED of the grid on exactly one key, and no key on top of another."""
    owners = {}
    for led, *_, extras in LAYOUT:
        for each in (led, *extras):
            assert each not in owners, f"LED {each} on two keys"
            owners[each] = led
    grid = grid_leds()
    assert set(owners) == grid, f"not in the grid: {sorted(set(owners) - grid)}, without a key: {sorted(grid - set(owners))}"
    cells = [(x, y, x + w, y + h) for _, x, y, w, h, _ in LAYOUT]
    for i, a in enumerate(cells):
        for b in cells[i + 1:]:
            assert not (a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]), f"keys overlap at {a} and {b}"


def codes():
    text = (TOP / "devices/keyboard/key_positions.cpp").read_text()
    body = text[text.index("kReferenceCodes"):]
    body = body[:body.index("}};")]
    return [tuple(int(v, 16) for v in triple) for triple in re.findall(r"\{(0x\w+), (0x\w+), (0x\w+)\}", body)]


def key_button(key, code):
    led, x, y, w, h, extras = key
    left, top = pixels(x), pixels(y)
    width, height = pixels(x + w) - left - GAP, pixels(y + h) - top - GAP
    label = caption(code) if code else ""
    extra = prop("extraleds", ",".join(str(e) for e in extras)) if extras else ""
    points = SMALL_CAPTION_PT if len(label) > 3 and w < 1.25 else CAPTION_PT
    font = f'<property name="font"><font><pointsize>{points}</pointsize></font></property>'
    return (f'<widget class="DeviceKeyButton" name="key_{led}">'
            f'<property name="geometry"><rect><x>{left}</x><y>{top}</y><width>{width}</width><height>{height}</height></rect></property>'
            + font + prop("text", label, dynamic=False) + prop("userdata", f"light_{led}") + extra + prop("role", "devicekey")
            + "</widget>")


def row(name, items, spacing=14):
    return skin_ui.row(name, items, spacing)


def system_panel():
    """The System tab: report rate, key repeat, lock flags and a field to try the repeat in."""
    caption_width = '<property name="minimumSize"><size><width>130</width><height>0</height></size></property>'
    rates = [radio(f"polling_rate_option_{i}", f"polling_rate_{i}_text", "keyboard_polling_rate") for i in range(4)]
    delays = [radio(f"repeat_delay_check_{i}", f"repeat_delay_{i}_text", "keyboard_repeat_delay") for i in range(4)]
    slider = ('<widget class="QSlider" name="repeat_rate_slider"><property name="orientation"><enum>Qt::Horizontal</enum></property>'
              '<property name="minimum"><number>0</number></property><property name="maximum"><number>31</number></property>'
              '<property name="minimumSize"><size><width>220</width><height>0</height></size></property></widget>')
    test = ('<widget class="QPlainTextEdit" name="repeat_input_richedit">'
            '<property name="maximumSize"><size><width>16777215</width><height>34</height></size></property>'
            '<property name="minimumSize"><size><width>420</width><height>34</height></size></property></widget>')
    reset = ('<widget class="QPushButton" name="reset_repeat_btn">' + prop("text", "reset_repeat_text", dynamic=False)
             + prop("textid", "reset_repeat_text") + "</widget>")
    rows = [
        row("system_rate_row", [label("system_rate_caption", "system_polling_rate_text", extra=caption_width)] + rates),
        row("system_delay_row", [label("system_delay_caption", "system_repeat_delay_text", extra=caption_width)] + delays
            + [label("repeat_delay_time_label1", "Repeat_Delay_Time", role="body")]),
        row("system_repeat_row", [label("system_repeat_caption", "system_repeat_rate_text", extra=caption_width), slider]),
        row("system_flags_row", [label("system_flags_caption", "system_lock_text", extra=caption_width),
                                 check("winlockflag_option", "system_winlock_text"), check("wflag_option", "system_wflag_text"),
                                 check("6flag_option", "system_6key_text")]),
        row("system_test_row", [label("system_test_caption", "system_repeat_test_text", extra=caption_width), test, reset]),
        row("system_defaults_row", [label("system_defaults_caption", "system_defaults_text", extra=caption_width),
                                    '<widget class="QPushButton" name="default_btn">' + prop("text", "default_btn_text", dynamic=False)
                                    + prop("textid", "default_btn_text") + "</widget>",
                                    '<widget class="QPushButton" name="windowdeviceset_0">'
                                    + prop("text", "desktop_keyboard_settings_text", dynamic=False)
                                    + prop("textid", "desktop_keyboard_settings_text") + "</widget>"]),
    ]
    cells = "".join(f"<item>{r}</item>" for r in rows)
    return ('<widget class="QWidget" name="device_function_switch_page_3"><layout class="QVBoxLayout" name="keyboard_system_layout">'
            '<property name="leftMargin"><number>16</number></property><property name="topMargin"><number>6</number></property>'
            '<property name="rightMargin"><number>16</number></property><property name="bottomMargin"><number>6</number></property>'
            f'<property name="spacing"><number>3</number></property>{cells}</layout></widget>')


def main():
    check_layout()
    refs = codes()
    buttons = [key_button(key, refs[key[0]] if key[0] < len(refs) else None) for key in LAYOUT]
    width, height = pixels(PICTURE_WIDTH) - GAP, pixels(PICTURE_HEIGHT) - GAP
    ui = f'''<?xml version="1.0" encoding="UTF-8"?>
<!-- Written by scripts/gen_keyboard_skin.py from its keyboard layout table; edit the script, not this file. -->
<ui version="4.0">
 <class>KeyboardDevice</class>
 <widget class="QWidget" name="keyboard_device_page">
  <property name="geometry"><rect><x>0</x><y>0</y><width>{width + 48}</width><height>{height + 360}</height></rect></property>
  <property name="role" stdset="0"><string>panel</string></property>
  <layout class="QVBoxLayout" name="keyboard_device_page_layout">
   <property name="leftMargin"><number>24</number></property>
   <property name="topMargin"><number>18</number></property>
   <property name="rightMargin"><number>24</number></property>
   <property name="bottomMargin"><number>20</number></property>
   <property name="spacing"><number>12</number></property>
   <item><widget class="QLabel" name="keyboard_device_page_caption">{prop("text", "kb_device_name_text", dynamic=False)}{prop("textid", "kb_device_name_text")}{prop("role", "bigvalue")}</widget></item>
   <item><widget class="QLabel" name="keyboard_device_page_subtitle">{prop("text", "page_lighting_preview_caption", dynamic=False)}{prop("textid", "page_lighting_preview_caption")}{prop("role", "muted")}</widget></item>
   <item><widget class="DeviceProfile" name="DeviceProfileItem"/></item>
   <item alignment="Qt::AlignHCenter"><widget class="SelectPanel" name="keyboard_device_key_light"><property name="minimumSize"><size><width>{width}</width><height>{height}</height></size></property><property name="maximumSize"><size><width>{width}</width><height>{height}</height></size></property>
{chr(10).join("    " + b for b in buttons)}
   </widget></item>
   <item><widget class="QStackedWidget" name="device_function_switch"><property name="role" stdset="0"><string>panel</string></property><widget class="QWidget" name="device_function_switch_page_0"/><widget class="QWidget" name="device_function_switch_page_1"><layout class="QVBoxLayout" name="device_function_switch_page_1_box"><property name="leftMargin"><number>0</number></property><property name="topMargin"><number>0</number></property><property name="rightMargin"><number>0</number></property><property name="bottomMargin"><number>0</number></property><item><widget class="MacroControl" name="MacroControlItem"/></item></layout></widget><widget class="QWidget" name="device_function_switch_page_2"/>{system_panel()}</widget></item>
   <item><widget class="QStackedWidget" name="device_key_function_switch"><property name="maximumSize"><size><width>16777215</width><height>0</height></size></property><widget class="QWidget" name="device_key_function_switch_page_0"><layout class="QVBoxLayout" name="device_key_function_switch_page_0_box"><property name="leftMargin"><number>0</number></property><property name="topMargin"><number>0</number></property><property name="rightMargin"><number>0</number></property><property name="bottomMargin"><number>0</number></property><item><widget class="LightControl" name="LightControlItem"/></item></layout></widget><widget class="QWidget" name="device_key_function_switch_page_1"><layout class="QVBoxLayout" name="device_key_function_switch_page_1_box"><property name="leftMargin"><number>0</number></property><property name="topMargin"><number>0</number></property><property name="rightMargin"><number>0</number></property><property name="bottomMargin"><number>0</number></property><item><widget class="KeySetControl" name="KeySetControlItem"/></item></layout></widget><widget class="QWidget" name="device_key_function_switch_page_2"/></widget></item>
   <item><spacer name="keyboard_device_page_spacer"><property name="orientation"><enum>Qt::Vertical</enum></property></spacer></item>
  </layout>
 </widget>
 <resources/>
 <connections/>
</ui>
'''
    out = TOP / "skin/DeviceXml/keyboarddevice.ui"
    out.write_text(ui, encoding="utf-8")
    print(f"{out.relative_to(TOP)}: {len(buttons)} keys")


if __name__ == "__main__":
    main()
