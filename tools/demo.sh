#!/usr/bin/env bash
# Starts the simulated recorder on port 5000 and the client beside it; the recorder stops with the client.
# The recorder is a current one, for which the client shows all its windows (101 result 3), and takes the
# password 1234 as administrator and as user; options after the build folder go to the recorder and
# override that (tools/recsim --help lists them).
set -eu
build=${1:-build}
shift $(($# > 0 ? 1 : 0))
store="${XDG_CACHE_HOME:-$HOME/.cache}/harbek/recsim-store"
mkdir -p "$(dirname "$store")"
out=$(mktemp)
"$build/tools/recsim/recsim" --port 5000 --store "$store" --sysinfo 3 --user-password 1234 "$@" >"$out" &
recsim=$!
trap 'kill "$recsim" 2>/dev/null; wait "$recsim" 2>/dev/null || true; rm -f "$out"' EXIT

# The recorder names its port once it listens; a first start generates its recordings first (seconds).
port=""
while [ -z "$port" ]; do
    if ! kill -0 "$recsim" 2>/dev/null; then
        echo "demo: the simulated recorder did not start (its reason is above); the client is not started." >&2
        exit 1
    fi
    sleep 0.2
    port=$(sed -n 's/^recsim: command port \([0-9]*\),.*/\1/p' "$out")
done

cat <<EOF

The simulated recorder listens on 127.0.0.1, port $port.
In the client: CONNECT, address 127.0.0.1, port $port, password 1234, ADMINISTRATOR or USER, then OK.
LIVE and LIVE ON show its cameras; SEARCH finds its recordings. The power button ends the demo.

EOF
"$build/client/harbek"
