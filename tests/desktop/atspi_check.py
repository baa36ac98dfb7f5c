#!/usr/bin/python3
# What a screen reader finds in Zembrola, read through the accessibility bus (AT-SPI).
#   atspi_check.py tree            the whole table of names, roles and states below
#   atspi_check.py alert NAME      an alert that names the person is shown
#   atspi_check.py state NAME STATE yes|no   the control of that name has the state or not
import sys
import pyatspi

STATES = {"selected": pyatspi.STATE_SELECTED, "checked": pyatspi.STATE_CHECKED,
          "focusable": pyatspi.STATE_FOCUSABLE, "showing": pyatspi.STATE_SHOWING}


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Zembrola":
            return app
    sys.exit("FAILED: Zembrola is not on the accessibility bus")


def nodes(node):
    yield node
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield from nodes(child)


def has(node, state):
    return node.getState().contains(STATES[state])


def find(everything, name):
    found = [n for n in everything if n.name == name and has(n, "showing")]
    if not found:
        sys.exit(f"FAILED: nothing named {name!r}")
    return found[0]


def check_tree(everything):
    faults = []
    for node in everything:
        if has(node, "focusable") and has(node, "showing") and not node.name.strip():
            faults.append(f"a focusable {node.getRoleName()} without a name")
    table = [  # name, role
        ("January", pyatspi.ROLE_PUSH_BUTTON), ("June", pyatspi.ROLE_PUSH_BUTTON), ("December", pyatspi.ROLE_PUSH_BUTTON),
        ("Sunday", pyatspi.ROLE_TABLE_COLUMN_HEADER), ("Saturday", pyatspi.ROLE_TABLE_COLUMN_HEADER),
        ("June 1", pyatspi.ROLE_PUSH_BUTTON), ("June 14, today, 2 birthdays", pyatspi.ROLE_PUSH_BUTTON),
        ("June 30", pyatspi.ROLE_PUSH_BUTTON),
        ("Alarm", pyatspi.ROLE_CHECK_BOX), ("in advance", pyatspi.ROLE_LABEL), ("days", pyatspi.ROLE_LABEL),
        ("More days of notice", pyatspi.ROLE_PUSH_BUTTON), ("Fewer days of notice", pyatspi.ROLE_PUSH_BUTTON),
        ("Delete the person shown", pyatspi.ROLE_PUSH_BUTTON), ("Hide", pyatspi.ROLE_PUSH_BUTTON),
        ("Name", pyatspi.ROLE_TEXT), ("Picture of Anna", pyatspi.ROLE_IMAGE),
        ("Previous person", pyatspi.ROLE_PUSH_BUTTON), ("Next person", pyatspi.ROLE_PUSH_BUTTON),
    ]
    for name, role in table:
        matches = [n for n in everything if n.name == name and has(n, "showing")]
        if not matches:
            faults.append(f"nothing named {name!r}")
        elif not any(n.getRole() == role for n in matches):
            faults.append(f"{name!r} is a {matches[0].getRoleName()}, not a {role}")
    months = [n.name for n in everything if n.name in
              ("January", "February", "March", "April", "May", "June", "July", "August",
               "September", "October", "November", "December")]
    if len(set(months)) != 12:
        faults.append(f"month buttons: {months}")
    if not has(find(everything, "June"), "selected"):
        faults.append("the shown month is not selected")
    return faults


def main():
    everything = list(nodes(application()))
    if sys.argv[1] == "tree":
        faults = check_tree(everything)
    elif sys.argv[1] == "alert":
        alerts = [n for n in everything if n.getRole() == pyatspi.ROLE_ALERT and has(n, "showing")]
        faults = [] if any(sys.argv[2] in n.description for n in alerts) else [
            f"no alert naming {sys.argv[2]!r}: {[(n.name, n.description) for n in alerts]}"]
    elif sys.argv[1] == "state":
        node = [n for n in everything if n.name == sys.argv[2] and n.getRole() != pyatspi.ROLE_LABEL]
        wanted = sys.argv[4] == "yes"
        faults = [] if node and has(node[0], sys.argv[3]) == wanted else [
            f"{sys.argv[2]!r} should {'' if wanted else 'not '}be {sys.argv[3]}"]
    else:
        sys.exit(f"unknown check {sys.argv[1]}")
    for fault in faults:
        print("FAILED:", fault)
    sys.exit(1 if faults else 0)


main()
