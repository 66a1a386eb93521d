#!/usr/bin/python3
"""The program as a screen reader sees it, over the accessibility bus.

  a11y.py tree                      every window's tree: one line per object, indented
                                    (a long list's first rows; A11Y_WHOLE_LISTS=1 all)
  a11y.py press WINDOW ROLE NAME    runs the object's first action (press, toggle, switch)
  a11y.py wait-name ROLE NAME SECS  waits for a name-changed event that gives that name
  a11y.py check LANGUAGE < TABLE     every row of the table for that language is in the tree
  a11y.py where WINDOW ROLE NAME     the object's place on the screen: x y width height
  a11y.py focused                    the focused object's role and name
  a11y.py label WINDOW ROLE NAME     the names of the objects that label it
  a11y.py quiet SECS                 no object changes its name for that long

A line of the tree reads: role "name" [states] @x,y wxh = "text" {value}, with what the
object does after "do:". An object is found by the window's title, its role and its name.
"""
import os
import sys
import time

import pyatspi

APP = "Vantorel"
SHOWN_STATES = [
    ("focusable", pyatspi.STATE_FOCUSABLE),
    ("focused", pyatspi.STATE_FOCUSED),
    ("checkable", pyatspi.STATE_CHECKABLE),
    ("checked", pyatspi.STATE_CHECKED),
    ("selected", pyatspi.STATE_SELECTED),
    ("busy", pyatspi.STATE_BUSY),
    ("disabled", None),
]


ITEMS = (pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_LIST)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for _ in range(100):
        for app in desktop:
            if app is not None and app.name == APP:
                return app
        time.sleep(0.1)
    sys.exit("the program is not on the accessibility bus")


def states(obj):
    have = obj.getState()
    out = []
    for word, state in SHOWN_STATES:
        if state is None:
            if not have.contains(pyatspi.STATE_ENABLED):
                out.append(word)
        elif have.contains(state):
            out.append(word)
    return out


def describe(obj):
    role = obj.getRoleName().replace(" ", "-")
    line = '%s "%s"' % (role, obj.name.replace("\n", "\\n"))
    st = states(obj)
    if st:
        line += " [%s]" % " ".join(st)
    try:
        ext = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        line += " @%d,%d %dx%d" % (ext.x, ext.y, ext.width, ext.height)
    except NotImplementedError:
        pass
    try:
        text = obj.queryText()
        content = text.getText(0, text.characterCount)
        if content and content != obj.name:
            line += ' = "%s"' % content.replace("\n", "\\n")
    except NotImplementedError:
        pass
    try:
        value = obj.queryValue()
        line += " {%g of %g..%g}" % (value.currentValue, value.minimumValue, value.maximumValue)
    except NotImplementedError:
        pass
    if obj.description:
        line += ' (%s)' % obj.description
    try:
        action = obj.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if names:
            line += " do:" + ",".join(names)
    except NotImplementedError:
        pass
    return line


def walk(obj, depth, out):
    out.append("  " * depth + describe(obj))
    # What is hidden (another page, a closed list) is not read; a closed list's rows are.
    children = [c for c in obj if c is not None and (
        c.getState().contains(pyatspi.STATE_SHOWING) or c.getRole() in ITEMS)]
    # A long list reads the same from its first rows; the rest only lengthens the record.
    long_list = (obj.getRole() in (pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX)
                 and len(children) > 4 and not os.environ.get("A11Y_WHOLE_LISTS"))
    shown = children[:3] if long_list else children
    for child in shown:
        walk(child, depth + 1, out)
    if len(shown) < len(children):
        out.append("  " * (depth + 1) + "... %d items" % len(children))


def windows(app):
    return [w for w in app if w is not None and w.getState().contains(pyatspi.STATE_SHOWING)]


def find(window_title, role, name):
    for window in windows(application()):
        if window.name != window_title:
            continue
        stack = [window]
        while stack:
            obj = stack.pop()
            if obj.getRoleName().replace(" ", "-") == role and obj.name == name:
                return obj
            stack.extend(c for c in obj if c is not None)
    sys.exit('no %s "%s" in the window "%s"' % (role, name, window_title))


def main(argv):
    if argv[1] == "tree":
        out = []
        for window in windows(application()):
            walk(window, 0, out)
        print("\n".join(out))
    elif argv[1] == "press":
        obj = find(argv[2], argv[3], argv[4])
        action = obj.queryAction()
        if action.nActions == 0:
            sys.exit("%s has no action" % describe(obj))
        action.doAction(0)
    elif argv[1] == "wait-name":
        role, name, seconds = argv[2], argv[3], float(argv[4])
        seen = []

        def heard(event):
            source = event.source
            if source.getRoleName().replace(" ", "-") == role and source.name == name:
                seen.append(event)
                pyatspi.Registry.stop()

        pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-name")
        application()
        print("listening", flush=True)
        from gi.repository import GLib
        GLib.timeout_add(int(seconds * 1000), pyatspi.Registry.stop)
        pyatspi.Registry.start()
        if not seen:
            sys.exit('no event gave %s the name "%s" within %g s' % (role, name, seconds))
        print('heard %s "%s"' % (role, name))
    elif argv[1] == "check":
        sys.exit(check(int(argv[2]), sys.stdin.read()))
    elif argv[1] == "where":
        ext = find(argv[2], argv[3], argv[4]).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        print(ext.x, ext.y, ext.width, ext.height)
    elif argv[1] == "quiet":
        heard = []
        pyatspi.Registry.registerEventListener(
            lambda event: heard.append(describe(event.source)),
            "object:property-change:accessible-name")
        application()
        from gi.repository import GLib
        GLib.timeout_add(int(float(argv[2]) * 1000), pyatspi.Registry.stop)
        pyatspi.Registry.start()
        if heard:
            sys.exit("heard: " + "; ".join(heard[:3]))
    elif argv[1] == "label":
        for relation in find(argv[2], argv[3], argv[4]).getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                for i in range(relation.getNTargets()):
                    print(relation.getTarget(i).name)
    elif argv[1] == "focused":
        for window in windows(application()):
            stack = [window]
            while stack:
                obj = stack.pop()
                if obj.getState().contains(pyatspi.STATE_FOCUSED):
                    print('%s "%s"' % (obj.getRoleName().replace(" ", "-"), obj.name))
                    return
                stack.extend(c for c in obj if c is not None)
        sys.exit("nothing has the focus")
    else:
        sys.exit(__doc__)


def check(language, table):
    """Rows: window | role | name | states | description, each of the words as
    "English / Chinese"; states and description may be empty. A row is met by an object of
    that role and name, in the window of that name, with at least those states."""
    def pick(words):
        parts = [w.strip() for w in words.split(" / ")]
        return (parts[language] if len(parts) > 1 else parts[0]).replace("\\n", "\n")

    trees = {}
    for window in windows(application()):
        objects = []
        stack = [window]
        while stack:
            obj = stack.pop()
            objects.append(obj)
            stack.extend(c for c in obj if c is not None and (
                c.getState().contains(pyatspi.STATE_SHOWING)))
        trees[window.name] = objects
    missing = 0
    for row in table.splitlines():
        if not row.strip() or row.startswith("#"):
            continue
        cells = [c.strip() for c in row.split("|")] + ["", ""]
        window, role, name = pick(cells[0]), cells[1], pick(cells[2])
        wanted = cells[3].split()
        description = pick(cells[4]) if cells[4] else None
        found = False
        for obj in trees.get(window, []):
            if obj.getRoleName().replace(" ", "-") != role or obj.name != name:
                continue
            if not set(wanted) <= set(states(obj)):
                continue
            if description is not None and obj.description != description:
                continue
            found = True
            break
        print("%s  %s: %s \"%s\" %s" % ("ok  " if found else "MISS", window, role,
                                         name.replace("\n", "\\n"), " ".join(wanted)))
        missing += 0 if found else 1
    return 1 if missing else 0


if __name__ == "__main__":
    main(sys.argv)
