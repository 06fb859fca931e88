#!/usr/bin/env python3
"""Writes skin/DeviceXml/mousedevice.ui: the mouse page.

The picture ("mouse_device_key_light", a SelectPanel) shows the mouse from above and from its left side. Every
button of the mouse is a DeviceKeyButton "key_N" (N the button's index on the page: 0 left, 1 right, 2 middle,
3 forward, 4 back, 5 DPI up, 6 DPI down, 7 DPI cycle, 8 mode key, 9 DPI shift, 10 rapid fire). The fifteen
LEDs of the two light strips and the rear light are light buttons (user data "light_N"); the side view shows
the left strip again, as the second set "light_0_N"; "logo" is the logo on the back.

Below the picture the page has the function switches the profile bar's tabs select: the lighting and key
assignment panels (under the picture), the macros, the pointer settings, and the mouse's own settings, which
have tabs of their own ("mouse_option_layout", "mouse_device_seting_layout"): the DPI stages with the report
rate, and the recoil patterns.

Run from anywhere: scripts/gen_mouse_skin.py."""

import pathlib
import skin_ui
from skin_ui import check, label, prop, radio, size, texted

TOP = pathlib.Path(__file__).resolve().parent.parent
CAPTION_PT = 6
STAGES = 5
REPORT_RATES = 5
HIDDEN = '<property name="visible"><bool>false</bool></property>'


def rect(x, y, w, h):
    return f'<property name="geometry"><rect><x>{x}</x><y>{y}</y><width>{w}</width><height>{h}</height></rect></property>'


def fixed(width, height):
    return size("minimumSize", width, height) + size("maximumSize", width, height)


def key(n, x, y, w, h, caption, tip):
    font = f'<property name="font"><font><pointsize>{CAPTION_PT}</pointsize></font></property>'
    return (f'<widget class="DeviceKeyButton" name="key_{n}">{rect(x, y, w, h)}{font}'
            + prop("text", caption, dynamic=False) + prop("tooltipid", tip) + prop("role", "devicekey") + "</widget>")


def light(name, x, y, w, h, led=None):
    data = prop("userdata", f"light_{led}") if led is not None else ""
    return (f'<widget class="DeviceKeyButton" name="{name}">{rect(x, y, w, h)}' + data
            + prop("role", "devicelight") + "</widget>")


def body(name, x, y, w, h):
    return f'<widget class="QWidget" name="{name}">{rect(x, y, w, h)}{prop("role", "mousebody")}</widget>'


# ---- The picture. -------------------------------------------------------------------------------------------
# Top view at the left (the front up), the left side at the right (the front to the left). The bodies are
# drawn first so the buttons and lights lie on them.

PICTURE_W, PICTURE_H = 440, 180
TOP_X, TOP_W = 14, 124
SIDE_X, SIDE_Y, SIDE_W, SIDE_H = 172, 48, 256, 96
STRIP_LEDS = 7  # per side, front to back


def picture():
    parts = [body("mouse_top_body", TOP_X, 0, TOP_W, PICTURE_H), body("mouse_side_body", SIDE_X, SIDE_Y, SIDE_W, SIDE_H)]
    mid = TOP_X + TOP_W // 2
    parts += [
        key(0, TOP_X + 6, 6, 50, 70, "L", "ms_key_0_tip"),
        key(1, TOP_X + TOP_W - 56, 6, 50, 70, "R", "ms_key_1_tip"),
        key(2, mid - 7, 10, 14, 30, "M", "ms_key_2_tip"),
        key(5, mid - 8, 46, 16, 14, "+", "ms_key_5_tip"),
        key(6, mid - 8, 62, 16, 14, "−", "ms_key_6_tip"),
        key(7, mid - 12, 84, 24, 16, "DPI", "ms_key_7_tip"),
        key(8, mid - 12, 104, 24, 16, "GM", "ms_key_8_tip"),
        '<widget class="DeviceKeyButton" name="logo">' + rect(mid - 14, 128, 28, 28) + prop("text", "◆", dynamic=False)
        + prop("tooltipid", "ms_logo_tip") + prop("role", "mouselogo") + "</widget>",
    ]
    # The strips along both edges of the top view: LED g on the left, 13 − g on the right, front to back; the
    # rear light across the back.
    step = 20
    for g in range(STRIP_LEDS):
        y = 16 + g * step
        parts.append(light(f"mouse_led_left_{g}", TOP_X + 1, y, 5, 14, g))
        parts.append(light(f"mouse_led_right_{g}", TOP_X + TOP_W - 6, y, 5, 14, 13 - g))
    parts.append(light("mouse_led_rear", mid - 20, PICTURE_H - 7, 40, 5, 14))
    # The left side: its buttons, and its strip again along the bottom edge (the second set of lights).
    parts += [
        key(3, SIDE_X + 56, SIDE_Y + 16, 40, 20, "Fwd", "ms_key_3_tip"),
        key(4, SIDE_X + 100, SIDE_Y + 16, 40, 20, "Back", "ms_key_4_tip"),
        key(10, SIDE_X + 30, SIDE_Y + 44, 40, 20, "Fire", "ms_key_10_tip"),
        key(9, SIDE_X + 74, SIDE_Y + 44, 40, 20, "Shift", "ms_key_9_tip"),
    ]
    for g in range(STRIP_LEDS):
        parts.append(light(f"light_0_{g}", SIDE_X + 14 + g * 30, SIDE_Y + SIDE_H - 12, 24, 5))
    parts.append(light("light_0_14", SIDE_X + SIDE_W - 22, SIDE_Y + 20, 5, 40))
    widgets = "\n    ".join(parts)
    return (f'<widget class="SelectPanel" name="mouse_device_key_light">{fixed(PICTURE_W, PICTURE_H)}\n    {widgets}\n   </widget>')


# ---- The mouse's own settings. --------------------------------------------------------------------------------

def slider(name, minimum, maximum, width=None):
    w = size("minimumSize", width, 0) if width else ""
    return (f'<widget class="QSlider" name="{name}"><property name="orientation"><enum>Qt::Horizontal</enum></property>'
            f'<property name="minimum"><number>{minimum}</number></property>'
            f'<property name="maximum"><number>{maximum}</number></property>{w}</widget>')


def edit(name, width, length):
    return (f'<widget class="QLineEdit" name="{name}">' + size("minimumSize", width, 0) + size("maximumSize", width, 16777215)
            + f'<property name="maxLength"><number>{length}</number></property>' + prop("numberonly", "true", kind="bool")
            + "</widget>")


def group(name, items, kind="QHBoxLayout", spacing=8, stretch=False, extra=""):
    return f'<widget class="QWidget" name="{name}">{extra}' + skin_ui.box(kind, name, items, spacing, stretch) + "</widget>"


def stage_row(n):
    enable = texted("QCheckBox", f"DPI_enable_check_{n}", f"ms_dpi_stage_{n}_text", size("minimumSize", 84, 0))
    select = ('<widget class="QRadioButton" name="DPI_select_check_' + str(n) + '">' + prop("group", "ms_dpi_active")
              + prop("tooltipid", "ms_dpi_active_tip") + "</widget>")
    colour = ('<widget class="QPushButton" name="DPI_color_option_' + str(n) + '">' + fixed(40, 22)
              + prop("role", "lightswatch") + prop("tooltipid", "ms_dpi_colour_tip") + "</widget>")
    layout = group(f"DPI_layout_{n}", [select, slider(f"DPI_slider_{n}", 0, 73, 260), edit(f"DPI_edit_{n}", 64, 5),
                                       label(f"DPI_unit_{n}", "ms_dpi_unit_text", role="muted"), colour],
                   spacing=10)
    return group(f"DPI_stage_row_{n}", [enable, layout], spacing=10, stretch=True)


def caption_width(width):
    return size("minimumSize", width, 0)


def dpi_page():
    rates = [radio(f"polling_rate_option_{i}", f"ms_report_rate_{i}_text", "ms_report_rate") for i in range(REPORT_RATES)]
    rate = group("ms_report_rate_row", [label("ms_report_rate_caption", "system_polling_rate_text", extra=caption_width(84))]
                 + rates, spacing=14, stretch=True)
    defaults = group("ms_defaults_row", [label("ms_defaults_caption", "system_defaults_text", extra=caption_width(84)),
                                         texted("QPushButton", "default_btn", "default_btn_text")], stretch=True)
    rows = [stage_row(n) for n in range(STAGES)] + [rate, defaults]
    return group("mouse_device_seting_page_0", rows, kind="QVBoxLayout", spacing=4)


def recoil_page():
    return ('<widget class="QWidget" name="mouse_device_seting_page_1">'
            + skin_ui.box("QVBoxLayout", "mouse_device_seting_page_1", ['<widget class="ShootControl" name="ShootControlItem"/>'], 0, False)
            + "</widget>")


def settings_panel():
    tabs = [texted("COptionUI", f"mouse_device_seting_option_{i}", text, prop("group", "ms_settings_tab") + prop("role", "tab"))
            for i, text in enumerate(["ms_settings_dpi_text", "ms_settings_recoil_text"])]
    options = group("mouse_option_layout", tabs, spacing=8, stretch=True)
    pages = '<widget class="QStackedWidget" name="mouse_device_seting_layout">' + dpi_page() + recoil_page() + "</widget>"
    return function_page("device_function_switch_page_3", [options, pages], 6)


def pointer_panel():
    def row(name, caption, widget):
        return group(name, [label(f"{name}_caption", caption, extra=caption_width(150)), widget], spacing=14, stretch=True)
    rows = [
        row("ms_pointer_speed_row", "ms_pointer_speed_text", slider("pointer_speed_slider", 1, 20, 240)),
        row("ms_precision_row", "ms_precision_caption", check("pointer_precision_check", "ms_precision_text")),
        row("ms_scroll_row", "ms_scroll_speed_text", slider("scroll_speed_slider", 1, 20, 240)),
        row("ms_scroll_page_row", "ms_scroll_page_caption", check("scrolls_page_check", "ms_scroll_page_text")),
        row("ms_double_click_row", "ms_double_click_text", slider("double_click_slider", 1, 10, 240)),
        row("ms_desktop_row", "ms_desktop_caption", texted("QPushButton", "windowdeviceset_1", "desktop_mouse_settings_text")),
        label("ms_pointer_note", "ms_pointer_note_text", role="muted"),
    ]
    return function_page("device_function_switch_page_2", rows, 6)


PAGE_MARGINS = ('<property name="leftMargin"><number>16</number></property><property name="topMargin"><number>8</number></property>'
                '<property name="rightMargin"><number>16</number></property><property name="bottomMargin"><number>10</number></property>')


def function_page(name, rows, spacing):
    """A page of the function switch: its rows inside the panel's border, with room around them."""
    cells = "".join(f"<item>{row}</item>" for row in rows)
    return (f'<widget class="QWidget" name="{name}"><layout class="QVBoxLayout" name="{name}_box">{PAGE_MARGINS}'
            f'<property name="spacing"><number>{spacing}</number></property>{cells}</layout></widget>')


def page_box(name, inner):
    return (f'<widget class="QWidget" name="{name}"><layout class="QVBoxLayout" name="{name}_box">{skin_ui.NO_MARGINS}'
            f'<item>{inner}</item></layout></widget>')


def main():
    function_switch = ('<widget class="QStackedWidget" name="device_function_switch">'
                       '<property name="role" stdset="0"><string>panel</string></property>'
                       '<widget class="QWidget" name="device_function_switch_page_0"/>'
                       + page_box("device_function_switch_page_1", '<widget class="MacroControl" name="MacroControlItem"/>')
                       + pointer_panel() + settings_panel() + "</widget>")
    key_switch = ('<widget class="QStackedWidget" name="device_key_function_switch">'
                  '<property name="maximumSize"><size><width>16777215</width><height>0</height></size></property>'
                  + page_box("device_key_function_switch_page_0", '<widget class="LightControl" name="LightControlItem"/>')
                  + page_box("device_key_function_switch_page_1", '<widget class="KeySetControl" name="KeySetControlItem"/>')
                  + '<widget class="QWidget" name="device_key_function_switch_page_2"/></widget>')
    ui = f'''<?xml version="1.0" encoding="UTF-8"?>
<!-- Written by scripts/gen_mouse_skin.py; edit the script, not this file. -->
<ui version="4.0">
 <class>MouseDevice</class>
 <widget class="QWidget" name="mouse_device_page">
  <property name="geometry"><rect><x>0</x><y>0</y><width>{PICTURE_W + 260}</width><height>{PICTURE_H + 380}</height></rect></property>
  <property name="role" stdset="0"><string>panel</string></property>
  <layout class="QVBoxLayout" name="mouse_device_page_layout">
   <property name="leftMargin"><number>24</number></property>
   <property name="topMargin"><number>16</number></property>
   <property name="rightMargin"><number>24</number></property>
   <property name="bottomMargin"><number>16</number></property>
   <property name="spacing"><number>8</number></property>
   <item><widget class="QLabel" name="mouse_device_page_caption">{prop("text", "ms_page_caption", dynamic=False)}{prop("textid", "ms_page_caption")}{prop("role", "bigvalue")}</widget></item>
   <item><widget class="DeviceProfile" name="DeviceProfileItem"/></item>
   <item alignment="Qt::AlignHCenter"><widget class="QLabel" name="device_sync_notice">{prop("text", "device_sync_no_reply", dynamic=False)}{prop("textid", "device_sync_no_reply")}{prop("role", "muted")}{HIDDEN}</widget></item>
   <item alignment="Qt::AlignHCenter">{picture()}</item>
   <item alignment="Qt::AlignHCenter"><widget class="QLabel" name="device_tishi_info">{prop("text", "ms_hint_text", dynamic=False)}{prop("textid", "ms_hint_text")}{prop("role", "muted")}</widget></item>
   <item>{function_switch}</item>
   <item>{key_switch}</item>
   <item><spacer name="mouse_device_page_spacer"><property name="orientation"><enum>Qt::Vertical</enum></property></spacer></item>
  </layout>
 </widget>
 <resources/>
 <connections/>
</ui>
'''
    out = TOP / "skin/DeviceXml/mousedevice.ui"
    out.write_text(ui, encoding="utf-8")
    print(f"{out.relative_to(TOP)} written")


if __name__ == "__main__":
    main()
