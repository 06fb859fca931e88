#!/usr/bin/env python3
"""Writes skin/CustomControlXML/ShootControl.ui: the recoil editor's panel on the mouse page.

The four guns are options "shoot_gun_op_N" beside the file buttons; the picture area
"shoot_image_display_switch" has a page per gun. The thirty bullets are small options "bullet_op_N" in two
rows, with "bullet_selected_prev", "bullet_select_index" and "bullet_selected_next" to step through them.
The bullet's pull is a direction check and a distance for each axis and a delay; the edits keep the skin's
own spellings ("bullet_x_eidt", "bullet_y_eidt", "bullet_delay_eidt"). The direction checks' texts are set
by the program from their state.

Run from anywhere: scripts/gen_shoot_skin.py."""

import pathlib
import skin_ui
from skin_ui import label, prop, size, texted

TOP = pathlib.Path(__file__).resolve().parent.parent
GUNS = 4
BULLETS = 30


def group(name, items, kind="QHBoxLayout", spacing=8, stretch=False):
    return f'<widget class="QWidget" name="{name}">' + skin_ui.box(kind, name, items, spacing, stretch) + "</widget>"


def fixed(width, height):
    return size("minimumSize", width, height) + size("maximumSize", width, height)


def edit(name, width, length):
    return (f'<widget class="QLineEdit" name="{name}">' + size("minimumSize", width, 0) + size("maximumSize", width, 16777215)
            + f'<property name="maxLength"><number>{length}</number></property>' + prop("numberonly", "true", kind="bool")
            + "</widget>")


def gun_row():
    guns = [texted("COptionUI", f"shoot_gun_op_{n}", f"shoot_gun_{n}_text", prop("group", "shoot_gun") + prop("role", "tab"))
            for n in range(GUNS)]
    files = [texted("QPushButton", name, text) for name, text in (
        ("shootdate_import_btn", "shoot_import_text"), ("shootdate_export_btn", "shoot_export_text"),
        ("shootdate_reset_btn", "shoot_reset_text"))]
    gap = '<spacer name="shoot_gun_row_gap"><property name="orientation"><enum>Qt::Horizontal</enum></property></spacer>'
    return group("shoot_gun_row", guns + [gap] + files, spacing=8)


def pictures():
    pages = "".join(
        f'<widget class="QWidget" name="shoot_image_page_{n}">'
        + skin_ui.box("QVBoxLayout", f"shoot_image_page_{n}", [label(f"shoot_image_{n}", f"shoot_gun_{n}_text", role="bigvalue")], 0, False)
        + "</widget>" for n in range(GUNS))
    return f'<widget class="QStackedWidget" name="shoot_image_display_switch">{fixed(72, 44)}{pages}</widget>'


def bullet_option(n):
    font = '<property name="font"><font><pointsize>7</pointsize></font></property>'
    return (f'<widget class="COptionUI" name="bullet_op_{n}">' + fixed(22, 20) + font + prop("text", str(n + 1), dynamic=False)
            + prop("group", "shoot_bullet") + prop("role", "bulletoption") + "</widget>")


def bullet_rows():
    half = BULLETS // 2
    rows = [group(f"shoot_bullet_row_{r}", [bullet_option(n) for n in range(r * half, (r + 1) * half)], spacing=2)
            for r in range(2)]
    grid = group("shoot_bullet_grid", rows, kind="QVBoxLayout", spacing=3)
    steps = group("shoot_bullet_steps", [
        texted("QPushButton", "bullet_selected_prev", "shoot_previous_text", prop("role", "steparrow")),
        label("shoot_bullet_caption", "shoot_bullet_text"),
        '<widget class="QLabel" name="bullet_select_index">' + prop("text", "1", dynamic=False) + prop("role", "bigvalue")
        + size("minimumSize", 24, 0) + "</widget>",
        texted("QPushButton", "bullet_selected_next", "shoot_next_text", prop("role", "steparrow")),
    ], spacing=6)
    return group("shoot_bullet_area", [pictures(), grid, steps], spacing=12, stretch=True)


def edit_row():
    x = group("shoot_x_group", [texted("QCheckBox", "bullet_x_check", "mouse_move_to_right_text", size("minimumSize", 110, 0)),
                                edit("bullet_x_eidt", 52, 5)], spacing=6)
    y = group("shoot_y_group", [texted("QCheckBox", "bullet_y_check", "mouse_move_to_down_text", size("minimumSize", 110, 0)),
                                edit("bullet_y_eidt", 52, 5)], spacing=6)
    delay = group("shoot_delay_group", [label("shoot_delay_caption", "shoot_delay_text"), edit("bullet_delay_eidt", 60, 5),
                                        label("shoot_delay_unit", "shoot_ms_text", role="muted")], spacing=6)
    send = texted("QPushButton", "shootdate_save_btn", "shoot_send_text", prop("role", "primary"))
    gap = '<spacer name="bullet_edit_gap"><property name="orientation"><enum>Qt::Horizontal</enum></property></spacer>'
    return group("bullet_edit_layout", [x, y, delay, gap, send], spacing=14)


def main():
    note = label("shoot_note", "shoot_note_text", role="muted", extra='<property name="wordWrap"><bool>true</bool></property>')
    rows = [gun_row(), bullet_rows(), edit_row(), note]
    ui = f'''<?xml version="1.0" encoding="UTF-8"?>
<!-- Written by scripts/gen_shoot_skin.py; edit the script, not this file. -->
<ui version="4.0">
 <class>ShootControl</class>
 <widget class="QWidget" name="shoot_root">
  <property name="geometry"><rect><x>0</x><y>0</y><width>660</width><height>200</height></rect></property>
  {skin_ui.box("QVBoxLayout", "shoot_root", rows, 8, False)}
 </widget>
 <resources/>
 <connections/>
</ui>
'''
    out = TOP / "skin/CustomControlXML/ShootControl.ui"
    out.write_text(ui, encoding="utf-8")
    print(f"{out.relative_to(TOP)} written")


if __name__ == "__main__":
    main()
