"""The pieces the skin generators build Qt Designer .ui text from: properties, labelled widgets and
zero-margin layouts. Texts are language ids: each widget carries its id as "textid" so the program shows the
language's text and follows a language switch."""

from xml.sax.saxutils import escape

NO_MARGINS = ('<property name="leftMargin"><number>0</number></property><property name="topMargin"><number>0</number></property>'
              '<property name="rightMargin"><number>0</number></property><property name="bottomMargin"><number>0</number></property>')


def prop(name, value, kind="string", dynamic=True):
    stdset = ' stdset="0"' if dynamic else ""
    return f'<property name="{name}"{stdset}><{kind}>{escape(str(value))}</{kind}></property>'


def size(name, width, height):
    return f'<property name="{name}"><size><width>{width}</width><height>{height}</height></size></property>'


def texted(cls, name, text_id, extra=""):
    return (f'<widget class="{cls}" name="{name}">' + prop("text", text_id, dynamic=False) + prop("textid", text_id)
            + extra + "</widget>")


def label(name, text_id, role="caption", extra=""):
    return texted("QLabel", name, text_id, prop("role", role) + extra)


def button(name, text_id, klass="QPushButton"):
    return texted(klass, name, text_id)


def radio(name, text_id, group):
    return texted("QRadioButton", name, text_id, prop("group", group))


def check(name, text_id):
    return texted("QCheckBox", name, text_id)


def box(kind, name, items, spacing, stretch):
    """A layout of the items without margins; a horizontal one that stretches ends in a spacer."""
    cells = "".join(f"<item>{item}</item>" for item in items)
    spacer = (f'<item><spacer name="{name}_spacer"><property name="orientation"><enum>Qt::Horizontal</enum></property>'
              '</spacer></item>') if stretch and kind == "QHBoxLayout" else ""
    return (f'<layout class="{kind}" name="{name}_box">{NO_MARGINS}'
            f'<property name="spacing"><number>{spacing}</number></property>{cells}{spacer}</layout>')


def row(name, items, spacing):
    return f'<widget class="QWidget" name="{name}">' + box("QHBoxLayout", name, items, spacing, True) + "</widget>"
