#!/usr/bin/env python3
"""The diary as a screen reader meets it: reads the entry's text and caret through AT-SPI, finds
every toolbar and command button by its name, types and hears the text change. Run by
screen_reader.sh inside a session bus and a virtual display. Prints what it found; exits 1 on a
failure."""
import sys
import time

import pyatspi

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what, file=sys.stderr)


def find_app(name, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == name:
                return app
        time.sleep(0.3)
    return None


def walk(node, out, depth=0):
    """Every object below node; one that went away while the walk ran is left out."""
    if node is None or depth > 40:
        return
    try:
        role = node.getRole()
        count = node.childCount
    except Exception:
        return
    out.append(node)
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        walk(child, out, depth + 1)


def named(nodes, role, name):
    return [n for n in nodes if n.getRole() == role and n.name == name]


def main():
    expected_text, names_file = sys.argv[1], sys.argv[2]
    app = find_app("quillory")
    if app is None:
        print("FAIL: the diary never appeared on the accessibility bus", file=sys.stderr)
        return 1
    nodes = []
    end = time.time() + 20
    editor = None
    while time.time() < end and editor is None:
        nodes = []
        walk(app, nodes)
        for n in nodes:
            if n.getRole() == pyatspi.ROLE_TEXT and "Diary entry" in (n.name or ""):
                editor = n
        if editor is None:
            time.sleep(0.5)
    check(editor is not None, "no text object named 'Diary entry'")
    if editor is None:
        for n in nodes:
            print(n.getRoleName(), repr(n.name), file=sys.stderr)
        return 1

    text = editor.queryText()
    content = text.getText(0, -1)
    check(content == expected_text, "entry text %r, expected %r" % (content, expected_text))
    check(text.caretOffset == len(expected_text),
          "caret offset %d, expected %d" % (text.caretOffset, len(expected_text)))
    word = text.getTextAtOffset(2, pyatspi.TEXT_BOUNDARY_WORD_START)
    check(word[0].strip() == expected_text.split()[0], "word at offset 2: %r" % (word,))
    attributes = text.getAttributeRun(0, False)[0] if hasattr(text, "getAttributeRun") else ""
    print("attributes at 0:", attributes)
    check(editor.getState().contains(pyatspi.STATE_EDITABLE), "the entry is not editable")
    check(editor.getState().contains(pyatspi.STATE_FOCUSED), "the entry does not have the focus")

    # The caret moved through AT-SPI moves the editor's caret.
    text.setCaretOffset(3)
    time.sleep(0.3)
    check(text.caretOffset == 3, "caret after setCaretOffset(3): %d" % text.caretOffset)

    # Typing is heard: the inserted characters and the caret that follows them.
    import subprocess
    from gi.repository import GLib
    events = []

    def on_event(event):
        if event.source == editor:
            events.append((event.type, event.detail1, event.any_data))

    pyatspi.Registry.registerEventListener(on_event, "object:text-changed:insert", "object:text-caret-moved")

    def type_keys():
        subprocess.run(["xdotool", "type", "--delay", "60", "xyz"], check=False)
        return False

    GLib.timeout_add(500, type_keys)
    GLib.timeout_add(4000, lambda: pyatspi.Registry.stop())
    pyatspi.Registry.start()
    typed = expected_text[:3] + "xyz" + expected_text[3:]
    check(text.getText(0, -1) == typed, "after typing: %r" % text.getText(0, -1))
    inserts = [e for e in events if e[0].startswith("object:text-changed:insert")]
    check([(e[1], e[2]) for e in inserts] == [(3, "x"), (4, "y"), (5, "z")], "insert events %r" % inserts)
    carets = [e[1] for e in events if e[0].startswith("object:text-caret-moved")]
    check(carets[-1:] == [6], "caret events %r" % carets)

    nodes = []
    walk(app, nodes)
    with open(names_file, encoding="utf-8") as f:
        wanted = [line.rstrip("\n") for line in f if line.strip()]
    buttons = [n for n in nodes if n.getRole() in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX)]
    for name in wanted:
        check(any(b.name == name for b in buttons), "no button named %r" % name)
    unnamed = [n.getRoleName() for n in buttons if not n.name]
    check(not unnamed, "buttons without a name: %s" % unnamed)
    combos = [n for n in nodes if n.getRole() == pyatspi.ROLE_COMBO_BOX]
    # A list's name is its value on this desktop; what it is for is its description.
    check(combos and all(c.description for c in combos),
          "a list without a description: %s" % [c.name for c in combos])

    print("screen reader saw %d objects, %d buttons" % (len(nodes), len(buttons)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
