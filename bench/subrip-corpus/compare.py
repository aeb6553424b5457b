#!/usr/bin/python3
"""Reads the SubRip files of manifest.tsv with this program's reader (a file
without a companion, as bench/subrip_cues prints it), with ffmpeg's srt
demuxer and with python3-srt, and says per file whether the subtitles (count,
begin and end in ms, text) are the same.

Each reader gets the file in the manifest's character set. ffmpeg is given the
file converted to UTF-8 and its demuxer's packets are copied out
(-c:s copy): its -sub_charenc option converts in the decoder, which also
rewrites markup and spaces, so this compares reading alone. Texts are compared
line by line without trailing blanks, blank lines left out (readers differ in
whether a line of spaces is text).

  compare.py CORPUS_FOLDER READER [READER ...]     READER: a subrip_cues binary
"""
import csv
import datetime
import json
import logging
import os
import subprocess
import sys
import tempfile

try:
    import srt  # python3-srt
    logging.getLogger("srt").setLevel(logging.ERROR)
except ImportError:
    srt = None

HERE = os.path.dirname(os.path.abspath(__file__))


def normalise(text):
    lines = [line.rstrip() for line in text.replace("\r\n", "\n").split("\n")]
    return "\n".join(line for line in lines if line.strip())


def cues_of(items):
    return [(b, e, normalise(t)) for b, e, t in items]


def read_ours(binary, path, charset):
    run = subprocess.run([binary, path, charset], capture_output=True, timeout=60)
    if run.returncode != 0:
        return None
    rows = [json.loads(line) for line in run.stdout.decode("utf-8").splitlines() if line]
    return cues_of((r["begin"], r["end"], r["text"]) for r in rows)


def ms(stamp):
    h, m, rest = stamp.split(":")
    s, milli = rest.split(",")
    sign = -1 if h.startswith("-") else 1
    return sign * (abs(int(h)) * 3600000 + int(m) * 60000 + int(s) * 1000 + int(milli))


def read_ffmpeg(text):
    with tempfile.NamedTemporaryFile(suffix=".srt") as utf8:
        utf8.write(text.encode("utf-8"))
        utf8.flush()
        run = subprocess.run(["ffmpeg", "-v", "error", "-f", "srt", "-i", utf8.name, "-c:s", "copy", "-f", "srt", "-"],
                             capture_output=True, timeout=60)
    if run.returncode != 0:
        return None
    cues, lines = [], run.stdout.decode("utf-8", "replace").split("\n")
    i = 0
    while i < len(lines):
        if not lines[i].strip():
            i += 1
            continue
        begin, end = lines[i + 1].split(" --> ")
        end = end.split()[0]  # coordinates may follow
        i += 2
        body = []
        while i < len(lines) and lines[i] != "":
            body.append(lines[i])
            i += 1
        cues.append((ms(begin), ms(end), "\n".join(body)))
    return cues_of(cues)


def read_python_srt(text):
    if srt is None:
        return None
    try:
        subs = list(srt.parse(text, ignore_errors=True))
    except Exception:
        return None
    to_ms = lambda delta: round(delta / datetime.timedelta(milliseconds=1))
    return cues_of((to_ms(s.start), to_ms(s.end), s.content) for s in subs)


def first_difference(a, b):
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return f"cue {i + 1}: {x!r} / {y!r}"
    return f"{len(a)} / {len(b)} cues"


def verdict(ours, other):
    """same, failed, or why the two differ where a known habit explains it."""
    if other is None:
        return "-"
    if ours is None or (not ours and other):
        return "failed"
    if ours == other:
        return "same"
    filled = [cue for cue in ours if cue[2]]
    if filled == other:
        return "differs: empty cues dropped"  # ffmpeg drops subtitles without text
    if sorted(ours) == sorted(other) or sorted(filled) == sorted(other):
        return "differs: sorted by time"  # ffmpeg's queue sorts by begin time
    return "differs"


def main():
    folder, readers = sys.argv[1], sys.argv[2:]
    totals = {r: {} for r in readers}
    with open(os.path.join(HERE, "manifest.tsv"), newline="") as manifest:
        entries = [row for row in csv.reader(manifest, delimiter="\t") if not row[0].startswith("#")]
    for repo, _commit, path, charset, _sha1 in entries:
        file = os.path.join(folder, repo.replace("/", "+"), path)
        text = open(file, "rb").read().decode(charset).lstrip("\ufeff")
        ffmpeg, python_srt = read_ffmpeg(text), read_python_srt(text)
        print(f"{repo}/{path} [{charset}] ffmpeg {len(ffmpeg) if ffmpeg is not None else 'failed'}"
              f", python3-srt {len(python_srt) if python_srt is not None else 'failed'} cues")
        for reader in readers:
            ours = read_ours(reader, file, charset)
            against = {"ffmpeg": verdict(ours, ffmpeg), "python3-srt": verdict(ours, python_srt)}
            for name, v in against.items():
                totals[reader].setdefault(name, {}).setdefault(v, 0)
                totals[reader][name][v] += 1
            either = "same" if "same" in against.values() else "differs"
            totals[reader].setdefault("either", {}).setdefault(either, 0)
            totals[reader]["either"][either] += 1
            notes = []
            if against["ffmpeg"] in ("differs", "failed"):
                notes.append("ffmpeg " + first_difference(ours or [], ffmpeg))
            if against["python3-srt"] in ("differs", "failed"):
                notes.append("python3-srt " + first_difference(ours or [], python_srt))
            print(f"  {os.path.basename(reader)}: {len(ours) if ours is not None else 'error'} cues; "
                  f"ffmpeg {against['ffmpeg']}, python3-srt {against['python3-srt']}")
            for note in notes:
                print("    " + note[:300])
    print(f"\n{len(entries)} files")
    for reader in readers:
        print(f"{reader}:")
        for name, counts in totals[reader].items():
            print(f"  against {name}: " + ", ".join(f"{v} {k}" for k, v in sorted(counts.items())))


if __name__ == "__main__":
    main()
