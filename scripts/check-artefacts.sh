#!/usr/bin/env bash
# Checks the shipped 32-bit files: PE32 GUI programs and libraries that import only
# system DLLs, and plug-ins whose entry point is exported as exactly "_GetDLLInfo".
# Prints "ok <check>" or "FAIL <check>: <why>" per check.
bin=$1
objdump=i686-w64-mingw32-objdump
system_dlls='^(kernel32|user32|gdi32|advapi32|shell32|shlwapi|ole32|oleaut32|comctl32|comdlg32|uuid|msvcrt|version|urlmon|wininet|winmm|ws2_32|rpcrt4|userenv|psapi|hlink)\.dll$'

check() {  # name condition-output
  if [ -z "$2" ]; then echo "ok $1"; else echo "FAIL $1: $2"; fi
}

for f in "$bin"/morvel.exe "$bin"/stelmar.exe "$bin"/vktcheck.exe "$bin"/*.vkp; do
  [ -f "$f" ] || continue
  name=$(basename "$f")
  dump=$($objdump -p "$f")
  check "$name is PE32 i386" "$($objdump -f "$f" | grep -q 'file format pei-i386' || echo "not pei-i386")"
  case "$name" in
    vktcheck.exe) check "$name is a console program" "$(grep -q 'Subsystem.*(Windows CUI)' <<<"$dump" || echo "subsystem is not console")" ;;
    *.exe) check "$name is a GUI program" "$(grep -q 'Subsystem.*(Windows GUI)' <<<"$dump" || echo "subsystem is not GUI")" ;;
  esac
  bad=$(grep -oE 'DLL Name: .*' <<<"$dump" | sed 's/DLL Name: //' | tr 'A-Z' 'a-z' | grep -vE "$system_dlls" | tr '\n' ' ')
  check "$name imports only system DLLs" "${bad:+imports $bad}"
  case "$name" in
    test_noentry.vkp) ;;  # the test library without an entry point
    *.vkp)
      exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | grep -oE '\] [^ ]+$' | sed 's/^\] //')
      check "$name exports _GetDLLInfo" "$(grep -qx '_GetDLLInfo' <<<"$exports" || echo "exports: $(echo $exports)")"
      ;;
  esac
done

# The Windows test programs are the 32-bit build too: what the tests ran is what users get.
for f in "$bin"/*_tests.exe; do
  [ -f "$f" ] || continue
  check "$(basename "$f") is PE32 i386" "$(i686-w64-mingw32-objdump -f "$f" | grep -q 'file format pei-i386' || echo "not pei-i386")"
done

# The manifest of the programs, and version information in every shipped file (morvel.exe
# and stelmar.exe carry theirs in their own resource scripts).
for f in "$bin"/morvel.exe "$bin"/stelmar.exe "$bin"/vktcheck.exe "$bin"/orvane.vkp; do
  [ -f "$f" ] || continue
  name=$(basename "$f")
  case "$name" in
    morvel.exe|stelmar.exe)
      check "$name has a manifest for common controls 6, asInvoker" \
        "$(strings "$f" | tr -d '\n' | grep -q 'Microsoft.Windows.Common-Controls.*asInvoker' || echo "no such manifest")" ;;
  esac
  # VS_VERSION_INFO is stored as UTF-16.
  check "$name has version information" "$(strings -el "$f" | grep -qx 'VS_VERSION_INFO' || echo "none")"
done
