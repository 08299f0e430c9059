#!/usr/bin/env python3
"""GeneratePiPL.py refuses properties that an encoding cannot hold, names the field, and leaves
the output as it was. Usage: pipl_generator_test.py path/to/GeneratePiPL.py"""
import os
import subprocess
import sys
import tempfile
import unittest

GENERATOR = None
GOOD = {"kind": "AEgx", "name": "Zentrim", "category": "General Plugin", "version": "0x00190001",
        "entry-point": "EntryPointFunc"}


def run(output, fmt="macos-rsrc", **changes):
    props = dict(GOOD)
    props.update({k.replace("_", "-"): v for k, v in changes.items()})
    args = [sys.executable, GENERATOR, "--format", fmt, "--output", output]
    for key, value in props.items():
        args += ["--" + key, value]
    return subprocess.run(args, capture_output=True, text=True)


class BadProperties(unittest.TestCase):
    CASES = [
        ("kind", {"kind": "AEg"}),
        ("kind", {"kind": "AEgxx"}),
        ("kind", {"kind": "AE\u00e9x"}),
        ("name", {"name": ""}),
        ("name", {"name": "Z" * 256}),
        ("name", {"name": "Zen\ttrim"}),
        ("category", {"category": "G\u00e9n\u00e9ral"}),
        ("version", {"version": "0x100000000"}),
        ("version", {"version": "-1"}),
        ("version", {"version": "three"}),
        ("entry point", {"entry_point": "1Entry"}),
        ("entry point", {"entry_point": "Entry Point"}),
    ]

    def test_refused_with_the_field_named_and_the_output_kept(self):
        with tempfile.TemporaryDirectory() as folder:
            for fmt in ("windows-rc", "macos-rsrc"):
                for field, change in self.CASES:
                    with self.subTest(format=fmt, change=change):
                        output = os.path.join(folder, "out")
                        with open(output, "wb") as f:
                            f.write(b"previous")
                        result = run(output, fmt, **change)
                        self.assertEqual(result.returncode, 2, result.stderr)
                        self.assertIn(field, result.stderr)
                        with open(output, "rb") as f:
                            self.assertEqual(f.read(), b"previous")
                        self.assertEqual(sorted(os.listdir(folder)), ["out"], "no temporary left")

    def test_longest_strings_that_fit_are_written(self):
        with tempfile.TemporaryDirectory() as folder:
            output = os.path.join(folder, "out")
            result = run(output, name="N" * 255, category="C" * 255)
            self.assertEqual(result.returncode, 0, result.stderr)
            data = open(output, "rb").read()
            self.assertIn(b"\xff" + b"N" * 255, data)


class Output(unittest.TestCase):
    def test_missing_folder_is_an_error_naming_the_file(self):
        with tempfile.TemporaryDirectory() as folder:
            output = os.path.join(folder, "missing", "Zentrim.rsrc")
            result = run(output)
            self.assertEqual(result.returncode, 1)
            self.assertIn(output, result.stderr)

    def test_written_file_is_readable_by_others(self):
        with tempfile.TemporaryDirectory() as folder:
            output = os.path.join(folder, "Zentrim.rsrc")
            mask = os.umask(0o022)
            try:
                self.assertEqual(run(output).returncode, 0)
            finally:
                os.umask(mask)
            self.assertEqual(os.stat(output).st_mode & 0o777, 0o644)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    GENERATOR = sys.argv.pop(1)
    unittest.main()
