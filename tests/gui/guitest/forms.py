"""Where a control of a form is on the screen, from the form descriptions.

The program's forms are laid out by their .dfm texts (one beside each form
class) and by the alignment rules of its form runtime. FormLayout reads the
description of a form class and of the classes it inherits from (the C++
header names the base class), merges them as the runtime does (an
"inherited" object changes the properties of the base's object of that name,
an "object" adds one), and places every control: Left/Top/Width/Height as
written, then the aligned ones (alTop, alBottom, alLeft, alRight, alClient)
inside their parent's client rectangle in the runtime's order.

What is not in a description is given here once: the frame the runtime takes
off a form's Width and Height, and the client rectangle of panels, group
boxes and page controls. Controls made at run time (the children of a
selection panel, the designer) are not in any description; tests reach those
by keys.
"""
import glob
import os
import re

FORM_FRAME = (8, 27)  # TForm: Width/Height include this frame around the client area
FORM_FOLDERS = ("criteria", "options", "format", "zorv52", "suite/hubdesk")


class Control:
    def __init__(self, name, klass, parent=None):
        self.name = name
        self.klass = klass
        self.parent = parent
        self.props = {}
        self.children = []
        # Set by layout: position in the parent's widget and size.
        self.left = self.top = self.width = self.height = 0

    def prop(self, key, default=None):
        return self.props.get(key, default)

    def __repr__(self):
        return "<%s: %s %d,%d %dx%d>" % (self.name, self.klass, self.left, self.top,
                                         self.width, self.height)


# -- reading ---------------------------------------------------------------

_TOKEN = re.compile(r"""
    (?P<ws>\s+)
  | (?P<string>(?:'(?:[^']|'')*'|\#\d+)+)
  | (?P<number>-?\d+(?:\.\d+)?)
  | (?P<ident>[A-Za-z_][A-Za-z0-9_.]*)
  | (?P<punct>[=:\[\](),<>{}+])
""", re.VERBOSE)


def _tokens(text):
    pos = 0
    while pos < len(text):
        m = _TOKEN.match(text, pos)
        if not m:
            raise ValueError("unreadable form description at %r" % text[pos:pos + 20])
        pos = m.end()
        kind = m.lastgroup
        if kind == "ws":
            continue
        yield kind, m.group(kind)


def _string_value(raw):
    out = []
    for m in re.finditer(r"'((?:[^']|'')*)'|#(\d+)", raw):
        out.append(m.group(1).replace("''", "'") if m.group(1) is not None else chr(int(m.group(2))))
    return "".join(out)


class _Parser:
    def __init__(self, text):
        self.tokens = list(_tokens(text))
        self.i = 0

    def peek(self):
        return self.tokens[self.i] if self.i < len(self.tokens) else (None, None)

    def take(self):
        token = self.peek()
        self.i += 1
        return token

    def value(self):
        kind, text = self.take()
        if kind == "string":
            value = _string_value(text)
            # A long text may be continued with "+".
            while self.peek() == ("punct", "+"):
                self.take()
                value += _string_value(self.take()[1])
            return value
        if kind == "number":
            return float(text) if "." in text else int(text)
        if kind == "ident":
            return text
        if text == "[":
            items = []
            while self.peek() != ("punct", "]"):
                k, t = self.take()
                if t != ",":
                    items.append(t)
            self.take()
            return items
        if text == "(":
            items = []
            while self.peek() != ("punct", ")"):
                items.append(self.value())
            self.take()
            return items
        if text == "<":
            depth = 1  # collections: not needed for placing controls
            while depth:
                t = self.take()[1]
                depth += {"<": 1, ">": -1}.get(t, 0)
            return None
        if text == "{":
            while self.take()[1] != "}":
                pass
            return None
        raise ValueError("unexpected %r in form description" % text)

    def object(self):
        """An object block: (kind, name, class, props, children)."""
        kind = self.take()[1]  # object | inherited | inline
        name = self.take()[1]
        klass = None
        if self.peek() == ("punct", ":"):
            self.take()
            klass = self.take()[1]
        if self.peek() == ("punct", "["):  # index of an inline frame
            self.value()
        props, children = {}, []
        while True:
            k, t = self.peek()
            if t in ("object", "inherited", "inline"):
                children.append(self.object())
            elif t == "end":
                self.take()
                return kind, name, klass, props, children
            else:
                self.take()
                assert self.take()[1] == "=", "expected = after %s" % t
                props[t] = self.value()


class FormLayout:
    """The controls of one form class, placed as its runtime places them."""

    def __init__(self, source_root, form_class):
        self.source_root = source_root
        self.form_class = form_class
        chain = self._class_chain(form_class)
        self.root = None
        for klass in reversed(chain):
            path = self._dfm_path(klass)
            if path is None:
                continue
            with open(path, encoding="utf-8") as f:
                block = _Parser(f.read()).object()
            self._merge(block, None)
        if self.root is None:
            raise ValueError("no form description for %s" % form_class)
        self.root.left = self.root.top = 0
        self.root.width = self.root.prop("Width", 0) - FORM_FRAME[0]
        self.root.height = self.root.prop("Height", 0) - FORM_FRAME[1]
        if "ClientWidth" in self.root.props:
            self.root.width = self.root.props["ClientWidth"]
        if "ClientHeight" in self.root.props:
            self.root.height = self.root.props["ClientHeight"]
        self._place_children(self.root)

    # -- the class chain and its descriptions --
    def _dfm_path(self, klass):
        for folder in FORM_FOLDERS:
            path = os.path.join(self.source_root, folder, klass + ".dfm")
            if os.path.exists(path):
                return path
        return None

    def _class_chain(self, klass):
        chain = [klass]
        while True:
            base = self._base_class(chain[-1])
            if base is None or base in ("TForm", "THVForm"):
                return chain
            chain.append(base)

    def _base_class(self, klass):
        pattern = re.compile(r"class\s+%s\s*:\s*public\s+(\w+)" % re.escape(klass))
        for folder in FORM_FOLDERS:
            for header in glob.glob(os.path.join(self.source_root, folder, "*.h")):
                with open(header, encoding="utf-8") as f:
                    m = pattern.search(f.read())
                if m:
                    return m.group(1)
        return None

    def _merge(self, block, parent):
        kind, name, klass, props, children = block
        if parent is None:
            if self.root is None:
                self.root = Control(name, klass)
            control = self.root
            control.name = name
            control.klass = klass or control.klass
        else:
            control = self.find(name) if kind == "inherited" else None
            if control is None:
                control = Control(name, klass, parent)
                parent.children.append(control)
        control.props.update(props)
        for child in children:
            self._merge(child, control)

    # -- placing --
    def _client_rect(self, control):
        w, h = control.width, control.height
        klass = control.klass or ""
        if klass.endswith("PageControl"):
            return (4, 24, max(0, w - 8), max(0, h - 28))
        if klass == "TPanel":
            inset = control.prop("BorderWidth", 0)
            bevel = control.prop("BevelWidth", 1)
            if control.prop("BevelOuter", "bvRaised") != "bvNone":
                inset += bevel
            if control.prop("BevelInner", "bvNone") != "bvNone":
                inset += bevel
            return (inset, inset, max(0, w - 2 * inset), max(0, h - 2 * inset))
        return (0, 0, w, h)

    def _place_children(self, parent):
        for c in parent.children:
            c.left = c.prop("Left", 0)
            c.top = c.prop("Top", 0)
            c.width = c.prop("Width", 0)
            c.height = c.prop("Height", 0)
        left, top, width, height = self._client_rect(parent)
        right, bottom = left + width, top + height
        shown = [c for c in parent.children if c.prop("Visible", True) not in ("False", False)]

        def aligned(kind, key):
            return sorted([c for c in shown if c.prop("Align", "alNone") == kind], key=key)

        if parent.klass == "TToolBar":
            self._arrange_toolbar(parent, shown)
        elif (parent.klass or "").endswith("PageControl"):
            for sheet in parent.children:
                sheet.left, sheet.top, sheet.width, sheet.height = left, top, width, height
        else:
            for c in aligned("alTop", lambda c: c.top):
                c.left, c.top, c.width = left, top, right - left
                top += c.height
            for c in aligned("alBottom", lambda c: -(c.top + c.height)):
                c.left, c.top, c.width = left, bottom - c.height, right - left
                bottom -= c.height
            for c in aligned("alLeft", lambda c: c.left):
                c.left, c.top, c.height = left, top, bottom - top
                left += c.width
            for c in aligned("alRight", lambda c: -(c.left + c.width)):
                c.left, c.top, c.height = right - c.width, top, bottom - top
                right -= c.width
            for c in aligned("alClient", lambda c: 0):
                c.left, c.top, c.width, c.height = left, top, right - left, bottom - top
        # Anchored to the right or the bottom: the control keeps its distance
        # to that side while the parent grows from its described size to the
        # laid-out one (the runtime lays out once the whole form is read).
        for c in parent.children:
            if c.prop("Align", "alNone") != "alNone" or parent.klass == "TToolBar":
                continue
            anchors = c.prop("Anchors", ["akLeft", "akTop"])
            dx = parent.width - parent.prop("Width", parent.width)
            dy = parent.height - parent.prop("Height", parent.height)
            if parent is self.root:
                dx = dy = 0
            if "akRight" in anchors:
                if "akLeft" in anchors:
                    c.width += dx
                else:
                    c.left += dx
            if "akBottom" in anchors:
                if "akTop" in anchors:
                    c.height += dy
                else:
                    c.top += dy
        for c in parent.children:
            self._place_children(c)

    def _arrange_toolbar(self, bar, shown):
        """Left to right in creation order: buttons ButtonWidth wide (a drop-down
        one 12 more, a separator 8), other controls their own width and 4 apart."""
        button_width = bar.prop("ButtonWidth", 23)
        button_height = bar.prop("ButtonHeight", 22)
        left = 0
        for c in shown:
            if c.klass != "TToolButton":
                c.left, c.top = left, 2 + max(0, (button_height - c.height) // 2)
                left += c.width + 4
                continue
            style = c.prop("Style", "tbsButton")
            width = 8 if style in ("tbsSeparator", "tbsDivider") else \
                button_width + 12 if style == "tbsDropDown" else button_width
            c.left, c.top, c.width, c.height = left, 2, width, button_height
            left += width

    # -- asking --
    def find(self, name, start=None):
        stack = [start or self.root]
        while stack:
            c = stack.pop()
            if c.name == name:
                return c
            stack.extend(c.children)
        return None

    def control(self, name):
        c = self.find(name)
        if c is None:
            raise KeyError("%s has no control %s" % (self.form_class, name))
        return c

    def origin(self, name):
        """Top-left corner of the control in the form's client area."""
        c = self.control(name)
        x = y = 0
        while c.parent is not None:
            x += c.left
            y += c.top
            c = c.parent
        return x, y

    def center(self, name):
        c = self.control(name)
        x, y = self.origin(name)
        return x + c.width // 2, y + c.height // 2

    def sheet_of(self, name):
        """The tab sheet a control is on, or None."""
        c = self.control(name)
        while c is not None and c.klass != "TTabSheet":
            c = c.parent
        return c
