#!/usr/bin/env bash
# kfa-man.sh KFA OUT: kfa's manual page, made by help2man from kfa's own help
# texts, each command's usage as a section of its own.
set -euo pipefail
kfa=$1
out=$2
here=$(cd "$(dirname "$0")" && pwd)
include=$(mktemp)
trap 'rm -f "$include"' EXIT

commands=$("$kfa" --help | awk '/^Commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 } on && /^$/ { exit }')
{
    echo "[COMMANDS]"
    for command in $commands; do
        echo ".SS \"kfa $command\""
        echo ".nf"
        # Backslashes and lines starting with a dot or quote mean something to roff.
        "$kfa" "$command" --help | sed -e 's/\\/\\e/g' -e "s/^[.']/\\\\\&&/" -e 's/-/\\-/g'
        echo ".fi"
    done
    cat "$here/kfa.h2m"
} >"$include"
help2man --no-info --section=1 --source=Pagora \
    --name="read, write, make and show Pagora album files" \
    --include="$include" --output="$out" "$kfa"
