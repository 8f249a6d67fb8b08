#!/usr/bin/env bash
# Fails when a source folder includes a header of a folder it may not depend on. Layers only point down:
#   common -> model -> ensemble, options -> dataset, simulator -> export, analysis -> charts
#   -> platform -> cli, app
set -euo pipefail
cd "$(dirname "$0")/../src"

declare -A allowed=(
    [common]="common"
    [model]="common model"
    [ensemble]="common model ensemble"
    [options]="common model options"
    [dataset]="common model ensemble options dataset"
    [simulator]="common model ensemble simulator"
    [export]="common model ensemble options dataset export"
    [analysis]="common model ensemble options dataset analysis"
    [charts]="common model ensemble options dataset analysis charts"
    [platform]="common model charts platform"
    [cli]="common model ensemble options dataset simulator export analysis charts platform cli"
    [app]="common model ensemble options dataset export analysis charts platform app"
)

status=0
for dir in */; do
    dir=${dir%/}
    if [ -z "${allowed[$dir]+set}" ]; then
        echo "check_layers: folder src/$dir has no place in the layer table" >&2
        status=1
        continue
    fi
    while IFS=: read -r file line include; do
        target=$(sed -n 's/^#include "\([a-z_]*\)\/.*/\1/p' <<<"$include")
        [ -z "$target" ] && continue
        if [[ " ${allowed[$dir]} " != *" $target "* ]]; then
            echo "check_layers: src/$file:$line includes $target/, which $dir/ may not use" >&2
            status=1
        fi
    done < <(grep -Hn '^#include "' "$dir"/* 2>/dev/null || true)
done
[ $status -eq 0 ] && echo "layers: every include points down"
exit $status
