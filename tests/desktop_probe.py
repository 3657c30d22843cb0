"""Reads the program's windows back as the desktop's own clients do.

    taskbar WINDOW     listed, skipped or missing in taskbars and pagers (libwnck)
    buttons TITLE      the window's buttons, left to right (AT-SPI)
    text TITLE NAME    the text of the box NAME in the window (AT-SPI)
    audit TITLE...     what a screen reader would announce badly (AT-SPI)

Run by Debian's own Python; the AT-SPI commands wait up to ten seconds.
"""
import re
import sys
import time


def taskbar(window_id):
    import gi

    gi.require_version("Wnck", "3.0")
    from gi.repository import Wnck

    screen = Wnck.Screen.get_default()
    screen.force_update()
    window = Wnck.Window.get(int(window_id))
    if window is None:
        return "missing"
    skips = {window.is_skip_tasklist(), window.is_skip_pager()}
    return "partly" if len(skips) == 2 else "skipped" if True in skips else "listed"


def program_windows(title=".*"):
    import pyatspi

    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "morvantel":
            yield from (w for w in app if w is not None and re.fullmatch(title, w.name))


def below(node):
    for child in node:
        if child is not None:
            yield child
            yield from below(child)


def program_nodes():
    for window in program_windows():
        yield window
        yield from below(window)


def showing(node):
    import pyatspi

    return node.getState().contains(pyatspi.STATE_SHOWING)


def until_found(find):
    deadline = time.monotonic() + 10
    while not (found := find()) and time.monotonic() < deadline:
        time.sleep(0.1)
    return found


def buttons(title):
    import pyatspi

    def find():
        return [node for window in program_windows(title) for node in below(window)
                if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and showing(node)]

    across = lambda button: button.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x
    return " ".join(button.name for button in sorted(until_found(find), key=across))


def text(title, name):
    box = until_found(lambda: next((node for window in program_windows(title)
                                    for node in below(window) if node.name == name), None))
    if box is None:
        sys.exit(f"no box {name!r} in a window {title!r} on the accessibility bus")
    return box.queryText().getText(0, -1)


def audit(titles):
    import pyatspi

    def missing():
        found = [node.name for node in program_nodes() if showing(node)]
        return [title for title in titles if not any(re.fullmatch(title, name) for name in found)]

    until_found(lambda: not missing())
    faults = [f"no window {title!r} on the accessibility bus" for title in missing()]
    for node in filter(showing, program_nodes()):
        role = node.getRoleName()
        if node.getState().contains(pyatspi.STATE_FOCUSABLE) and not node.name.strip():
            faults.append(f"a focusable {role} without a name")
        if re.search("[\u00ab\u00a4\u00bb]", node.name):
            faults.append(f"a {role} announced as {node.name!r}")
    return "\n".join(faults)


if __name__ == "__main__":
    command, arguments = sys.argv[1], sys.argv[2:]
    if command not in ("taskbar", "buttons", "text", "audit"):
        sys.exit(f"unknown command {command}")
    print(audit(arguments) if command == "audit" else globals()[command](*arguments),
          end="" if command == "audit" else "\n")
