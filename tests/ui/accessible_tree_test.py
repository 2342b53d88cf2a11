"""Walks the window's accessibility tree over the AT-SPI bus, as a screen
reader sees it: the window, every page of the options sheet and both
progress dialogs (shown in turn by the driver program given as argument).
Fails when a control on screen has no name or is named by its value."""

import subprocess
import sys
import time

import pyatspi

CONTROLS = {
    "push button", "toggle button", "check box", "radio button", "combo box", "text",
    "password text", "spin button", "slider", "list", "tree", "tree table", "table",
    "progress bar", "page tab list", "dialog", "entry",
}


def app_named(name):
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.1)
    sys.exit(f"{name} never appeared on the accessibility bus")


def values_of(node):
    """What a control shows: its text, its entries, its number."""
    values = set()
    try:
        text = node.queryText()
        values.add(text.getText(0, -1))
    except NotImplementedError:
        pass
    try:
        values.add(str(node.queryValue().currentValue))
    except NotImplementedError:
        pass
    if node.getRoleName() == "combo box":
        for child in node:
            for item in child or []:
                if item is not None:
                    values.add(item.name)
    values.discard("")
    return values


def walk(node, step, problems, seen):
    if node is None:
        return
    states = node.getState()
    if not states.contains(pyatspi.STATE_SHOWING):
        return
    role = node.getRoleName()
    if role in CONTROLS:
        name = node.name.strip()
        if not name:
            problems.append(f"{step}: a {role} without a name")
        elif role not in ("list", "tree", "tree table", "table") and name in values_of(node):
            problems.append(f"{step}: a {role} named by its value '{name}'")
        seen.add(role)
        if role in ("list", "tree", "tree table", "table"):
            return  # its rows are named by their cells
    for child in node:
        walk(child, step, problems, seen)


def main():
    driver = subprocess.Popen([sys.argv[1]], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                              text=True)
    app = None
    problems, seen, steps = [], set(), []
    try:
        while True:
            line = driver.stdout.readline()
            if not line:
                sys.exit("the driver ended early")
            step = line.strip().removeprefix("ready ")
            if step == "done":
                break
            time.sleep(0.3)  # the bus hears of the new windows
            if app is None:
                app = app_named(driver.args[0].rsplit("/", 1)[-1])
            for window in app:
                walk(window, step, problems, seen)
            if step == "progress dialogs":
                dialogs = [w for w in app if w is not None and w.getRoleName() == "dialog"
                           and w.getState().contains(pyatspi.STATE_SHOWING)]
                if len(dialogs) != 2:
                    problems.append(f"{step}: {len(dialogs)} shown as dialogs, not 2")
            steps.append(step)
            driver.stdin.write("next\n")
            driver.stdin.flush()
    finally:
        driver.kill()
    print(f"walked {len(steps)} steps; roles seen: {', '.join(sorted(seen))}")
    # A walk that saw nothing proves nothing.
    for needed in ("push button", "check box", "combo box", "progress bar", "dialog"):
        if needed not in seen:
            problems.append(f"no {needed} was found at all")
    for problem in problems:
        print(problem)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
