"""Run by tools/check-accessibility inside a private session bus: starts the
program, walks its AT-SPI tree and checks what a screen reader finds. Then it
toggles every check box and radio button of the main window, the list editor
and the free-print editor through its accessible action, saves the document
and reads it back (the program started again on it, and the command line's
dump)."""
import json
import os
import subprocess
import sys
import time

import pyatspi

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)


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


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click"):
            action.doAction(i)
            return
    action.doAction(0)


def run_action(node, names):
    """Runs the first action of the node called one of `names`; False when it
    has none of them."""
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() in names:
            action.doAction(i)
            return True
    return False


def toggle(node):
    return run_action(node, ("toggle",))


def is_checked(node):
    return node.getState().contains(pyatspi.STATE_CHECKED)


def usable(node):
    state = node.getState()
    return state.contains(pyatspi.STATE_SHOWING) and state.contains(pyatspi.STATE_SENSITIVE)


CHECKABLE_ROLES = ("check box", "radio button")


def checkables(window):
    """The showing check boxes and radio buttons, in tree order."""
    return [node for _, node in walk(window)
            if node.getRoleName() in CHECKABLE_ROLES
            and node.getState().contains(pyatspi.STATE_SHOWING)]


def toggle_every_control(window, label, settle=0.25):
    """Toggles each usable control once through its accessible action; an
    unchecked radio button must end checked, a check box must change (or go
    back when the document refuses, which is reported). Returns how many
    controls were toggled."""
    count = 0
    for node in checkables(window):
        if not usable(node):
            continue
        role = node.getRoleName()
        if role == "radio button" and is_checked(node):
            continue
        before = is_checked(node)
        check(toggle(node), f"{label}: {role} {node.name!r} has no toggle action")
        time.sleep(settle)
        after = is_checked(node)
        check(after != before, f"{label}: {role} {node.name!r} did not change when toggled")
        count += 1
    return count


def control_states(window):
    return [(node.getRoleName(), node.name, is_checked(node)) for node in checkables(window)]


def main_window_states(app, main_window):
    """The checked state of every check box and radio button, tab by tab."""
    states = {}
    tabs = next((n for _, n in walk(main_window) if n.getRoleName() == "page tab list"), None)
    for i in range(tabs.childCount if tabs else 0):
        tab = tabs.getChildAtIndex(i)
        if tab is None or tab.getRoleName() != "page tab":
            continue
        press(tab)
        time.sleep(0.4)
        states[tab.name] = control_states(main_window)
    return states


def find_usable(root, role, name):
    for _, node in walk(root):
        if node.getRoleName() == role and node.name == name and usable(node):
            return node
    return None


def show_tab(window, name):
    tab = find(window, "page tab", name)
    check(tab is not None, f"no tab {name!r}")
    if tab is not None:
        press(tab)
        time.sleep(0.4)


def press_named(window, name, label):
    button = find_usable(window, "push button", name)
    check(button is not None, f"{label}: no usable button {name!r}")
    if button is not None:
        press(button)
        time.sleep(0.6)
    return button is not None


def toggle_main_window(app, main_window):
    total = 0
    tabs = next((n for _, n in walk(main_window) if n.getRoleName() == "page tab list"), None)
    for i in range(tabs.childCount if tabs else 0):
        tab = tabs.getChildAtIndex(i)
        if tab is None or tab.getRoleName() != "page tab":
            continue
        press(tab)
        time.sleep(0.4)
        # Twice: the first round enables controls that follow others.
        for _ in range(2):
            total += toggle_every_control(main_window, f"tab {tab.name}")
    print(f"{total} toggles on the main window's tabs")
    check(total >= 40, f"only {total} controls of the main window were toggled")


def switch_on(window, name):
    """Checks the usable check box `name` when it is not."""
    box = find_usable(window, "check box", name)
    if box is not None and not is_checked(box):
        toggle(box)
        time.sleep(0.3)
    return box is not None and is_checked(box)


def toggle_list_editor(app, main_window):
    """Opens the list editor, makes a row and toggles every radio button.
    Returns the states the new row's controls show."""
    show_tab(main_window, "表レーベル")
    check(switch_on(main_window, "リスト"), "the front's 'リスト' cannot be switched on")
    if not press_named(main_window, "リスト編集", "main window"):
        return None
    editor = frame(app, "Casewright [List]")
    check(editor is not None, "the list editor does not show")
    if editor is None:
        return None
    press_named(editor, "新規", "list editor")
    # Every radio button, the cells' first: "ｾﾊﾟﾚｰﾀ" switches the cells off.
    # Each cell's alignment ends at "右寄せ", the row at "する" and "文章".
    count = 0
    order = (("中央", "左寄せ", "中央", "右寄せ"), ("しない", "する"), ("ｾﾊﾟﾚｰﾀ", "文章"))
    for names in order:
        for name in names:
            for node in checkables(editor):
                if node.name == name and usable(node) and not is_checked(node):
                    check(toggle(node), f"list editor: {name!r} has no toggle action")
                    time.sleep(0.25)
                    check(is_checked(node), f"list editor: {name!r} is not checked when toggled")
                    count += 1
    print(f"{count} toggles in the list editor")
    check(count >= 16, f"only {count} radio buttons of the list editor were toggled")
    shown = [is_checked(n) for n in checkables(editor) if n.name == "右寄せ"]
    press_named(editor, "閉じる", "list editor")
    return shown


def toggle_prints_editor(app, main_window):
    """Opens the cover's free-print editor, makes an item and toggles both
    check boxes. Returns whether "透明色" shows checked."""
    show_tab(main_window, "表レーベル")
    check(switch_on(main_window, "任意印刷(前面)"), "'任意印刷(前面)' cannot be switched on")
    buttons = [n for _, n in walk(main_window)
               if n.getRoleName() == "push button" and n.name == "印刷項目編集" and usable(n)]
    check(bool(buttons), "no usable '印刷項目編集'")
    if not buttons:
        return None
    press(buttons[0])
    editor = frame(app, "Casewright [PrintsList]")
    check(editor is not None, "the free-print editor does not show")
    if editor is None:
        return None
    press_named(editor, "新規", "free-print editor")
    show_tab(editor, "グラフィック")
    count = toggle_every_control(editor, "free-print editor")
    check(count == 2, f"{count} check boxes of the free-print editor were toggled, not 2")
    transparent = find(editor, "check box", "透明色")
    shown = transparent is not None and is_checked(transparent)
    press_named(editor, "閉じる", "free-print editor")
    return shown


def save_document(main_window):
    item = next((n for _, n in walk(main_window)
                 if n.getRoleName() == "menu item" and n.name.startswith("上書き保存")), None)
    check(item is not None, "no menu item '上書き保存'")
    if item is not None:
        run_action(item, ("click", "press", "activate", "toggle")) or item.queryAction().doAction(0)
        time.sleep(1.0)


def dump(document):
    cli = os.environ.get("CASEWRIGHT_CLI", "")
    if not cli or not os.access(cli, os.X_OK):
        print("no casewright-cli: the saved document is read back by the program only")
        return None
    out = subprocess.run([cli, "dump", document], capture_output=True, text=True)
    check(out.returncode == 0, f"casewright-cli dump failed: {out.stderr.strip()}")
    return json.loads(out.stdout) if out.returncode == 0 else None


def toggle_editors_and_read_back(app, main_window, env):
    """The list editor's and the free-print editor's controls, saved and
    read back by the command line's dump."""
    aligned = toggle_list_editor(app, main_window)
    main_window = frame(app, "Casewright [Main]")
    check(main_window is not None, "the main window does not come back after the list editor")
    if main_window is None:
        return
    transparent = toggle_prints_editor(app, main_window)
    main_window = frame(app, "Casewright [Main]")
    check(main_window is not None, "the main window does not come back after the free-print editor")
    if main_window is None:
        return
    save_document(main_window)
    saved = dump(env["CASEWRIGHT_DOCUMENT"])
    if saved is None:
        return
    rows = saved.get("listRows", [])
    check(bool(rows), "the saved document has no list rows")
    if rows and aligned:
        aligns = [c.get("align") for c in rows[-1]["columns"]]
        check(aligns == [3] * 3, f"the new row's alignments saved as {aligns}")
    items = saved.get("coverPrints", [])
    check(bool(items), "the saved document has no cover items")
    if items and transparent is not None:
        check(items[-1].get("transparent") == transparent,
              f"'透明色' shows {transparent}, saved {items[-1].get('transparent')}")
    if not failures:
        print("the editors' toggled states were saved and read back")


SURFACE_KEYS = {"表レーベル": "top", "裏レーベル": "bottom", "背表紙(左)": "left", "背表紙(右)": "right"}


def key(keysym, times=1):
    for _ in range(times):
        pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)
        time.sleep(0.15)


def position_of(saved, name):
    """The stored position of a title or surface picture named as the page
    names it ("タイトル(表レーベル)", "画像(裏レーベル)")."""
    for kind, field, keys in (("タイトル", "title", ("customX", "customY")),
                              ("画像", "picture", ("posX", "posY"))):
        for where, surface in SURFACE_KEYS.items():
            if name == f"{kind}({where})":
                part = saved[surface][field]
                return [part[keys[0]], part[keys[1]]]
    return None


def move_by_keyboard(preview, main_window, env):
    """Tab selects the first thing of the shown page and the arrow keys move
    it (three right, two down); the saved file holds the new position."""
    page = next((n for _, n in walk(preview) if n.getRoleName() == "image" and n.childCount > 0),
                None)
    check(page is not None, "the preview's page shows no things to select")
    if page is None:
        return
    before = dump(env["CASEWRIGHT_DOCUMENT"])
    page.queryComponent().grabFocus()
    time.sleep(0.5)
    key(0xff09)  # Tab
    time.sleep(0.5)
    children = [page.getChildAtIndex(i) for i in range(page.childCount)]
    selected = [c for c in children
                if c is not None and c.getState().contains(pyatspi.STATE_FOCUSED)]
    check(len(selected) == 1, f"Tab selected {len(selected)} things of the page")
    if len(selected) != 1:
        return
    name = selected[0].name
    check(name == children[0].name, f"Tab selected {name!r}, not the first thing {children[0].name!r}")
    key(0xff53, 3)  # Right
    key(0xff54, 2)  # Down
    time.sleep(0.5)
    save_document(main_window)
    after = dump(env["CASEWRIGHT_DOCUMENT"])
    if before is None or after is None:
        return
    was, now = position_of(before, name), position_of(after, name)
    check(was is not None, f"the first thing {name!r} is no title or surface picture")
    if was is not None:
        check(now == [was[0] + 3, was[1] + 2],
              f"{name}: saved at {now} after three steps right and two down from {was}")
        print(f"preview: Tab selected {name}, the arrows moved it from {was} to {now}, saved")


def stored_states(states):
    """"縦横比固定" is the window's state, not stored in the file."""
    return [state for state in states or [] if state[1] != "縦横比固定"]


def start_program(env):
    return subprocess.Popen([env["CASEWRIGHT_PROGRAM"], env["CASEWRIGHT_DOCUMENT"]], env=env)


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


CONTROL_ROLES = {"push button", "check box", "radio button", "text", "combo box", "page tab"}


def check_controls(window, label):
    """Every control of the window's showing part has a name; edits do not
    share one."""
    edits = {}
    count = 0
    for _, node in walk(window):
        role = node.getRoleName()
        if role not in CONTROL_ROLES or not node.getState().contains(pyatspi.STATE_SHOWING):
            continue
        count += 1
        name = node.name or ""
        check(name.strip() != "", f"{label}: a {role} without a name")
        if role == "text":
            check(name not in edits, f"{label}: two edits named {name!r}")
            edits[name] = node
        print(f"  {role:12} {name!r}" + (f"  ({node.description})" if node.description else ""))
    return count


def menu_item(window, prefix):
    for _, node in walk(window):
        if node.getRoleName() == "menu item" and (node.name or "").startswith(prefix):
            return node
    return None


def list_rows(app, main_window):
    """Opens the list editor from the front tab, returns it and its row count."""
    button = find(main_window, "push button", "リスト編集")
    if button is None:
        return None, -1
    press(button)
    window = frame(app, "Casewright [List]")
    if window is None:
        return None, -1
    view = find(window, "list", "リスト")
    rows = -1
    if view is not None:
        rows = sum(1 for i in range(view.childCount)
                   if view.getChildAtIndex(i) is not None
                   and view.getChildAtIndex(i).getRoleName() == "list item")
    return window, rows


def close_list(app, window):
    press(find(window, "push button", "閉じる"))
    return frame(app, "Casewright [Main]")


def check_history(app, main_window, tabs):
    """A change made in the list editor is undone and redone through the main
    window's "編集" menu, whose items name it."""
    check(menu_item(main_window, "元に戻す") is not None, "no menu item named '元に戻す…'")
    check(menu_item(main_window, "やり直し") is not None, "no menu item named 'やり直し…'")
    if tabs is not None and tabs.childCount > 0:
        press(tabs.getChildAtIndex(0))
        time.sleep(0.4)
    window, before = list_rows(app, main_window)
    check(window is not None and before >= 0, "the list editor does not show its rows")
    if window is None:
        return
    press(find(window, "push button", "新規"))
    time.sleep(0.4)
    main_window = close_list(app, window)
    check(main_window is not None, "the main window does not come back")
    if main_window is None:
        return
    undo = menu_item(main_window, "元に戻す")
    check(undo is not None and undo.name == "元に戻す: 新規(リスト)",
          f"undo item reads {undo.name if undo else None!r}")
    if undo is None:
        return
    press(undo)
    time.sleep(0.4)
    redo = menu_item(main_window, "やり直し")
    check(redo is not None and redo.name == "やり直し: 新規(リスト)",
          f"redo item reads {redo.name if redo else None!r}")
    window, after_undo = list_rows(app, main_window)
    check(after_undo == before, f"after undo {after_undo} rows, before the change {before}")
    if window is None or redo is None:
        return
    main_window = close_list(app, window)
    press(redo)
    time.sleep(0.4)
    window, after_redo = list_rows(app, main_window)
    check(after_redo == before + 1, f"after redo {after_redo} rows, expected {before + 1}")
    if window is not None:
        close_list(app, window)
    print(f"undo and redo through the menu: {before} -> {after_undo} -> {after_redo} rows")


def main():
    env = dict(os.environ)
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    time.sleep(1)
    program = subprocess.Popen([env["CASEWRIGHT_PROGRAM"], env["CASEWRIGHT_DOCUMENT"]], env=env)
    try:
        app = application()
        check(app is not None, "the program does not show on the accessibility bus")
        if app is None:
            return
        main_window = frame(app, "Casewright [Main]")
        check(main_window is not None, "no window named 'Casewright [Main]'")
        about = frame(app, "ﾊﾞｰｼﾞｮﾝ情報")
        check(about is not None, "the start-up version box is not found")
        if about is not None:
            check(about.getRoleName() == "dialog", f"version box role {about.getRoleName()}")
            print("version box:")
            check_controls(about, "version box")
            for text in ("Casewright", "Version 1.12", "OK"):
                check(any(n.name == text for _, n in walk(about)), f"version box: no {text!r}")
        time.sleep(2.5)  # the splash closes by itself
        if main_window is None:
            return
        check(main_window.getRoleName() == "frame", f"main window role {main_window.getRoleName()}")
        tabs = next((n for _, n in walk(main_window) if n.getRoleName() == "page tab list"), None)
        check(tabs is not None, "no page tab list")
        total = 0
        pages = [tabs.getChildAtIndex(i) for i in range(tabs.childCount if tabs else 0)]
        for tab in [p for p in pages if p is not None and p.getRoleName() == "page tab"]:
            press(tab)
            time.sleep(0.4)
            print(f"tab {tab.name}:")
            total += check_controls(main_window, f"tab {tab.name}")
        for name in ("画像ｻｲｽﾞ 幅", "画像ｻｲｽﾞ 高さ", "印刷位置 横", "印刷位置 縦", "ファイル名",
                     "タイトル", "印刷位置オフセット", "任意位置設定 横", "任意位置設定 縦"):
            check(find(main_window, "text", name) is not None, f"no edit named {name!r}")
        for name in ("表レーベル(表)", "背表紙(右)"):
            check(find(main_window, "push button", name) is not None, f"no swatch {name!r}")
        preview_button = find(main_window, "push button", "プレビュー")
        check(preview_button is not None, "no 'プレビュー' button")
        if preview_button is not None:
            press(preview_button)
            preview = frame(app, "Casewright [Preview]")
            check(preview is not None, "the preview window does not show")
            if preview is not None:
                check(preview.getRoleName() == "frame", f"preview role {preview.getRoleName()}")
                print("preview:")
                check_controls(preview, "preview")
                move_by_keyboard(preview, main_window, env)
        print(f"{total} controls on the tabs")
        check_history(app, main_window, tabs)
        # The captions the X server shows, as the window manager reads them.
        tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
        check("— Casewright" not in tree, "a caption carries the program's name as a suffix")
        check('"Casewright [Main]"' in tree, "no X window captioned 'Casewright [Main]'")
        if preview_button is not None:
            preview = frame(app, "Casewright [Preview]")
            if preview is not None:
                close = find(preview, "push button", "閉じる")
                if close is not None:
                    press(close)
                    time.sleep(0.5)
        # The main window's controls as toggled, saved, and shown by the
        # program started again on the saved document.
        toggle_main_window(app, main_window)
        shown = main_window_states(app, main_window)
        save_document(main_window)
        program.kill()
        program.wait()
        program = start_program(env)
        app = application()
        main_window = frame(app, "Casewright [Main]") if app is not None else None
        check(main_window is not None, "the program does not start again on the saved document")
        if main_window is None:
            return
        time.sleep(3)  # the splash closes by itself
        again = main_window_states(app, main_window)
        for tab, states in shown.items():
            check(stored_states(again.get(tab)) == stored_states(states),
                  f"tab {tab}: read back {stored_states(again.get(tab))}, "
                  f"was {stored_states(states)}")
        if not failures:
            print("the main window's toggled states were saved and read back")
        toggle_editors_and_read_back(app, main_window, env)
    finally:
        program.kill()
        program.wait()
        bus.terminate()
    print("accessibility check:", "FAILED" if failures else "passed")


main()
sys.exit(1 if failures else 0)
