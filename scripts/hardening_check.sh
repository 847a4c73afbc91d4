#!/usr/bin/env bash
# hardening-check on the programs given: PIE, stack protector, fortified libc
# calls, RELRO and immediate binding must all be there.
#   scripts/hardening_check.sh build/release/app/tallix build/release/tools/tallix-keys
# Control flow protection (IBT, SHSTK) cannot be whole on Debian 12 or 13: the C
# library's start files (Scrt1.o, crti.o, crtn.o) carry no such property, so
# the linker drops it for every program, whatever the compiler marked; it is
# not asked for where those files lack it. Stack clash protection reads
# "unknown": the check knows only the probing loop of variable-sized frames,
# not the fixed probes GCC 12 gives large frames.
set -euo pipefail
skip=()
start=$(gcc -print-file-name=Scrt1.o)
if [ "$(uname -m)" = x86_64 ] && ! readelf -n "$start" 2>/dev/null | grep -q IBT; then
  skip=(--nocfprotection)
fi
# Branch protection (BTI, PAC) is an arm64 property; Debian 13's
# hardening-check asks every program for it, whatever its processor.
if [ "$(uname -m)" != aarch64 ] && grep -q nobranchprotection "$(command -v hardening-check)"; then
  skip+=(--nobranchprotection)
fi
hardening-check "${skip[@]}" "$@"
