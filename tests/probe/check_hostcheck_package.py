#!/usr/bin/env python3
"""Runs scripts/package.sh into a temporary folder and checks the Zentrim Host Check's zip beside
the plug-in's: the Windows zip from the built ZentrimHostCheck.aex, the macOS zip from stand-in
bundles (the real ones are built on a Mac). Usage: check_hostcheck_package.py SOURCE_DIR
windows|macos. Exit 77 (skipped) when the Windows build is absent, unless
ZENTRIM_REQUIRE_PACKAGE=1, which makes that a failure (scripts/test.sh)."""
import os
import subprocess
import sys
import tempfile
import zipfile

SKIP = 77


def fail(message):
    print("Host Check package test: " + message, file=sys.stderr)
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
    return done.stdout


def stand_in_bundle(folder, name, executable, package_info):
    bundle = os.path.join(folder, name + ".plugin")
    os.makedirs(os.path.join(bundle, "Contents", "MacOS"))
    for path, data in [("MacOS/" + name, executable), ("Info.plist", b"<plist/>"),
                       ("PkgInfo", package_info)]:
        with open(os.path.join(bundle, "Contents", path), "wb") as f:
            f.write(data)
    return bundle


def check_readme(text, plugin, crlf, version):
    if crlf and b"\n" in text.replace(b"\r\n", b""):
        fail("README.txt of the Windows package must have CRLF line ends")
    words = text.decode("utf-8")
    for expected in [plugin, "Zentrim Host Check " + version, "Plug-ins",
                     "File > Zentrim Host Check", "Zentrim Host Check report.txt",
                     "Allow Scripts to Write Files and Access Network", "host-model:",
                     "Zentrim maintainers", "Uninstalling"]:
        if expected not in words:
            fail("README.txt: %r is missing" % expected)
    if "@VERSION@" in words:
        fail("README.txt: @VERSION@ is left in")


def main():
    source, what = sys.argv[1], sys.argv[2]
    version = version_of(source)
    with tempfile.TemporaryDirectory() as dist:
        if what == "windows":
            aex_path = os.path.join(source, "build-windows", "probe", "ZentrimHostCheck.aex")
            if not os.path.isfile(aex_path) or not os.path.isfile(
                    os.path.join(source, "build-windows", "plugin", "Zentrim.aex")):
                message = ("no build-windows/probe/ZentrimHostCheck.aex: build it with "
                           "scripts/windows.sh or scripts/package.sh")
                if os.environ.get("ZENTRIM_REQUIRE_PACKAGE") == "1":
                    fail(message)
                print("SKIPPED: " + message)
                sys.exit(SKIP)
            with open(aex_path, "rb") as f:
                plugin_bytes = f.read()
            run_package(source, "windows", dist, {})
            top, plugin, crlf = "Zentrim-HostCheck-%s-windows" % version, "ZentrimHostCheck.aex", True
            expected = [top + "/", top + "/README.txt", top + "/ZentrimHostCheck.aex"]
        else:
            stand_ins = os.path.join(dist, "stand-in")
            main_bundle = stand_in_bundle(stand_ins, "Zentrim", b"\xcf\xfa\xed\xfe Zentrim", b"AEgxFXTC")
            plugin_bytes = b"\xcf\xfa\xed\xfe stand-in Host Check"
            check_bundle = stand_in_bundle(stand_ins, "ZentrimHostCheck", plugin_bytes, b"AEgxFXTC")
            # Without a Host Check bundle (unless this tree's build-macos holds one) the
            # plug-in's zip is still made, and package.sh says why there is no other.
            said = run_package(source, "macos", dist, {"ZENTRIM_MACOS_BUNDLE": main_bundle})
            made = os.path.exists(os.path.join(dist, "Zentrim-HostCheck-%s-macos.zip" % version))
            if not made and "no ZentrimHostCheck.plugin" not in said:
                fail("package.sh macos neither packed nor mentioned the Host Check: " + said)
            run_package(source, "macos", dist, {"ZENTRIM_MACOS_BUNDLE": main_bundle,
                                                "ZENTRIM_MACOS_HOSTCHECK_BUNDLE": check_bundle})
            top, plugin, crlf = "Zentrim-HostCheck-%s-macos" % version, "ZentrimHostCheck.plugin", False
            inside = top + "/ZentrimHostCheck.plugin/Contents/"
            expected = [top + "/", top + "/README.txt", top + "/ZentrimHostCheck.plugin/", inside,
                        inside + "Info.plist", inside + "MacOS/", inside + "MacOS/ZentrimHostCheck",
                        inside + "PkgInfo"]
        path = os.path.join(dist, top + ".zip")
        with zipfile.ZipFile(path) as z:
            bad = z.testzip()
            if bad:
                fail("%s: %s is damaged" % (path, bad))
            names = sorted(z.namelist())
            print("%s holds:" % os.path.basename(path))
            for info in sorted(z.infolist(), key=lambda i: i.filename):
                print("  %10d  %s" % (info.file_size, info.filename))
            files = {n: z.read(n) for n in names if not n.endswith("/")}
        if names != sorted(expected):
            fail("the zip holds %s, expected %s" % (names, sorted(expected)))
        binary = top + ("/ZentrimHostCheck.aex" if what == "windows"
                        else "/ZentrimHostCheck.plugin/Contents/MacOS/ZentrimHostCheck")
        if files.get(binary) != plugin_bytes:
            fail("%s in the zip is not the one built" % binary)
        if what == "windows" and not plugin_bytes.startswith(b"MZ"):
            fail("ZentrimHostCheck.aex is not a Windows module")
        check_readme(files[top + "/README.txt"], plugin, crlf, version)
    print("Host Check package test: ok")


main()
