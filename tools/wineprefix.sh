#!/bin/bash
# Prepare a Wine prefix for the GUI tests: fonts the program asks for, a
# virtual desktop (frames and deterministic focus on a bare X server) and the
# default printer, which writes PostScript to a file.
# Usage: tools/wineprefix.sh PREFIX   — idempotent, prints nothing on success.
set -euo pipefail

prefix=${1:?usage: wineprefix.sh PREFIX}
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
export WINEPREFIX=$prefix WINEDEBUG=-all LC_ALL=C.UTF-8
# No Mono or Gecko installer prompts while the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="

log=$(mktemp)
trap 'rm -f "$log"' EXIT
run() {
  if ! "$@" >"$log" 2>&1; then
    cat "$log" >&2
    echo "wineprefix.sh: failed: $*" >&2
    exit 1
  fi
}

if [ ! -f "$prefix/system.reg" ]; then
  run wineboot --init
  # The registry files are written only when the server exits.
  run wineserver -w
fi

fonts=$prefix/drive_c/windows/Fonts
mkdir -p "$fonts"
for f in tahoma.ttf tahomabd.ttf marlett.ttf; do
  for dir in /usr/share/wine/fonts /usr/lib/wine/fonts; do
    if [ -f "$dir/$f" ]; then
      cmp -s "$dir/$f" "$fonts/$f" || cp "$dir/$f" "$fonts/$f"
      break
    fi
  done
done

if ! grep -q '"Courier New"="Liberation Mono"' "$prefix/user.reg" 2>/dev/null ||
   ! grep -q '"Default"="1280x1024"' "$prefix/user.reg" 2>/dev/null; then
  run wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /t REG_SZ /d 'Liberation Mono' /f
  run wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f
  run wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x1024 /f
  run wineserver -w
fi

# The test printer: Wine's PostScript driver writes a job to a file once it
# has a PPD, so a printer on the port FILE: with a small PPD is the default.
printer="Velmora Test Printer"
if ! grep -q "^\"device\"=\"$printer," "$prefix/user.reg" 2>/dev/null; then
  here=$(cd "$(dirname "$0")" && pwd)
  drivers=$prefix/drive_c/windows/system32/spool/drivers/x64/3
  mkdir -p "$drivers"
  cp "$here/printer/velmora-test.ppd" "$drivers/velmora-test.ppd"
  tool=$(mktemp -d)
  trap 'rm -rf "$log" "$tool"' EXIT
  run x86_64-w64-mingw32-gcc-posix -O1 -o "$tool/addprinter.exe" "$here/printer/addprinter.c" -lwinspool
  run wine "$tool/addprinter.exe" velmora-test.ppd "$printer"
  run wineserver -w
fi
