"""Walks the running kibiki through AT-SPI: every control of each window and dialog it opens has
a name and a role, the caps and counters are read, a right and a wrong key raise the practice's
announcements, and a lesson typed to its end as announced opens the lesson-end dialog. Keys are
typed with xdotool. Run by atspi_kibiki.sh: atspi_walk.py PID.
Exit 0 passed, 1 failed (what was seen is printed), 77 when AT-SPI does not answer."""
import re
import subprocess
import sys
import time

import gi
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

PID = int(sys.argv[1])
CONTAINERS = {Atspi.Role.FILLER, Atspi.Role.PANEL, Atspi.Role.SCROLL_PANE, Atspi.Role.VIEWPORT,
              Atspi.Role.MENU_BAR, Atspi.Role.SEPARATOR, Atspi.Role.LAYERED_PANE, Atspi.Role.REDUNDANT_OBJECT,
              Atspi.Role.SCROLL_BAR, Atspi.Role.APPLICATION}
CAP = re.compile(r"^\S+ キー、[左右]手(小指|薬指|中指|人差し指)$")
seen = []  # what the test saw, printed on failure
unnamed = []  # controls without a name or a role, by window
events = []  # (type, source name, new value)


def fail(message):
    print("atspi: FAIL: " + message, file=sys.stderr)
    print("--- seen", file=sys.stderr)
    for line in seen[-200:]:
        print(line, file=sys.stderr)
    print("--- windows", file=sys.stderr)
    try:
        for w in windows():
            print("%s %r showing=%s" % (w.get_role_name(), w.get_name(),
                                        w.get_state_set().contains(Atspi.StateType.SHOWING)), file=sys.stderr)
    except GLib.Error as e:
        print(e, file=sys.stderr)
    print("--- events", file=sys.stderr)
    for e in events[-40:]:
        print(e, file=sys.stderr)
    sys.exit(1)


def pump_until(condition, what, seconds=30):
    """Runs the event loop until condition() holds; fails naming what was awaited."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while context.pending():
            context.iteration(False)
        result = condition()
        if result:
            return result
        time.sleep(0.02)
    fail("waited %ds for %s" % (seconds, what))


def app():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        a = desktop.get_child_at_index(i)
        try:
            if a is not None and a.get_process_id() == PID:
                return a
        except GLib.Error:
            pass
    return None


def walk(node, depth=0):
    """Yields (node, depth) of every showing descendant."""
    try:
        states = node.get_state_set()
        if depth > 0 and not states.contains(Atspi.StateType.SHOWING):
            return
        yield node, depth
        for i in range(node.get_child_count()):
            child = node.get_child_at_index(i)
            if child is not None:
                yield from walk(child, depth + 1)
    except GLib.Error:
        return


def check_window(window, label):
    """Every control of a window shown: a name and a role. Returns its nodes."""
    nodes = list(walk(window))
    bad = []
    for node, depth in nodes:
        role, name = node.get_role(), node.get_name() or ""
        seen.append("%s%s [%s] %r" % ("  " * depth, label, node.get_role_name(), name))
        if role in (Atspi.Role.INVALID, Atspi.Role.UNKNOWN):
            bad.append("no role: %r" % name)
        elif not name.strip() and role not in CONTAINERS:
            bad.append("no name: %s" % node.get_role_name())
    if bad:
        # Every window is still walked: one run tells all that lacks a name.
        unnamed.append("%s: %s" % (label, "; ".join(bad)))
    return [n for n, _ in nodes]


def windows():
    a = app()
    return [a.get_child_at_index(i) for i in range(a.get_child_count())] if a else []


def window_named(pattern):
    def find():
        for w in windows():
            try:
                if w is not None and re.search(pattern, w.get_name() or "") and \
                        w.get_state_set().contains(Atspi.StateType.SHOWING):
                    return w
            except GLib.Error:
                pass
        return None
    return find


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "50", *keys], check=True)


def on_event(event):
    if event.type.startswith("object:state-changed:showing"):
        # A notification shown: what readers that skip the change events' values hear.
        try:
            if event.detail1 == 1 and event.source.get_role() == Atspi.Role.NOTIFICATION:
                events.append(("notification", "", event.source.get_name() or ""))
        except GLib.Error:
            pass
        return
    try:
        name = event.source.get_name() if event.source else ""
    except GLib.Error:
        name = "?"
    value = event.any_data if isinstance(event.any_data, str) else ""
    if not value and event.source is not None:
        # The bindings may not unpack the new value: the object says it.
        try:
            value = (event.source.get_description() if event.type.endswith("description")
                     else event.source.get_name()) or ""
        except GLib.Error:
            pass
    events.append((event.type, name, value))


# AT-SPI answers, and the program is on the bus.
try:
    Atspi.init()
    Atspi.get_desktop(0).get_child_count()
except GLib.Error as e:
    print("atspi: AT-SPI does not answer (%s), skipped" % e)
    sys.exit(77)
pump_until(app, "the program on the accessibility bus")

listener = Atspi.EventListener.new(on_event)
for kind in ("object:property-change:accessible-description",
             "object:property-change:accessible-name", "object:state-changed:showing"):
    listener.register(kind)

main = pump_until(lambda: next((w for w in windows() if w.get_role() == Atspi.Role.FRAME), None),
                  "the main window")
nodes = check_window(main, "main")
names = [n.get_name() or "" for n in nodes]
caps = [s for s in names if CAP.match(s)]
if len(caps) != 48:
    fail("%d caps read as \"<legend> キー、<hand><finger>\", 48 expected" % len(caps))
for counter in ("ミス回数", "正解率", "あと", "問題", "解答"):
    if not any(s == counter or s.startswith(counter + " ") for s in names):
        fail("no control named %s" % counter)

# Keys of the JIS kana layout by place, as a US map names them.
KANA = dict(zip("ぬふあうえおやゆよわほへたていすかんなにらせちとしはきくまのりれけむつさそひこみもねるめ゛゜",
                "1 2 3 4 5 6 7 8 9 0 minus equal q w e r t y u i o p a s d f g h j k l semicolon "
                "apostrophe backslash z x c v b n m comma period slash bracketleft bracketright".split()))


def focus_main():
    ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Kibiki$"],
                         capture_output=True, text=True).stdout.split()
    if not ids:
        fail("no X window named Kibiki")
    subprocess.run(["xdotool", "windowfocus", "--sync", ids[0]], check=True)


def announced(prefix, since):
    def find():
        for kind, _, value in events[since:]:
            if kind.endswith("accessible-description") and value.startswith(prefix):
                return value
        return None
    return find


# A kana lesson (a new user's mode) through the lesson-select dialog, walked on the way.
focus_main()
key("ctrl+n")
dialog = pump_until(window_named("レッスンの選択"), "the lesson-select dialog")
check_window(dialog, "lesson-select")
key("Return")
pump_until(lambda: not window_named("レッスンの選択")(), "the lesson-select dialog to close")
focus_main()

due = pump_until(announced("次は ", 0), "the first key due announced")
def question_text():
    """The question box's text, once it reads as one."""
    for node, _ in walk(main):
        try:
            if node.get_role() == Atspi.Role.TEXT and node.get_name() == "問題":
                text = Atspi.Text.get_text(node, 0, Atspi.Text.get_character_count(node))
                return text if text.strip() else None
        except GLib.Error as e:
            seen.append("question box: %s" % e)
    return None


content = pump_until(question_text, "the question box to read its question")
seen.append("question text: %r" % content)

kana = due.split(" ", 1)[1].split("、")[0]
if kana not in KANA:
    fail("no key for the due %r" % kana)
wrong = "た" if kana != "た" else "て"
mark = len(events)
key(KANA[wrong])
pump_until(announced("ミス: " + wrong, mark), "the miss of %s announced" % wrong)
pump_until(lambda: ("notification", "", "ミス: " + wrong) in events[mark:],
           "the miss of %s shown as a notification" % wrong)
mark = len(events)
key(KANA[kana])
after = pump_until(lambda: announced("次は ", mark)() or announced("レッスン終了", mark)(),
                   "the next key announced after %s" % kana)
seen.append("right key %s, then: %s" % (kana, after))


def closed(pattern):
    return lambda: not window_named(pattern)()


# The rest of the lesson typed key by key as announced, to its end and the lesson-end dialog.
end_dialog = None
for _ in range(400):
    end_dialog = window_named("^レッスン終了$")()
    if end_dialog:
        break
    mark = len(events)
    due_now = next((v for k, _, v in reversed(events) if k.endswith("accessible-description")
                    and v.startswith("次は ")), "")
    kana = due_now.split(" ", 1)[1].split("、")[0] if due_now else ""
    if kana not in KANA:
        fail("no key for the due %r" % kana)
    key(KANA[kana])
    pump_until(lambda: announced("次は ", mark)() or announced("レッスン終了", mark)()
               or window_named("^レッスン終了$")(), "what follows %s" % kana)
end_dialog = pump_until(window_named("^レッスン終了$"), "the lesson-end dialog")
walked = {"lesson-end": len(check_window(end_dialog, "lesson-end"))}
key("Escape")
pump_until(closed("^レッスン終了$"), "the lesson-end dialog to close")


def popup(top):
    """The menu of the bar's item named top."""
    bar = next((n for n, _ in walk(main) if n.get_role() == Atspi.Role.MENU_BAR), None)
    if bar is None:
        fail("no menu bar")
    for i in range(bar.get_child_count()):
        menu = bar.get_child_at_index(i)
        if (menu.get_name() or "").startswith(top):
            # The bar's item holds the popup menu, which holds the items.
            while menu.get_child_count() == 1 and menu.get_child_at_index(0).get_role() != Atspi.Role.MENU_ITEM:
                menu = menu.get_child_at_index(0)
            return menu
    fail("no menu %r" % top)


def menu_keys(top, item):
    """The keys that pick a menu item without a letter of its own: the menu opens on its first
    enabled item, and Down passes over disabled ones."""
    menu = popup(top)
    names = []
    for j in range(menu.get_child_count()):
        entry = menu.get_child_at_index(j)
        if entry.get_role() == Atspi.Role.SEPARATOR or \
                not entry.get_state_set().contains(Atspi.StateType.ENABLED):
            continue
        names.append(entry.get_name() or "")
    if item not in names:
        fail("no enabled item %r in %s: %r" % (item, top, names))
    return ["Down"] * names.index(item) + ["Return"]


def visit(top, letter, keys, title, label, then=None):
    """Opens a window from the main one with keys in the menu top (opened with Alt and its letter
    and waited for: a busy machine may open it after the next key came), walks it (then() may
    walk more of it) and closes it with Escape."""
    # Alt and a letter on the heels of a window's closing can come before the focus does:
    # pressed again while the menu stays shut.
    for _ in range(3):
        focus_main()
        key("alt+" + letter)
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline and not popup(top).get_state_set().contains(Atspi.StateType.SHOWING):
            time.sleep(0.05)
        if popup(top).get_state_set().contains(Atspi.StateType.SHOWING):
            break
    else:
        fail("the menu %s did not open" % top)
    key(*keys)
    window = pump_until(window_named(title), "the %s window" % label)
    walked[label] = len(check_window(window, label))
    if then:
        then(window)
    key("Escape")
    pump_until(closed(title), "the %s window to close" % label)


def named_node(window, name):
    return lambda: next((n for n, _ in walk(window) if (n.get_name() or "") == name), None)


def progress_pages(window):
    """The chart's page is walked on opening; the other two follow with Ctrl+Tab."""
    chart = pump_until(named_node(window, "速さと正確さのグラフ"), "the chart")
    summary = chart.get_description() or ""
    if not summary.startswith("記録 "):
        fail("the chart describes itself as %r" % summary)
    seen.append("chart: %r" % summary)
    # Only the page shown is walked: the chart goes out of view, the calendar comes in.
    key("ctrl+Tab")
    pump_until(lambda: not named_node(window, "速さと正確さのグラフ")(), "the weak-keys page")
    walked["学習の記録 weak keys"] = len(check_window(window, "学習の記録 weak keys"))
    key("ctrl+Tab")
    grid = pump_until(named_node(window, "カレンダー"), "the calendar page")
    walked["学習の記録 calendar"] = len(check_window(window, "学習の記録 calendar"))
    summary = grid.get_description() or ""
    if not summary.startswith("今日 "):
        fail("the calendar describes itself as %r" % summary)
    seen.append("calendar: %r" % summary)


def add_user(window):
    key("Tab", "Tab", "Tab", "space")  # the list, OK, キャンセル, then 新規
    dialog = pump_until(window_named("^新規ユーザ$"), "the new-user dialog")
    walked["new user"] = len(check_window(dialog, "new user"))
    key("Escape")
    pump_until(closed("^新規ユーザ$"), "the new-user dialog to close")


visit("ユーザ", "u", ["s"], "^ユーザの選択$", "users", add_user)
visit("ユーザ", "u", ["h"], "^履歴表示$", "history")
visit("ユーザ", "u", ["r"], "^学習の記録$", "学習の記録 chart", progress_pages)
visit("設定", "o", menu_keys("設定", "色の設定..."), "^色の設定$", "colours")
visit("設定", "o", menu_keys("設定", "オリジナルレッスン..."), "^オリジナルレッスン設定$", "custom lessons")
visit("設定", "o", menu_keys("設定", "ローマ字の設定..."), "^ローマ字の設定$", "romaji settings")
visit("レッスン", "l", menu_keys("レッスン", "腕試し..."), "^腕試し$", "腕試し")
visit("ヘルプ", "h", ["a"], "^バージョン情報$", "about")

if unnamed:
    fail(" | ".join(unnamed))
print("atspi: %d controls named, caps read as %r, first due %r, the miss of %s and then %r" %
      (len(nodes), caps[0], due, wrong, after))
print("atspi: walked " + ", ".join("%s %d" % kv for kv in walked.items()))
