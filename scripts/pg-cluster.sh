#!/usr/bin/env bash
# A private PostgreSQL 15 cluster in a folder of its own, on 127.0.0.1 only, for make run-server
# and the server's tests. Run as root, the cluster belongs to `nobody`, since initdb refuses root.
#   pg-cluster.sh start DIR [PORT]  make it if needed, start it, and make its database `sinkaway`;
#                                   DIR/conninfo then holds the libpq connection string
#   pg-cluster.sh stop DIR          stop it (what it holds stays for the next start)
#   pg-cluster.sh remove DIR        stop it and remove the folder
set -euo pipefail

BIN=${PG_BIN:-/usr/lib/postgresql/15/bin}
action=${1:?usage: pg-cluster.sh start|stop|remove DIR [PORT]}
dir=${2:?usage: pg-cluster.sh start|stop|remove DIR [PORT]}

as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u nobody -- "$@"
    else
        "$@"
    fi
}

free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# As root, the cluster lives where `nobody` can reach it: DIR itself, or else (a checkout under a
# home only root may enter) a folder under /tmp that DIR/cluster points to. DIR/conninfo stays in
# DIR.
home_of() {
    if [ -L "$1/cluster" ]; then readlink "$1/cluster"; else echo "$1"; fi
}

case "$action" in
start)
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    top=$dir
    if [ "$(id -u)" -eq 0 ]; then
        chown nobody: "$dir"
        if [ ! -L "$dir/cluster" ] && ! runuser -u nobody -- test -w "$dir"; then
            away=$(mktemp -d /tmp/sinkaway-pg.XXXXXX)
            chown nobody: "$away"
            ln -s "$away" "$dir/cluster"
        fi
        dir=$(home_of "$dir")
    fi
    if [ ! -f "$dir/data/PG_VERSION" ]; then
        # A password of its own, so that no other local user can use the cluster.
        as_owner sh -c "umask 077; head -c 24 /dev/urandom | od -An -tx1 | tr -d ' \n' > '$dir/password'"
        as_owner "$BIN/initdb" -D "$dir/data" -U sinkaway --pwfile="$dir/password" \
            --auth-host=scram-sha-256 --auth-local=reject -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log"
    fi
    port=${3:-}
    [ -n "$port" ] || port=$(cat "$dir/port" 2>/dev/null || free_port)
    as_owner sh -c "echo $port > '$dir/port'"
    as_owner "$BIN/pg_ctl" -D "$dir/data" -l "$dir/postgresql.log" -w -t 60 \
        -o "-p $port -c listen_addresses=127.0.0.1 -c unix_socket_directories=''" start >/dev/null
    conninfo="host=127.0.0.1 port=$port user=sinkaway password=$(cat "$dir/password")"
    if ! "$BIN/psql" "$conninfo dbname=postgres" -XAtqc \
        "SELECT 1 FROM pg_database WHERE datname = 'sinkaway'" | grep -q 1; then
        "$BIN/psql" "$conninfo dbname=postgres" -Xqc "CREATE DATABASE sinkaway"
    fi
    (umask 077; echo "$conninfo dbname=sinkaway" > "$top/conninfo")
    ;;
stop)
    top=$dir
    dir=$(home_of "$top")
    if [ -f "$dir/data/postmaster.pid" ]; then
        as_owner "$BIN/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null
    fi
    ;;
remove)
    top=$dir
    dir=$(home_of "$top")
    if [ -f "$dir/data/postmaster.pid" ]; then
        as_owner "$BIN/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null || true
    fi
    [ "$dir" = "$top" ] || rm -rf "$dir"
    rm -rf "$top"
    ;;
*)
    echo "pg-cluster.sh: unknown action $action" >&2
    exit 2
    ;;
esac
