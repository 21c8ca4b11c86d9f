#!/usr/bin/env bash
# Installs what the browser build and its tests need, but only what is missing: the Debian packages
# (install-deps.sh --web), then the node packages pinned in tests/web/package-lock.json.
set -euo pipefail

bash "$(dirname "$0")/install-deps.sh" --web

# The browser tests' node packages, exactly as the lock file pins them, again whenever it changes.
web="$(cd "$(dirname "$0")/../tests/web" && pwd)"
if [ ! -f "$web/node_modules/.package-lock.json" ] ||
    [ "$web/package-lock.json" -nt "$web/node_modules/.package-lock.json" ]; then
    (cd "$web" && npm ci --no-audit --no-fund --loglevel=error)
fi
