#!/usr/bin/env python3
"""Runs scripts/package.sh into a temporary folder and lists what each zip holds: the Windows zip
from the built Zentrim.aex, and the macOS zip from a stand-in bundle (the real one is built on a
Mac). Usage: check_package.py SOURCE_DIR windows|macos. Exit 77 (skipped) when the Windows build
is absent, unless ZENTRIM_REQUIRE_PACKAGE=1, which makes that a failure (scripts/test.sh)."""
import os
import subprocess
import sys
import tempfile
import zipfile

SKIP = 77


def fail(message):
    print("package test: " + message, file=sys.stderr)
    sys.exit(1)


def version_of(source):
    with open(os.path.join(source, "CMakeLists.txt")) as f:
        for line in f:
            if line.startswith("project(Zentrim VERSION "):
                return line.split()[2]
    fail("no version in CMakeLists.txt")


def run_package(source, what, dist, extra_env):
    env = dict(os.environ, ZENTRIM_DIST_DIR=dist, ZENTRIM_PACKAGE_NO_BUILD="1", **extra_env)
    done = subprocess.run(["bash", os.path.join(source, "scripts", "package.sh"), what],
                          env=env, capture_output=True, text=True)
    if done.returncode != 0:
        fail("package.sh %s failed (%d): %s" % (what, done.returncode, done.stderr.strip()))


def listing(path):
    with zipfile.ZipFile(path) as z:
        bad = z.testzip()
        if bad:
            fail("%s: %s is damaged" % (path, bad))
        names = sorted(z.namelist())
        print("%s holds:" % os.path.basename(path))
        for info in sorted(z.infolist(), key=lambda i: i.filename):
            print("  %10d  %s" % (info.file_size, info.filename))
        return names, {n: z.read(n) for n in names if not n.endswith("/")}


def check_install_text(text, plugin, crlf):
    if crlf and b"\n" in text.replace(b"\r\n", b""):
        fail("INSTALL.txt of the Windows package must have CRLF line ends")
    words = text.decode("utf-8")
    for expected in [plugin, "Zentrim Panel.jsx", "ScriptUI Panels", "Plug-ins", "Window menu",
                     "Uninstalling", "@VERSION@"]:
        present = expected in words
        if present != (expected != "@VERSION@"):
            fail("INSTALL.txt: %r is %s" % (expected, "left in" if present else "missing"))


def main():
    source, what = sys.argv[1], sys.argv[2]
    version = version_of(source)
    with open(os.path.join(source, "panel", "Zentrim Panel.jsx"), "rb") as f:
        panel = f.read()
    with tempfile.TemporaryDirectory() as dist:
        if what == "windows":
            aex_path = os.path.join(source, "build-windows", "plugin", "Zentrim.aex")
            if not os.path.isfile(aex_path):
                message = ("no build-windows/plugin/Zentrim.aex: build it with scripts/windows.sh "
                           "or scripts/package.sh (scripts/test.sh does, then runs this test)")
                if os.environ.get("ZENTRIM_REQUIRE_PACKAGE") == "1":
                    fail(message)
                print("SKIPPED: " + message)
                sys.exit(SKIP)
            with open(aex_path, "rb") as f:
                plugin_bytes = f.read()
            run_package(source, "windows", dist, {})
            top, plugin, crlf = "Zentrim-%s-windows" % version, "Zentrim.aex", True
        else:
            bundle = os.path.join(dist, "stand-in", "Zentrim.plugin")
            os.makedirs(os.path.join(bundle, "Contents", "MacOS"))
            plugin_bytes = b"\xcf\xfa\xed\xfe stand-in executable"
            for name, data in [("MacOS/Zentrim", plugin_bytes), ("Info.plist", b"<plist/>"),
                               ("PkgInfo", b"AEgxFXTC")]:
                with open(os.path.join(bundle, "Contents", name), "wb") as f:
                    f.write(data)
            run_package(source, "macos", dist, {"ZENTRIM_MACOS_BUNDLE": bundle})
            top, plugin, crlf = "Zentrim-%s-macos" % version, "Zentrim.plugin", False
        names, files = listing(os.path.join(dist, top + ".zip"))
        if what == "windows":
            expected = [top + "/", top + "/INSTALL.txt", top + "/Zentrim Panel.jsx",
                        top + "/Zentrim.aex"]
            if files.get(top + "/Zentrim.aex") != plugin_bytes or not plugin_bytes.startswith(b"MZ"):
                fail("Zentrim.aex in the zip is not the built plug-in")
        else:
            inside = top + "/Zentrim.plugin/Contents/"
            expected = [top + "/", top + "/INSTALL.txt", top + "/Zentrim Panel.jsx",
                        top + "/Zentrim.plugin/", inside, inside + "Info.plist",
                        inside + "MacOS/", inside + "MacOS/Zentrim", inside + "PkgInfo"]
            if files.get(inside + "MacOS/Zentrim") != plugin_bytes:
                fail("the bundle in the zip is not the one given")
        if names != sorted(expected):
            fail("the zip holds %s, expected %s" % (names, sorted(expected)))
        if files[top + "/Zentrim Panel.jsx"] != panel:
            fail("the panel in the zip is not panel/Zentrim Panel.jsx")
        check_install_text(files[top + "/INSTALL.txt"], plugin, crlf)
    print("package test: ok")


main()
