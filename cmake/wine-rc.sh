#!/bin/bash
# Compiles a resource script with Wine's resource compiler, which keeps class
# names as they are written (windres upper-cases them), then turns the
# resource file into an object for the linker with the target's windres.
#   wine-rc.sh WINDRES [-D DEF | -I DIR ...] SOURCE OBJECT
set -e
windres=$1
shift
args=("$@")
count=${#args[@]}
source=${args[count - 2]}
object=${args[count - 1]}
wrc "${args[@]:0:count-2}" -o "$object.res" "$source"
"$windres" -J res -O coff -o "$object" "$object.res"
rm -f "$object.res"
