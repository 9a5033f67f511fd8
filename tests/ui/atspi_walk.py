"""Walks the running kibiki through AT-SPI: every control of each window shown has a name and a
role, the caps and counters are read, and a right and a wrong key raise the practice's
announcements. Keys are typed with xdotool. Run by atspi_kibiki.sh: atspi_walk.py PID.
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
              Atspi.Role.MENU_BAR, Atspi.Role.SEPARATOR, Atspi.Role.REDUNDANT_OBJECT,
              Atspi.Role.SCROLL_BAR, Atspi.Role.APPLICATION}
CAP = re.compile(r"^\S+ キー、[左右]手(小指|薬指|中指|人差し指)$")
seen = []  # what the test saw, printed on failure
events = []  # (type, source name, new value)


def fail(message):
    print("atspi: FAIL: " + message, file=sys.stderr)
    print("--- seen", file=sys.stderr)
    for line in seen[-200:]:
        print(line, file=sys.stderr)
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
        fail("%s: %s" % (label, "; ".join(bad)))
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
             "object:property-change:accessible-name"):
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
mark = len(events)
key(KANA[kana])
after = pump_until(lambda: announced("次は ", mark)() or announced("レッスン終了", mark)(),
                   "the next key announced after %s" % kana)
seen.append("right key %s, then: %s" % (kana, after))
print("atspi: %d controls named, caps read as %r, first due %r, the miss of %s and then %r" %
      (len(nodes), caps[0], due, wrong, after))
