#!/usr/bin/env python3
"""A compiler driver for cross-building macOS code on Linux, used by cmake/zig-macos.cmake.

It takes the arguments CMake gives Apple's clang on a Mac (several `-arch` flags,
`-mmacosx-version-min=`, `-isysroot`, `-bundle`, `-Wl,...`) and does what Apple's driver does with
them: compiles every architecture with the Zig compiler (`zig cc`/`zig c++ -target
<arch>-macos.<version>`, which carries the macOS C and C++ headers), links every architecture with
LLVM's Mach-O linker (`ld64.lld`, which writes bundles, honours exported-symbol lists and signs
arm64 output ad hoc) against the SDK given by `-isysroot` (text stubs of the system libraries) and
Zig's own C++ runtime, and joins the slices into one universal file with `llvm-lipo`. Without a
`-g` flag the objects carry no debug information and the link writes no debug map, as on a Mac:
nothing of the build machine's paths reaches the output.

Usage: driver.py cc|c++ ARGS...   (the `cc` and `c++` scripts beside this file call it)

Tools, from the environment or their defaults:
  ZENTRIM_MACOS_TOOLS  folder prepared by scripts/macos-tools.sh (Zig and its C++ runtime)
                       [$XDG_CACHE_HOME/zentrim/macos-tools, else ~/.cache/zentrim/macos-tools]
  ZENTRIM_LLVM_BIN     folder with ld64.lld and llvm-lipo [/usr/lib/llvm-14/bin]
"""
import os
import shutil
import subprocess
import sys
import tempfile

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TOOLS = os.environ.get("ZENTRIM_MACOS_TOOLS") or os.path.join(
    os.environ.get("XDG_CACHE_HOME") or os.path.join(os.path.expanduser("~"), ".cache"),
    "zentrim", "macos-tools")
LLVM_BIN = os.environ.get("ZENTRIM_LLVM_BIN") or "/usr/lib/llvm-14/bin"
ZIG_DIR = os.path.join(TOOLS, "zig-0.11.0")

# Apple's architecture names and Zig's.
ZIG_ARCH = {"x86_64": "x86_64", "arm64": "aarch64"}
DEFAULT_VERSION = "11.0"
SOURCE_SUFFIXES = (".c", ".cc", ".cpp", ".cxx", ".m", ".mm")
LINK_INPUT_SUFFIXES = (".o", ".a", ".tbd", ".dylib")
# Options that take a value in the next argument, at compile time.
COMPILE_VALUE_OPTIONS = {"-o", "-MF", "-MT", "-MQ", "-x", "-include", "-isystem", "-I", "-D",
                         "-U", "-iquote", "-idirafter", "-imacros", "-Xclang", "-F", "-iframework"}


class DriverError(Exception):
    pass


def fail(message):
    raise DriverError(message)


def tool(name):
    path = os.path.join(LLVM_BIN, name)
    if not os.access(path, os.X_OK):
        fail("%s not found in %s (Debian: lld-14 and llvm-14; or set ZENTRIM_LLVM_BIN)" % (name, LLVM_BIN))
    return path


def zig():
    path = os.path.join(ZIG_DIR, "zig")
    if not os.access(path, os.X_OK):
        fail("Zig not found at %s: run scripts/macos-tools.sh first (or set ZENTRIM_MACOS_TOOLS)" % path)
    return path


def zig_env():
    env = dict(os.environ)
    cache = os.path.join(TOOLS, "zig-cache")
    env.setdefault("ZIG_GLOBAL_CACHE_DIR", cache)
    env.setdefault("ZIG_LOCAL_CACHE_DIR", cache)
    return env


def run(command, env=None):
    result = subprocess.run(command, env=env)
    if result.returncode != 0:
        raise SystemExit(result.returncode)


class Request:
    """The arguments split into what the driver itself interprets and what it hands on."""

    def __init__(self, language, args):
        self.language = language
        self.archs = []
        self.version = DEFAULT_VERSION
        self.sysroot = None
        self.output = None
        self.compile_only = "-c" in args
        self.passthrough = []  # everything else, in order
        it = iter(args)
        for arg in it:
            if arg == "-arch":
                arch = next(it, None)
                if arch not in ZIG_ARCH:
                    fail("unsupported architecture %r (supported: %s)" % (arch, ", ".join(ZIG_ARCH)))
                if arch not in self.archs:
                    self.archs.append(arch)
            elif arg.startswith("-mmacosx-version-min="):
                self.version = arg.split("=", 1)[1]
            elif arg == "-isysroot":
                self.sysroot = next(it, None)
            elif arg == "-o":
                self.output = next(it, None)
            else:
                self.passthrough.append(arg)
        if not self.archs:
            self.archs = ["arm64"] if os.uname().machine in ("arm64", "aarch64") else ["x86_64"]
        # Debug information only when asked for, as with Apple's clang: Zig's compiler emits it
        # by default, and its C++ runtime is built with it.
        self.debug = any(a.startswith("-g") and a != "-g0" for a in self.passthrough)
        major = self.version.split(".")[0]
        if "arm64" in self.archs and (not major.isdigit() or int(major) < 11):
            fail("arm64 needs macOS 11.0 or later as deployment target, got %s" % self.version)

    def zig_command(self, arch):
        mode = "c++" if self.language == "c++" else "cc"
        return [zig(), mode, "-target", "%s-macos.%s" % (ZIG_ARCH[arch], self.version)]


def join_slices(slices, output):
    """One file from one thin file per architecture: moved as it is, or joined by llvm-lipo."""
    if len(slices) == 1:
        shutil.move(slices[0], output)
        return
    run([tool("llvm-lipo"), "-create"] + slices + ["-output", output])


def compile_sources(request, work):
    """Compiles with `-c` (or on the way to a link): one object per architecture, then joined."""
    if request.output is None:
        fail("compiling needs -o")
    slices = []
    for index, arch in enumerate(request.archs):
        out = os.path.join(work, arch, os.path.basename(request.output))
        os.makedirs(os.path.dirname(out), exist_ok=True)
        args = without_link_options(request.passthrough)
        # One dependency file is enough: every architecture reads the same headers.
        if index > 0 and "-MF" in args:
            args[args.index("-MF") + 1] = out + ".d"
        if not request.debug:
            args = args + ["-g0"]
        run(request.zig_command(arch) + args + ["-o", out], env=zig_env())
        slices.append(out)
    join_slices(slices, request.output)


def without_link_options(args):
    """Clang ignores linker options when it only compiles; Zig refuses them."""
    kept = []
    it = iter(args)
    for arg in it:
        if arg.startswith("-Wl,"):
            continue
        if arg in ("-Xlinker", "-framework", "-weak_framework"):
            next(it, None)
            continue
        kept.append(arg)
    return kept


def split_link_arguments(request, work):
    """Linker arguments from driver arguments; sources on the line are compiled first."""
    linker = []
    compile_flags = []  # what a source on the line is compiled with
    sources = []
    output_kind = ["-execute"]
    it = iter(request.passthrough)
    for arg in it:
        if arg.startswith("-Wl,"):
            linker.extend(a for a in arg[4:].split(",") if a)
        elif arg == "-Xlinker":
            linker.append(next(it))
        elif arg == "-bundle":
            output_kind = ["-bundle"]
        elif arg in ("-dynamiclib", "-shared"):
            output_kind = ["-dylib"]
        elif arg in ("-framework", "-weak_framework", "-install_name", "-exported_symbols_list",
                     "-F", "-L"):
            linker.extend([arg, next(it)])
        elif arg.startswith(("-l", "-L", "-F")) and len(arg) > 2:
            linker.append(arg)
        elif arg in ("-headerpad_max_install_names", "-dead_strip"):
            linker.append(arg)
        elif arg in COMPILE_VALUE_OPTIONS:
            compile_flags.extend([arg, next(it)])
        elif arg.startswith(("-fsanitize", "-fprofile", "-fuse-ld", "-fcoverage")):
            fail("unsupported option on a link line: %s" % arg)
        elif arg.startswith(("-O", "-g", "-D", "-U", "-I", "-std=", "-f", "-W", "-pipe")):
            compile_flags.append(arg)  # compile options: nothing to link
        elif arg.startswith("-"):
            fail("unsupported option on a link line: %s" % arg)
        elif arg.endswith(SOURCE_SUFFIXES):
            sources.append(arg)
        elif arg.endswith(LINK_INPUT_SUFFIXES) or os.path.isfile(arg):
            linker.append(arg)
        else:
            fail("no such input: %s" % arg)
    objects = []
    for index, source in enumerate(sources):
        sub = Request(request.language, [])
        sub.archs, sub.version = request.archs, request.version
        sub.output = os.path.join(work, "sources", "%d-%s.o" % (index, os.path.basename(source)))
        sub.passthrough = compile_flags + ["-c", source]
        os.makedirs(os.path.dirname(sub.output), exist_ok=True)
        compile_sources(sub, work)
        objects.append(sub.output)
    return output_kind, objects + linker


def runtime_libraries(request, arch):
    """Zig's C++ runtime and builtins for one architecture, as prepared by scripts/macos-tools.sh."""
    folder = os.path.join(TOOLS, "runtime", arch)
    names = ["libc++.a", "libc++abi.a"] if request.language == "c++" else []
    names.append("libcompiler_rt.a")
    paths = [os.path.join(folder, n) for n in names]
    missing = [p for p in paths if not os.path.isfile(p)]
    if missing:
        fail("C++ runtime missing (%s): run scripts/macos-tools.sh" % ", ".join(missing))
    major = request.version.split(".")[0]
    system = os.path.join(ZIG_DIR, "lib", "libc", "darwin", "libSystem.%s.tbd" % major)
    if not os.path.isfile(system):
        fail("no libSystem stub for macOS %s in %s" % (major, os.path.dirname(system)))
    return paths + [system]


def link(request, work):
    if request.output is None:
        request.output = "a.out"
    output_kind, inputs = split_link_arguments(request, work)
    slices = []
    for arch in request.archs:
        # The slice keeps the final file name: arm64 slices are signed under that name.
        out = os.path.join(work, "link-" + arch, os.path.basename(request.output))
        os.makedirs(os.path.dirname(out), exist_ok=True)
        command = [tool("ld64.lld"), "-arch", arch, "-platform_version", "macos", request.version,
                   request.version] + output_kind
        if request.sysroot:
            command += ["-syslibroot", request.sysroot]
        if not request.debug:
            # No debug map: it would name the object files and the runtime's sources on this
            # machine, and a build without -g has nothing to map to.
            command.append("-S")
        command += ["-o", out] + inputs + runtime_libraries(request, arch)
        run(command)
        slices.append(out)
    join_slices(slices, request.output)


def main(argv):
    if len(argv) < 2 or argv[1] not in ("cc", "c++"):
        print("usage: driver.py cc|c++ ARGS...", file=sys.stderr)
        return 2
    language, args = argv[1], argv[2:]
    try:
        request = Request(language, args)
        has_source = any(a.endswith(SOURCE_SUFFIXES) for a in request.passthrough)
        query = any(a in ("-E", "-S", "-fsyntax-only", "-M", "-MM") for a in request.passthrough)
        if request.compile_only and not query:
            with tempfile.TemporaryDirectory(prefix="zentrim-cc-") as work:
                compile_sources(request, work)
        elif not query and (has_source or request.output is not None or any(
                a.endswith(LINK_INPUT_SUFFIXES) for a in request.passthrough)):
            with tempfile.TemporaryDirectory(prefix="zentrim-ld-") as work:
                link(request, work)
        else:
            # Queries (--version, -E, -dumpmachine ...): one architecture answers.
            if len(request.archs) > 1 and query:
                fail("preprocessing or syntax checking with several -arch flags")
            command = request.zig_command(request.archs[0]) + request.passthrough
            if request.output:
                command += ["-o", request.output]
            run(command, env=zig_env())
    except DriverError as error:
        print("zig-macos driver: error: %s" % error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
