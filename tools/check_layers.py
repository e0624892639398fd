#!/usr/bin/python3
"""Fails on an include that points up the program's layers, or that closes a
circle between folders.

    base/                               stands on nothing of the program
    audio/  skin/  web/  widgets/       stand on base/
    board/                              stands on base/ and audio/
    shell/                              the composition root: may include all

Names follow the folders: below shell/, no file may name the shell's
namespace, so a call that reads as reaching the composition root is one.

Prints the folder graph it found; exits 1 with each offending line."""
import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
MAY_INCLUDE = {
    "base": set(),
    "audio": {"base"},
    "skin": {"base"},
    "web": {"base"},
    "widgets": {"base"},
    "board": {"base", "audio"},
    "shell": {"base", "audio", "skin", "web", "widgets", "board"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([A-Za-z_]+)/[^">]+[">]')
SHELL_NAME = re.compile(r"\bshell::|\bnamespace\s+shell\b")


def edges():
    found = {}  # (from, to) -> first "file:line"
    bad = []
    for folder, allowed in MAY_INCLUDE.items():
        for f in sorted((ROOT / folder).glob("*")):
            if f.suffix not in (".h", ".cpp", ".S", ".rc"):
                continue
            for n, line in enumerate(f.read_text(encoding="utf-8").splitlines(), 1):
                code = line.split("//", 1)[0]
                if folder != "shell" and SHELL_NAME.search(code):
                    bad.append(f"{f.relative_to(ROOT)}:{n}: {folder}/ may not name the shell's namespace ({line.strip()})")
                m = INCLUDE.match(line)
                if not m or m.group(1) not in MAY_INCLUDE or m.group(1) == folder:
                    continue
                to = m.group(1)
                where = f"{f.relative_to(ROOT)}:{n}"
                found.setdefault((folder, to), where)
                if to not in allowed:
                    bad.append(f"{where}: {folder}/ may not include {to}/ ({line.strip()})")
    return found, bad


def circles(found):
    graph = {}
    for a, b in found:
        graph.setdefault(a, set()).add(b)
    out, state = [], {}

    def visit(node, path):
        state[node] = 1
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == 1:
                out.append(" -> ".join(path[path.index(nxt):] + [nxt]))
            elif not state.get(nxt):
                visit(nxt, path + [nxt])
        state[node] = 2

    for node in sorted(graph):
        if not state.get(node):
            visit(node, [node])
    return out


def main():
    found, bad = edges()
    for a, b in sorted(found):
        print(f"  {a}/ -> {b}/   (first: {found[(a, b)]})")
    for c in circles(found):
        bad.append(f"circle between folders: {c}")
    for b in bad:
        print("LAYERS: " + b, file=sys.stderr)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
