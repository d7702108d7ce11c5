#!/usr/bin/env python3
"""Counts writes to a subsystem's record made outside the subsystem that owns it.

Each record has one owner folder under src/. A write is an assignment (=, +=, ...), an increment or a
decrement whose target starts at the record: its accessor (View(), Settings(), PanelState(), State().X) or
a local reference bound to it (ViewState& view = View();). Writes inside the owner folder are the owner's
own; every other one is listed with its place. Usage: scripts/count_outside_writes.py [SRC] [--list]
"""
import pathlib
import re
import sys

# record type, accessor call, owner folder; Plugin-level fields (State().trackerToggleState, ...) are the
# host integration's.
RECORDS = [
    ("ViewState", r"View\(\)", "view"),
    ("SetupSettings", r"Settings\(\)", "config"),
    ("Panels", r"PanelState\(\)", "ui"),
    ("Plugin", r"State\(\)", "plugin"),
]
WRITE = r"(?:\.[A-Za-z_]\w*|\[[^\]]*\])+\s*(?:[-+*/%&|^]?=(?!=)|\+\+|--)"


def count(src: pathlib.Path, show: bool) -> int:
    total = 0
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".cpp", ".h"):
            continue
        folder = path.relative_to(src).parts[0]
        text = path.read_text(encoding="utf-8", errors="replace")
        for record, accessor, owner in RECORDS:
            if folder == owner:
                continue
            # Local names bound to the record: "ViewState& view = View();" and the like.
            names = set(re.findall(r"\b" + record + r"\s*&\s*(\w+)\s*=", text))
            bases = [accessor] + [r"\b" + re.escape(n) + r"\b" for n in names]
            # And names bound to a part of it: "HeadPose& pose = view.workingPose;".
            part = re.compile(r"&\s*(\w+)\s*=\s*(?:" + "|".join(bases) + r")(?:\.\w+|\[[^\]]*\])+\s*;")
            bases += [r"\b" + re.escape(n) + r"\b" for n in set(part.findall(text))]
            pattern = re.compile(r"(?:" + "|".join(bases) + r")" + WRITE)
            for number, line in enumerate(text.splitlines(), 1):
                stripped = line.split("//", 1)[0]
                for match in pattern.finditer(stripped):
                    total += 1
                    if show:
                        print(f"{path}:{number}: {record}: {match.group(0).strip()}")
    return total


def main() -> int:
    args = [a for a in sys.argv[1:] if a != "--list"]
    src = pathlib.Path(args[0] if args else pathlib.Path(__file__).resolve().parent.parent / "src")
    print(f"{count(src, '--list' in sys.argv)} writes to a record outside its owner")
    return 0


if __name__ == "__main__":
    sys.exit(main())
