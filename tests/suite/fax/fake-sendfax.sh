#!/bin/sh
# A stand-in for HylaFAX's sendfax, copied into a test's folder first on PATH:
# records its arguments (NUL-separated) in <its folder>/argv, copies every
# argument that is a file to <its folder>/file<i>, counts its runs in
# <its folder>/calls and exits with the status in <its folder>/status (0 when
# there is none), saying "refused" on standard error when that is not 0.
dir="$(dirname "$0")"
printf '%s\0' "$@" > "$dir/argv"
echo run >> "$dir/calls"
i=0
for a in "$@"; do i=$((i+1)); if [ -f "$a" ]; then cp "$a" "$dir/file$i"; fi; done
status=0
[ -f "$dir/status" ] && status=$(cat "$dir/status")
[ "$status" != 0 ] && echo refused >&2
exit "$status"
