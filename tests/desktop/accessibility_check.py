"""What a screen reader finds in the analyser's window, through the AT-SPI bus.

The styled buttons are push buttons with a press action that works; moving in a grid by keyboard
is announced by that grid alone, never by its partner or a hidden grid, and the last cell
announced is the one the user moved to, read with its person and period.
"""
import subprocess
import sys

import pyatspi
from gi.repository import GLib

BUTTONS = ["Очистить список", "Подгрузить файлы", "Застрахованные лица", "Опись сведений",
           "Помощь", "Печать"]
GRID = "Застрахованные лица: страховая часть"


def find_application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "lorvi-analyser":
            return app
    sys.exit("the program is not on the accessibility bus")


def descendants(node, depth=0):
    if node is None or depth > 14:
        return
    yield node
    if node.getRoleName() in ("table", "tree", "tree table"):
        return  # their cells are many
    for i in range(node.childCount):
        yield from descendants(node.getChildAtIndex(i), depth + 1)


def table_of(node):
    for _ in range(4):
        if node is None:
            return None
        if node.getRoleName() == "table":
            return node.name
        node = node.parent
    return None


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


app = find_application()
nodes = list(descendants(app))
failures = []

buttons = {n.name: n for n in nodes if n.getRoleName() == "push button" and n.name in BUTTONS}
for name in BUTTONS:
    button = buttons.get(name)
    if button is None:
        failures.append(f"no push button {name!r}")
        continue
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        failures.append(f"{name!r} cannot be pressed: {names}")
    if not button.getState().contains(pyatspi.STATE_FOCUSABLE):
        failures.append(f"{name!r} is not focusable")

# Pressing "Опись сведений" shows the inventory's grids, "Застрахованные лица" the persons' again.
tables = {n.name: n for n in nodes if n.getRoleName() == "table"}


def press(name):
    action = buttons[name].queryAction()
    action.doAction([action.getName(i) for i in range(action.nActions)].index("Press"))
    GLib.MainContext.default().iteration(False)
    subprocess.run(["sleep", "0.5"])


if not failures:
    press("Опись сведений")
    if not showing(tables["Опись сведений: страховая часть"]) or showing(tables[GRID]):
        failures.append("pressing 'Опись сведений' did not show the inventory")
    press("Застрахованные лица")
    if not showing(tables[GRID]):
        failures.append("pressing 'Застрахованные лица' did not show the persons")

# The arrows in the insurance grid: who announces what.
events = []


def listen(event):
    if event.type.startswith("object:state-changed:focused") and not event.detail1:
        return
    source = event.source
    events.append((event.type, source.getRoleName(), source.name, table_of(source)))


steps = [["xdotool", "mousemove", "700", "175", "click", "1"], ["xdotool", "key", "Down"],
         ["xdotool", "key", "Right"], ["xdotool", "key", "Down"]]


def step():
    if steps:
        subprocess.run(steps.pop(0), check=True)
        return True
    pyatspi.Registry.stop()
    return False


if not failures:
    pyatspi.Registry.registerEventListener(listen, "object:state-changed:focused", "focus:",
                                           "object:selection-changed")
    GLib.timeout_add(600, step)
    pyatspi.Registry.start()
    cells = [e for e in events if e[1] == "table cell"]
    others = [e for e in events if e[3] not in (GRID, None)]
    if others:
        failures.append(f"announced by another grid: {others[:3]}")
    if not cells:
        failures.append(f"no cell announced: {events[:5]}")
    elif ", " not in cells[-1][2] or ": " not in cells[-1][2]:
        failures.append(f"the cell is not read with its person and period: {cells[-1][2]!r}")

for failure in failures:
    print("FAILED:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
