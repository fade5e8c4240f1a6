#!/usr/bin/python3
"""The 32-bit mibrek.exe calls Out32 as __stdcall, the convention of the Windows port library.

A stdcall callee pops its 8 bytes of arguments, so the caller reserves them again right after the
call (sub $0x8,%esp); after a cdecl call it would not. No run can tell: main restores its stack
pointer from the frame pointer on the way out. So this reads the code: in main, after the
reference to the name "Out32" (GetProcAddress's argument), the first call through a register is
the call of Out32, and the next instruction must be that sub.

	check_out32_call.py OBJDUMP EXE
"""
import re
import subprocess
import sys

import pefile

objdump, exe = sys.argv[1:]
pe = pefile.PE(exe)
name_va = None
for section in pe.sections:
    offset = section.get_data().find(b"\0Out32\0")
    if offset >= 0:
        name_va = pe.OPTIONAL_HEADER.ImageBase + section.VirtualAddress + offset + 1
        break
if name_va is None:
    sys.exit(f"{exe}: no string \"Out32\"")

code = subprocess.run([objdump, "-d", "--no-show-raw-insn", exe], check=True, capture_output=True,
                      text=True).stdout
instructions = [line.split("\t", 1)[1].strip() for line in code.splitlines()
                if re.match(r"^ +[0-9a-f]+:\t", line)]
lookup = next((i for i, insn in enumerate(instructions) if f"${name_va:#x}," in insn), None)
if lookup is None:
    sys.exit(f"{exe}: no instruction refers to \"Out32\" at {name_va:#x}")
call = next((i for i in range(lookup, len(instructions))
             if re.fullmatch(r"call +\*%e(ax|bx|cx|dx|si|di|bp)", instructions[i])), None)
if call is None:
    sys.exit(f"{exe}: no call through a register after the lookup of Out32")
after = instructions[call + 1]
print(f"Out32 is called with \"{instructions[call]}\", followed by \"{after}\"")
if not re.fullmatch(r"sub +\$0x8,%esp", after):
    sys.exit("the caller does not re-reserve the 8 bytes of arguments: Out32 is not called as __stdcall")
print("Out32 is called as __stdcall")
