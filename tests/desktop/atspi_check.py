#!/usr/bin/python3
# The running program as a screen reader reads it through AT-SPI: the folder
# tabs, the pictures' texts following the day, the labelled combo boxes, the
# symbols' amounts, the catalogue's one column, and the page tabs of the
# tools and help windows. Started by atspi_test.sh on the demo diary opened
# on 29.12.2012; the day is changed with the keys (xdotool).
import re
import subprocess
import sys
import time

import pyatspi


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def wait_for(condition, what, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        try:
            result = condition()
            if result:
                return result
        except Exception:
            pass
        time.sleep(0.1)
    fail("timed out waiting for " + what)


def program():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Kelvara":
            return app
    return None


def children(node):
    try:
        return [node.getChildAtIndex(i) for i in range(node.childCount)]
    except Exception:
        return []


def find_all(root, test):
    """Every object below root passing test; the cells of tables are not
    walked."""
    found, todo = [], [root]
    while todo:
        node = todo.pop(0)
        if node is None:
            continue
        if test(node):
            found.append(node)
        if node.getRole() != pyatspi.ROLE_TABLE:
            todo.extend(children(node))
    return found


def find(root, test, what):
    return wait_for(lambda: (find_all(root, test) or [None])[0], what)


def frame(title):
    return find(wait_for(program, "the program on the bus"),
                lambda n: n.getRole() == pyatspi.ROLE_FRAME and n.name == title, "the window " + title)


def has(node, state):
    return node.getState().contains(state)


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("press", "Press", "click"):
            action.doAction(i)
            return
    action.doAction(0)


def page_tabs(root):
    return find_all(root, lambda n: n.getRole() == pyatspi.ROLE_PAGE_TAB)


def selected_tab(root):
    tabs = [t.name for t in page_tabs(root) if has(t, pyatspi.STATE_SELECTED)]
    return tabs[0] if len(tabs) == 1 else tabs


main = frame("Kelvara [1.02f]")

# ----- the folder tabs -----
words = ["Ziele", "Notizen", "Nahrung", "Aktivität", "Statistik"]
tabs = page_tabs(main)
if [t.name for t in tabs] != words:
    fail("folder tabs are %s" % [t.name for t in tabs])
if selected_tab(main) != "Ziele":
    fail("selected folder tab is %s" % selected_tab(main))
print("ok: five folder tabs, Ziele selected")

sex = find(main, lambda n: n.getRole() == pyatspi.ROLE_COMBO_BOX and n.name == "männlich", "the sex combo box")
labels = [r.getTarget(i).name for r in sex.getRelationSet()
          if r.getRelationType() == pyatspi.RELATION_LABELLED_BY for i in range(r.getNTargets())]
if labels != ["Geschlecht :"]:
    fail("the sex combo box is labelled by %s" % labels)
print("ok: the combo box is labelled \"Geschlecht :\"")

catalogue = find(main, lambda n: n.name == "Nahrungsmittel-Katalog", "the food catalogue")
if has(catalogue, pyatspi.STATE_SHOWING):
    fail("the catalogue of the hidden food folder shows")
press(tabs[2])
wait_for(lambda: selected_tab(main) == "Nahrung", "the food folder selected")
wait_for(lambda: has(catalogue, pyatspi.STATE_SHOWING), "the catalogue showing")
if has(sex, pyatspi.STATE_SHOWING):
    fail("the goals' combo box shows behind the food folder")
columns = catalogue.queryTable().nColumns
if columns != 1:
    fail("the catalogue exposes %d columns" % columns)
amounts = [n.name for n in find_all(main, lambda n: re.fullmatch(r"[0-9,]+ (g|ml|St\.)", n.name or ""))]
if len(amounts) != 11:
    fail("symbols say %s" % amounts)
print("ok: food folder in front, one catalogue column, symbols %s" % ", ".join(amounts))

# ----- the pictures follow the day -----
picture = find(main, lambda n: n.name.startswith("Waage und Tagesbalken"), "the picture of the signs")
empty = "kein Tagesgewicht. Nahrung 0 kJ, Ziel 9400 kJ, unter dem Ziel; Aktivität 0 kJ;"
if not picture.description.startswith(empty):
    fail("the signs on 29.12.2012 say: " + picture.description)
# The calendar of the day with the keys; the day before, and closed again.
window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", r"^Kelvara \[1\.02f\]$"],
                        capture_output=True, text=True).stdout.split()[0]
subprocess.run(["xdotool", "windowactivate", "--sync", window], check=True)
day = find(main, lambda n: n.name == "Tag des Tagebuchs", "the day selector")
day.queryComponent().grabFocus()
wait_for(lambda: has(day, pyatspi.STATE_FOCUSED), "the day selector focused")
for key in ["alt+Down", "Left", "Escape"]:
    subprocess.run(["xdotool", "key", key], check=True)
    time.sleep(0.3)
expected = ("Tagesgewicht 77 kg, Gewichtsklasse normal, BMI 23,8. Nahrung 8604 kJ, Ziel 9400 kJ, unter dem Ziel; "
            "Aktivität 10970 kJ; Fett 83 g, Ziel 70 g, Ziel erreicht; Protein 164 g, Ziel 80 g, Ziel erreicht; "
            "Kohlenhydrate 138 g, Ziel 300 g, unter dem Ziel")
wait_for(lambda: picture.description == expected, "the signs of 28.12.2012 (they say: %s)" % picture.description)
print("ok: the signs say: " + expected)

press(tabs[4])
chart = find(main, lambda n: n.name.startswith("Statistik-Diagramm"), "the chart")
wait_for(lambda: chart.description == "Gewicht am 28.12.2012: 77,0 kg",
         "the chart's read-out (it says: %s)" % chart.description)
print("ok: the chart says: " + chart.description)

# ----- the tools and help windows -----
for button, title, captions in [
    ("Tools (Werkzeuge)", "Tools für Kelvara [1.02f]",
     [" Daten einfügen ", " Daten ändern/löschen ", " Tagebuch verwalten "]),
    ("Hilfe", "Hilfe für Kelvara [1.02f]",
     [" Einführung ", " Ziele ", " Notizen ", " Nahrung ", " Aktivität ", " Statistik ", " Gewicht ",
      " Drucken ", " Tools", " Installation/Deinstallation ", " Lizenz ", " FAQ "]),
]:
    press(find(main, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == button, button))
    side = frame(title)
    wait_for(lambda: len(page_tabs(side)) == len(captions), "the tabs of " + title)
    names = [t.name for t in page_tabs(side)]
    if names != captions:
        fail("the tabs of %s are %s" % (title, names))
    last = page_tabs(side)[-1]
    press(last)
    wait_for(lambda: has(last, pyatspi.STATE_SELECTED), "the last tab of %s selected" % title)
    print("ok: %s: page tabs %s" % (title, names))

print("all read as expected")
