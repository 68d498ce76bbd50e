#!/usr/bin/env bash
# The layering check fails on each include that breaks a rule, planted one at a time in a copy of
# the tree, and passes on the tree as it is.
set -euo pipefail
check="$1/scripts/check-layers"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

bash "$check" "$1/src" >/dev/null
plants=(
    'model/paths.cpp|#include "formats/gzip.h"'
    'model/labels.cpp|#include <zlib.h>'
    'formats/gzip.cpp|#include "toolkit/toolkit.h"'
    'formats/psf_import.cpp|#include <QString>'
    'render/map_picture.cpp|#include "app/app.h"'
    'cli/command_line.cpp|#include "app/app_state.h"'
    'app/start_up.cpp|#include "cli/command_line.h"'
)
for plant in "${plants[@]}"; do
    rm -rf "$scratch/src"
    cp -r "$1/src" "$scratch/src"
    echo "${plant#*|}" >>"$scratch/src/${plant%%|*}"
    if bash "$check" "$scratch/src" >/dev/null; then
        echo "FAIL: the check passed with ${plant#*|} in ${plant%%|*}"
        exit 1
    fi
done
echo "every planted include was found"
