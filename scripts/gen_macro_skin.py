#!/usr/bin/env python3
"""Writes skin/CustomControlXML/MacroControl.ui: the macro editor's panel. On the left the device's macro list
with its name edit and the list buttons; on the right the selected macro's rows ("macro_action_list", whose
rows the panel builds itself), the row buttons, the recording options and the mouse move insertions. Texts
are language ids.

Run from anywhere: scripts/gen_macro_skin.py."""

import pathlib
import skin_ui
from skin_ui import NO_MARGINS, button, check, label, prop, size

TOP = pathlib.Path(__file__).resolve().parent.parent


def edit(name, width=56, number=True, text=None, max_length=3):
    extra = prop("text", text, dynamic=False) if text is not None else ""
    if number:
        extra += prop("numberonly", "true", kind="bool")
        extra += f'<property name="maxLength"><number>{max_length}</number></property>'
    return (f'<widget class="QLineEdit" name="{name}">' + size("minimumSize", width, 0)
            + size("maximumSize", width + 60, 16777215) + extra + "</widget>")


def box(kind, name, items, spacing=6, stretch=True):
    return skin_ui.box(kind, name, items, spacing, stretch)


def row(name, items, spacing=6):
    return skin_ui.row(name, items, spacing)


def column(name, items, spacing=6):
    return f'<widget class="QWidget" name="{name}">' + box("QVBoxLayout", name, items, spacing, False) + "</widget>"


def grid(name, cells, spacing=6):
    """cells: rows of widgets (None leaves a cell empty)."""
    items = "".join(f'<item row="{r}" column="{c}">{w}</item>'
                    for r, line in enumerate(cells) for c, w in enumerate(line) if w)
    return (f'<widget class="QWidget" name="{name}"><layout class="QGridLayout" name="{name}_box">{NO_MARGINS}'
            f'<property name="horizontalSpacing"><number>{spacing}</number></property>'
            f'<property name="verticalSpacing"><number>{spacing}</number></property>{items}</layout></widget>')


# The panel takes the room below the profile bar (the keyboard picture gives way on this tab), about 660
# pixels wide in a window of 1000 x 640: three narrow columns rather than long rows, whose lists take the
# height there is.
def macro_list():
    names = ('<widget class="QListWidget" name="macro_name_list">' + size("minimumSize", 140, 90)
             + size("maximumSize", 170, 16777215) + "</widget>")
    return column("macro_name_tab", [
        label("macro_list_caption", "macro_list_text"),
        names,
        edit("macro_edit_macroname", width=110, number=False),
        row("macro_name_buttons", [button("macro_btn_name_add", "macro_add_btn_text"),
                                   button("macro_btn_name_sub", "macro_delete_btn_text"),
                                   button("macro_btn_name_edit", "macro_rename_btn_text")], spacing=4),
    ], spacing=4)


def mouse_moves():
    def move(direction, edit_name):
        return row(f"macro_move_{direction}", [edit(edit_name, width=40, text="10"),
                                               button(f"macro_inset_move{direction}key_btn",
                                                      f"macro_insert_{direction}_btn_text")], spacing=4)
    return grid("mouse_move_layout", [[move("left", "mouse_x_left_edit"), move("right", "mouse_x_right_edit")],
                                      [move("up", "mouse_y_up_edit"), move("down", "mouse_y_down_edit")]], 4)


def macro_actions():
    rows = ('<widget class="QListWidget" name="macro_action_list">' + size("minimumSize", 210, 90)
            + prop("contextmenu", "true", kind="bool") + "</widget>")
    record = row("macro_action_layout", [
        button("macro_btn_starredio", "macro_record_btn_text", klass="RedioMacroButton"),
        skin_ui.texted("RedioMacroButton", "macro_btn_stopredio", "macro_stop_btn_text",
                       prop("redioimage", "common/macro_recording.svg")),
        row("macro_tab_macrodelay_edit", [check("macro_check_time", "macro_fixed_delay_text"),
                                          edit("macro_fixed_time_edit", width=44, text="50", max_length=5)], 4)],
        spacing=4)
    return column("macro_action_area", [label("macro_rows_caption", "macro_rows_text"), rows, record, mouse_moves()],
                  spacing=4)


def macro_buttons():
    # The buttons keep to the top of the column however tall the lists beside them grow.
    top = ('<item row="5" column="0" colspan="2"><spacer name="macro_buttons_spacer"><property name="orientation">'
           '<enum>Qt::Vertical</enum></property></spacer></item>')
    buttons = grid("macro_tab_macroaction_edit", [
        [button("macro_btn_up", "macro_up_btn_text"), button("macro_btn_down", "macro_down_btn_text")],
        [button("macro_btn_uptop", "macro_top_btn_text"), button("macro_btn_downbottom", "macro_bottom_btn_text")],
        [button("macro_btn_delete", "macro_delete_row_btn_text"),
         button("macro_btn_deleteall", "macro_delete_all_btn_text")],
        [button("macro_btn_save", "macro_save_btn_text"), button("macro_btn_cancel", "macro_cancel_btn_text")],
        [button("macro_btn_import", "macro_import_btn_text"), button("macro_btn_export", "macro_export_btn_text")],
    ], 4)
    return buttons.replace("</layout></widget>", top + "</layout></widget>")


def main():
    ui = f'''<?xml version="1.0" encoding="UTF-8"?>
<!-- Written by scripts/gen_macro_skin.py; edit the script, not this file. -->
<ui version="4.0">
 <class>MacroControl</class>
 <widget class="QWidget" name="macro_root">
  <property name="geometry"><rect><x>0</x><y>0</y><width>660</width><height>190</height></rect></property>
  {box("QHBoxLayout", "macro_root", [macro_list(), macro_actions(), macro_buttons()], 10, False)}
 </widget>
 <resources/>
 <connections/>
</ui>
'''
    out = TOP / "skin/CustomControlXML/MacroControl.ui"
    out.write_text(ui, encoding="utf-8")
    print(f"{out.relative_to(TOP)} written")


if __name__ == "__main__":
    main()
