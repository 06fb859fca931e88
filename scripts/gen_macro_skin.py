#!/usr/bin/env python3
"""Writes skin/CustomControlXML/MacroControl.ui: the macro editor's panel. On the left the device's macro list
with its name edit and the list buttons; on the right the selected macro's rows ("macro_action_list", whose
rows the panel builds itself), the row buttons, the recording options and the mouse move insertions. Texts
are language ids.

Run from anywhere: scripts/gen_macro_skin.py."""

import pathlib
from xml.sax.saxutils import escape

TOP = pathlib.Path(__file__).resolve().parent.parent


def prop(name, value, kind="string", dynamic=True):
    stdset = ' stdset="0"' if dynamic else ""
    return f'<property name="{name}"{stdset}><{kind}>{escape(str(value))}</{kind}></property>'


def size(name, width, height):
    return f'<property name="{name}"><size><width>{width}</width><height>{height}</height></size></property>'


def label(name, text_id, role="caption"):
    return (f'<widget class="QLabel" name="{name}">' + prop("text", text_id, dynamic=False) + prop("textid", text_id)
            + prop("role", role) + "</widget>")


def edit(name, width=56, number=True, text=None, max_length=3):
    extra = prop("text", text, dynamic=False) if text is not None else ""
    if number:
        extra += prop("numberonly", "true", kind="bool")
        extra += f'<property name="maxLength"><number>{max_length}</number></property>'
    return (f'<widget class="QLineEdit" name="{name}">' + size("minimumSize", width, 0)
            + size("maximumSize", width + 60, 16777215) + extra + "</widget>")


def button(name, text_id, klass="QPushButton"):
    return (f'<widget class="{klass}" name="{name}">' + prop("text", text_id, dynamic=False) + prop("textid", text_id)
            + "</widget>")


def check(name, text_id):
    return (f'<widget class="QCheckBox" name="{name}">' + prop("text", text_id, dynamic=False)
            + prop("textid", text_id) + "</widget>")


def box(kind, name, items, spacing=6, stretch=True):
    cells = "".join(f"<item>{item}</item>" for item in items)
    spacer = (f'<item><spacer name="{name}_spacer"><property name="orientation"><enum>Qt::Horizontal</enum></property>'
              '</spacer></item>') if stretch and kind == "QHBoxLayout" else ""
    return (f'<layout class="{kind}" name="{name}_box">'
            '<property name="leftMargin"><number>0</number></property><property name="topMargin"><number>0</number></property>'
            '<property name="rightMargin"><number>0</number></property><property name="bottomMargin"><number>0</number></property>'
            f'<property name="spacing"><number>{spacing}</number></property>{cells}{spacer}</layout>')


def row(name, items, spacing=6):
    return f'<widget class="QWidget" name="{name}">' + box("QHBoxLayout", name, items, spacing) + "</widget>"


def column(name, items, spacing=6):
    return f'<widget class="QWidget" name="{name}">' + box("QVBoxLayout", name, items, spacing, False) + "</widget>"


def macro_list():
    names = ('<widget class="QListWidget" name="macro_name_list">' + size("minimumSize", 180, 120) + "</widget>")
    return column("macro_name_tab", [
        label("macro_list_caption", "macro_list_text"),
        names,
        edit("macro_edit_macroname", width=150, number=False),
        row("macro_name_buttons", [button("macro_btn_name_add", "macro_add_btn_text"),
                                   button("macro_btn_name_sub", "macro_delete_btn_text"),
                                   button("macro_btn_name_edit", "macro_rename_btn_text")]),
        row("macro_file_buttons", [button("macro_btn_import", "macro_import_btn_text"),
                                   button("macro_btn_export", "macro_export_btn_text")]),
    ])


def mouse_moves():
    def move(direction, edit_name):
        return [edit(edit_name, width=40, text="10"),
                button(f"macro_inset_move{direction}key_btn", f"macro_insert_{direction}_btn_text")]
    return row("mouse_move_layout", move("left", "mouse_x_left_edit") + move("right", "mouse_x_right_edit")
               + move("up", "mouse_y_up_edit") + move("down", "mouse_y_down_edit"))


def macro_actions():
    rows = ('<widget class="QListWidget" name="macro_action_list">' + size("minimumSize", 320, 150)
            + prop("contextmenu", "true", kind="bool") + "</widget>")
    steps = row("macro_tab_macroaction_edit", [
        button("macro_btn_up", "macro_up_btn_text"), button("macro_btn_down", "macro_down_btn_text"),
        button("macro_btn_uptop", "macro_top_btn_text"), button("macro_btn_downbottom", "macro_bottom_btn_text"),
        button("macro_btn_delete", "macro_delete_row_btn_text"),
        button("macro_btn_deleteall", "macro_delete_all_btn_text")])
    record = row("macro_action_layout", [
        button("macro_btn_starredio", "macro_record_btn_text", klass="RedioMacroButton"),
        button("macro_btn_stopredio", "macro_stop_btn_text", klass="RedioMacroButton"),
        row("macro_tab_macrodelay_edit", [check("macro_check_time", "macro_fixed_delay_text"),
                                          edit("macro_fixed_time_edit", width=56, text="50", max_length=5)]),
        button("macro_btn_save", "macro_save_btn_text"), button("macro_btn_cancel", "macro_cancel_btn_text")])
    return column("macro_action_area", [label("macro_rows_caption", "macro_rows_text"), rows, steps, record,
                                        mouse_moves()])


def main():
    ui = f'''<?xml version="1.0" encoding="UTF-8"?>
<!-- Written by scripts/gen_macro_skin.py; edit the script, not this file. -->
<ui version="4.0">
 <class>MacroControl</class>
 <widget class="QWidget" name="macro_root">
  <property name="geometry"><rect><x>0</x><y>0</y><width>900</width><height>260</height></rect></property>
  {box("QHBoxLayout", "macro_root", [macro_list(), macro_actions()], 12, False)}
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
