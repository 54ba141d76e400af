#!/bin/sh
# Starts the program of this name installed in ../lib/quorlantix, wherever the prefix lies.
here=$(dirname "$(readlink -f "$0")")
exec "$here/../lib/quorlantix/$(basename "$(readlink -f "$0")")" "$@"
