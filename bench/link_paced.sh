#!/usr/bin/env bash
# One upload of a full-capacity channel file from the receiver emulator,
# pacing itself at BAUD (default 115200, 10 bits a byte) on a pseudo-terminal,
# into zoedit-cli receive. Prints the wall time against the line's own bound:
# what the link code adds on top of the line is the difference.
#   bench/link_paced.sh [ZOEDIT_CLI] [BAUD]
set -euo pipefail
cli=${1:-build/src/cli/zoedit-cli}
baud=${2:-115200}
work=$(mktemp -d)
trap 'kill "$receiver" 2>/dev/null || true; rm -rf "$work"' EXIT

"$cli" sample --full "$work/full.bin" >/dev/null
# The receiver sends the file with its usage type set to one the PC takes.
printf '\x00\x80' | dd of="$work/full.bin" bs=1 seek=4 conv=notrunc status=none

coproc RECEIVER { exec "$cli" receiver --pty --baud "$baud" --send "$work/full.bin" 2>/dev/null; }
receiver=$RECEIVER_PID
read -r -u "${RECEIVER[0]}" slave

size=$(stat -c %s "$work/full.bin")
start=$(date +%s.%N)
"$cli" receive "$work/out.bin" --port "$slave" --timeout 30 >/dev/null 2>&1
end=$(date +%s.%N)
# The last block arrives whole, padding included.
cmp -s -n "$size" "$work/full.bin" "$work/out.bin" || { echo "received file differs" >&2; exit 1; }

awk -v s="$start" -v e="$end" -v bytes="$size" -v baud="$baud" 'BEGIN {
    wall = e - s
    # What the receiver sends: the 65-byte header frame, then 1,029-byte
    # frames of 1,024 data bytes each.
    line = (65 + 1029 * int((bytes - 64 + 1023) / 1024)) * 10 / baud
    printf "paced upload at %d baud: %d bytes in %.2f s, line bound %.2f s (%+.2f %%)\n",
           baud, bytes, wall, line, (wall - line) / line * 100
}'
