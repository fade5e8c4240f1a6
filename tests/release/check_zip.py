#!/usr/bin/python3
"""The Windows zip: three files in one folder, texts with Windows line ends, and a mibrek.exe that
is a stripped 32-bit console program with the project's version, an asInvoker manifest naming
the supported Windows versions, no time stamp, and only Windows system DLLs imported.

	check_zip.py ZIP VERSION
"""
import sys
import xml.etree.ElementTree as ET
import zipfile

import pefile

zip_path, version = sys.argv[1:]
folder = f"mibrek-{version}-win32/"
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


archive = zipfile.ZipFile(zip_path)
files = sorted(n for n in archive.namelist() if not n.endswith("/"))
check(files == [folder + n for n in ("LICENSE.txt", "README.txt", "mibrek.exe")],
      f"the zip holds {folder} with mibrek.exe, README.txt and LICENSE.txt: {files}")
for name in ("README.txt", "LICENSE.txt"):
    text = archive.read(folder + name)
    check(text.count(b"\n") > 0 and text.count(b"\n") == text.count(b"\r\n") and text.endswith(b"\r\n"),
          f"{name} ends every line with CR LF")

pe = pefile.PE(data=archive.read(folder + "mibrek.exe"))
check(pe.FILE_HEADER.Machine == pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"], "mibrek.exe is 32-bit x86")
check(pe.OPTIONAL_HEADER.Subsystem == pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_CUI"],
      "mibrek.exe is a console program")
check(pe.FILE_HEADER.TimeDateStamp == 0, f"no link time in the header: {pe.FILE_HEADER.TimeDateStamp:#x}")
check(pe.FILE_HEADER.PointerToSymbolTable == 0 and pe.FILE_HEADER.NumberOfSymbols == 0, "stripped")

imports = sorted(entry.dll.decode() for entry in pe.DIRECTORY_ENTRY_IMPORT)
check(imports == ["KERNEL32.dll", "msvcrt.dll"], f"imports only KERNEL32.dll and msvcrt.dll: {imports}")

fixed = pe.VS_FIXEDFILEINFO[0]
numbers = [int(n) for n in version.split(".")] + [0]
packed = ((numbers[0] << 16) | numbers[1], (numbers[2] << 16) | numbers[3])
check((fixed.FileVersionMS, fixed.FileVersionLS) == packed, "the binary file version is the project's")
check((fixed.ProductVersionMS, fixed.ProductVersionLS) == packed, "the binary product version is the project's")
strings = {}
for info in pe.FileInfo[0]:
    if info.Key == b"StringFileInfo":
        for table in info.StringTable:
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
for key, want in (("FileVersion", version), ("ProductVersion", version), ("ProductName", "mibrek"),
                  ("OriginalFilename", "mibrek.exe")):
    check(strings.get(key) == want, f"{key} is {want!r}: {strings.get(key)!r}")
check(bool(strings.get("FileDescription")), f"it has a description: {strings.get('FileDescription')!r}")

manifests = [entry for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries
             if entry.id == pefile.RESOURCE_TYPE["RT_MANIFEST"]]
check(len(manifests) == 1 and [e.id for e in manifests[0].directory.entries] == [1],
      "one application manifest, resource 1 of type RT_MANIFEST")
leaf = manifests[0].directory.entries[0].directory.entries[0].data.struct
manifest = pe.get_data(leaf.OffsetToData, leaf.Size)
try:
    root = ET.fromstring(manifest)
except ET.ParseError as error:
    check(False, f"the manifest is well-formed XML: {error}")
    sys.exit(1)
check(True, "the manifest is well-formed XML")
levels = [e.get("level") for e in root.iter("{urn:schemas-microsoft-com:asm.v3}requestedExecutionLevel")]
check(levels == ["asInvoker"], f"the manifest asks for asInvoker: {levels}")
systems = [e.get("Id") for e in root.iter("{urn:schemas-microsoft-com:compatibility.v1}supportedOS")]
windows_10 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"
check(windows_10 in systems, f"the manifest names the supported Windows versions, up to 10 and 11: {systems}")

sys.exit(1 if failures else 0)
