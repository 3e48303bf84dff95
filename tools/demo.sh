#!/usr/bin/env bash
# Starts the client from a build folder (later with the simulated recorder beside it).
set -eu
build=${1:-build}
exec "$build/client/harbek"
