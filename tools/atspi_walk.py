"""Run by tools/check-accessibility inside a private session bus: starts the
program, walks its AT-SPI tree and checks what a screen reader finds."""
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
        print(f"{total} controls on the tabs")
        check_history(app, main_window, tabs)
        # The captions the X server shows, as the window manager reads them.
        tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
        check("— Casewright" not in tree, "a caption carries the program's name as a suffix")
        check('"Casewright [Main]"' in tree, "no X window captioned 'Casewright [Main]'")
    finally:
        program.kill()
        program.wait()
        bus.terminate()
    print("accessibility check:", "FAILED" if failures else "passed")


main()
sys.exit(1 if failures else 0)
