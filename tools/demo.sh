#!/usr/bin/env bash
# Starts the simulated recorder on port 5000 and the client beside it; the recorder stops with the client.
set -eu
build=${1:-build}
store="${XDG_CACHE_HOME:-$HOME/.cache}/harbek/recsim-store"
mkdir -p "$(dirname "$store")"
"$build/tools/recsim/recsim" --port 5000 --store "$store" &
recsim=$!
trap 'kill "$recsim" 2>/dev/null; wait "$recsim" 2>/dev/null || true' EXIT
"$build/client/harbek"
