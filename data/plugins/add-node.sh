#!/bin/sh
# A sample program plug-in. Started from Kerfpad's plug-in window ("Open" or the list of
# recent plug-ins), it finds the running program on the D-Bus session bus through
# KERFPAD_BUS_NAME, adds a cut node at X 1, Y 2, Z 0.5 that starts a new polyline and
# becomes the tool position, and writes where the tool now is into the exchange buffer.
set -e
: "${KERFPAD_BUS_NAME:?start this from Kerfpad: KERFPAD_BUS_NAME is not set}"

call() {
    dbus-send --session --print-reply --dest="$KERFPAD_BUS_NAME" /Kerfpad "org.kerfpad.IKerfpad.$@"
}

call AddMoveNode double:1 double:2 double:0.5 int32:1 int32:1 > /dev/null
position=$(call GetCurPos | sed -n 's/^ *string "\(.*\)"$/\1/p')
call SendData string:"add-node.sh: the tool is at $position" int32:1 > /dev/null
