#!/usr/bin/env bash
# Installs the build into a temporary prefix with cmake --install and checks
# what it put there.
#   install_test.sh BUILD_DIR VERSION PROGRAM...
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
bash "$(dirname "$0")/installed_tree_test.sh" "$prefix" "${@:2}"
