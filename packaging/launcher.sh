#!/bin/sh
# Starts the program installed in ../lib/tarquelas, beside its templates.
# The program finds its folder through its own executable, so it must be
# started there rather than copied or linked into bin/.
here=$(dirname "$(readlink -f "$0")")
exec "$here/../lib/tarquelas/tarquelas" "$@"
