#!/usr/bin/env python3
"""Reads the manifest (resource type 24, id 1) back out of built setup programs
and checks it with an XML parser: execution level, the systems named, no DPI
awareness or common controls 6, one namespace declaration at most on any element
(two on trustInfo make Windows XP SP2 restart) and what XP's parser refuses.

usage: check_manifest.py SETUP_EXE...     Prints each fault; exits 1 on any."""
import re
import struct
import sys
import xml.etree.ElementTree as ElementTree
import xml.parsers.expat

V1, V3, COMPATIBILITY = ("{urn:schemas-microsoft-com:%s}" % n for n in ("asm.v1", "asm.v3", "compatibility.v1"))
SYSTEMS = {"{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Vista", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "7",
           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "8", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "8.1",
           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "10 and 11"}
PROCESSORS = {0x14C: "x86", 0x8664: "amd64"}     # PE machine: the processorArchitecture it needs
REFUSED = {"dpiAware", "dpiAwareness", "gdiScaling", "dependency"}


def manifests(data):
    """The PE machine and the data of every resource of type 24, as (id, bytes)."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    machine, count, _, _, _, optional_size = struct.unpack_from("<HHIIIH", data, pe + 4)
    optional = pe + 24
    rsrc = struct.unpack_from("<I", data, optional + (96 if data[optional] == 0x0B and data[optional + 1] == 1
                                                       else 112) + 16)[0]
    sections = [struct.unpack_from("<IIII", data, optional + optional_size + 40 * i + 8) for i in range(count)]
    at = lambda rva: next(raw + rva - start for size, start, raw_size, raw in sections
                          if start <= rva < start + max(size, raw_size))
    base = at(rsrc)

    def entries(offset):
        named, numbered = struct.unpack_from("<HH", data, offset + 12)
        return [struct.unpack_from("<II", data, offset + 16 + 8 * i) for i in range(named + numbered)]
    found = []
    for kind, types in entries(base):
        for ident, languages in entries(base + (types & 0x7FFFFFFF)) if kind == 24 else []:
            for _, leaf in entries(base + (languages & 0x7FFFFFFF)):
                rva, size = struct.unpack_from("<II", data, base + leaf)
                found.append((ident, data[at(rva):at(rva) + size]))
    return machine, found


def faults_of(text, processor):
    faults = [] if re.match(rb'<\?xml version="1\.0" encoding="UTF-8"( standalone="yes")?\?>', text) else \
        ["no XML declaration of version 1.0 and UTF-8 at the very start"]
    parser = xml.parsers.expat.ParserCreate()
    parser.StartElementHandler = lambda name, attributes: faults.extend(
        ["<%s> declares more than one namespace" % name] if sum(a.startswith("xmlns") for a in attributes) > 1 else [])
    try:
        parser.Parse(text, True)
        root = ElementTree.fromstring(text)
    except xml.parsers.expat.ExpatError as error:
        return faults + ["not well-formed XML: %s" % error]
    identity = root.find(V1 + "assemblyIdentity")
    found = [(root.tag, root.get("manifestVersion"))]
    found += [(identity.get("type"), identity.get("processorArchitecture"),
               bool(re.fullmatch(r"\d+(\.\d+){3}", identity.get("version") or "")) and
               max(map(int, identity.get("version").split("."))) <= 0xFFFF)
              if identity is not None else None]
    found += [[(e.get("level"), e.get("uiAccess")) for e in root.iter() if e.tag.endswith("}requestedExecutionLevel")],
              len(root.findall("%strustInfo/%ssecurity/%srequestedPrivileges/%srequestedExecutionLevel" % ((V3,) * 4)))]
    found += [sorted(SYSTEMS.get(e.get("Id"), e.get("Id")) for e in
                     root.findall("%scompatibility/%sapplication/%ssupportedOS" % ((COMPATIBILITY,) * 3)))]
    found += [sorted({e.tag.rpartition("}")[2] for e in root.iter()} & REFUSED)]
    wanted = [(V1 + "assembly", "1.0"), ("win32", processor, True), [("highestAvailable", "false")], 1,
              sorted(SYSTEMS.values()), []]
    names = ["root and manifestVersion", "assemblyIdentity type, processor, version", "execution levels and uiAccess",
             "execution levels in asm.v3 trustInfo/security/requestedPrivileges", "supportedOS",
             "DPI awareness or dependencies"]
    return faults + ["%s: %s, not %s" % (n, f, w) for n, f, w in zip(names, found, wanted) if f != w]


def main(paths):
    failed = 0
    for path in paths:
        machine, found = manifests(open(path, "rb").read())
        faults = ["resources of type 24: %s, not id 1 alone" % [i for i, _ in found]] if [i for i, _ in found] != [1] \
            else faults_of(found[0][1], PROCESSORS.get(machine, hex(machine)))
        print("%s: %s" % (path, "the manifest holds every fact" if not faults else "; ".join(faults)))
        failed |= bool(faults)
    return 1 if failed or not paths else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
