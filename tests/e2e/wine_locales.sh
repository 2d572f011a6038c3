#!/usr/bin/env bash
# Index "1,5" with distance 100 under a Czech and an English Windows locale: the field is written
# and read back with the locale's decimal separator, and both runs draw index 1,5 at distance
# 100 (the normal at x = 478), with α whole over the prompt left of it and β right of it.
. "$(dirname "$0")/wine_lib.sh"
require_wine
start_display

for lang in cs_CZ.UTF-8 en_US.UTF-8; do
    start_wine_app LANG="$lang" LC_ALL="$lang"
    run_to_end "$E2E_WORK/$lang.png" 1.5 100
    expect_pixel "$E2E_WORK/$lang.png" 478 120 128,128,128 "the normal of index 1,5 under $lang"
    expect_alpha "$E2E_WORK/$lang.png" 458 191
    expect_beta "$E2E_WORK/$lang.png" 483 391
    stop_wine_app
done
echo "PASS: index 1,5 under Czech and English locales"
