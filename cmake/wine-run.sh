#!/bin/sh
# SPDX-License-Identifier: MIT
# wine-run.sh PROGRAM.exe [ARGS...]: runs a Windows program under wine for CTest.
# The caller sets WINEPREFIX and WINEDEBUG (and WINE_CMD / WINESERVER_CMD).
#
# A plain "wine PROGRAM" that finds no wineserver running starts the server and its helper
# processes, which inherit our stdout and stderr and live on for seconds after PROGRAM ends;
# CTest reads those pipes to their end and so waits for them (about 2.7 s a test). So we
# first make sure a lingering server is up and its helpers started with their output
# detached, then run the program. This also hides wine's first-start messages.
wine=${WINE_CMD:-wine}
wineserver=${WINESERVER_CMD:-wineserver}
"$wineserver" -p"${WINE_PERSIST_SECONDS:-15}" </dev/null >/dev/null 2>&1 || true
"$wine" hostname.exe </dev/null >/dev/null 2>&1 || true
exec "$wine" "$@"
