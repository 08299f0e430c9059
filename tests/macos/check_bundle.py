#!/usr/bin/env python3
"""Checks an assembled macOS plug-in bundle as the host and the loader see it: the layout, the
Info.plist (an XML property list with the keys the host reads), PkgInfo, the resource file read
back through its map to the exact property list, and the executable: a universal Mach-O bundle
with x86_64 and arm64 slices, each exporting only the entry point, for macOS 11.0, linked only
against the system libraries it needs. Uses LLVM's tools for the Mach-O (Debian llvm-14).

Usage: check_bundle.py BUNDLE --version X.Y.Z [--llvm-bin DIR] [--name NAME]
                       [--pipl-name TEXT] [--frameworks LIST]
(defaults: the executable and the property list's name Zentrim; CoreFoundation, CoreGraphics and
AppKit linked).
"""
import argparse
import os
import plistlib
import re
import struct
import subprocess
import sys

NAME = "Zentrim"  # the executable and the resource file; --name
PIPL_NAME = b"Zentrim"  # the name the host lists; --pipl-name
ENTRY_POINT = "EntryPointFunc"
ARCHS = ["x86_64", "arm64"]
MINIMUM_MACOS = "11.0"
ALLOWED_LIBRARIES = {
    "/usr/lib/libSystem.B.dylib",
    "/usr/lib/libobjc.A.dylib",
    "/System/Library/Frameworks/CoreFoundation.framework/Versions/A/CoreFoundation",
    "/System/Library/Frameworks/CoreGraphics.framework/Versions/A/CoreGraphics",
    "/System/Library/Frameworks/AppKit.framework/Versions/C/AppKit",
}
REQUIRED_FRAMEWORKS = {"CoreFoundation", "CoreGraphics", "AppKit"}

passed = 0
failed = 0


def check(ok, what):
    global passed, failed
    if ok:
        passed += 1
    else:
        failed += 1
        print("FAIL: " + what)
    return ok


def pascal(text):
    return bytes([len(text)]) + text


def expected_property_list():
    """The six properties the host reads on macOS, as exact bytes: big-endian, codes in reading
    order, lengths without the padding."""
    def prop(key, data):
        return (b"8BIM" + key + struct.pack(">II", 0, len(data)) + data +
                b"\0" * (-len(data) % 4))

    entry = pascal(ENTRY_POINT.encode())
    props = [prop(b"kind", b"AEgx"), prop(b"name", pascal(PIPL_NAME)),
             prop(b"catg", pascal(b"General Plugin")), prop(b"vers", struct.pack(">I", 0x00190001)),
             prop(b"mi64", entry), prop(b"ma64", entry)]
    return [(k, p) for k, p in zip([b"kind", b"name", b"catg", b"vers", b"mi64", b"ma64"], props)]


def read_resources(blob):
    """Every resource the map of a resource file lists: (type, id, name offset, attributes, data)."""
    data_offset, map_offset, data_length, map_length = struct.unpack_from(">IIII", blob, 0)
    check(data_offset == 256, "resource data at %d, expected 256" % data_offset)
    check(blob[16:data_offset] == b"\0" * (data_offset - 16), "bytes between header and data not zero")
    check(map_offset == data_offset + data_length, "map at %d, not right after the data" % map_offset)
    check(map_offset + map_length == len(blob), "file is %d bytes, header says %d" %
          (len(blob), map_offset + map_length))
    check(blob[map_offset:map_offset + 16] in (blob[:16], b"\0" * 16), "map header is neither a "
          "copy of the file header nor zeros")
    next_map, file_ref, attributes, type_list, name_list = struct.unpack_from(
        ">IHHHH", blob, map_offset + 16)
    check((next_map, file_ref, attributes) == (0, 0, 0), "map next/ref/attributes %r" %
          ((next_map, file_ref, attributes),))
    check(type_list == 28 and name_list == 50, "type list at %d and name list at %d, expected 28 "
          "and 50" % (type_list, name_list))
    check(name_list == map_length, "name list not empty")
    resources = []
    at = map_offset + type_list
    (types,) = struct.unpack_from(">H", blob, at)
    for i in range(types + 1):
        rtype, count, refs = struct.unpack_from(">4sHH", blob, at + 2 + 8 * i)
        for k in range(count + 1):
            rid, name, attrs, offset_hi, offset_lo, reserved = struct.unpack_from(
                ">hHBBHI", blob, at + refs + 12 * k)
            offset = offset_hi << 16 | offset_lo
            check(reserved == 0, "reference reserved word %d" % reserved)
            (length,) = struct.unpack_from(">I", blob, data_offset + offset)
            body = blob[data_offset + offset + 4:data_offset + offset + 4 + length]
            check(len(body) == length, "resource %r %d cut short" % (rtype, rid))
            resources.append((rtype, rid, name, attrs, body))
    return resources


def check_property_list(body):
    size = 8 + sum(len(p) for _, p in expected_property_list())  # 168 for Zentrim
    check(len(body) == size, "property list is %d bytes, expected %d" % (len(body), size))
    version, count = struct.unpack_from(">II", body, 0)
    check((version, count) == (0, 6), "property list header %r, expected (0, 6)" % ((version, count),))
    at = 8
    for key, want in expected_property_list():
        got = body[at:at + len(want)]
        name = key.decode()
        check(got[0:4] == b"8BIM", "%s: vendor %r" % (name, got[0:4]))
        check(got[4:8] == key, "%s: key %r" % (name, got[4:8]))
        check(got[8:12] == b"\0\0\0\0", "%s: id %r" % (name, got[8:12]))
        check(got[12:16] == want[12:16], "%s: length %r, expected %r" % (name, got[12:16], want[12:16]))
        check(got == want, "%s: bytes %r, expected %r" % (name, got, want))
        at += len(want)
    check(at == len(body), "%d bytes after the last property" % (len(body) - at))


def check_info_plist(path, version):
    with open(path, "rb") as f:
        raw = f.read()
    check(raw.startswith(b"<?xml"), "Info.plist is not an XML property list")
    try:
        info = plistlib.loads(raw, fmt=plistlib.FMT_XML)
    except Exception as error:  # any parse error is the finding
        check(False, "Info.plist does not parse: %s" % error)
        return None
    expected = {
        "CFBundleExecutable": NAME,
        "CFBundleInfoDictionaryVersion": "6.0",
        "CFBundleName": NAME,
        "CFBundlePackageType": "AEgx",
        "CFBundleSignature": "FXTC",
        "CFBundleShortVersionString": version,
        "CFBundleVersion": version,
        "LSMinimumSystemVersion": MINIMUM_MACOS,
        "LSRequiresCarbon": True,
        "NSAppleScriptEnabled": "No",
    }
    for key, value in expected.items():
        check(info.get(key) == value, "Info.plist %s is %r, expected %r" % (key, info.get(key), value))
    identifier = info.get("CFBundleIdentifier", "")
    check(re.fullmatch(r"[A-Za-z0-9-]+(\.[A-Za-z0-9-]+)+", identifier or "") is not None,
          "Info.plist CFBundleIdentifier %r is not a reverse-DNS name" % identifier)
    check(bool(info.get("NSHumanReadableCopyright")), "Info.plist has no NSHumanReadableCopyright")
    return info


class Tools:
    def __init__(self, llvm_bin):
        self.objdump = os.path.join(llvm_bin, "llvm-objdump")
        self.nm = os.path.join(llvm_bin, "llvm-nm")

    def run(self, *args):
        result = subprocess.run(list(args), capture_output=True, text=True)
        if result.returncode != 0:
            check(False, "%s failed: %s" % (" ".join(args), result.stderr.strip()))
        return result.stdout


def check_executable(path, tools):
    with open(path, "rb") as f:
        magic = f.read(4)
    check(magic == b"\xca\xfe\xba\xbe", "%s is not a universal Mach-O file (magic %r)" % (path, magic))
    universal = tools.run(tools.objdump, "--macho", "--universal-headers", path)
    archs = re.findall(r"^architecture (\S+)", universal, re.M)
    check(sorted(archs) == sorted(ARCHS), "slices %r, expected %r" % (archs, ARCHS))
    for arch in ARCHS:
        header = tools.run(tools.objdump, "--macho", "--arch=" + arch, "--private-header", path)
        line = [l for l in header.splitlines() if l.startswith("MH_MAGIC_64")]
        fields = line[0].split() if line else []
        cpu = {"x86_64": "X86_64", "arm64": "ARM64"}[arch]
        check(len(fields) > 4 and fields[1] == cpu, "%s: cpu type %r" % (arch, fields[1:2]))
        check(len(fields) > 4 and fields[4] == "BUNDLE", "%s: file type %r, expected BUNDLE" %
              (arch, fields[4:5]))
        check({"NOUNDEFS", "DYLDLINK", "TWOLEVEL"} <= set(fields), "%s: header flags %r (two-level "
              "namespace, no undefined symbols expected)" % (arch, fields[6:]))

        defined = tools.run(tools.nm, "--arch=" + arch, "-g", "--defined-only", "-j", path).split()
        check(defined == ["_" + ENTRY_POINT], "%s: global symbols %r, expected only _%s" %
              (arch, defined, ENTRY_POINT))
        trie = tools.run(tools.objdump, "--macho", "--arch=" + arch, "--exports-trie", path)
        exported = re.findall(r"^0x[0-9A-Fa-f]+\s+(\S+)", trie, re.M)
        check(exported == ["_" + ENTRY_POINT], "%s: exports %r, expected only _%s" %
              (arch, exported, ENTRY_POINT))

        used = tools.run(tools.objdump, "--macho", "--arch=" + arch, "--dylibs-used", path)
        libraries = set(re.findall(r"^\s+(/\S+) \(compatibility", used, re.M))
        check(libraries <= ALLOWED_LIBRARIES, "%s: links %r beyond the system libraries" %
              (arch, sorted(libraries - ALLOWED_LIBRARIES)))
        frameworks = {os.path.basename(l) for l in libraries if ".framework/" in l}
        check(REQUIRED_FRAMEWORKS <= frameworks, "%s: frameworks %r, expected %r" %
              (arch, sorted(frameworks), sorted(REQUIRED_FRAMEWORKS)))

        commands = tools.run(tools.objdump, "--macho", "--arch=" + arch, "--private-headers", path)
        build = re.search(r"cmd LC_BUILD_VERSION\n.*?platform (\S+)\n.*?minos (\S+)", commands, re.S)
        check(build is not None and build.groups() == ("macos", MINIMUM_MACOS),
              "%s: build version %r, expected macos %s" % (arch, build and build.groups(), MINIMUM_MACOS))
        if arch == "arm64":
            # Apple silicon runs no unsigned code: the linker's ad-hoc signature is the minimum.
            check("cmd LC_CODE_SIGNATURE" in commands, "arm64: no code signature")


def main():
    global NAME, PIPL_NAME, REQUIRED_FRAMEWORKS
    parser = argparse.ArgumentParser(description="Checks the assembled macOS plug-in bundle.")
    parser.add_argument("bundle")
    parser.add_argument("--version", required=True, help="the project version the bundle carries")
    parser.add_argument("--llvm-bin", default="/usr/lib/llvm-14/bin")
    parser.add_argument("--name", default=NAME, help="the executable's name")
    parser.add_argument("--pipl-name", default=None, help="the property list's name (default: --name)")
    parser.add_argument("--frameworks", default=",".join(sorted(REQUIRED_FRAMEWORKS)),
                        help="frameworks it must link, comma-separated (may be empty)")
    args = parser.parse_args()
    NAME = args.name
    PIPL_NAME = (args.pipl_name or args.name).encode("ascii")
    REQUIRED_FRAMEWORKS = {f for f in args.frameworks.split(",") if f}
    contents = os.path.join(args.bundle, "Contents")

    files = sorted(os.path.relpath(os.path.join(d, f), args.bundle)
                   for d, _, names in os.walk(args.bundle) for f in names)
    layout = ["Contents/Info.plist", "Contents/MacOS/" + NAME, "Contents/PkgInfo",
              "Contents/Resources/%s.rsrc" % NAME]
    if not check(files == layout, "bundle holds %r, expected %r" % (files, layout)):
        print("%d passed, %d failed" % (passed, failed))
        return 1

    info = check_info_plist(os.path.join(contents, "Info.plist"), args.version)
    with open(os.path.join(contents, "PkgInfo"), "rb") as f:
        pkginfo = f.read()
    check(pkginfo == b"AEgxFXTC", "PkgInfo is %r, expected b'AEgxFXTC'" % pkginfo)
    if info:
        check(pkginfo.decode("latin-1") == "%s%s" % (info.get("CFBundlePackageType"),
                                                     info.get("CFBundleSignature")),
              "PkgInfo disagrees with the Info.plist's package type and signature")

    with open(os.path.join(contents, "Resources", NAME + ".rsrc"), "rb") as f:
        resources = read_resources(f.read())
    check(len(resources) == 1, "%d resources, expected 1" % len(resources))
    if resources:
        rtype, rid, name, attrs, body = resources[0]
        check((rtype, rid, name, attrs) == (b"PiPL", 16000, 0xFFFF, 0),
              "resource %r, expected PiPL 16000 without name or attributes" % ((rtype, rid, name, attrs),))
        check_property_list(body)

    check_executable(os.path.join(contents, "MacOS", NAME), Tools(args.llvm_bin))
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
