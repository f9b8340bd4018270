#!/usr/bin/env bash
# Fails when a source file includes from a folder above its own. The folders depend in one direction:
#   common -> model -> exchange -> formats -> app -> chart -> ui -> gui
# cli stands beside ui (everything below ui, never a window); the simulator uses common and model;
# the exchange library uses common and the simulator; the exchange code sees the library only through
# its C interface kvcom/kvcom.h, since the program loads it at run time.
set -euo pipefail
src="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/src"
order=(common model exchange formats app chart ui gui)
declare -A allowed
below=""
for dir in "${order[@]}"; do
    below="$below $dir"
    allowed[$dir]="$below"
done
allowed[cli]="common model exchange formats app chart cli"
allowed[sim]="common model sim"
allowed[kvcom]="common sim kvcom"

status=0
for dir in "$src"/*/; do
    dir=$(basename "$dir")
    if [ -z "${allowed[$dir]+x}" ]; then
        echo "check_includes: folder src/$dir has no place in the order; add it to scripts/check_includes.sh"
        status=1
        continue
    fi
    while IFS=: read -r file line target; do
        folder=${target%%/*}
        [ "$target" = "kvcom/kvcom.h" ] && continue
        case " ${allowed[$dir]} " in
            *" $folder "*) ;;
            *) echo "check_includes: ${file#"$src"/}:$line includes \"$target\", from a folder above src/$dir"
               status=1 ;;
        esac
    done < <(grep -rnoE '^#include "[a-z]+/[^"]+"' --include='*.cpp' --include='*.h' "$src/$dir" |
             sed -E 's/#include "([^"]+)"/\1/')
done
[ $status -eq 0 ] && echo "check_includes: the folders depend in one direction only"
exit $status
