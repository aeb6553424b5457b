#!/usr/bin/env python3
"""Fails when a folder includes a header it may not use.

Every source file belongs to the folder of the table below that holds it
(the longest match); its #include lines are sorted into the project's folders
and the outside libraries (FFmpeg, SDL2, the Qt modules, libcurl, libjpeg,
uchardet, GoogleTest), and each must be one its folder may use. Anything else in angle
brackets is the standard library or the system's C headers, which every
folder may use. Tests under <folder>/tests/ may use what their folder may,
plus the test helpers and what TEST_EXTRAS adds.

Usage: check-includes.py [--root DIR] [--qt-include DIR]
"""

import argparse
import glob
import os
import re
import subprocess
import sys

PLAIN = {"std"}
QT_GUI = {"QtCore", "QtGui"}
QT_ALL = QT_GUI | {"QtWidgets", "QtNetwork", "QtDBus"}
PROJECT_BELOW_UI = {"subtitles", "files", "settings", "media", "playback", "playback/audio", "burnin", "burnin/writer", "online",
                    "app/language", "app/core"}

# What each folder may include besides its own headers. Lower layers never
# reach upward; only playback/audio touches SDL2, only media, playback and
# burnin touch FFmpeg, and app/core touches no outside library itself.
ALLOWED = {
    # uchardet (a C library with nothing below it) guesses the code page of
    # subtitle files from elsewhere, where their bytes are turned into text.
    "subtitles": PLAIN | {"uchardet"},
    # The file layer reads and saves the subtitle pair and the journal in the
    # subtitles' own formats.
    "files": PLAIN | {"subtitles"},
    # Settings files are read and written through the file layer.
    "settings": PLAIN | {"subtitles", "files"},
    "media": PLAIN | {"FFmpeg"},
    # The reader has no SDL2, so a program without sound can link it.
    "playback": PLAIN | {"FFmpeg", "media"} | QT_GUI,
    "playback/audio": PLAIN | {"media", "playback", "SDL2"} | QT_GUI,
    # The writer reads its source's facts and the write job its frames through
    # the reader's contract (playback, never playback/audio).
    "burnin": PLAIN | {"FFmpeg", "media", "playback", "subtitles", "files", "settings", "burnin/writer"} | QT_GUI,
    # The writer has no Qt, so it encodes on any thread and links anywhere.
    "burnin/writer": PLAIN | {"FFmpeg", "media", "playback", "files", "settings"},
    "online": PLAIN | {"libcurl", "files", "settings"},
    "app/language": PLAIN | {"files", "settings"},
    "app/core": PLAIN | {"subtitles", "files", "settings", "media", "playback", "burnin", "burnin/writer", "online",
                         "app/language"},
    "app/skin": PLAIN | {"files", "settings"} | QT_GUI | {"QtWidgets"},
    "app/ui": PLAIN | PROJECT_BELOW_UI | {"app/skin"} | QT_ALL,
    "cli": PLAIN | {"media", "playback", "burnin", "burnin/writer", "subtitles", "files", "settings"} | QT_GUI,
    "tests/support": PLAIN,
    "tests/fixtures": PLAIN | {"tests/support"},
    "tests/fuzz": PLAIN | {"subtitles", "files", "settings", "app/skin"} | QT_GUI,
    "tests/harness": PLAIN | {"subtitles", "files", "settings", "tests/support"},
    # Benchmarks measure the real program from any layer.
    "bench": None,
}

# Every test program may use these.
TEST_HELPERS = {"GoogleTest", "tests/support", "tests/fixtures"}
# And these, per folder: what the real implementations under test need.
TEST_EXTRAS = {
    # The media tests run the real Qt transform, which needs an application object.
    "app/core": QT_GUI,
    "app/skin": {"QtTest"},
    "app/ui": {"QtTest"},
}

# Includes that break the table today, each with its reason. They are
# reported, not allowed: the check fails once one of them is gone, so the
# list only shrinks.
KNOWN_EXCEPTIONS = {
    ("app/language/Language.cpp", "subtitles/TextEncoding.h"):
        "language files are read in the locale's character set (the subtitles' text encoding)",
    ("app/language/tests/ShippedLanguageTest.cpp", "subtitles/TextEncoding.h"):
        "the shipped language files are checked in the same character sets",
}

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".c")
SKIPPED_DIRS = {".git", "data", "docs", "scripts"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')


def find_qt_include_dir(given):
    if given:
        return given
    try:
        found = subprocess.run(["pkg-config", "--variable=includedir", "Qt6Core"], capture_output=True,
                               text=True, check=False).stdout.strip()
        if found and os.path.isdir(os.path.join(found, "QtCore")):
            return found
    except OSError:
        pass
    for candidate in glob.glob("/usr/include/*/qt6") + ["/usr/include/qt6"]:
        if os.path.isdir(os.path.join(candidate, "QtCore")):
            return candidate
    return None


def qt_modules(qt_include_dir):
    """Maps each Qt header name (QWidget, qstring.h) to its module (QtWidgets)."""
    modules = {}
    for module_dir in sorted(glob.glob(os.path.join(qt_include_dir, "Qt*"))):
        module = os.path.basename(module_dir)
        for name in os.listdir(module_dir):
            modules.setdefault(name, module)
    return modules


def classify_system(header, qt):
    """The library an angle-bracket include belongs to; "std" for the rest."""
    first = header.split("/")[0]
    if re.match(r"lib(av|sw)[a-z]+$", first):
        return "FFmpeg"
    if first == "SDL2" or re.match(r"SDL(_\w+)?\.h$", header):
        return "SDL2"
    if first == "curl":
        return "libcurl"
    if first == "uchardet":
        return "uchardet"
    if header in ("jpeglib.h", "jerror.h", "jconfig.h", "jmorecfg.h"):
        return "libjpeg"
    if first in ("gtest", "gmock"):
        return "GoogleTest"
    if first.startswith("Qt") and "/" in header:
        return first  # <QtWidgets/QWidget>
    if header in qt:
        return qt[header]
    if re.match(r"Q[A-Z]\w*$", header) or header == "Qt":
        return "Qt (unknown module)"
    return "std"


def folder_of(relative_path):
    """The table's folder holding a file, or None."""
    best = None
    for folder in ALLOWED:
        if relative_path == folder or relative_path.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def project_target(root, including_file, header):
    """The project folder a quoted include names, or None if it is not a project file."""
    beside = os.path.normpath(os.path.join(os.path.dirname(including_file), header))
    if os.path.isfile(os.path.join(root, beside)):
        return folder_of(beside) or beside.split("/")[0]
    if os.path.isfile(os.path.join(root, header)):
        return folder_of(header) or header.split("/")[0]
    return None


def is_test_file(relative_path, folder):
    rest = relative_path[len(folder) + 1:]
    return rest.startswith("tests/") or "/tests/" in rest


def allowed_for(relative_path, folder):
    allowed = ALLOWED[folder]
    if allowed is None:
        return None
    allowed = set(allowed) | {folder}
    if is_test_file(relative_path, folder):
        allowed |= TEST_HELPERS | TEST_EXTRAS.get(folder, set())
    return allowed


def source_files(root):
    for directory, subdirs, files in os.walk(root):
        relative_dir = os.path.relpath(directory, root)
        subdirs[:] = sorted(d for d in subdirs
                            if not (relative_dir == "." and (d in SKIPPED_DIRS or d.startswith("build"))))
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.normpath(os.path.join(relative_dir, name))


def check(root, qt):
    problems = []
    exceptions_seen = set()
    for relative_path in source_files(root):
        folder = folder_of(relative_path)
        if folder is None:
            problems.append(f"{relative_path}: its folder is not in the include table of scripts/check-includes.py")
            continue
        allowed = allowed_for(relative_path, folder)
        if allowed is None:
            continue
        with open(os.path.join(root, relative_path), encoding="utf-8", errors="replace") as source:
            for number, line in enumerate(source, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                quote, header = match.groups()
                used = project_target(root, relative_path, header) if quote == '"' else None
                if used is None:
                    used = classify_system(header, qt)
                if used in allowed:
                    continue
                if (relative_path, header) in KNOWN_EXCEPTIONS:
                    exceptions_seen.add((relative_path, header))
                    continue
                problems.append(f"{relative_path}:{number}: includes {header} ({used}); "
                                f"{folder}/ may use: {', '.join(sorted(allowed - {folder}))}")
    for relative_path, header in sorted(set(KNOWN_EXCEPTIONS) - exceptions_seen):
        problems.append(f"{relative_path} no longer includes {header}: "
                        "remove it from KNOWN_EXCEPTIONS in scripts/check-includes.py")
    return problems, exceptions_seen


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--root", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    parser.add_argument("--qt-include", help="Qt's include folder (found with pkg-config when not given)")
    arguments = parser.parse_args()

    qt_include_dir = find_qt_include_dir(arguments.qt_include)
    if qt_include_dir is None:
        print("check-includes: cannot find Qt's headers to tell its modules apart; pass --qt-include",
              file=sys.stderr)
        return 2
    problems, exceptions_seen = check(os.path.abspath(arguments.root), qt_modules(qt_include_dir))
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"check-includes: {len(problems)} include(s) break the folder rules", file=sys.stderr)
        return 1
    print(f"check-includes: every folder includes only what it may "
          f"({len(exceptions_seen)} known exception(s), listed in the script)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
