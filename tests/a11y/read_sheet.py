#!/usr/bin/python3
"""Opens an example investigator in Vorpane and reads it back over the accessibility bus.

Reads the investigator's name, three characteristics and three skills with their values from
the AT-SPI tree, writes a characteristic through the editable-text interface and checks that the
sheet changed (the field and the value derived from it). Run inside a D-Bus session with an X
display (on_bus.sh); prints the characteristics block of the tree.

Usage: read_sheet.py VORPANE INVESTIGATOR.inv
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

try:
    import pyatspi
except ImportError:
    print("SKIP: pyatspi is not installed (Debian: python3-pyatspi)")
    sys.exit(77)

TIMEOUT = 30.0
# The characteristics block of the example sheets, in Tab order.
CHARACTERISTICS = ["FUE", "APA", "CON", "POD", "TAM", "INT", "DES", "EDU"]


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def find_app(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name.lower() == name.lower():
            return app
    return None


def walk(node, depth=0, limit=12):
    yield node, depth
    if depth >= limit or node is None:
        return
    role = node.getRole()
    # A table's cells are read through its table interface.
    if role == pyatspi.ROLE_TABLE:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1, limit)


def find_sheet(app):
    for node, _ in walk(app):
        if node.getRole() == pyatspi.ROLE_DOCUMENT_FRAME and node.childCount > 10:
            return node
    return None


def text_of(node):
    text = node.queryText()
    return text.getText(0, -1)


def fields(sheet):
    found = {}
    for i in range(sheet.childCount):
        child = sheet.getChildAtIndex(i)
        if child is not None and child.name not in found:
            found[child.name] = child
    return found


def describe(node):
    role = node.getRoleName()
    value = ""
    try:
        value = text_of(node)
    except NotImplementedError:
        pass
    states = node.getState()
    marks = [pyatspi.stateToString(s) for s in (pyatspi.STATE_EDITABLE, pyatspi.STATE_FOCUSABLE,
                                                  pyatspi.STATE_READ_ONLY) if states.contains(s)]
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return "[%s] %r = %r  (%s) at %d,%d %dx%d" % (role, node.name, value, ", ".join(marks),
                                                  box.x, box.y, box.width, box.height)


def main():
    program, original = sys.argv[1:3]
    with tempfile.TemporaryDirectory() as work:
        investigator = os.path.join(work, os.path.basename(original))
        shutil.copy(original, investigator)
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                   XDG_CONFIG_HOME=os.path.join(work, "config"), XDG_DATA_HOME=os.path.join(work, "data"))
        settings = os.path.join(work, "settings.ini")
        process = subprocess.Popen([program, "--settings", settings, "--nosplash", investigator], env=env)
        try:
            check(sheet_of(process))
        finally:
            process.terminate()
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()


def sheet_of(process):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        if process.poll() is not None:
            fail("vorpane ended early with status %d" % process.returncode)
        app = find_app("vorpane")
        sheet = find_sheet(app) if app is not None else None
        if sheet is not None:
            return sheet
        time.sleep(0.3)
    fail("no sheet in the accessibility tree of vorpane after %d s" % TIMEOUT)


def check(sheet):
    by_name = fields(sheet)
    print("Characteristics block of the tree:")
    for name in CHARACTERISTICS + ["Idea"]:
        if name not in by_name:
            fail("no field named %r; the sheet has %s" % (name, sorted(by_name)[:40]))
        print("  " + describe(by_name[name]))

    name = text_of(by_name["Investigador"])
    print("Investigator: %r" % name)
    if not name:
        fail("the investigator's name reads empty")
    values = {c: text_of(by_name[c]) for c in CHARACTERISTICS}
    for c, v in values.items():
        if not v.isdigit():
            fail("%s reads %r, not a number" % (c, v))

    children = [sheet.getChildAtIndex(i) for i in range(sheet.childCount)]
    skills = next((t for t in children if t is not None and t.getRole() == pyatspi.ROLE_TABLE
                   and t.name == "Habilidades"), None)
    if skills is None:
        fail("no table named Habilidades")
    table = skills.queryTable()
    print("Skills: %d rows, %d columns (%s)" % (table.nRows, table.nColumns, ", ".join(
        table.getColumnDescription(c) for c in range(table.nColumns))))
    read = 0
    for row in range(table.nRows):
        skill = table.getRowDescription(row)
        cell = table.getAccessibleAt(row, table.nColumns - 1)
        if not skill or cell is None:
            continue
        print("  %s: %r (%s)" % (skill, text_of(cell), cell.name))
        read += 1
        if read == 3:
            break
    if read < 3:
        fail("fewer than three skills read from the table")

    # Writing INT through the text interface changes the field and the idea roll (INT x 5).
    wanted = "17" if values["INT"] != "17" else "16"
    by_name["INT"].queryEditableText().setTextContents(wanted)
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline and text_of(by_name["INT"]) != wanted:
        time.sleep(0.1)
    if text_of(by_name["INT"]) != wanted:
        fail("INT reads %r after writing %r" % (text_of(by_name["INT"]), wanted))
    idea = text_of(by_name["Idea"])
    if idea != str(int(wanted) * 5):
        fail("Idea reads %r after INT became %s" % (idea, wanted))
    print("INT set to %s through the tree; Idea now reads %s" % (wanted, idea))
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
