# Checks a built Windows plug-in as the host and the loader see it: exports, imported DLLs, the
# plug-in property list resource (byte by byte) and the manifest.
# Usage: check_resources.py PLUGIN.aex [--name NAME] [--requires DLL[,DLL...]]
# (defaults: the name Zentrim; user32.dll, gdi32.dll and kernel32.dll imported).
import argparse
import struct
import sys

import pefile

RT_MANIFEST = 24
LANG_EN_US = 1033
PIPL_ID = 16000

passed = 0
failed = 0


def check(ok, what):
    global passed, failed
    if ok:
        passed += 1
    else:
        failed += 1
        print("FAIL: " + what)


def resources(pe, type_key):
    """(id, language, bytes) of every resource of one type; type_key is a number or a name."""
    found = []
    directory = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for rtype in directory.entries if directory else []:
        key = str(rtype.name) if rtype.name is not None else rtype.id
        if key != type_key:
            continue
        for rid in rtype.directory.entries:
            for rlang in rid.directory.entries:
                data = rlang.data.struct
                found.append((rid.id, rlang.id, pe.get_data(data.OffsetToData, data.Size)))
    return found


def expected_property(key, data):
    """A property: vendor code and key stored reversed, id 0, padded length, padded data."""
    padded = data + b"\0" * (-len(data) % 4)
    return b"MIB8" + key[::-1] + struct.pack("<II", 0, len(padded)) + padded


def pascal(text):
    return bytes([len(text)]) + text


def padded_length(data):
    return len(data) + (-len(data) % 4)


def check_pipl(blob, name):
    # Key, data, and the data length the layout gives (padding included): for Zentrim 4, 8, 16, 4
    # and 16, 138 bytes in all.
    expected = [
        (b"kind", b"AEgx"[::-1], 4),
        (b"name", pascal(name), padded_length(pascal(name))),
        (b"catg", pascal(b"General Plugin"), 16),
        (b"vers", struct.pack("<I", 0x00190001), 4),
        (b"8664", b"EntryPointFunc\0", 16),
    ]
    size = 10 + sum(16 + length for _, _, length in expected)
    check(len(blob) == size, "PIPL is %d bytes, expected %d" % (len(blob), size))
    version, reserved, count = struct.unpack_from("<HII", blob, 0)
    check((version, reserved, count) == (1, 0, 5), "PIPL header %r" % ((version, reserved, count),))
    at = 10
    for key, data, size in expected:
        want = expected_property(key, data)
        got = blob[at : at + len(want)]
        check(got[0:4] == b"MIB8", "%s: vendor code %r" % (key, got[0:4]))
        check(got[4:8] == key[::-1], "%s: key %r" % (key, got[4:8]))
        check(got[8:12] == b"\0\0\0\0", "%s: id %r" % (key, got[8:12]))
        length = struct.unpack_from("<I", got, 12)[0] if len(got) >= 16 else -1
        check(length == size, "%s: length %d, expected %d" % (key, length, size))
        check(got == want, "%s: bytes %r, expected %r" % (key, got, want))
        at += len(want)
    check(at == len(blob), "PIPL has %d bytes after the last property" % (len(blob) - at))


def main(path, name, requires):
    pe = pefile.PE(path)

    check(pe.FILE_HEADER.Machine == pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"], "not x86-64")
    check(pe.is_dll(), "not a DLL")
    exports = [e.name.decode() for e in pe.DIRECTORY_ENTRY_EXPORT.symbols if e.name]
    check(exports == ["EntryPointFunc"], "exports %r, expected only EntryPointFunc" % exports)

    imported = sorted(i.dll.decode().lower() for i in pe.DIRECTORY_ENTRY_IMPORT)
    runtime = [d for d in imported if d.startswith(("libgcc", "libstdc++", "libwinpthread"))]
    check(not runtime, "imports MinGW runtime DLLs %r" % runtime)
    for dll in requires:
        check(dll in imported, "%s not imported (imports: %r)" % (dll, imported))

    # Resource compilers store type names in capitals; the host looks the type up by "PiPL",
    # which Windows matches without regard to case.
    pipl = resources(pe, "PIPL")
    check(len(pipl) == 1, "%d PiPL resources, expected 1" % len(pipl))
    if pipl:
        rid, lang, blob = pipl[0]
        check(rid == PIPL_ID, "PiPL id %r, expected %d" % (rid, PIPL_ID))
        check(lang == LANG_EN_US, "PiPL language %r, expected %d" % (lang, LANG_EN_US))
        check_pipl(blob, name)

    manifests = resources(pe, RT_MANIFEST)
    check(len(manifests) == 1 and manifests[0][0] == 2, "manifest resources %r" %
          [(m[0], m[1]) for m in manifests])
    if manifests:
        text = manifests[0][2].decode("utf-8")
        check('requestedExecutionLevel level="asInvoker"' in text, "manifest asks for elevation")
        check('uiAccess="false"' in text, "manifest asks for UI access")

    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description="Checks a built Windows plug-in's resources.")
    parser.add_argument("plugin")
    parser.add_argument("--name", default="Zentrim", help="the name in the property list")
    parser.add_argument("--requires", default="user32.dll,gdi32.dll,kernel32.dll",
                        help="DLLs it must import, comma-separated")
    args = parser.parse_args()
    sys.exit(main(args.plugin, args.name.encode("ascii"), args.requires.split(",")))
