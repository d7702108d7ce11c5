#!/usr/bin/env python3
"""Counts writes to a subsystem's record made outside the subsystem that owns it.

Each record has one owner folder under src/. A write is an assignment (=, +=, ...), an increment or a
decrement whose target starts at the record: its accessor (View(), Settings(), PanelState(), Menu(),
HostFunctions(), TrackerClient(), External(), State().X, State().view.X, ...), a local reference bound to
it (ViewState& view = View();) or a reference bound to a part of it, wherever the part stands in the
initialiser (HeadPose& pose = on ? view.continuousRates : view.workingPose;), in which case assigning the
whole part (pose = HeadPose{};) is a write too. Taking the address of a record or of a part of it (&view.x,
view.presets.data()) counts as a write as well, since anything may be written through the pointer. Writes
inside the owner folder are the owner's own; every other one is listed with its place.

Not seen: a part handed to a function that takes it by non-const reference (Fill(View().presets)); keep
such calls inside the owner. Usage: scripts/count_outside_writes.py [SRC] [--list]
"""
import pathlib
import re
import sys

# record type, accessor expressions, owner folder. The Plugin aggregate holds the other records; its own
# fields (State().trackerToggleState, State().paths, ...) are the host integration's.
RECORDS = [
    ("ViewState", [r"\bView\(\)", r"\bState\(\)\.view\b"], "view"),
    ("SetupSettings", [r"\bSettings\(\)", r"\bState\(\)\.setup\b"], "config"),
    ("Panels", [r"\bPanelState\(\)", r"\bState\(\)\.panels\b"], "ui"),
    ("PluginMenu", [r"\bMenu\(\)", r"\bState\(\)\.menu\b"], "plugin"),
    ("OptionalHostFunctions", [r"\bHostFunctions\(\)", r"\bState\(\)\.hostFunctions\b"], "plugin"),
    ("TrackIrClient", [r"\bTrackerClient\(\)", r"\bState\(\)\.tracker\b"], "tracker"),
    ("ExternalData", [r"\bExternal\(\)", r"\bState\(\)\.external\b"], "tracker"),
    ("Plugin", [r"\bState\(\)(?!\.(?:view|setup|panels|menu|hostFunctions|tracker|external)\b)"], "plugin"),
]
SELECTORS = r"(?:\.[A-Za-z_]\w*|\[[^\]]*\])"
ASSIGN = r"\s*(?:[-+*/%&|^]?=(?!=)|\+\+|--)"


def strip_comments(text: str) -> list[str]:
    return [line.split("//", 1)[0] for line in text.splitlines()]


def count(src: pathlib.Path, show: bool) -> int:
    total = 0
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".cpp", ".h"):
            continue
        folder = path.relative_to(src).parts[0]
        lines = strip_comments(path.read_text(encoding="utf-8", errors="replace"))
        code = "\n".join(lines)
        for record, accessors, owner in RECORDS:
            if folder == owner:
                continue
            # Names bound to the whole record: "ViewState& view = View();" and the like.
            names = set(re.findall(r"\b" + record + r"\s*&\s*(\w+)\s*=", code))
            bases = accessors + [r"\b" + re.escape(n) + r"\b" for n in names]
            base = r"(?:" + "|".join(bases) + r")"
            # Names bound to a part of it, anywhere in the initialiser: "HeadPose& pose = view.workingPose;".
            parts = set(re.findall(r"&\s*(\w+)\s*=[^;]*?" + base + SELECTORS + r"+[^;]*;", code))
            part = r"(?:" + "|".join(r"\b" + re.escape(n) + r"\b" for n in parts) + r")" if parts else None
            patterns = [re.compile(r"(?<![\w.])" + base + SELECTORS + r"+" + ASSIGN)]
            patterns.append(re.compile(r"(?<![&\w.])\s*\b" + base + ASSIGN))  # the whole record
            patterns.append(re.compile(r"(?<![&\w])&\s*" + base + SELECTORS + r"*(?!\w)"))  # its address
            patterns.append(re.compile(base + SELECTORS + r"*\.data\(\)"))
            if part:
                patterns.append(re.compile(r"(?<![\w.])" + part + SELECTORS + r"*" + ASSIGN))
                patterns.append(re.compile(r"(?<![&\w])&\s*" + part + SELECTORS + r"*(?!\w)"))
            for number, line in enumerate(lines, 1):
                # A declaration binding a name is not a write through it.
                line = re.sub(r"&\s*\w+\s*=(?!=)", "& _bound_ =", line)
                seen = set()
                for pattern in patterns:
                    for match in pattern.finditer(line):
                        if match.start() in seen:
                            continue
                        seen.add(match.start())
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
