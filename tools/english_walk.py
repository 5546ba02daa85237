"""Run by tools/check-english inside a private session bus: starts the
program in English, opens each window through AT-SPI, reports every
Japanese text a screen reader finds and takes a screenshot of each window."""
import os
import subprocess
import sys
import time

import pyatspi


def walk(node, depth=0, out=None):
    if out is None:
        out = []
    out.append((depth, node))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1, out)
    return out


def find(root, role, name):
    for _, node in walk(root):
        if node.getRoleName() == role and node.name == name:
            return node
    return None


def usable(node):
    state = node.getState()
    return state.contains(pyatspi.STATE_SHOWING) and state.contains(pyatspi.STATE_SENSITIVE)


def find_usable(root, role, name):
    for _, node in walk(root):
        if node.getRoleName() == role and node.name == name and usable(node):
            return node
    return None


def run_action(node, names):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() in names:
            action.doAction(i)
            return True
    return False


def press(node):
    if not run_action(node, ("press", "click")):
        node.queryAction().doAction(0)


def switch_on(window, name):
    """Checks the usable check box `name` when it is not."""
    box = find_usable(window, "check box", name)
    if box is not None and not box.getState().contains(pyatspi.STATE_CHECKED):
        run_action(box, ("toggle",))
        time.sleep(0.3)


def application(timeout=90):
    end = time.time() + timeout
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name.lower() == "casewright":
                return app
        time.sleep(0.5)
    return None


def frame(app, name, timeout=10):
    end = time.time() + timeout
    while time.time() < end:
        for i in range(app.childCount):
            w = app.getChildAtIndex(i)
            if w is not None and w.name == name and w.getState().contains(pyatspi.STATE_SHOWING):
                return w
        time.sleep(0.3)
    return None

failures = []
shots = os.environ["CASEWRIGHT_SHOTS"]
counter = [0]


def japanese(text):
    return any(0x3000 <= ord(c) <= 0x30FF or 0x4E00 <= ord(c) <= 0x9FFF
               or 0xFF01 <= ord(c) <= 0xFF9F for c in text or "")


def texts(node):
    found = [node.name, node.description]
    try:
        t = node.queryText()
        found.append(t.getText(0, min(t.characterCount, 2000)))
    except NotImplementedError:
        pass
    return found


def check_window(window, label):
    """Every name, description and text of the window's showing part."""
    count = 0
    for _, node in walk(window):
        if not node.getState().contains(pyatspi.STATE_SHOWING):
            continue
        for text in texts(node):
            count += 1
            # Face names are the document's content.
            if japanese(text) and "ＭＳ" not in text:
                failures.append(f"{label}: {node.getRoleName()} {text!r}")
                print("FAIL:", failures[-1])
    print(f"{label}: {count} texts")


def shot(label):
    counter[0] += 1
    path = os.path.join(shots, f"{counter[0]:02d}-{label}.png")
    time.sleep(0.8)
    subprocess.run(["import", "-window", "root", path], check=False)


def look(app, window, label):
    if window is None:
        failures.append(f"{label}: the window does not show")
        print("FAIL:", failures[-1])
        return
    check_window(window, label)
    shot(label)


def button(window, name):
    node = find_usable(window, "push button", name)
    if node is None:
        failures.append(f"no usable button {name!r}")
        print("FAIL:", failures[-1])
        return False
    press(node)
    time.sleep(1.0)
    return True


def new_window(app, known):
    """The showing window that was not there before."""
    for _ in range(30):
        for i in range(app.childCount):
            w = app.getChildAtIndex(i)
            if w is not None and w.getState().contains(pyatspi.STATE_SHOWING) \
                    and (w.name, w.getRoleName()) not in known:
                return w
        time.sleep(0.3)
    return None


def windows(app):
    return {(w.name, w.getRoleName()) for w in
            (app.getChildAtIndex(i) for i in range(app.childCount))
            if w is not None and w.getState().contains(pyatspi.STATE_SHOWING)}


def choose_picture(app, known):
    """Answers the picture dialog that opened with the demo cover."""
    dialog = new_window(app, known)
    if dialog is None:
        return False
    subprocess.run(["xdotool", "type", "--delay", "20", os.environ["CASEWRIGHT_PICTURE"]],
                   check=False)
    subprocess.run(["xdotool", "key", "Return"], check=False)
    time.sleep(2.0)
    return True


def pick_colour(app, prints):
    """A graphic item with a picture, then its colour picker."""
    button(prints, "New")
    tab = find(prints, "page tab", "Graphic")
    if tab is not None:
        press(tab)
        time.sleep(0.5)
    known = windows(app)
    if not button(prints, "Choose file") or not choose_picture(app, known):
        return
    look(app, prints, "free-print-with-picture")
    switch_on(prints, "Transparent color")
    known = windows(app)
    if button(prints, "Pick color"):
        picker = new_window(app, known)
        look(app, picker, "colour-picker")
        if picker is not None:
            button(picker, "Cancel")


def main():
    env = dict(os.environ)
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    time.sleep(1)
    program = subprocess.Popen([env["CASEWRIGHT_PROGRAM"]], env=env)
    try:
        app = application()
        if app is None:
            failures.append("the program does not show on the accessibility bus")
            return
        main_window = frame(app, "Casewright [Main]")
        look(app, frame(app, "About"), "about")
        time.sleep(2.5)
        tabs = next((n for _, n in walk(main_window) if n.getRoleName() == "page tab list"), None)
        pages = [tabs.getChildAtIndex(i) for i in range(tabs.childCount if tabs else 0)]
        for tab in [p for p in pages if p is not None and p.getRoleName() == "page tab"]:
            press(tab)
            time.sleep(0.5)
            look(app, main_window, "main-" + tab.name.replace(" ", "-").replace("(", "").replace(")", ""))

        main_window = frame(app, "Casewright [Main]")
        press(find(main_window, "page tab", "Front label"))
        time.sleep(0.5)
        main_window = frame(app, "Casewright [Main]")
        switch_on(main_window, "Track list")
        known = windows(app)
        if button(main_window, "Edit list"):
            editor = frame(app, "Casewright [List]")
            look(app, editor, "list-editor")
            if editor is not None:
                button(editor, "New")
                check_window(editor, "list editor with a row")
                known = windows(app)
                if button(editor, "List layout"):
                    layout = new_window(app, known)
                    look(app, layout, "list-layout")
                    if layout is not None:
                        button(layout, "Close")
                known = windows(app)
                change = find_usable(editor, "push button", "Change fonts")
                if change is not None:
                    press(change)
                    time.sleep(1.0)
                    bulk = new_window(app, known)
                    look(app, bulk, "bulk-font-change")
                    if bulk is not None:
                        button(bulk, "Cancel")
                known = windows(app)
                font = find_usable(editor, "push button", "Font")
                if font is not None:
                    press(font)
                    time.sleep(1.0)
                    dialog = new_window(app, known)
                    look(app, dialog, "font-dialog")
                    if dialog is not None:
                        button(dialog, "Cancel")
                button(editor, "Close")
                time.sleep(1.0)

        switch_on(main_window, "Free print (front)")
        known = windows(app)
        edits = [n for _, n in walk(main_window)
                 if n.getRoleName() == "push button" and n.name == "Edit items"
                 and n.getState().contains(pyatspi.STATE_SENSITIVE)
                 and n.getState().contains(pyatspi.STATE_SHOWING)]
        if edits:
            press(edits[0])
            time.sleep(1.0)
            prints = new_window(app, known)
            if prints is not None:
                for name in ("Text", "Graphic", "Text block"):
                    tab = find(prints, "page tab", name)
                    if tab is not None:
                        press(tab)
                        time.sleep(0.5)
                    look(app, prints, "free-print-" + name.lower().replace(" ", "-"))
                pick_colour(app, prints)
                button(prints, "Close")
        else:
            failures.append("no usable 'Edit items'")

        # The disc's free prints: a text item there may stand on an arc.
        disc = find(main_window, "page tab", "Disc")
        if disc is not None:
            press(disc)
            time.sleep(0.5)
            switch_on(main_window, "Free print")
            known = windows(app)
            edit = find_usable(main_window, "push button", "Edit items")
            if edit is not None:
                press(edit)
                time.sleep(1.0)
                prints = new_window(app, known)
                if prints is not None:
                    text = find(prints, "page tab", "Text")
                    if text is not None:
                        press(text)
                        time.sleep(0.5)
                    button(prints, "New")
                    time.sleep(0.5)
                    look(app, prints, "free-print-disc")
                    button(prints, "Close")
            else:
                failures.append("no usable 'Edit items' on the disc tab")

        known = windows(app)
        if button(main_window, "Preview"):
            preview = new_window(app, known)
            look(app, preview, "preview")
            if preview is not None:
                button(preview, "Close")

        main_window = frame(app, "Casewright [Main]")
        switch_on(main_window, "Picture")
        known = windows(app)
        if button(main_window, "Choose file"):
            dialog = new_window(app, known)
            look(app, dialog, "picture-dialog")
            subprocess.run(["xdotool", "key", "Escape"], check=False)
            time.sleep(0.8)

        # The help, and the questions of File > New and of closing.
        subprocess.run(["xdotool", "search", "--name", "Casewright \\[Main\\]", "windowactivate",
                        "--sync"], check=False)
        known = windows(app)
        subprocess.run(["xdotool", "key", "F1"], check=False)
        time.sleep(1.0)
        look(app, new_window(app, known), "help")
        subprocess.run(["xdotool", "search", "--name", "Casewright \\[Main\\]", "windowactivate",
                        "--sync"], check=False)
        known = windows(app)
        subprocess.run(["xdotool", "key", "ctrl+n"], check=False)
        time.sleep(1.0)
        question = new_window(app, known)
        look(app, question, "new-question")
        if question is not None:
            button(question, "No")
        known = windows(app)
        subprocess.run(["xdotool", "search", "--name", "Casewright \\[Main\\]", "windowactivate",
                        "--sync", "key", "alt+F4"], check=False)
        time.sleep(1.0)
        question = new_window(app, known)
        look(app, question, "quit-question")
        if question is not None:
            button(question, "Yes")
    finally:
        time.sleep(1)
        program.terminate()
        try:
            program.wait(timeout=10)
        except subprocess.TimeoutExpired:
            program.kill()
        bus.terminate()
    print("FAILED" if failures else "no Japanese text outside the document's content")


if __name__ == "__main__":
    main()
    sys.exit(1 if failures else 0)
