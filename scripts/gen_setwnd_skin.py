#!/usr/bin/env python3
"""Writes the settings window's skins: skin/setwnd/setwnd.ui (630 x 500 at 96 DPI: the title bar, a hint the
user can put away, the language choice and the software and firmware list with its update button and its
confirmation page) and skin/CustomControlXML/device_Update_list_item.ui (one 40-pixel row of that list).
The list's columns and the row's cells share their widths. Texts are language ids.

Run from anywhere: scripts/gen_setwnd_skin.py."""

import pathlib
from skin_ui import button, label, prop, size

TOP = pathlib.Path(__file__).resolve().parent.parent

# Column widths of the update list, shared by its header and its rows.
# The row is 518 pixels inside its margins; the status text takes what the others leave (about 110).
NAME_WIDTH, CURRENT_WIDTH, NEW_WIDTH, DONE_WIDTH, BAR_WIDTH, VALUE_WIDTH = 96, 70, 70, 16, 50, 34
ROW_HEIGHT = 40


def fixed(width=None, height=None):
    text = ""
    if width is not None:
        text += size("minimumSize", width, 0 if height is None else height)
        text += size("maximumSize", width, 16777215 if height is None else height)
    elif height is not None:
        text += size("minimumSize", 0, height) + size("maximumSize", 16777215, height)
    return text


def margins(left, top, right, bottom):
    return (f'<property name="leftMargin"><number>{left}</number></property>'
            f'<property name="topMargin"><number>{top}</number></property>'
            f'<property name="rightMargin"><number>{right}</number></property>'
            f'<property name="bottomMargin"><number>{bottom}</number></property>')


def layout(kind, name, items, spacing, margin=(0, 0, 0, 0)):
    cells = "".join(f"<item>{item}</item>" for item in items)
    return (f'<layout class="{kind}" name="{name}_layout">{margins(*margin)}'
            f'<property name="spacing"><number>{spacing}</number></property>{cells}</layout>')


def widget(cls, name, extra="", inner=""):
    return f'<widget class="{cls}" name="{name}">{extra}{inner}</widget>'


def hspacer(name, width=0):
    return (f'<spacer name="{name}"><property name="orientation"><enum>Qt::Horizontal</enum></property>'
            f'<property name="sizeHint" stdset="0"><size><width>{width}</width><height>0</height></size></property></spacer>')


def vspacer(name, height=0):
    return (f'<spacer name="{name}"><property name="orientation"><enum>Qt::Vertical</enum></property>'
            f'<property name="sizeHint" stdset="0"><size><width>0</width><height>{height}</height></size></property></spacer>')


def font(points, bold=False):
    return f'<property name="font"><font><pointsize>{points}</pointsize><bold>{"true" if bold else "false"}</bold></font></property>'


def plain_label(name, text="", role="body", extra=""):
    return widget("QLabel", name, prop("text", text, dynamic=False) + prop("role", role) + extra)


def title_button(name, glyph, tip, role="titlebutton", visible=True):
    hidden = "" if visible else '<property name="visible"><bool>false</bool></property>'
    return widget("QPushButton", name, prop("text", glyph, dynamic=False) + prop("role", role) + prop("tooltipid", tip)
                  + hidden)


def titlebar():
    items = [
        label("setwnd_title", "settings_title_text", role="dialogtitle", extra=font(11, True)),
        widget("QLabel", "text_test", '<property name="visible"><bool>false</bool></property>'),
        hspacer("setwnd_title_spacer"),
        title_button("menubtn", "☰", "tip_menu", visible=False),
        title_button("minbtn", "–", "tip_minimize"),
        title_button("maxbtn", "□", "tip_maximize", visible=False),
        title_button("restorebtn", "❐", "tip_restore", visible=False),
        title_button("closebtn", "✕", "tip_close", role="closebutton"),
    ]
    return widget("QWidget", "setwnd_titlebar", prop("role", "titlebar") + fixed(height=48),
                  layout("QHBoxLayout", "setwnd_titlebar", items, 6, (20, 0, 12, 0)))


def hint():
    text = label("update_tishi_text", "update_tishi_text", role="muted",
                 extra='<property name="wordWrap"><bool>true</bool></property>' + font(9))
    ok = widget("QPushButton", "set_in_update_wnd_btn",
                prop("text", "update_tishi_ok_text", dynamic=False) + prop("textid", "update_tishi_ok_text")
                + size("maximumSize", 140, 16777215))
    return widget("QWidget", "update_tishi_layout", prop("role", "panel"),
                  layout("QHBoxLayout", "update_tishi", [text, ok], 12, (16, 8, 10, 8)))


def language_section():
    caption = label("language_caption", "language_caption_text", role="caption", extra=font(10, True))
    combo = widget("QComboBox", "Language_combox_info", fixed(width=220))
    return widget("QWidget", "language_section", prop("role", "panel"),
                  layout("QHBoxLayout", "language_section", [caption, hspacer("language_spacer"), combo], 12,
                         (16, 10, 16, 10)))


def list_header():
    cells = [
        label("update_col_name", "update_col_name_text", extra=fixed(width=NAME_WIDTH + 26) + font(8, True)),
        label("update_col_current", "update_col_current_text", extra=fixed(width=CURRENT_WIDTH) + font(8, True)),
        label("update_col_new", "update_col_new_text", extra=fixed(width=NEW_WIDTH) + font(8, True)),
        label("update_col_status", "update_col_status_text", extra=font(8, True)),
    ]
    # The list pads each row by 10 pixels; the header starts where the rows' cells start.
    return widget("QWidget", "update_list_header", "", layout("QHBoxLayout", "update_list_header", cells, 8, (20, 0, 20, 0)))


def list_page():
    update_list = widget("QListWidget", "device_update_list_info", prop("itemhotbordercolor", "#3a4050"))
    update_button = widget("QPushButton", "update_fw_and_ap",
                           prop("text", "update_fw_and_ap_text", dynamic=False) + prop("textid", "update_fw_and_ap_text")
                           + prop("role", "primary"))
    buttons = widget("QWidget", "update_list_buttons", "",
                     layout("QHBoxLayout", "update_list_buttons", [hspacer("update_list_buttons_spacer"), update_button], 8))
    return widget("QWidget", "update_list_page", "",
                  layout("QVBoxLayout", "update_list_page", [list_header(), update_list, buttons], 6))


def confirm_page():
    text = label("update_confirm", "update_confirm_text", role="body",
                 extra='<property name="wordWrap"><bool>true</bool></property>' + font(10))
    later = button("laterbtn", "later_btn_text")
    start = widget("QPushButton", "update_OK_btn",
                   prop("text", "update_ok_btn_text", dynamic=False) + prop("textid", "update_ok_btn_text")
                   + prop("role", "primary"))
    buttons = widget("QWidget", "update_confirm_buttons", "",
                     layout("QHBoxLayout", "update_confirm_buttons", [hspacer("update_confirm_spacer"), later, start], 8))
    return widget("QWidget", "update_confirm_page", "",
                  layout("QVBoxLayout", "update_confirm_page", [vspacer("update_confirm_top", 20), text, vspacer("update_confirm_mid"), buttons], 12))


def update_section():
    caption = label("update_caption", "update_caption_text", role="caption", extra=font(10, True))
    ring = widget("QProgressBar", "update_status_ring",
                  fixed(width=48) + '<property name="minimum"><number>0</number></property>'
                  '<property name="maximum"><number>0</number></property>'
                  '<property name="textVisible"><bool>false</bool></property>')
    image = widget("QLabel", "update_status_image", prop("bkimage", "setwnd/update_status.svg") + fixed(16, 16)
                   + '<property name="visible"><bool>false</bool></property>')
    status = plain_label("Update_Status_text", role="muted",
                         extra='<property name="wordWrap"><bool>true</bool></property>' + font(9))
    header = widget("QWidget", "update_status_row", "",
                    layout("QHBoxLayout", "update_status_row", [caption, hspacer("update_status_spacer", 12), ring, image, status], 8))
    pages = widget("QStackedWidget", "get_update_tab_layout", "",
                   f"{list_page()}{confirm_page()}")
    return widget("QWidget", "update_section", prop("role", "panel"),
                  layout("QVBoxLayout", "update_section", [header, pages], 10, (16, 12, 16, 12)))


def setwnd():
    body = widget("QWidget", "setwnd_body", "",
                  layout("QVBoxLayout", "setwnd_body", [hint(), language_section(), update_section()], 12, (20, 4, 20, 18)))
    root = widget("QWidget", "root",
                  '<property name="geometry"><rect><x>0</x><y>0</y><width>630</width><height>500</height></rect></property>'
                  + prop("role", "window") + prop("frameless", "true", kind="bool") + prop("captionheight", 48, kind="number"),
                  layout("QVBoxLayout", "root", [titlebar(), body], 0))
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<!-- The settings window, 630 x 500 at 96 DPI. Written by scripts/gen_setwnd_skin.py. -->\n'
            f'<ui version="4.0"><class>SetWnd</class>{root}<resources/><connections/></ui>\n')


def cell(name, width, content):
    return widget("QWidget", name, fixed(width=width), layout("QHBoxLayout", name, [content], 0))


def list_item():
    name = widget("QCheckBox", "check_name_select", prop("text", "", dynamic=False) + fixed(width=NAME_WIDTH + 26))
    current = plain_label("OldRev", extra=fixed(width=CURRENT_WIDTH) + font(9))
    # Cells whose content hides keep their width, so that the columns stay under their headers.
    new = cell("update_new_cell", NEW_WIDTH,
               plain_label("updateRev", role="logo", extra=font(9, True)))
    status = plain_label("update_status_text", role="muted",
                         extra='<property name="wordWrap"><bool>true</bool></property>' + font(9))
    done = cell("update_done_cell", DONE_WIDTH,
                plain_label("update_status_ok", "✓", role="logo", extra=font(10, True)))
    bar = widget("QProgressBar", "update_status_ing", '<property name="textVisible"><bool>false</bool></property>')
    value = plain_label("update_progress_value", "0%", role="muted", extra=fixed(width=VALUE_WIDTH) + font(8))
    progress = cell("update_progress_cell", BAR_WIDTH + VALUE_WIDTH + 6,
                    widget("QWidget", "update_progress_row", "",
                           layout("QHBoxLayout", "update_progress_row", [bar, value], 6)))
    cells = [name, current, new, status, done, progress]
    root = widget("QWidget", "update_list_item",
                  f'<property name="geometry"><rect><x>0</x><y>0</y><width>540</width><height>{ROW_HEIGHT}</height></rect></property>'
                  + fixed(height=ROW_HEIGHT),
                  layout("QHBoxLayout", "update_list_item", cells, 8, (10, 0, 10, 0)))
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<!-- One row of the settings window\'s update list. Written by scripts/gen_setwnd_skin.py. -->\n'
            f'<ui version="4.0"><class>UpdateInfoListItem</class>{root}<resources/><connections/></ui>\n')


def main():
    (TOP / "skin" / "setwnd").mkdir(exist_ok=True)
    (TOP / "skin" / "setwnd" / "setwnd.ui").write_text(setwnd(), encoding="utf-8")
    (TOP / "skin" / "CustomControlXML" / "device_Update_list_item.ui").write_text(list_item(), encoding="utf-8")


if __name__ == "__main__":
    main()
