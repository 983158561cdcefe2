#!/usr/bin/env python3
"""The renderer's stages include only earlier stages.

runtime/render/ holds one folder per stage, in the order below; a file
includes headers of its own stage or of earlier ones, by their path from
runtime/render/ ("values/records.h"), never a later stage's. Also kept:
no folder of runtime/ over 15 source files, no source file of runtime/
over 400 lines.
Prints each breach as FILE:LINE: problem and fails when there is one.
"""
import pathlib
import re
import sys

STAGES = ["model", "text", "values", "layout", "compile", "paint", "widgets", "frame",
          "output", "commands"]
MAX_FILES = 15
MAX_LINES = 400

runtime = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path("runtime")
render = runtime / "render"
problems = []
headers = {p.name for stage in STAGES for p in (render / stage).glob("*.h")}
include = re.compile(r'^\s*#\s*include\s+"([^"]+)"')

for stage in STAGES:
    folder = render / stage
    if not folder.is_dir():
        problems.append(f"{folder}: stage folder missing")
        continue
    for path in sorted(folder.iterdir()):
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            m = include.match(line)
            if not m:
                continue
            target = m.group(1)
            head = target.split("/")[0]
            if "/" in target and head in STAGES:
                if STAGES.index(head) > STAGES.index(stage):
                    problems.append(f"{path}:{number}: {stage} includes the later stage {target}")
            elif target in headers:
                problems.append(f"{path}:{number}: {target} named without its stage folder")

for folder in sorted({p.parent for p in runtime.rglob("*") if p.is_file()}):
    files = [p for p in folder.iterdir() if p.is_file() and p.suffix in (".cpp", ".h")]
    if len(files) > MAX_FILES:
        problems.append(f"{folder}: {len(files)} source files, more than {MAX_FILES}")
for path in sorted(runtime.rglob("*")):
    if path.suffix in (".cpp", ".h"):
        lines = len(path.read_text(encoding="utf-8").splitlines())
        if lines > MAX_LINES:
            problems.append(f"{path}: {lines} lines, more than {MAX_LINES}")

for p in problems:
    print(p)
sys.exit(1 if problems else 0)
