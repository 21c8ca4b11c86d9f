#!/usr/bin/env bash
# Fails, naming each file, when clang-format with the repo's .clang-format would change a C++ file
# that git tracks. `--fix` formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || {
    echo "clang-format is missing: make deps installs it" >&2
    exit 1
}
files() { git ls-files -z '*.cpp' '*.h' '*.hpp'; }
if [ "${1:-}" = "--fix" ]; then
    files | xargs -0 clang-format -i
    exit 0
fi
# Many files a call, two calls at a time; each complaint starts with "FILE:LINE:COLUMN: error".
bad=$( (files | xargs -0 -n 40 -P 2 clang-format --dry-run --Werror 2>&1 || true) |
    sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error: .*/\1/p' | sort -u)
if [ -n "$bad" ]; then
    echo "clang-format would change these files (scripts/check-format.sh --fix formats them):" >&2
    printf '  %s\n' $bad >&2
    exit 1
fi
echo "formatting: $(files | tr -cd '\0' | wc -c) files as clang-format makes them"
