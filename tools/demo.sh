#!/usr/bin/env bash
# Starts the simulated recorder on port 5000 and the client beside it; the recorder stops with the client.
# The recorder is a current one, for which the client shows all its windows (101 result 3); options after
# the build folder go to the recorder and override that (tools/recsim --help lists them).
set -eu
build=${1:-build}
shift $(($# > 0 ? 1 : 0))
store="${XDG_CACHE_HOME:-$HOME/.cache}/harbek/recsim-store"
mkdir -p "$(dirname "$store")"
"$build/tools/recsim/recsim" --port 5000 --store "$store" --sysinfo 3 "$@" &
recsim=$!
trap 'kill "$recsim" 2>/dev/null; wait "$recsim" 2>/dev/null || true' EXIT
"$build/client/harbek"
