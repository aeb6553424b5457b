#!/usr/bin/env python3
"""The include check on copies of the source tree: it passes on the tree as it
is and on includes a folder may use, and fails on each planted forbidden one."""

import os
import runpy
import shutil
import subprocess
import sys
import tempfile
import types
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPT = os.path.join(HERE, "..", "check-includes.py")
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))

# The script's file name has a dash, so it is loaded by path, not imported.
check_includes = types.SimpleNamespace(**runpy.run_path(SCRIPT, run_name="check_includes"))

# (file planted, its text, whether the check must still pass)
PLANTED = [
    ("subtitles/Planted.cpp", "#include <QString>\n", False),
    ("settings/Planted.cpp", "#include <SDL.h>\n", False),
    ("settings/Planted.cpp", '#include "media/Frame.h"\n', False),
    ("media/Planted.cpp", '#include "playback/VideoReader.h"\n', False),
    ("media/Planted.h", "#include <QImage>\n", False),
    ("playback/Planted.cpp", "#include <curl/curl.h>\n", False),
    ("playback/Planted.cpp", "#include <QWidget>\n", False),
    ("playback/Planted.cpp", "#include <SDL.h>\n", False),
    ("burnin/Planted.cpp", '#include "app/ui/Planted.h"\n', False),
    ("burnin/writer/Planted.cpp", "#include <QImage>\n", False),
    ("burnin/writer/Planted.cpp", '#include "burnin/FrameRenderer.h"\n', False),
    ("app/core/Planted.cpp", "#include <QWidget>\n", False),
    ("app/core/Planted.cpp", "#include <libavformat/avformat.h>\n", False),
    ("app/core/Planted.h", "  #  include <QtGui/QColor>\n", False),
    ("app/language/tests/PlantedTest.cpp", "#include <QWidget>\n", False),
    ("cli/Planted.cpp", "#include <QApplication>\n", False),
    ("cli/Planted.cpp", '#include "playback/audio/SdlAudioPlayer.h"\n', False),
    ("unlisted/Planted.cpp", "#include <vector>\n", False),
    # Includes the folders may use.
    ("media/Planted.cpp", "#include <libavutil/frame.h>\n#include <vector>\n", True),
    ("playback/audio/Planted.cpp", '#include "playback/AudioPlayer.h"\n#include <SDL.h>\n', True),
    ("burnin/Planted.cpp", '#include "media/Frame.h"\n#include <QPainter>\n', True),
    ("app/core/tests/PlantedTest.cpp", "#include <QGuiApplication>\n#include <gtest/gtest.h>\n", True),
    ("app/ui/Planted.cpp", '#include "app/core/Planted.h"\n#include <QMenu>\n', True),
    ("cli/Planted.cpp", '#include "burnin/Planted.h"\n#include <QGuiApplication>\n', True),
]


def copy_sources(destination):
    for relative_path in check_includes.source_files(ROOT):
        target = os.path.join(destination, relative_path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(os.path.join(ROOT, relative_path), target)


def write(root, relative_path, text):
    path = os.path.join(root, relative_path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as out:
        out.write(text)


def run_check(root):
    return subprocess.run([sys.executable, SCRIPT, "--root", root], capture_output=True, text=True, check=False)


class IncludeCheck(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory(prefix="orlisk-includes-")
        self.root = self.folder.name
        copy_sources(self.root)
        # Headers the planted files name, so they are project includes.
        for header in ("app/ui/Planted.h", "app/core/Planted.h", "burnin/Planted.h"):
            if not os.path.exists(os.path.join(self.root, header)):
                write(self.root, header, "#pragma once\n")

    def tearDown(self):
        self.folder.cleanup()

    def test_the_tree_as_it_is_passes(self):
        result = run_check(self.root)
        self.assertEqual(result.returncode, 0, result.stderr)

    def test_each_planted_include(self):
        for relative_path, text, passes in PLANTED:
            with self.subTest(file=relative_path, include=text.strip()):
                path = os.path.join(self.root, relative_path)
                existed = os.path.exists(path)
                write(self.root, relative_path, "#pragma once\n" + text)
                result = run_check(self.root)
                if existed:
                    write(self.root, relative_path, "#pragma once\n")
                else:
                    os.remove(path)
                if passes:
                    self.assertEqual(result.returncode, 0, result.stderr)
                else:
                    self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
                    self.assertIn(relative_path, result.stderr)

    def test_a_known_exception_that_is_gone_must_leave_the_list(self):
        relative_path, header = sorted(check_includes.KNOWN_EXCEPTIONS)[0]
        path = os.path.join(self.root, relative_path)
        with open(path, encoding="utf-8") as source:
            lines = [line for line in source if header not in line]
        with open(path, "w", encoding="utf-8") as out:
            out.writelines(lines)
        result = run_check(self.root)
        self.assertEqual(result.returncode, 1)
        self.assertIn("no longer includes " + header, result.stderr)


if __name__ == "__main__":
    unittest.main()
