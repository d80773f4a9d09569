#!/usr/bin/env python3
"""The Debian package built by `cpack -G DEB`: exactly the installed files, the library
dependencies declared, and, when this machine allows it (root, no orvane package of anyone
else), installed with apt-get, orvane-batch run from /usr/bin, and removed again."""
import fcntl
import glob
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from install_test import EXPECTED, build_arguments, check, failures, report, run, tools_missing

# Libraries the programs link, as dpkg-shlibdeps names their packages.
DEPENDS = ("libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6printsupport6", "libqt6dbus6",
           "libgraphicsmagick++-q16-12", "libcurl4", "libsane1", "libturbojpeg0", "libspng0")
APT = ["apt-get", "-y", "-q", "-o", "DPkg::Lock::Timeout=120"]
LOCK = "/tmp/orvane-package-test.lock"   # one install test at a time on a shared machine


def installed_version():
    query = run(["dpkg-query", "-W", "-f=${Status} ${Version}", "orvane"])
    status = query.stdout.split()
    return status[-1] if query.returncode == 0 and "installed" in status[:3] else None


def install_and_remove(deb, version):
    if os.geteuid() != 0:
        print("skipping the installation: not root")
        return
    with open(LOCK, "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if installed_version() or os.path.exists("/usr/bin/orvane"):
            print("skipping the installation: an orvane package or /usr/bin/orvane is already there")
            return
        try:
            done = run(APT + ["install", "--no-install-recommends", deb], env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))
            if not check(done.returncode == 0, "apt-get install: " + done.stdout + done.stderr):
                return
            check(installed_version() == version, "dpkg lists orvane %s" % installed_version())
            listed = set(run(["dpkg", "-L", "orvane"]).stdout.split())
            check({"/" + name for name in EXPECTED} <= listed, "dpkg -L orvane: %s" % sorted(listed))
            batch = run(["/usr/bin/orvane-batch", "--version"])
            check(batch.returncode == 0 and batch.stdout == "orvane-batch (Orvane) %s\n" % version,
                  "/usr/bin/orvane-batch --version: %r %r" % (batch.stdout, batch.stderr))
        finally:
            done = run(APT + ["remove", "orvane"], env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))
            check(done.returncode == 0 and installed_version() is None, "apt-get remove: " + done.stdout + done.stderr)
            left = [name for name in EXPECTED if os.path.exists("/" + name)]
            check(not left, "left after the removal: %s" % left)


def main():
    args = build_arguments().parse_args()
    if tools_missing(("cpack", "dpkg-deb", "dpkg-shlibdeps")):
        return 1

    out = tempfile.mkdtemp(prefix="orvane-package-")
    try:
        built = run(["cpack", "-G", "DEB", "-B", out, "--config", os.path.join(args.build, "CPackConfig.cmake")])
        debs = glob.glob(os.path.join(out, "*.deb"))
        if not check(built.returncode == 0 and len(debs) == 1, "cpack: " + built.stdout + built.stderr):
            return report()
        deb = debs[0]
        arch = run(["dpkg", "--print-architecture"]).stdout.strip()
        check(os.path.basename(deb) == "orvane_%s_%s.deb" % (args.version, arch), "file name " + deb)

        # Files only (lines not ending in "/"), as "./usr/...".
        listing = run(["dpkg-deb", "-c", deb]).stdout.splitlines()
        files = {line.split()[5][2:] for line in listing if not line.endswith("/")}
        check(files == EXPECTED, "packaged files differ: missing %s, unexpected %s"
              % (sorted(EXPECTED - files), sorted(files - EXPECTED)))

        fields = {name: run(["dpkg-deb", "-f", deb, name]).stdout.strip()
                  for name in ("Package", "Version", "Section", "Maintainer", "Depends", "Description")}
        check(fields["Package"] == "orvane" and fields["Version"] == args.version, "control: %s" % fields)
        check(fields["Section"] == "graphics" and fields["Maintainer"], "control: %s" % fields)
        depends = {alternative.split()[0] for alternative in fields["Depends"].replace("|", ",").split(",")}
        check(set(DEPENDS) <= depends, "Depends lacks %s: %s" % (sorted(set(DEPENDS) - depends), fields["Depends"]))
        check("\n" in fields["Description"], "no long description: " + fields["Description"])

        install_and_remove(deb, args.version)
    finally:
        shutil.rmtree(out, ignore_errors=True)
    return report()


if __name__ == "__main__":
    sys.exit(main())
