#!/usr/bin/env python3
"""Runs scripts/package.sh into a temporary folder and lists what each zip holds: the Windows zip
from the built Zentrim.aex (without its debug sections), and the macOS zip from the bundle the
macOS stage built (build-macos-cross/plugin/) when ZENTRIM_REQUIRE_PACKAGE=1 and it is there, else
from a stand-in bundle; a stand-in holding this machine's path must be refused. Usage:
check_package.py SOURCE_DIR windows|macos. Exit 77 (skipped) when the Windows build is absent,
unless ZENTRIM_REQUIRE_PACKAGE=1, which makes that a failure (scripts/test.sh)."""
import os
import re
import struct
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


def host_version_of(source):
    """The host version the property list declares: vers, major in the high 16 bits."""
    with open(os.path.join(source, "plugin", "resources", "PluginProperties.cmake")) as f:
        m = re.search(r'set\(ZENTRIM_PLUGIN_VERSION "(0x[0-9A-Fa-f]+)"\)', f.read())
    if not m:
        fail("no ZENTRIM_PLUGIN_VERSION in PluginProperties.cmake")
    vers = int(m.group(1), 16)
    return "%d.%d" % (vers >> 16, vers & 0xFFFF), m.group(1)


def run_package(source, what, dist, extra_env, expect_ok=True):
    env = dict(os.environ, ZENTRIM_DIST_DIR=dist, ZENTRIM_PACKAGE_NO_BUILD="1")
    env.pop("ZENTRIM_MACOS_BUNDLE", None)
    env.update(extra_env)
    done = subprocess.run(["bash", os.path.join(source, "scripts", "package.sh"), what],
                          env=env, capture_output=True, text=True)
    if expect_ok and done.returncode != 0:
        fail("package.sh %s failed (%d): %s" % (what, done.returncode, done.stderr.strip()))
    return done


def pe_sections(data):
    """Section name -> raw bytes of a PE file; long names resolved through the string table."""
    if data[:2] != b"MZ":
        fail("Zentrim.aex is not a PE file")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        fail("Zentrim.aex has no PE header")
    count, symbols, nsymbols, optional = struct.unpack_from("<2xH4xIIH", data, pe + 4)
    strings = symbols + nsymbols * 18
    table = pe + 24 + optional
    sections = {}
    for i in range(count):
        raw_name, = struct.unpack_from("8s", data, table + 40 * i)
        size, offset = struct.unpack_from("<II", data, table + 40 * i + 16)
        name = raw_name.rstrip(b"\0").decode("ascii", "replace")
        if name.startswith("/") and symbols:
            start = strings + int(name[1:])
            name = data[start:data.index(b"\0", start)].decode("ascii", "replace")
        sections[name] = data[offset:offset + size]
    return sections


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


def check_install_text(text, plugin, crlf, host_version, vers):
    if crlf and b"\n" in text.replace(b"\r\n", b""):
        fail("INSTALL.txt of the Windows package must have CRLF line ends")
    words = " ".join(text.decode("utf-8").split())
    # The host version its property list declares; how to cancel "Zentrim Duration", as the
    # progress window says; on a Mac the security settings pane as each macOS names it.
    expected = [plugin, "Zentrim Panel.jsx", "ScriptUI Panels", "Plug-ins", "Window menu",
                "Uninstalling", "After Effects %s" % host_version, vers, "Zentrim Duration"]
    if plugin == "Zentrim.aex":
        expected += ["Hold Ctrl + Shift to cancel the crop"]
    else:
        expected += ["To cancel, hold Command + Shift", "System Settings > Privacy & Security",
                     "System Preferences > Security & Privacy", "macOS 11 and 12"]
    for word in expected:
        if word not in words:
            fail("INSTALL.txt: %r is missing" % word)
    for placeholder in ["@VERSION@", "@HOST_VERSION@", "@PIPL_VERS@"]:
        if placeholder in words:
            fail("INSTALL.txt: %r is left in" % placeholder)


def stand_in_bundle(folder, executable):
    bundle = os.path.join(folder, "Zentrim.plugin")
    os.makedirs(os.path.join(bundle, "Contents", "MacOS"))
    for name, data in [("MacOS/Zentrim", executable), ("Info.plist", b"<plist/>"),
                       ("PkgInfo", b"AEgxFXTC")]:
        with open(os.path.join(bundle, "Contents", name), "wb") as f:
            f.write(data)
    return bundle


def main():
    source, what = sys.argv[1], sys.argv[2]
    version = version_of(source)
    host_version, vers = host_version_of(source)
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
            # Bundles that are refused, and what the refusal says: an executable that holds the
            # path of the build; a named bundle without its executable (never another bundle).
            leaky = stand_in_bundle(os.path.join(dist, "leaky"),
                                    b"\xcf\xfa\xed\xfe" + os.path.abspath(source).encode() +
                                    b"/plugin/Zentrim.cpp\0")
            empty = os.path.join(dist, "empty", "Zentrim.plugin")
            os.makedirs(empty)
            for bundle, said in ((leaky, "build machine's path"),
                                 (empty, "ZENTRIM_MACOS_BUNDLE=%s holds no" % empty)):
                refused = run_package(source, "macos", os.path.join(dist, "refused"),
                                      {"ZENTRIM_MACOS_BUNDLE": bundle}, expect_ok=False)
                if refused.returncode == 0 or said not in refused.stderr:
                    fail("package.sh macos packed %s instead of saying \"%s\": %s"
                         % (bundle, said, refused.stderr.strip()))
            built = os.path.join(source, "build-macos-cross", "plugin", "Zentrim.plugin")
            real = os.environ.get("ZENTRIM_REQUIRE_PACKAGE") == "1" and os.path.isfile(
                os.path.join(built, "Contents", "MacOS", "Zentrim"))
            if real:
                with open(os.path.join(built, "Contents", "MacOS", "Zentrim"), "rb") as f:
                    plugin_bytes = f.read()
                run_package(source, "macos", dist, {})
                print("the bundle the macOS stage built: %s" % built)
            else:
                plugin_bytes = b"\xcf\xfa\xed\xfe stand-in executable"
                bundle = stand_in_bundle(os.path.join(dist, "stand-in"), plugin_bytes)
                run_package(source, "macos", dist, {"ZENTRIM_MACOS_BUNDLE": bundle})
            top, plugin, crlf = "Zentrim-%s-macos" % version, "Zentrim.plugin", False
        names, files = listing(os.path.join(dist, top + ".zip"))
        if what == "windows":
            expected = [top + "/", top + "/INSTALL.txt", top + "/Zentrim Panel.jsx",
                        top + "/Zentrim.aex"]
            # The built plug-in without its debug sections: every other section as built.
            shipped = pe_sections(files.get(top + "/Zentrim.aex", b""))
            built = pe_sections(plugin_bytes)
            debug = sorted(n for n in shipped if n.startswith(".debug"))
            if debug:
                fail("Zentrim.aex in the zip has debug sections %s" % debug)
            kept = {n: d for n, d in built.items() if not n.startswith(".debug")}
            if shipped != kept:
                fail("Zentrim.aex in the zip is not the built plug-in without its debug sections")
            print("Zentrim.aex: %d bytes built, %d shipped (sections %s)"
                  % (len(plugin_bytes), len(files[top + "/Zentrim.aex"]), ", ".join(sorted(kept))))
        else:
            inside = top + "/Zentrim.plugin/Contents/"
            expected = [top + "/", top + "/INSTALL.txt", top + "/Zentrim Panel.jsx",
                        top + "/Zentrim.plugin/", inside, inside + "Info.plist",
                        inside + "MacOS/", inside + "MacOS/Zentrim", inside + "PkgInfo"]
            if real:
                # The built bundle holds its resources too: whatever it holds, inside it.
                expected += [inside + "Resources/", inside + "Resources/Zentrim.rsrc"]
                missing = sorted(set(expected) - set(names))
                if missing:
                    fail("the zip lacks %s" % missing)
                expected = [n for n in names if n in expected or n.startswith(inside)]
                if os.path.abspath(source).encode() + b"/" in plugin_bytes:
                    fail("the macOS executable holds the build's path")
            if files.get(inside + "MacOS/Zentrim") != plugin_bytes:
                fail("the bundle in the zip is not the one given")
        if names != sorted(expected):
            fail("the zip holds %s, expected %s" % (names, sorted(expected)))
        if files[top + "/Zentrim Panel.jsx"] != panel:
            fail("the panel in the zip is not panel/Zentrim Panel.jsx")
        check_install_text(files[top + "/INSTALL.txt"], plugin, crlf, host_version, vers)
    print("package test: ok")


main()
