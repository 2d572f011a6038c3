#!/usr/bin/env bash
# make lint's clang-tidy (Debian's clang-tidy 14, the checks in .clang-tidy) over every C++ file
# that a build compiles, each file under the first of the builds that compiles it, with that
# build's compile_commands.json: the Linux build (Qt's headers as it found them), then the
# Windows build (mingw-w64's headers and libstdc++, for clang's mingw target) and the browser
# build (emscripten's sysroot, with the flags em++ itself gives clang). Every finding is an error.
# Usage: clang-tidy.sh LINUX_BUILD WINDOWS_BUILD WASM_BUILD (JOBS in the environment: how many at once)
set -euo pipefail
cd "$(dirname "$0")/../.."
jobs=${JOBS:-$(nproc)}
seen=$(mktemp)
trap 'rm -f "$seen"' EXIT

# The tracked sources in BUILD's compilation database that no earlier build has had.
sources() {
    python3 - "$1/compile_commands.json" "$seen" "$(git ls-files -z '*.cpp' | tr '\0' '\n')" <<'EOF'
import json, os, sys
database, seen, tracked = sys.argv[1], sys.argv[2], sys.argv[3].splitlines()
compiled = {os.path.relpath(entry['file']) for entry in json.load(open(database))}
done = set(open(seen).read().split())
for name in tracked:
    if name in compiled and name not in done:
        print(name)
with open(seen, 'a') as out:
    out.write('\n'.join(compiled) + '\n')
EOF
}

# clang-tidy over BUILD's own files, with ARGS added to each compile command.
tidy() {
    local build=$1 files
    shift
    [ -f "$build/compile_commands.json" ] || { echo "clang-tidy: no $build/compile_commands.json" >&2; exit 1; }
    files=$(sources "$build")
    echo "clang-tidy over $(wc -w <<<"$files") files of $build"
    # clang's own count of warnings in the headers it was told to skip says nothing here.
    xargs -P"$jobs" -n1 clang-tidy-14 -p "$build" --quiet --warnings-as-errors='*' "${@/#/--extra-arg=}" \
        <<<"$files" 2>&1 | { grep -v '^[0-9]* warnings\? generated\.$' || true; }
}

status=0
tidy "$1" || status=1

# Windows: clang's mingw target does not find Debian's g++-mingw-w64 (its version folder is
# 12-posix), so it is given the folders that compiler searches, but for the compiler's own
# intrinsics, of which clang has its own.
mingw=()
while read -r folder; do
    mingw+=("-isystem$folder")
done < <(x86_64-w64-mingw32-g++-posix -std=c++20 -xc++ -E -v /dev/null 2>&1 |
    sed -n '/<...> search starts here/,/End of search list/s/^ //p' | grep -v '/gcc/[^/]*/[^/]*/include\(-fixed\)\?$')
tidy "$2" --target=x86_64-w64-mingw32 -nostdinc++ -nostdlibinc "${mingw[@]}" || status=1

# The browser: what em++ adds to clang's command line, less its options for LLVM's back end.
tidy "$3" $(NODE_PATH=/usr/share/nodejs em++ --cflags | sed -E 's/-mllvm [^ ]+//g; s/-Werror=[^ ]+//g') || status=1
exit $status
