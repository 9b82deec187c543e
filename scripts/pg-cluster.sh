#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests: its own cluster in a folder,
# reached only through a Unix socket in that folder (no TCP port), run as an
# unprivileged user (PostgreSQL refuses to run as root).
#
#   pg-cluster.sh start DIR    makes the cluster in DIR if there is none, starts
#                              it, and prints its connection string
#   pg-cluster.sh stop DIR     stops the server; the cluster stays
#   pg-cluster.sh remove DIR   stops the server and deletes DIR
#   pg-cluster.sh for-tests DIR  starts a cluster in a folder under /tmp and
#                              writes its connection string to DIR/conninfo,
#                              where CTest's tests find it (remove DIR removes it);
#                              does nothing when VELMORA_TEST_PG names a server
#                              already or PostgreSQL is not installed
#
# The connection string names the superuser velmora_admin (trust on the
# socket: nothing but the folder's owner can reach it) and the database
# postgres; the tests make a database of their own for each test.
set -euo pipefail

cmd="${1:-}"
dir="${2:-}"
if [ -z "$cmd" ] || [ -z "$dir" ]; then
  echo "usage: pg-cluster.sh start|stop|remove DIR" >&2
  exit 2
fi

bindir="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1 || true)"
if [ "$cmd" = for-tests ]; then
  if [ -n "${VELMORA_TEST_PG:-}" ]; then
    echo "pg-cluster.sh: the tests use the server that VELMORA_TEST_PG names"
    exit 0
  fi
  if [ -z "$bindir" ]; then
    echo "pg-cluster.sh: PostgreSQL is not installed; the tests on it skip"
    exit 0
  fi
  bash "$0" remove "$dir"
  # The cluster lives in a short folder of its own: a Unix socket's path may
  # not be longer than about 100 bytes, and a build folder's may be.
  cluster="$(mktemp -d /tmp/velmora-pg.XXXXXX)"
  mkdir -p "$dir"
  echo "$cluster" >"$dir/cluster"
  bash "$0" start "$cluster" >"$dir/conninfo.part"
  mv "$dir/conninfo.part" "$dir/conninfo"
  exit 0
fi
if [ -z "$bindir" ] || [ ! -x "$bindir/pg_ctl" ]; then
  echo "pg-cluster.sh: PostgreSQL's server is not installed (Debian package postgresql)" >&2
  exit 1
fi

# As root, the server runs as a system user of its own, made on first use.
as_server() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u velmora-pg -- "$@"
  else
    "$@"
  fi
}
if [ "$(id -u)" -eq 0 ] && ! id velmora-pg >/dev/null 2>&1; then
  useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin velmora-pg
fi

case "$cmd" in
  start)
    mkdir -p "$dir"
    dir="$(cd "$dir" && pwd)"
    [ "$(id -u)" -eq 0 ] && chown velmora-pg "$dir"
    chmod 700 "$dir"
    if [ ! -f "$dir/data/PG_VERSION" ]; then
      as_server "$bindir/initdb" -D "$dir/data" -U velmora_admin --auth=trust -E UTF8 --locale=C.UTF-8 \
        >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    fi
    # Small and quick: no TCP, no durability the tests do not need.
    as_server "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start \
      -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c fsync=off -c synchronous_commit=off \
-c full_page_writes=off -c max_connections=60 -c shared_buffers=32MB" >/dev/null \
      || { cat "$dir/server.log" >&2; exit 1; }
    echo "host=$dir user=velmora_admin dbname=postgres"
    ;;
  stop)
    if [ -f "$dir/data/postmaster.pid" ]; then
      as_server "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null
    fi
    ;;
  remove)
    # A folder that for-tests filled names its cluster.
    if [ -f "$dir/cluster" ]; then
      bash "$0" remove "$(cat "$dir/cluster")"
    fi
    if [ -f "$dir/data/postmaster.pid" ]; then
      as_server "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null || true
    fi
    rm -rf "$dir"
    ;;
  *)
    echo "usage: pg-cluster.sh start|stop|remove DIR" >&2
    exit 2
    ;;
esac
