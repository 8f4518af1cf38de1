# SPDX-License-Identifier: MIT
"""What a screen reader finds in the options window of the running program, and where Tab takes it."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

DEADLINE_S = 20

# name -> role, as a screen reader announces them
ROLES = {
    "Umbralux Software": pyatspi.ROLE_FRAME,
    "Password": pyatspi.ROLE_PASSWORD_TEXT,
    "Screen colour": pyatspi.ROLE_LABEL,
    "Show Screen": pyatspi.ROLE_PUSH_BUTTON,
    "Reset Color To Default": pyatspi.ROLE_PUSH_BUTTON,
    "Show on 'ESC' key press": pyatspi.ROLE_RADIO_BUTTON,
    "Prevent computer from sleeping or starting screensaver": pyatspi.ROLE_CHECK_BOX,
}
# the selection order of the Tab test: each method is chosen, then Tab leaves "Reset Color To Default"
METHODS = ["Show on mouse click", "Show on this password:", "Show on 'ESC' key press", "Show on any key press"]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def poll(find, what):
    deadline = time.monotonic() + DEADLINE_S
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.1)
    sys.exit(f"FAIL: {what}")


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "umbralux" and app.childCount > 0:
            return app
    return None


def named(root, name):
    return pyatspi.findDescendant(root, lambda o: o is not None and o.name == name, True)


def focused(root):
    return pyatspi.findDescendant(root, lambda o: o is not None and o.getState().contains(pyatspi.STATE_FOCUSED))


app = poll(application, "the program is not on the accessibility bus")
poll(lambda: named(app, "Umbralux Software"), "no options window")
for name, role in ROLES.items():
    control = named(app, name)
    check(control is not None and control.getRole() == role, f"{name!r} is {control and control.getRoleName()}")

password = named(app, "Password")
check("Text" not in pyatspi.utils.listInterfaces(password), "the password box offers its text to be read")
# The swatch tells its colour, red from the store, and follows a change.
swatch = named(app, "Screen colour")
check(swatch.description == "red (#ff0000)", f"the swatch describes itself as {swatch.description!r}")
reset = named(app, "Reset Color To Default")
reset.queryAction().doAction(0)
poll(lambda: swatch.description == "black (#000000)", "the swatch's description kept the old colour")

for method in METHODS:
    button = named(app, method)
    button.queryAction().doAction(0)
    poll(lambda: button.getState().contains(pyatspi.STATE_CHECKED), f"{method!r} was not selected")
    reset.queryComponent().grabFocus()
    poll(lambda: reset.getState().contains(pyatspi.STATE_FOCUSED), "Reset Color To Default took no focus")
    subprocess.run(["xdotool", "key", "Tab"], check=True)
    target = poll(lambda: (lambda f: f if f is not None and f.name != reset.name else None)(focused(app)),
                  "Tab moved nowhere")
    check(target.name == method, f"Tab from Reset Color To Default went to {target.name!r}, not {method!r}")
    check(button.getState().contains(pyatspi.STATE_CHECKED), f"{method!r} lost its selection")

# The arrow keys move within the group and choose as they go: down from "any key" is "mouse click".
subprocess.run(["xdotool", "key", "Down"], check=True)
poll(lambda: named(app, METHODS[0]).getState().contains(pyatspi.STATE_FOCUSED), "Down did not move the focus")
check(named(app, METHODS[0]).getState().contains(pyatspi.STATE_CHECKED), "Down did not choose the next method")

# Typing into the password box passes on no edit; an edit of the hidden first box, typed afterwards, does,
# and its arrival tells that everything before it has arrived too.
MARKER_BOX = "Umbralux options"
edits = []
loop = GLib.MainLoop()


def on_edit(event):
    edits.append((event.source.name, event.any_data))
    if event.source.name == MARKER_BOX:
        loop.quit()


pyatspi.Registry.registerEventListener(on_edit, "object:text-changed")
for box, typed in ((password, "zq9"), (named(app, MARKER_BOX), "x")):
    box.queryComponent().grabFocus()
    poll(lambda: box.getState().contains(pyatspi.STATE_FOCUSED), f"{box.name!r} took no focus")
    subprocess.run(["xdotool", "type", typed], check=True)
GLib.timeout_add_seconds(DEADLINE_S, loop.quit)
loop.run()
check(any(name == MARKER_BOX for name, _ in edits), "the edit of the hidden box never arrived")
check(not any(name == "Password" for name, _ in edits), f"the password box passed on its edits: {edits}")

for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
