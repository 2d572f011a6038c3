#!/usr/bin/env bash
# Makes the Wine prefix the Windows tests share: Liberation Serif for "Times New Roman" (Wine
# would take Liberation Sans), Liberation Sans for Arial, and the classic caption-text and
# application-workspace colours, as the Linux build has them.
. "$(dirname "$0")/wine_lib.sh"
require_wine --no-prefix
start_display
# The prefix of an earlier round goes once no server of it is left: one that is still going
# down writes the registry into the prefix while it is removed and made again.
if [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
fi
rm -rf "$WINEPREFIX"
# No .NET or HTML engine: the program needs neither, and Wine would offer to download them.
WINEDLLOVERRIDES="mscoree=;mshtml=" wineboot --init >"$E2E_WORK/wineboot.log" 2>&1 \
    || fail "wineboot failed: $(tr '\n' ' ' <"$E2E_WORK/wineboot.log")"
import_registry <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Times New Roman"="Liberation Serif"
"Arial"="Liberation Sans"

[HKEY_CURRENT_USER\Control Panel\Colors]
"TitleText"="255 255 255"
"AppWorkspace"="128 128 128"
REG
grep -q 'Liberation Serif' "$WINEPREFIX/user.reg" || fail "the font replacement did not take"
echo "PASS: Wine prefix at $WINEPREFIX"
