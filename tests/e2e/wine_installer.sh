#!/usr/bin/env bash
# The Windows installer under Wine: /S puts fotonar.exe under Program Files, the Start-menu
# shortcut and the Apps entry in place, the installed program opens its window, and the
# uninstaller's /S takes them all away again.
. "$(dirname "$0")/wine_lib.sh"
require_wine
SETUP=$(ls "$(dirname "$FOTONAR_EXE")"/fotonar-*-setup.exe 2>/dev/null | head -n 1)
[ -n "$SETUP" ] || { echo "SKIP: no installer next to $FOTONAR_EXE (make windows)"; exit 77; }
own_prefix # installs nothing into the shared prefix
start_display

installed="$WINEPREFIX/drive_c/Program Files/Fotonar"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Fotonar.lnk"
apps_entry='Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Fotonar'

wine "$SETUP" /S >/dev/null 2>&1 || fail "the silent install failed"
wineserver -w
[ -f "$installed/fotonar.exe" ] || fail "no fotonar.exe under Program Files"
[ -f "$installed/uninstall.exe" ] || fail "no uninstaller"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
grep -A12 "$apps_entry" "$WINEPREFIX/system.reg" >"$E2E_WORK/entry"
for value in '"DisplayName"="Fotonar"' '"Publisher"="The Fotonar developers"' \
             '"DisplayVersion"=' '"DisplayIcon"=' '"EstimatedSize"=dword:' '"QuietUninstallString"='; do
    grep -qF "$value" "$E2E_WORK/entry" || fail "the Apps entry has no $value"
done

FOTONAR_EXE="$installed/fotonar.exe" start_wine_app
stop_wine_app

wine "$installed/uninstall.exe" /S >/dev/null 2>&1 || fail "the silent uninstall failed"
wineserver -w
# The uninstaller works from a copy of itself, which may still be finishing.
deadline=$((SECONDS + 60))
while [ -e "$installed" ] && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
wineserver -w
[ ! -e "$installed" ] || fail "Program Files\\Fotonar is still there: $(ls "$installed")"
[ ! -e "$shortcut" ] || fail "the shortcut is still there"
! grep -q "$apps_entry" "$WINEPREFIX/system.reg" || fail "the Apps entry is still there"
echo "PASS: silent install, the installed program, silent uninstall"
