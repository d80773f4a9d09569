#!/usr/bin/env python3
"""Installations of the build tree into temporary DESTDIRs, at the configured prefix and at
/usr (run under xvfb-run): exactly the expected files, in the places the desktop looks for
them; the desktop entry and the AppStream metainfo accepted by their validators; icons of the
sizes their folders name; manual pages that format without warnings, orvane-batch's listing
every effect; and the installed programs running from there, the editor finding its plug-ins
and plug-in helper relative to its own folder."""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

APP_ID = "org.orvane.Orvane"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
MIME_TYPES = ("image/bmp", "image/rle", "image/gif", "image/jpeg", "image/wmf", "image/vnd.microsoft.icon",
              "image/vnd.zbrush.pcx", "image/x-tga", "image/png")
EXPECTED = {
    "usr/bin/orvane",
    "usr/bin/orvane-batch",
    "usr/lib/orvane/orvane-plugin-host",
    "usr/lib/orvane/plugins/Posterize.dll",
    "usr/lib/orvane/plugins/ChannelSwap.dll",
    "usr/share/applications/%s.desktop" % APP_ID,
    "usr/share/metainfo/%s.metainfo.xml" % APP_ID,
    "usr/share/icons/hicolor/scalable/apps/%s.svg" % APP_ID,
    "usr/share/man/man1/orvane.1",
    "usr/share/man/man1/orvane-batch.1",
    "usr/share/doc/orvane/copyright",
} | {"usr/share/icons/hicolor/%dx%d/apps/%s.png" % (n, n, APP_ID) for n in ICON_SIZES}
EXECUTABLES = ("usr/bin/orvane", "usr/bin/orvane-batch", "usr/lib/orvane/orvane-plugin-host")

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def run(command, **kwargs):
    return subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True, text=True, **kwargs)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def desktop_entry(path):
    entry = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            key, sep, value = line.rstrip("\n").partition("=")
            if sep:
                entry[key] = value
    return entry


def build_arguments():
    """A parser of the arguments every install test takes: the build folder and the version."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--version", required=True)
    return parser


def tools_missing(tools):
    """Names the first of `tools` that is not installed, if any."""
    for tool in tools:
        if not shutil.which(tool):
            print("missing %s: run scripts/setup.sh" % tool)
            return True
    return False


def main():
    parser = build_arguments()
    parser.add_argument("--prefix", required=True, help="the prefix the build was configured with")
    parser.add_argument("--desktop-test", required=True)
    args = parser.parse_args()
    if tools_missing(("desktop-file-validate", "appstreamcli", "groff")):
        return 1

    sys.path.insert(0, os.path.dirname(os.path.abspath(args.desktop_test)))
    import desktop_test

    top = tempfile.mkdtemp(prefix="orvane-install-")
    root, configured, work = (os.path.join(top, name) for name in ("root", "configured", "work"))
    os.mkdir(work)
    try:
        # The prefix the build was configured with (/usr/local unless chosen), below DESTDIR.
        installed = run(["cmake", "--install", args.build], env=dict(os.environ, DESTDIR=configured))
        check(installed.returncode == 0, "cmake --install failed:\n" + installed.stdout + installed.stderr)
        prefix = args.prefix.strip("/")
        files = {os.path.relpath(os.path.join(d, f), configured) for d, _, fs in os.walk(configured) for f in fs}
        check(files == {prefix + name[3:] for name in EXPECTED}, "installed below %s: %s" % (args.prefix, sorted(files)))

        installed = run(["cmake", "--install", args.build, "--prefix", "/usr"], env=dict(os.environ, DESTDIR=root))
        if not check(installed.returncode == 0, "cmake --install failed:\n" + installed.stdout + installed.stderr):
            return report()
        at = lambda name: os.path.join(root, name)

        files = {os.path.relpath(os.path.join(d, f), root) for d, _, fs in os.walk(root) for f in fs}
        check(files == EXPECTED, "installed files differ: missing %s, unexpected %s"
              % (sorted(EXPECTED - files), sorted(files - EXPECTED)))
        for name in EXECUTABLES:
            check(os.access(at(name), os.X_OK), name + " is not executable")

        # The desktop entry: valid, opening the program's file types with the program.
        desktop = at("usr/share/applications/%s.desktop" % APP_ID)
        valid = run(["desktop-file-validate", desktop])
        check(valid.returncode == 0 and not valid.stdout.strip(),
              "desktop-file-validate: " + valid.stdout + valid.stderr)
        entry = desktop_entry(desktop)
        check(entry.get("Exec") == "orvane %f", "Exec=%s" % entry.get("Exec"))
        check(entry.get("Categories") == "Graphics;2DGraphics;RasterGraphics;", "Categories=%s" % entry.get("Categories"))
        check(entry.get("MimeType", "").split(";")[:-1] == list(MIME_TYPES), "MimeType=%s" % entry.get("MimeType"))
        check(entry.get("Icon") == APP_ID, "Icon=%s" % entry.get("Icon"))

        metainfo = at("usr/share/metainfo/%s.metainfo.xml" % APP_ID)
        valid = run(["appstreamcli", "validate", "--no-net", "--no-color", metainfo])
        check(valid.returncode == 0, "appstreamcli validate: " + valid.stdout + valid.stderr)
        with open(metainfo, encoding="utf-8") as f:
            text = f.read()
        check('<release version="%s"' % args.version in text, "the metainfo lacks release " + args.version)
        check("<caption>" in text, "the metainfo's screenshot has no description")

        for n in ICON_SIZES:
            name = "usr/share/icons/hicolor/%dx%d/apps/%s.png" % (n, n, APP_ID)
            if os.path.exists(at(name)):
                check(png_size(at(name)) == (n, n), "%s is %s" % (name, png_size(at(name))))

        # The manual pages format without a warning; orvane-batch's lists every effect.
        for page in ("orvane", "orvane-batch"):
            formatted = run(["groff", "-man", "-Tutf8", "-ww", "-rLL=80n", at("usr/share/man/man1/%s.1" % page)])
            # As plain text: without bold and underlining, hyphens and minus signs as "-".
            shown = re.sub(r"\x1b\[[0-9;]*m|.\x08", "", formatted.stdout).replace("\u2212", "-").replace("\u2010", "-")
            check(formatted.returncode == 0 and not formatted.stderr and shown.startswith(page.upper() + "(1)"),
                  "groff %s: %s" % (page, formatted.stderr))
        batch = at("usr/bin/orvane-batch")   # shown: its manual page, the last one
        help_text = run([batch, "--help"]).stdout
        effects = help_text.split("\nEffects and their parameters", 1)[1].split("\n\n", 1)[0].splitlines()[1:]
        names = [line.split()[0] for line in effects if line.startswith("  ") and not line.startswith("   ")]
        check(len(names) >= 20, "--help lists %d effects" % len(names))
        for name in names:
            check(re.search(r"^ {7}%s(\s|$)" % re.escape(name), shown, re.M), "the manual page lacks effect " + name)

        # The installed programs run from there.
        version = run([batch, "--version"])
        check(version.returncode == 0 and version.stdout == "orvane-batch (Orvane) %s\n" % args.version,
              "orvane-batch --version: %r %r" % (version.stdout, version.stderr))
        picture, copy = os.path.join(work, "in.bmp"), os.path.join(work, "out.bmp")
        desktop_test.write_bmp(picture, 3, 2, (255, 0, 0))
        copied = run([batch, picture, copy, "none"])
        check(copied.returncode == 0, "orvane-batch none: " + copied.stderr)
        check(os.path.exists(copy) and read(copy) == read(picture), "orvane-batch did not copy the picture")

        editor = run([sys.executable, args.desktop_test, "--orvane", at("usr/bin/orvane"), "--case", "plugins"])
        check(editor.returncode == 0, "the installed editor: " + editor.stdout + editor.stderr)
    finally:
        shutil.rmtree(top, ignore_errors=True)
    return report()


def report():
    for failure in failures:
        print("FAILED:", failure)
    if not failures:
        print("passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
