#!/usr/bin/env python3
"""Writes skin/CustomControlXML/KeySetControl.ui: the key assignment editor's panel, one page per function
kind in "function_switch_tablayout" (page k = kind k), the function combo's items carrying their kind as user
data. The other combos' items follow the key tables' orders (mouse buttons, DPI steps, media keys, system keys,
shortcuts); their texts are language ids.

Run from anywhere: scripts/gen_keyset_skin.py."""

import pathlib
import skin_ui
from skin_ui import button, label, prop, radio

TOP = pathlib.Path(__file__).resolve().parent.parent

# Numeric edits start with values that make a usable function, so choosing a kind applies one at once.
# The function combo: the order users meet the kinds in; user data = kind.
KIND_ORDER = [0, 6, 7, 11, 1, 2, 3, 5, 4, 8, 9, 10]
MOUSE_BUTTONS = ["mouse_key_left", "mouse_key_middle", "mouse_key_right", "mouse_key_forward", "mouse_key_back"]
DPI_STEPS = ["mouse_key_DPI_add", "mouse_key_DPI_sub", "mouse_key_DPI_loop"]
MEDIA = ["media_text", "media_play", "media_stop", "media_prev", "media_next", "media_vol_sub", "media_vol_add",
         "media_mute", "web_text", "web_refresh", "wed_stop", "wed_back", "wed_forward", "wed_favorite",
         "web_search", "media_mypc", "media_calc", "media_mail"]
SYSTEM = ["system_power", "system_sleep", "system_wake_up"]
SHORTCUTS = ["custem_open", "custem_new", "custem_undo", "custem_save", "custem_copy", "custem_cut",
             "custem_paste", "custem_find", "custem_select_all", "custem_zoom_out", "custem_zoom_in"]
MACRO_ENDS = ["keyset_macro_end_0_text", "keyset_macro_end_1_text", "keyset_macro_end_2_text",
              "keyset_macro_end_3_text", "keyset_macro_end_cycle_text"]
GUN_KEYS = ["keyset_gunkey_0_text", "keyset_gunkey_1_text", "keyset_gunkey_2_text", "keyset_gunkey_3_text"]


def min_width(width):
    return f'<property name="minimumSize"><size><width>{width}</width><height>0</height></size></property>'


def combo(name, items, width=170, userdata=None):
    extra = prop("itemuserdata", ",".join(str(d) for d in userdata)) if userdata else ""
    return (f'<widget class="QComboBox" name="{name}">' + min_width(width) + prop("itemtextids", ",".join(items))
            + extra + "</widget>")


def edit(name, width=56, number=True, tip=None, text=None):
    extra = (prop("text", text, dynamic=False) if text is not None else "") + (prop("numberonly", "true", kind="bool") + '<property name="maxLength"><number>3</number></property>' if number else "")
    if tip:
        extra += prop("tooltipid", tip)
    return (f'<widget class="QLineEdit" name="{name}">' + min_width(width)
            + f'<property name="maximumSize"><size><width>{width + 40}</width><height>16777215</height></size></property>'
            + extra + "</widget>")


def box(kind, name, items, spacing=8, stretch=True):
    return skin_ui.box(kind, name, items, spacing, stretch)


def row(name, items, spacing=8):
    return skin_ui.row(name, items, spacing)


def motion_page(kind, name, directions):
    return row(f"function_switch_page_{kind}", [
        combo(f"keyset_{name}_combo", directions, width=130),
        label(f"keyset_{name}_num_caption", "keyset_count_text"), edit(f"keyset_{name}_num_edit", text="1"),
        label(f"keyset_{name}_delay_caption", "keyset_delay_text"), edit(f"keyset_{name}_delay_edit", tip="keyset_range_15_tip", text="0"),
        label(f"keyset_{name}_speed_caption", "keyset_speed_text"), edit(f"keyset_{name}_speed_edit", tip="keyset_range_15_tip", text="0"),
    ])


def pages():
    page = {}
    page[0] = row("function_switch_page_0", [label("keyset_default_label", "keyset_default_hint_text", role="muted")])
    page[1] = row("function_switch_page_1", [combo("keyset_mousekey_combo", MOUSE_BUTTONS)])
    page[2] = motion_page(2, "mouseswing", ["mouse_key_left_Swing", "mouse_key_right_Swing"])
    page[3] = motion_page(3, "mousewheel", ["mouse_key_up_Swing", "mouse_key_down_Swing"])
    page[4] = row("function_switch_page_4", [combo("keyset_mousedpi_combo", DPI_STEPS)])
    page[5] = row("function_switch_page_5", [
        label("keyset_mousefire_interval_caption", "keyset_interval_text"), edit("keyset_mousefire_interval_edit", text="50"),
        label("keyset_mousefire_num_caption", "keyset_count_text"), edit("keyset_mousefire_num_edit", text="2")])
    modifiers = [radio(f"key_ComBox_check_{i}", f"keyset_modifier_{i}_text", "keyset_modifier") for i in range(5)]
    page[6] = row("function_switch_page_6", [
        edit("keyset_keyboard_text_edit", width=150, number=False, tip="keyset_capture_tip")] + modifiers)
    page[7] = row("function_switch_page_7", [combo("keyset_media_combo", MEDIA)])
    page[8] = row("function_switch_page_8", [combo("keyset_system_combo", SYSTEM)])
    cycle = ('<widget class="QWidget" name="keyset_macro_cycle_layout">'
             + box("QHBoxLayout", "keyset_macro_cycle_layout", [label("keyset_macro_cycle_caption", "keyset_cycle_text"),
                                                             edit("keyset_macro_cycle_edit", text="1")], stretch=False)
             + "</widget>")
    page[9] = row("function_switch_page_9", [combo("keyset_macro_combo", [], width=160),
                                              combo("keyset_macro_over_combo", MACRO_ENDS, width=150), cycle])
    page[10] = row("function_switch_page_10", [combo("keyset_gunkey_combo", GUN_KEYS)])
    page[11] = row("function_switch_page_11", [combo("keyset_combokey_combo", SHORTCUTS)])
    return "".join(page[k] for k in range(12))


def main():
    kinds = combo("keyset_function_combo", [f"keyset_kind_{k}_text" for k in KIND_ORDER], width=190, userdata=KIND_ORDER)
    head = row("keyset_function_row", [label("keyset_function_caption", "keyset_function_text"), kinds])
    switch = ('<widget class="QStackedWidget" name="function_switch_tablayout">'
              '<property name="maximumSize"><size><width>16777215</width><height>34</height></size></property>'
              + pages() + "</widget>")
    buttons = row("keyset_buttons", [button("key_butt_keydefalut", "keyset_default_btn_text"),
                                     button("key_butt_keycancel", "keyset_cancel_btn_text"),
                                     button("key_butt_keysave", "keyset_apply_btn_text"),
                                     button("key_butt_prosave", "keyset_write_btn_text")])
    # One row each (kind, its parameters, the buttons): the page below the picture is narrow, not short.
    panel = ('<widget class="QWidget" name="keyset_layout">'
             + box("QVBoxLayout", "keyset_layout", [head, switch, buttons], 8, False) + "</widget>")
    hint = label("keyset_hint_label", "keyset_pick_key_text", role="muted")
    hidden = ('<widget class="QLabel" name="text_test"><property name="visible"><bool>false</bool></property>'
              '<property name="maximumSize"><size><width>0</width><height>0</height></size></property></widget>')
    ui = f'''<?xml version="1.0" encoding="UTF-8"?>
<!-- Written by scripts/gen_keyset_skin.py; edit the script, not this file. -->
<ui version="4.0">
 <class>KeySetControl</class>
 <widget class="QWidget" name="keyset_root">
  <property name="geometry"><rect><x>0</x><y>0</y><width>900</width><height>80</height></rect></property>
  {box("QVBoxLayout", "keyset_root", [hint, panel, hidden], 4, False)}
 </widget>
 <resources/>
 <connections/>
</ui>
'''
    out = TOP / "skin/CustomControlXML/KeySetControl.ui"
    out.write_text(ui, encoding="utf-8")
    print(f"{out.relative_to(TOP)} written")


if __name__ == "__main__":
    main()
