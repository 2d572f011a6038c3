#!/usr/bin/env bash
# `cmake --install` into a scratch prefix puts the program, its desktop entry, icon and
# metainfo where a desktop looks for them, its manual page, copyright and changelog, and nothing
# of the tests or the benchmark.
set -euo pipefail
build=${1:?build directory}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
expected="bin/fotonar
share/applications/org.example.fotonar.desktop
share/doc/fotonar/changelog.gz
share/doc/fotonar/copyright
share/icons/hicolor/scalable/apps/org.example.fotonar.svg
share/man/man1/fotonar.1.gz
share/metainfo/org.example.fotonar.metainfo.xml"
actual=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)
if [ "$actual" != "$expected" ]; then
    echo "FAIL: installed files differ"
    diff <(echo "$expected") <(echo "$actual") || true
    exit 1
fi
[ -x "$prefix/bin/fotonar" ] || { echo "FAIL: bin/fotonar is not executable"; exit 1; }
grep -q '^Icon=org.example.fotonar$' "$prefix/share/applications/org.example.fotonar.desktop"
grep -q '<launchable type="desktop-id">org.example.fotonar.desktop</launchable>' \
    "$prefix/share/metainfo/org.example.fotonar.metainfo.xml"
echo "PASS: install tree"
