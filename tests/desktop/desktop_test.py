#!/usr/bin/env python3
"""The real editor on an X display with a window manager (run under xvfb-run).

Cases:
  startup           Image1 appears with its top-left corner and caption inside the visible
                    workspace after the window manager has maximised the frame.
  wide              A picture much wider than the screen, opened from the command line: the
                    same, its window whole in the workspace and the picture shown from its left edge.
  photo             A 6000 x 4000 photo named on the command line opens whole in view: its
                    window fills the workspace, caption shown, the picture's far corner on screen.
  close-during-run  The window manager's close request arrives while an effect runs: the
                    program survives, the picture is unchanged, and the usual save question
                    follows; answering Cancel keeps the document.
  plugins           The Plugins menu lists the two example plug-ins that come with the
                    program: its plug-ins folder and the plug-in helper were found.
  close-during-plugin  The frame closed while a plug-in's window is open, its picture changed
                    or not, beside another changed picture: the plug-in ends, every changed
                    picture's save question is asked, and the program ends normally.
  plugin-twice      Two plug-in runs in a row both change the picture, which stays active.
  open-url-save     A picture from Open URL, drawn on: Ctrl+S asks for a name, writing nothing.
  update-html       An update server answering with markup: the dialog shows it as text,
                    loading nothing it names.
  double-slide      Two clicks 80 ms apart on the slide button, ten times over: the frame
                    stays mapped, listed by the window manager and maximised throughout.
  hidpi             At a scale factor of 2 a stroke drawn with the pointer lands in the
                    2 x 2 blocks of screen pixels under the pointer, one picture pixel each.
  recovery          Strokes on two documents, the editor killed: the next start offers both,
                    and Recover brings them back as they were, captions, files and changed
                    state included; Save writes the picture's own file, and Save, No and a
                    normal end leave no recovery copy.
  recovery-two      A second editor running beside the first does not offer its copies.
  recovery-discard  As recovery, answered with Discard: no picture opens, the copies are
                    gone, and the next start asks nothing.

Document windows live inside the frame and are no X windows, so their places come from the
program's geometry report (ORVANE_GEOMETRY_REPORT); everything else is observed from outside:
the screen's pixels, the process, and input and close requests sent through the X server.
"""
import argparse
import ctypes
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

SCREEN = (1280, 1024)


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe, timeout=30.0, step=0.1):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = probe()
        if value:
            return value
        time.sleep(step)
    raise Failure("timed out waiting for " + what)


def write_bmp(path, width, height, rgb):
    """An uncompressed 24-bit bitmap of one colour."""
    row = bytes([rgb[2], rgb[1], rgb[0]]) * width
    row += b"\0" * ((4 - len(row) % 4) % 4)
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


class Report:
    """The program's geometry report, parsed."""

    def __init__(self, text):
        self.workspace = None
        self.documents = []
        self.menus = []
        self.questions = []
        self.buttons = []   # the question's
        self.slide = None
        self.dialog = None
        self.labels = []
        self.active = None
        for line in text.splitlines():
            kind, _, rest = line.partition(" ")
            if kind == "workspace":
                self.workspace = tuple(int(v) for v in rest.split())
            elif kind == "document":
                parts = rest.split(" ", 8)
                self.documents.append((tuple(int(v) for v in parts[:4]), tuple(int(v) for v in parts[4:8]), parts[8]))
            elif kind == "menu":
                parts = rest.split(" ", 4)
                self.menus.append((tuple(int(v) for v in parts[:4]), parts[4]))
            elif kind == "button":
                parts = rest.split(" ", 4)
                self.buttons.append((tuple(int(v) for v in parts[:4]), parts[4]))
            elif kind == "slide":
                self.slide = tuple(int(v) for v in rest.split())
            elif kind == "question":
                self.questions.append(rest)
            elif kind == "dialog":
                self.dialog = rest
            elif kind == "label":
                self.labels.append(rest)
            elif kind == "active":
                self.active = rest

    def document(self, name):
        return next((d for d in self.documents if d[2] == name), None)

    def menu(self, text):
        return next((m[0] for m in self.menus if m[1] == text), None)

    def button(self, text):
        return next((b[0] for b in self.buttons if b[1] == text), None)


class Display:
    """Input and close requests through the X server (libX11 and the XTest extension)."""

    def __init__(self):
        self.x = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XInternAtom.restype = ctypes.c_ulong
        self.x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self.x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
        self.xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.dpy = self.x.XOpenDisplay(None)
        check(self.dpy, "cannot open the X display")

    def move(self, x, y):
        self.xtst.XTestFakeMotionEvent(self.dpy, -1, x, y, 0)
        self.x.XFlush(self.dpy)

    def click(self, x, y, flush=True):
        self.xtst.XTestFakeMotionEvent(self.dpy, -1, x, y, 0)
        self.xtst.XTestFakeButtonEvent(self.dpy, 1, 1, 0)
        self.xtst.XTestFakeButtonEvent(self.dpy, 1, 0, 0)
        if flush:
            self.x.XFlush(self.dpy)

    def drag(self, x0, y, x1, step):
        """A left-button drag along screen row y from x0 to x1, a move every `step` pixels."""
        self.move(x0, y)
        time.sleep(0.3)
        self.xtst.XTestFakeButtonEvent(self.dpy, 1, 1, 0)
        for x in range(x0, x1 + 1, step):
            self.move(x, y)
            time.sleep(0.02)
        self.xtst.XTestFakeButtonEvent(self.dpy, 1, 0, 0)
        self.x.XFlush(self.dpy)

    def request_close(self, window):
        """What a window manager's close button sends: WM_PROTOCOLS / WM_DELETE_WINDOW."""
        protocols = self.x.XInternAtom(self.dpy, b"WM_PROTOCOLS", 0)
        delete = self.x.XInternAtom(self.dpy, b"WM_DELETE_WINDOW", 0)
        # XClientMessageEvent: type, serial, send_event, display, window, message_type, format,
        # then five longs of data.
        event = (ctypes.c_long * 24)()
        event[0] = 33                  # ClientMessage
        event[3] = self.dpy
        event[4] = window
        event[5] = protocols
        ctypes.memmove(ctypes.byref(event, 6 * 8), struct.pack("<i", 32), 4)   # format
        event[7] = delete
        event[8] = 0                   # CurrentTime
        self.x.XSendEvent(self.dpy, window, 0, 0, ctypes.byref(event))
        self.x.XFlush(self.dpy)


class Editor:
    def __init__(self, orvane, workdir, arguments=(), scale=1, home=None, environment=None):
        """`home`: another editor's home, beside which this one runs (on its window manager);
        `environment`: variables set for the program."""
        self.workdir = workdir
        self.scale = scale   # the reported places are in logical pixels
        self.report_path = os.path.join(workdir, "report.txt")
        if os.path.exists(self.report_path):
            os.remove(self.report_path)   # an earlier editor's
        beside = home is not None
        home = home or os.path.join(workdir, "home")
        os.makedirs(home, exist_ok=True)
        env = dict(os.environ)
        runtime = os.path.join(workdir, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env.update({
            "HOME": home,
            "XDG_CONFIG_HOME": os.path.join(home, ".config"),
            "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
            "XDG_RUNTIME_DIR": runtime,
            "QT_QPA_PLATFORM": "xcb",
            "ORVANE_GEOMETRY_REPORT": self.report_path,
            "QT_SCALE_FACTOR": str(scale),
            **(environment or {}),
        })
        self.log = open(os.path.join(workdir, "orvane.log"), "w")
        self.home = home
        self.wm = None if beside else start_window_manager(env, self.log)
        self.process = subprocess.Popen([orvane, *arguments], env=env, stdin=subprocess.DEVNULL,
                                        stdout=self.log, stderr=subprocess.STDOUT)

    def alive(self):
        return self.process.poll() is None

    def report(self):
        check(self.alive(), "the program ended (exit status %s)" % self.process.returncode)
        try:
            with open(self.report_path, encoding="utf-8") as f:
                return Report(f.read())
        except FileNotFoundError:
            return Report("")

    def settled(self, name):
        """The report once `name` is shown, the frame maximised and nothing moved for a while."""
        last, same = None, 0
        end = time.monotonic() + 40
        while time.monotonic() < end:
            r = self.report()
            ws, doc = r.workspace, r.document(name)
            key = (ws, doc)
            if ws and doc and ws[2] * self.scale > SCREEN[0] // 2:
                same = same + 1 if key == last else 0
                if same >= 5:
                    return r
            last = key
            time.sleep(0.2)
        raise Failure("%s never settled; last report: %s" % (name, last))

    def frame_window(self):
        ids = run(["xdotool", "search", "--pid", str(self.process.pid), "--name", "^Orvane 3.0$"]).split()
        check(ids, "no frame window found")
        return int(ids[0])

    def close(self):
        if self.alive():
            self.process.send_signal(signal.SIGKILL)
            self.process.wait()
        if self.wm:
            self.wm.terminate()
            self.wm.wait()
        self.log.close()


def start_window_manager(env, log):
    """openbox, once it has taken the display; a start that dies or hangs is tried again."""
    for attempt in range(3):
        wm = subprocess.Popen(["openbox", "--sm-disable"], env=env, stdin=subprocess.DEVNULL,
                              stdout=log, stderr=subprocess.STDOUT)
        try:
            wait_for("the window manager", lambda: wm.poll() is not None
                     or "_NET_SUPPORTING_WM_CHECK(WINDOW)" in run(["xprop", "-root"]), timeout=15)
        except Failure:
            pass
        if wm.poll() is None and "_NET_SUPPORTING_WM_CHECK(WINDOW)" in run(["xprop", "-root"]):
            return wm
        log.write("openbox did not take the display (attempt %d, exit status %s)\n" % (attempt + 1, wm.poll()))
        log.flush()
        if wm.poll() is None:
            wm.kill()
        wm.wait()
    raise Failure("the window manager never took the display")


def run(command):
    return subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True, text=True).stdout


def screenshot(path=None):
    """The root window's pixels as (width, height, bytes of RGB)."""
    data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], stdin=subprocess.DEVNULL,
                          capture_output=True, check=True).stdout
    if path:
        subprocess.run(["convert", "ppm:-", path], input=data, check=True)
    parts = data.split(maxsplit=4)
    width, height = int(parts[1]), int(parts[2])
    return width, height, parts[4]


def pixel(shot, x, y):
    width, _, rgb = shot
    i = 3 * (y * width + x)
    return tuple(rgb[i:i + 3])


def check_in_workspace(report, name):
    """The window lies whole in the visible workspace, its caption strip shown."""
    wx, wy, ww, wh = report.workspace
    (x, y, w, h), (cx, cy, cw, ch), _ = report.document(name)
    inside = lambda px, py: wx <= px < wx + ww and wy <= py < wy + wh
    check(inside(x, y), "%s: top-left corner (%d, %d) outside the workspace %s" % (name, x, y, report.workspace))
    check(cy > y, "%s: no caption above the client area" % name)
    caption_end = min(x + w, wx + ww) - 1
    check(inside(caption_end, cy - 1) and caption_end - x >= 100,
          "%s: the caption (%d..%d at y %d) is not shown in %s" % (name, x, x + w, cy - 1, report.workspace))
    check(x + w <= wx + ww and y + h <= wy + wh, "%s: the window is not whole in the workspace" % name)
    return (x, y, w, h), (cx, cy, cw, ch)


def centre(rect):
    return rect[0] + rect[2] // 2, rect[1] + rect[3] // 2


def fresh_frame(orvane, workdir, environment=None):
    """The editor started with its new picture Image1 settled: the editor, the display and the
    frame's window."""
    editor = Editor(orvane, workdir, environment=environment)
    try:
        editor.settled("Image1")
        return editor, Display(), editor.frame_window()
    except BaseException:
        editor.close()
        raise


def case_startup(orvane, workdir, shot_path):
    editor = Editor(orvane, workdir)
    try:
        check_in_workspace(editor.settled("Image1"), "Image1")
        if shot_path:
            screenshot(shot_path)
    finally:
        editor.close()


def open_picture(orvane, workdir, name, width, height, rgb, scale=1):
    """The editor started with a new picture of one colour named on its command line."""
    picture = os.path.join(workdir, name)
    write_bmp(picture, width, height, rgb)
    return Editor(orvane, workdir, [picture], scale)


def check_opened_whole(orvane, workdir, shot_path, name, size, rgb, check_shot):
    """A picture named on the command line opens in a window whole in the workspace; then
    check_shot(screen, client area) looks at the screen."""
    editor = open_picture(orvane, workdir, name, *size, rgb)
    try:
        _, client = check_in_workspace(editor.settled(name), name)
        check_shot(screenshot(shot_path), client)
    finally:
        editor.close()


def case_wide(orvane, workdir, shot_path):
    def shown(shot, client):
        # The canvas's left edge (7 pixels into the client area) is the picture's.
        cx, cy = client[:2]
        check(pixel(shot, cx + 12, cy + 12) == (255, 0, 255), "the picture's left part is not shown")
        check(pixel(shot, cx + 2, cy + 12) != (255, 0, 255), "the canvas's left edge is not shown")
    check_opened_whole(orvane, workdir, shot_path, "wide.bmp", (4000, 300), (255, 0, 255), shown)


def case_photo(orvane, workdir, shot_path):
    def shown(shot, client):
        # The picture's top-left and, at the fitted zoom, a point near its bottom-right.
        cx, cy, cw, ch = client
        check(pixel(shot, cx + 12, cy + 12) == (20, 160, 90), "the picture's top-left is not shown")
        room = min((cw - 40) / 6000, (ch - 40) / 4000)
        scale = max(z for z in (1 / 16, 1 / 8, 1 / 6, 1 / 4, 1 / 3, 1 / 2, 2 / 3, 1) if z <= room)
        far = (cx + 7 + int(6000 * scale) - 3, cy + 7 + int(4000 * scale) - 3)
        check(pixel(shot, *far) == (20, 160, 90), "the picture's bottom-right part is not shown at %s" % (far,))
    check_opened_whole(orvane, workdir, shot_path, "photo.bmp", (6000, 4000), (20, 160, 90), shown)


def case_close_during_run(orvane, workdir, shot_path):
    editor = open_picture(orvane, workdir, "red.bmp", 3000, 2000, (255, 0, 0))
    display = Display()
    try:
        report = editor.settled("red.bmp")
        _, (cx, cy, cw, ch), _ = report.document("red.bmp")
        frame = editor.frame_window()
        display.click(*centre(wait_for("the Edit menu", lambda: editor.report().menu("Edit"))))
        display.click(*centre(wait_for("Convert to", lambda: editor.report().menu("Convert to"))))
        grayscale = centre(wait_for("Grayscale", lambda: editor.report().menu("Grayscale")))
        # The click that starts the run and the close request reach the program together: the
        # request is handled while the run lets events in after its first columns.
        display.move(*grayscale)
        time.sleep(0.3)
        display.click(*grayscale, flush=False)
        display.request_close(frame)

        # The run is cancelled, then the exit asks its question (the run's snapshot changed the
        # document). Cancel keeps everything: the document, and the picture as it was, also a
        # while later (a run still going on would turn it grey).
        report = wait_for("the save question", lambda: editor.report().questions and editor.report())
        check(report.questions[0] == "Do you want to save the file red.bmp?", "question: %r" % report.questions)
        run(["xdotool", "key", "Escape"])   # Cancel
        report = wait_for("the answer", lambda: not editor.report().questions and editor.report())
        check(report.document("red.bmp") is not None, "the document is gone after Cancel")
        time.sleep(1.0)
        check(editor.alive(), "the program ended")
        check(pixel(screenshot(), cx + 40, cy + 40) == (255, 0, 0), "the picture changed")
        if shot_path:
            screenshot(shot_path)

        # Closing again, with No: the program ends normally.
        display.request_close(frame)
        wait_for("the second question", lambda: editor.report().questions)
        run(["xdotool", "key", "n"])   # No
        wait_for("the end of the program", lambda: not editor.alive(), timeout=20)
        check(editor.process.returncode == 0, "the program ended with status %s" % editor.process.returncode)
    finally:
        editor.close()


def case_plugins(orvane, workdir, shot_path):
    editor = Editor(orvane, workdir)
    display = Display()
    try:
        editor.settled("Image1")
        menu = wait_for("the Plugins menu", lambda: editor.report().menu("Plugins"))
        display.click(menu[0] + menu[2] // 2, menu[1] + menu[3] // 2)
        for name in ("Posterize...", "Channel swap..."):
            wait_for(name, lambda: editor.report().menu(name), timeout=10)
        check(not editor.report().questions, "a message: %r" % editor.report().questions)
        if shot_path:
            screenshot(shot_path)
    finally:
        editor.close()


def choose(editor, display, *entries):
    """Clicks the entries in turn: one of the menu bar, then one of each menu opened."""
    for entry in entries:
        display.click(*centre(wait_for(entry, lambda: editor.report().menu(entry), timeout=10)))


def plugin_window(title):
    """The plug-in's own window (not the editor's wait window), once it is shown."""
    return wait_for("the plug-in's window", lambda: run(["xdotool", "search", "--name", "^%s$" % title]).split(),
                    timeout=20)[0]


def answer_all(editor, key):
    """Answers each question with `key` until the program ends: the questions asked."""
    asked = []

    def next_question():
        try:
            return [q for q in editor.report().questions if q not in asked] or None
        except Failure:   # ended
            return ["end"]
    while True:
        question = wait_for("a question or the end", next_question, timeout=20)[0]
        if question == "end":
            return asked
        asked.append(question)
        run(["xdotool", "key", key])


def check_ended_normally(editor):
    wait_for("the end of the program", lambda: not editor.alive(), timeout=20)
    check(editor.process.returncode == 0, "the program ended with status %s" % editor.process.returncode)
    with open(os.path.join(editor.workdir, "orvane.log"), errors="replace") as f:
        log = f.read()
    for sign in ("QProcess: Destroyed", "malloc", "Aborted"):
        check(sign not in log, "the output tells of a crash: %r" % sign)


def case_close_during_plugin(orvane, workdir, shot_path):
    # Image1 is changed; the plug-in works on Image2, changed or not. Each changed picture's
    # question is asked (No to each), whichever window the plug-in had.
    for changed in (False, True):
        editor, display, frame = fresh_frame(orvane, workdir)
        try:
            stroke(display, editor.report().document("Image1")[1], 30)
            run(["xdotool", "key", "ctrl+n"])
            if changed:
                stroke(display, editor.settled("Image2").document("Image2")[1], 30)
            wait_for("Image2 active", lambda: editor.report().active == "Image2")
            choose(editor, display, "Plugins", "Posterize...")
            plugin_window("Posterize")
            # The plug-in's windows stay above the frame: each is transient for it.
            for window in run(["xdotool", "search", "--name", "^Posterize"]).split():
                owner = run(["xprop", "-id", window, "WM_TRANSIENT_FOR"])
                check(owner.strip().endswith(hex(frame)), "plug-in window %s is not transient for the frame: %s"
                      % (window, owner))
            display.request_close(frame)
            if changed and shot_path:
                wait_for("the first question", lambda: editor.report().questions)
                screenshot(shot_path)
            asked = answer_all(editor, "n")
            expected = ["Image1", "Image2"] if changed else ["Image1"]
            check(sorted(asked) == ["Do you want to save the file %s?" % name for name in expected],
                  "changed: %s, questions: %r" % (changed, asked))
            check_ended_normally(editor)
        finally:
            editor.close()


def case_plugin_twice(orvane, workdir, shot_path):
    # Posterize to 4 levels, then red and blue swapped: each run's colour shows on the canvas.
    editor = open_picture(orvane, workdir, "tint.bmp", 300, 200, (100, 150, 200))
    display = Display()
    try:
        _, (cx, cy, cw, ch), _ = editor.settled("tint.bmp").document("tint.bmp")
        for entry, title, colour in (("Posterize...", "Posterize", (85, 170, 170)),
                                     ("Channel swap...", "Channel swap", (170, 170, 85))):
            choose(editor, display, "Plugins", entry)
            run(["xdotool", "windowactivate", "--sync", plugin_window(title), "key", "Return"])   # OK
            wait_for("%s's colour on the canvas" % title, lambda: pixel(screenshot(), cx + 40, cy + 40) == colour,
                     timeout=20)
            # The frame gets the focus back from the window manager a moment later.
            report = wait_for("tint.bmp active after %s" % title,
                              lambda: (lambda r: r.active == "tint.bmp" and r)(editor.report()), timeout=5)
            check(not report.questions, "after %s: a message: %r" % (title, report.questions))
        if shot_path:
            screenshot(shot_path)
    finally:
        editor.close()


def start_web_server(root):
    """The tests' web server on 127.0.0.1, serving the files of `root` under /files/: the
    process and the address of /files/."""
    server = subprocess.Popen([sys.executable, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..",
                                                            "support", "http_test_server.py"), root],
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE)
    port = server.stdout.readline().strip()
    check(port.isdigit(), "the web server did not start")
    return server, "http://127.0.0.1:%s/files/" % port.decode()


def case_open_url_save(orvane, workdir, shot_path):
    served = os.path.join(workdir, "served")
    os.makedirs(served)
    # An address ending in .jpg is fetched as a picture; the bytes decide how it is read.
    write_bmp(os.path.join(served, "blue.jpg"), 200, 120, (0, 0, 255))
    server, files = start_web_server(served)
    editor, display, frame = fresh_frame(orvane, workdir)
    try:
        choose(editor, display, "File", "Open URL...")
        wait_for("the Open URL dialog", lambda: editor.report().dialog == "Open URL")
        run(["xdotool", "key", "ctrl+a", "type", "--delay", "20", files + "blue.jpg"])
        run(["xdotool", "key", "Return"])   # OK
        stroke(display, editor.settled("Bitmap.jpg").document("Bitmap.jpg")[1], 30)
        work = os.path.join(editor.home, ".local", "share", "Orvane", "work")
        before = sorted(os.listdir(work))
        run(["xdotool", "key", "ctrl+s"])
        wait_for("the Save As dialog", lambda: editor.report().dialog == "Save As")
        if shot_path:
            screenshot(shot_path)
        run(["xdotool", "key", "Escape"])
        wait_for("the dialog's end", lambda: editor.report().dialog is None)
        check(sorted(os.listdir(work)) == before, "the work folder changed: %s, was %s" % (os.listdir(work), before))
        check(sorted(os.listdir(workdir)) == ["home", "orvane.log", "report.txt", "runtime", "served"],
              "written: %s" % os.listdir(workdir))
    finally:
        editor.close()
        server.kill()
        server.wait()


def case_update_html(orvane, workdir, shot_path):
    # Taken as markup, the answer would show the magenta picture it names.
    picture = os.path.join(workdir, "m.bmp")
    write_bmp(picture, 64, 64, (255, 0, 255))
    answer = '<img src="file://%s">' % picture
    served = os.path.join(workdir, "served")
    os.makedirs(served)
    with open(os.path.join(served, "orvane3.upd"), "w") as f:
        f.write(answer)
    server, files = start_web_server(served)
    editor, display, frame = fresh_frame(orvane, workdir, {"ORVANE_UPDATE_URL": files + "orvane3.upd"})
    try:
        choose(editor, display, "Help", "Check for update")
        report = wait_for("the check's end", lambda: (lambda r: "The update server's answer is not a version number."
                                                      in r.labels and r)(editor.report()))
        check(report.dialog == "Check for Update", "dialog: %r" % report.dialog)
        check("Latest version: 3." + answer in report.labels, "labels: %r" % report.labels)
        time.sleep(0.5)   # painted
        shot = screenshot(shot_path)
        window = run(["xdotool", "search", "--name", "^Check for Update$"]).split()[0]
        place = dict(line.split("=") for line in run(["xdotool", "getwindowgeometry", "--shell", window]).split())
        x0, y0, w, h = (int(place[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
        check(all(pixel(shot, x, y) != (255, 0, 255) for y in range(y0, y0 + h) for x in range(x0, x0 + w)),
              "the picture the answer names is shown")
    finally:
        editor.close()
        server.kill()
        server.wait()


def case_hidpi(orvane, workdir, shot_path):
    white = (255, 255, 255)
    editor = open_picture(orvane, workdir, "white.bmp", 300, 200, white, scale=2)
    display = Display()
    try:
        report = editor.settled("white.bmp")
        _, (cx, cy, cw, ch), _ = report.document("white.bmp")
        # The canvas's top-left corner on the screen: the first white screen pixel right of and
        # below a point of the client area left of and above it.
        shot = screenshot()
        probe_y = 2 * (cy + 60)
        left = next(x for x in range(2 * cx, 2 * (cx + cw)) if pixel(shot, x, probe_y) == white)
        top = next(y for y in range(2 * cy, 2 * (cy + ch)) if pixel(shot, left + 4, y) == white)
        # A stroke along picture row 50 from column 60 to 100, the pointer on the first screen
        # pixel of each picture pixel it passes.
        x0, y0 = left + 2 * 60, top + 2 * 50
        x1 = left + 2 * 100
        display.drag(x0, y0, x1, 8)
        display.move(x0 + 300, y0 + 300)   # the pointer itself off the picture
        time.sleep(1.0)
        shot = screenshot(shot_path)
        ink = lambda x, y: pixel(shot, x, y) != white
        check(not ink(x0 - 1, y0), "the stroke starts left of the pointer")
        for x in range(x0, x1):
            check(ink(x, y0) and ink(x, y0 + 1), "the stroke is not under the pointer at screen (%d, %d)" % (x, y0))
            check(not ink(x, y0 - 1) and not ink(x, y0 + 2),
                  "the stroke is not one picture pixel (2 screen pixels) high at x %d" % x)
    finally:
        editor.close()


def frame_shown(frame):
    """The frame is listed by the window manager, mapped and maximised both ways."""
    clients = run(["xprop", "-root", "_NET_CLIENT_LIST"]).replace(",", " ").split()
    props = run(["xprop", "-id", str(frame), "WM_STATE", "_NET_WM_STATE"])
    return (hex(frame) in clients and "window state: Normal" in props
            and "_NET_WM_STATE_MAXIMIZED_VERT" in props and "_NET_WM_STATE_MAXIMIZED_HORZ" in props)


def case_double_slide(orvane, workdir, shot_path):
    editor, display, frame = fresh_frame(orvane, workdir)
    try:
        wait_for("the maximised frame", lambda: frame_shown(frame))
        for round in range(10):
            x, y, w, h = wait_for("the slide button", lambda: editor.report().slide)
            display.click(x + w // 2, y + h // 2)
            time.sleep(0.08)
            display.click(x + w // 2, y + h // 2)
            time.sleep(1.0)   # the slides and title-bar switches are over
            check(frame_shown(frame), "after double click %d the frame is not mapped and maximised: %s"
                  % (round + 1, run(["xprop", "-id", str(frame), "WM_STATE", "_NET_WM_STATE"]).strip()))
        if shot_path:
            screenshot(shot_path)
    finally:
        editor.close()


def recovery_copies(home, pattern=".orc"):
    folder = os.path.join(home, ".local", "share", "Orvane", "work", "recovery")
    return sorted(f for f in os.listdir(folder) if f.endswith(pattern)) if os.path.isdir(folder) else []


def stroke(display, client, row):
    """A stroke along picture row `row` from column 20 to 120 of a document at 1:1."""
    x0, y = client[0] + 7 + 20, client[1] + 7 + row
    display.drag(x0, y, x0 + 100, 5)
    display.move(client[0] - 30, client[1] - 30)


def canvas_shot(shot, client):
    """The top-left 160 x 80 pixels of a document's canvas at 1:1, as on the screen."""
    return [pixel(shot, client[0] + 7 + x, client[1] + 7 + y) for y in range(80) for x in range(160)]


def case_recovery(orvane, workdir, shot_path, discard=False):
    editor = open_picture(orvane, workdir, "white.bmp", 300, 200, (255, 255, 255))
    display = Display()
    try:
        shown = {}
        for name in ("white.bmp", "Image2"):
            if name == "Image2":
                run(["xdotool", "key", "ctrl+n"])
            client = editor.settled(name).document(name)[1]
            stroke(display, client, 30)
        wait_for("two recovery copies", lambda: len(recovery_copies(editor.home)) == 2, timeout=20)
        time.sleep(1.0)
        shot = screenshot()
        for name in ("white.bmp", "Image2"):
            shown[name] = canvas_shot(shot, editor.report().document(name)[1])
        editor.close()   # SIGKILL
    except BaseException:
        editor.close()
        raise

    editor = Editor(orvane, workdir)
    display = Display()
    try:
        report = wait_for("the recovery question", lambda: editor.report().questions and editor.report())
        with open(editor.report_path, encoding="utf-8") as f:
            question = f.read()   # the question's lines, the first after "question "
        check(report.questions[0] == "Orvane ended without saving these pictures:", "question: %r" % question)
        check("white.bmp (300 x 200 pixels" in question and "Image2 (" in question, "question: %r" % question)
        if shot_path:
            screenshot(shot_path)   # the question
        if discard:
            x, y, w, h = wait_for("the Discard button", lambda: editor.report().button("Discard"))
            display.click(x + w // 2, y + h // 2)
            report = wait_for("the answer", lambda: not editor.report().questions and editor.report())
            check([d[2] for d in report.documents] == ["Image1"], "documents: %r" % report.documents)
            check(recovery_copies(editor.home) == [], "copies left: %s" % recovery_copies(editor.home))
            editor.close()
            os.remove(editor.report_path)   # the next report is the next start's own
            editor = Editor(orvane, workdir)
            wait_for("the next start", lambda: editor.report().document("Image1"))
            time.sleep(2.0)
            check(not editor.report().questions, "the next start asks: %r" % editor.report().questions)
            return
        run(["xdotool", "key", "Return"])   # Recover
        report = wait_for("the recovered pictures", lambda: (lambda r: not r.questions and r.document("white.bmp")
                                                               and r.document("Image2") and r)(editor.report()))
        time.sleep(1.0)
        report = editor.report()
        shot = screenshot()
        for name in ("white.bmp", "Image2"):
            check(canvas_shot(shot, report.document(name)[1]) == shown[name], "%s did not come back as it was" % name)
        # Save writes the picture's own file, which then has the stroke; its copy goes.
        (x, y, w, h), (cx, cy, cw, ch), _ = report.document("white.bmp")
        display.click(x + 60, (y + cy) // 2)   # its caption
        time.sleep(0.5)
        run(["xdotool", "key", "ctrl+s"])
        wait_for("the saved file", lambda: len(recovery_copies(editor.home)) == 1, timeout=20)
        with open(os.path.join(workdir, "white.bmp"), "rb") as f:
            data = f.read()
        row = 200 - 1 - 30   # bottom-up rows of 300 * 3 bytes
        line = data[54 + row * 900 + 3 * 20:54 + row * 900 + 3 * 121]
        check(line.count(b"\xff") < len(line) // 4, "the saved file has no stroke")
        # Image2 is still changed: the end asks about it; No ends normally with no copy left.
        display.request_close(editor.frame_window())
        report = wait_for("the save question", lambda: editor.report().questions and editor.report())
        check(report.questions[0] == "Do you want to save the file Image2?", "question: %r" % report.questions)
        run(["xdotool", "key", "n"])
        wait_for("the end of the program", lambda: not editor.alive(), timeout=20)
        check(editor.process.returncode == 0, "the program ended with status %s" % editor.process.returncode)
        check(recovery_copies(editor.home, "") == [], "left behind: %s" % recovery_copies(editor.home, ""))
    finally:
        editor.close()


def case_recovery_two(orvane, workdir, shot_path):
    first, display, frame = fresh_frame(orvane, workdir)
    second = None
    try:
        stroke(display, first.report().document("Image1")[1], 30)
        wait_for("the recovery copy", lambda: recovery_copies(first.home), timeout=20)
        os.makedirs(os.path.join(workdir, "second"))
        second = Editor(orvane, os.path.join(workdir, "second"), home=first.home)
        second.settled("Image1")
        time.sleep(2.0)
        check(not second.report().questions, "the second editor asks: %r" % second.report().questions)
        check(len(recovery_copies(first.home)) == 1, "copies: %s" % recovery_copies(first.home))
    finally:
        if second:
            second.close()
        first.close()


CASES = {"recovery": case_recovery, "recovery-two": case_recovery_two,
         "recovery-discard": lambda orvane, workdir, shot_path: case_recovery(orvane, workdir, shot_path, discard=True),
         "startup": case_startup, "wide": case_wide, "photo": case_photo, "close-during-run": case_close_during_run,
         "plugins": case_plugins, "close-during-plugin": case_close_during_plugin, "hidpi": case_hidpi,
         "double-slide": case_double_slide, "plugin-twice": case_plugin_twice, "open-url-save": case_open_url_save,
         "update-html": case_update_html}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--orvane", required=True)
    parser.add_argument("--case", choices=sorted(CASES), required=True)
    parser.add_argument("--screenshot", help="keep a picture of the screen at the end")
    args = parser.parse_args()
    for tool in ("openbox", "xprop", "xdotool", "import"):
        if not shutil.which(tool):
            print("missing %s: run scripts/setup.sh" % tool)
            return 1
    workdir = tempfile.mkdtemp(prefix="orvane-desktop-")
    try:
        CASES[args.case](os.path.abspath(args.orvane), workdir, args.screenshot)
    except Failure as failure:
        print("FAILED:", failure)
        log_path = os.path.join(workdir, "orvane.log")
        if os.path.exists(log_path):
            with open(log_path) as log:
                print(log.read())
        return 1
    finally:
        shutil.rmtree(workdir, ignore_errors=True)
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
