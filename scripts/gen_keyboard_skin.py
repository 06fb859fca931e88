#!/usr/bin/env python3
"""Writes skin/DeviceXml/keyboarddevice.ui: the keyboard page with one DeviceKeyButton per key, placed by the
keyboard's lighting geometry (23 columns x 6 rows) so the buttons show each effect where its LED sits.

Run from anywhere: scripts/gen_keyboard_skin.py. The geometry is read from
devices/lighting/keyboard/keyboard_tables.h and the key codes from devices/keyboard/key_positions.cpp, so the
skin follows the tables."""

import pathlib
import re
from xml.sax.saxutils import escape

TOP = pathlib.Path(__file__).resolve().parent.parent
CELL = 36   # pixels per column and row
KEY = 33    # button size
NO_LED = 170

# Short captions of HID keyboard usages and device functions, by 3-byte code.
USAGE_NAMES = {
    0x29: "Esc", 0x35: "`", 0x2D: "-", 0x2E: "=", 0x2A: "Bksp", 0x2B: "Tab", 0x2F: "[", 0x30: "]", 0x31: "\\",
    0x39: "Caps", 0x33: ";", 0x34: "'", 0x28: "Enter", 0x36: ",", 0x37: ".", 0x38: "/", 0x2C: "Space",
    0x46: "PrtSc", 0x47: "ScrLk", 0x48: "Pause", 0x49: "Ins", 0x4A: "Home", 0x4B: "PgUp", 0x4C: "Del",
    0x4D: "End", 0x4E: "PgDn", 0x4F: "→", 0x50: "←", 0x51: "↓", 0x52: "↑", 0x53: "Num", 0x54: "/",
    0x55: "*", 0x56: "-", 0x57: "+", 0x58: "Ent", 0x62: "0", 0x63: ".", 0x65: "Menu", 0x64: "\\",
}
MODIFIER_NAMES = {0x01: "Ctrl", 0x02: "Shift", 0x04: "Alt", 0x08: "Win", 0x10: "Ctrl", 0x20: "Shift",
                  0x40: "Alt", 0x80: "Win"}


def caption(code):
    kind, data1, data2 = code
    if kind == 0xA0:
        return "Fn" if data1 == 0x01 else "•"
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


def geometry():
    text = (TOP / "devices/lighting/keyboard/keyboard_tables.h").read_text()
    body = text[text.index("kGeometry"):]
    body = body[body.index("{{") + 2:body.index("}};")]
    return [[int(v) for v in col.split(",")] for col in re.findall(r"\{([^{}]*)\}", body)]


def codes():
    text = (TOP / "devices/keyboard/key_positions.cpp").read_text()
    body = text[text.index("kReferenceCodes"):]
    body = body[:body.index("}};")]
    return [tuple(int(v, 16) for v in triple) for triple in re.findall(r"\{(0x\w+), (0x\w+), (0x\w+)\}", body)]


def prop(name, value, kind="string", dynamic=True):
    stdset = ' stdset="0"' if dynamic else ""
    return f'<property name="{name}"{stdset}><{kind}>{escape(value)}</{kind}></property>'


def key_button(led, column, row, code):
    x, y = column * CELL, row * CELL
    label = caption(code) if code else ""
    return (f'<widget class="DeviceKeyButton" name="key_{led}">'
            f'<property name="geometry"><rect><x>{x}</x><y>{y}</y><width>{KEY}</width><height>{KEY}</height></rect></property>'
            + prop("text", label, dynamic=False) + prop("userdata", f"light_{led}") + prop("role", "devicekey")
            + "</widget>")


def label(name, text_id, role="caption", extra=""):
    return (f'<widget class="QLabel" name="{name}">' + prop("text", text_id, dynamic=False) + prop("textid", text_id)
            + prop("role", role) + extra + "</widget>")


def radio(name, text_id, group):
    return (f'<widget class="QRadioButton" name="{name}">' + prop("text", text_id, dynamic=False)
            + prop("textid", text_id) + prop("group", group) + "</widget>")


def check(name, text_id):
    return (f'<widget class="QCheckBox" name="{name}">' + prop("text", text_id, dynamic=False)
            + prop("textid", text_id) + "</widget>")


def row(name, items, spacing=14):
    cells = "".join(f"<item>{item}</item>" for item in items)
    return (f'<widget class="QWidget" name="{name}"><layout class="QHBoxLayout" name="{name}_box">'
            '<property name="leftMargin"><number>0</number></property><property name="topMargin"><number>0</number></property>'
            '<property name="rightMargin"><number>0</number></property><property name="bottomMargin"><number>0</number></property>'
            f'<property name="spacing"><number>{spacing}</number></property>{cells}'
            f'<item><spacer name="{name}_spacer"><property name="orientation"><enum>Qt::Horizontal</enum></property></spacer></item>'
            '</layout></widget>')


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
    cols = geometry()
    assert len(cols) == 23 and all(len(c) == 6 for c in cols), "unexpected keyboard geometry"
    refs = codes()
    buttons = []
    for column, leds in enumerate(cols):
        for row, led in enumerate(leds):
            if led != NO_LED:
                buttons.append(key_button(led, column, row, refs[led] if led < len(refs) else None))
    width, height = 23 * CELL, 6 * CELL
    ui = f'''<?xml version="1.0" encoding="UTF-8"?>
<!-- Written by scripts/gen_keyboard_skin.py from the keyboard's lighting geometry; edit the script, not this file. -->
<ui version="4.0">
 <class>KeyboardDevice</class>
 <widget class="QWidget" name="keyboard_device_page">
  <property name="geometry"><rect><x>0</x><y>0</y><width>{width + 48}</width><height>{height + 360}</height></rect></property>
  <property name="role" stdset="0"><string>panel</string></property>
  <layout class="QVBoxLayout" name="keyboard_device_page_layout">
   <property name="leftMargin"><number>24</number></property>
   <property name="topMargin"><number>20</number></property>
   <property name="rightMargin"><number>24</number></property>
   <property name="bottomMargin"><number>20</number></property>
   <property name="spacing"><number>12</number></property>
   <item><widget class="QLabel" name="keyboard_device_page_caption">{prop("text", "kb_device_name_text", dynamic=False)}{prop("textid", "kb_device_name_text")}{prop("role", "bigvalue")}</widget></item>
   <item><widget class="QLabel" name="keyboard_device_page_subtitle">{prop("text", "page_lighting_preview_caption", dynamic=False)}{prop("textid", "page_lighting_preview_caption")}{prop("role", "muted")}</widget></item>
   <item><widget class="DeviceProfile" name="DeviceProfileItem"/></item>
   <item alignment="Qt::AlignHCenter"><widget class="SelectPanel" name="keyboard_device_key_light"><property name="minimumSize"><size><width>{width}</width><height>{height}</height></size></property><property name="maximumSize"><size><width>{width}</width><height>{height}</height></size></property>
{chr(10).join("    " + b for b in buttons)}
   </widget></item>
   <item><widget class="QStackedWidget" name="device_function_switch"><property name="role" stdset="0"><string>panel</string></property><widget class="QWidget" name="device_function_switch_page_0"/><widget class="QWidget" name="device_function_switch_page_1"/><widget class="QWidget" name="device_function_switch_page_2"/>{system_panel()}</widget></item>
   <item><widget class="QStackedWidget" name="device_key_function_switch"><property name="maximumSize"><size><width>16777215</width><height>0</height></size></property><widget class="QWidget" name="device_key_function_switch_page_0"/><widget class="QWidget" name="device_key_function_switch_page_1"/><widget class="QWidget" name="device_key_function_switch_page_2"/></widget></item>
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
