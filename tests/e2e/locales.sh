#!/usr/bin/env bash
# Index "1,5" with distance 100 under a Czech and an English desktop: the same picture.
. "$(dirname "$0")/lib.sh"
start_display

run_in() {
    start_app LANG="$1" LC_ALL="$1"
    run_to_end "$E2E_WORK/$2.png" 1.5 100
    stop_app
}

run_in cs_CZ.UTF-8 cs
run_in en_US.UTF-8 en
expect_alpha "$E2E_WORK/cs.png" 458 191 # left of the normal at x = 478, over the prompt
expect_beta "$E2E_WORK/cs.png" 483 391
difference=$(compare -metric AE "$E2E_WORK/cs.png" "$E2E_WORK/en.png" null: 2>&1 || true)
[ "$difference" = 0 ] || fail "Czech and English pictures differ in $difference pixels"
echo "PASS: identical pictures under cs_CZ and en_US"
