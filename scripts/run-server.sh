#!/usr/bin/env bash
# make run-server: the leaderboard server on this machine, over a private PostgreSQL cluster kept
# in BUILD/server-data (its scores stay there for the next run), serving the page too if
# `make web` has built it. Ctrl+C or TERM stops the server, then the cluster.
#   run-server.sh BUILD HOST:PORT SITE [more sinkaway-server flags]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1 listen=$2 site=$3
shift 3
data=$build/server-data
mkdir -p "$data"

bash scripts/pg-cluster.sh start "$data/pg"
server=""
stop() {
    trap - INT TERM EXIT
    [ -n "$server" ] && kill -TERM "$server" 2>/dev/null && wait "$server" 2>/dev/null || true
    bash scripts/pg-cluster.sh stop "$data/pg" || true
    echo "sinkaway-server and its database stopped; the scores stay in $data"
}
trap stop INT TERM EXIT

# The connection string holds the cluster's password: in the environment, not on the command line.
SINKAWAY_DATABASE=$(cat "$data/pg/conninfo")
export SINKAWAY_DATABASE
flags=(--key-file "$data/key" --listen "$listen")
if [ -f "$site/index.html" ]; then
    flags+=(--site "$site")
    echo "Sinkaway with the world's boards: http://$listen/ (Ctrl+C stops it)"
else
    echo "The API on http://$listen/api/v1/ (Ctrl+C stops it); make web builds the page it serves too"
fi
"$build/sinkaway-server" "${flags[@]}" "$@" &
server=$!
wait "$server" || true
server=""
