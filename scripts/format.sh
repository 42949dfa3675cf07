#!/usr/bin/env bash
# Formats the C++ sources that git tracks with the project's .clang-format,
# using Debian's clang-format-14 so that everybody gets the same result.
# Untracked files, such as generated code in a build folder, are left alone.
#
#   scripts/format.sh           rewrites the files in place
#   scripts/format.sh --check   lists the differences and fails on any
#                               (exit 77 when clang-format-14 is missing)
set -euo pipefail
cd "$(dirname "$0")/.."

tool=$(command -v clang-format-14 || true)
if [[ -z $tool ]]; then
    echo "SKIP: clang-format-14 is not installed (scripts/setup.sh --test installs it)" >&2
    exit 77
fi

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files --cached -- '*.cpp' '*.h')
else
    mapfile -t files < <(find src tests fuzz packaging bench -name '*.cpp' -o -name '*.h')
fi
files=($(for f in "${files[@]}"; do [[ -f $f ]] && echo "$f"; done))

if [[ ${1:-} == --check ]]; then
    "$tool" --dry-run --Werror "${files[@]}"
    echo "${#files[@]} files formatted as .clang-format asks"
else
    "$tool" -i "${files[@]}"
fi
