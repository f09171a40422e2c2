#!/usr/bin/env python3
"""Checks the bytes of the shipping setup program, which this machine cannot run:
only i486 instructions; exactly the imports of the import table, whose rows need
a DLL of both the first Windows 95 and NT 3.51, NT 3.51 or older and Windows 95;
a PE header whose subsystem and OS versions both systems start; no static constructor in the objects linked in, as its own entry point runs none.

usage: check_shipping_program.py SETUP_EXE IMPORT_TABLE [OBJECT, LIBRARY OR FOLDER OF .obj...]
Prints each fault and exits 1, or 0 when there is none."""
import os
import re
import subprocess
import sys

SYSTEM_DLLS = "kernel32 user32 gdi32 advapi32 comctl32 comdlg32 shell32 ole32 crtdll"   # no msvcrt
# P5 (cmpxchg8b, rdtsc, cpuid), P6 (cmov, fcmov, fcomi, the long nop 0F 1F,
# sysenter) and later; "tzcnt" is rep bsf, which a 486 need not take as bsf.
NEWER_THAN_486 = re.compile(
    r"(cmov\w+|fcmov\w+|fu?comip?|cmpxchg(8|16)b|rdtscp?|rdpmc|cpuid|sys(enter|exit|call|ret)|nop\w*|ud1"
    r"|fx(save|rstor)|[ls]dmxcsr|prefetch\w*|movnti|[lms]fence|clflush\w*|popcnt|lzcnt|tzcnt|movbe|crc32"
    r"|fisttp\w*|endbr(32|64)|f?emms)$")
NEWER_REGISTER = re.compile(r"%[xyz]?mm\d")
# The header's versions: NT 3.51 refuses a program whose subsystem version is
# above its own (the linker's default is 4.0), and every Windows refuses one
# below 3.10. 3.10 is pinned for the OS version too, which neither system checks.
HEADER_VERSIONS = {"Subsystem": (2,), "SubsystemVersion": (3, 10), "OSystemVersion": (3, 10)}
PREFIXES = {"rep", "repz", "repe", "repnz", "repne", "lock", "data16", "addr16", "cs", "ds", "es", "fs", "gs", "ss"}


def objdump(*arguments):
    return subprocess.run(["i686-w64-mingw32-objdump", *arguments], check=True, capture_output=True, text=True).stdout


def instructions_newer_than_486(exe):
    found = []
    for line in objdump("-d", "--no-show-raw-insn", exe).splitlines():
        address, _, text = line.partition(":\t")
        words = [w for w in text.split() if w not in PREFIXES]
        # A bare nop is the one-byte 90; with an operand it is the long nop.
        newer = words and NEWER_THAN_486.match(words[0]) and words != ["nop"]
        if text and (newer or NEWER_REGISTER.search(text)):
            found.append("%s: %s" % (address.strip(), text.strip()))
    return found


def header_faults(exe):
    fields = dict(re.findall(r"^(\w+)\s+(\S+)", objdump("-p", exe), re.M))
    found = {"Subsystem": (int(fields.get("Subsystem", "0"), 16),)}
    for name in ("SubsystemVersion", "OSystemVersion"):
        found[name] = (int(fields.get("Major" + name, "-1")), int(fields.get("Minor" + name, "-1")))
    return ["PE header: %s is %s, not %s" % (name, ".".join(map(str, found[name])), ".".join(map(str, wanted)))
            for name, wanted in HEADER_VERSIONS.items() if found[name] != wanted]


def imports_of(exe):
    found, dll = set(), None
    for line in objdump("-p", exe).splitlines():
        name = re.match(r"\s*DLL Name: (\S+)", line)
        entry = re.match(r"\s+[0-9a-f]+\s+(\d+|<none>)\s+(\S+)\s*$", line)
        if name:
            dll = name.group(1).lower()
        elif dll and entry:
            found.add((dll, entry.group(2) if entry.group(1) != "<none>" else "ordinal " + entry.group(2)))
        elif line and not line[0].isspace():
            dll = None      # the next part of the listing
    return found


def read_table(path):
    rows, faults = set(), []
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        fields = line.split("#", 1)[0].split()
        if not fields:
            continue
        if not (len(fields) >= 5 and fields[0].lower().removesuffix(".dll") in SYSTEM_DLLS.split()
                and fields[2] in ("3.1", "3.5", "3.51") and fields[3] in ("95", "95-stub")):
            faults.append("%s:%d: not a function of a DLL of both systems with NT 3.51 or older, "
                          "Windows 95 and a source: %s" % (path, number, line.strip()))
            continue
        rows.add((fields[0].lower(), fields[1]))
    return rows, faults


def static_constructors(paths):
    files = [os.path.join(folder, name) for path in paths for folder, _, names in os.walk(path)
             for name in names if name.endswith(".obj")] + [path for path in paths if not os.path.isdir(path)]
    member, found = None, []
    for line in objdump("-h", *files).splitlines() if files else []:
        if "file format" in line:
            member = line.split(":")[0]
        elif re.match(r"\s*\d+\s+(\.ctors|\.init_array)", line):
            found.append(member)
    return found


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    exe, table = argv[1], argv[2]
    newer = instructions_newer_than_486(exe)
    imports = imports_of(exe)
    rows, faults = read_table(table)
    print("%s: %d instructions newer than the 486, %d imports from %s"
          % (exe, len(newer), len(imports), ", ".join(sorted({dll for dll, _ in imports}))))
    faults += header_faults(exe)
    faults += ["instruction newer than the 486 at " + found for found in newer[:20]]
    faults += ["import %s!%s has no row in %s: check which systems have it first" % (dll, function, table)
               for dll, function in sorted(imports - rows)]
    faults += ["%s lists %s!%s, which the program does not import" % (table, dll, function)
               for dll, function in sorted(rows - imports)]
    faults += ["%s holds a static constructor, which the program's entry point does not run" % member
               for member in static_constructors(argv[3:])]
    for fault in faults:
        print("FAULT: " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
