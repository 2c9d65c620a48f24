#!/usr/bin/env bash
# A saved change survives a power cut: the temporary file is flushed before it is renamed over
# the machine file, and the folder holding the rename is flushed after it. Watched from outside
# with strace while one change is saved. Usage: durable_save_test.sh HOST_TEST_PROGRAM
set -u
program=$1
command -v strace >/dev/null || { echo "strace is missing: run scripts/setup"; exit 1; }
trace=$(mktemp)
# A folder of its own: the same test may run at the same time in the suite.
export TMPDIR=$(mktemp -d)
trap 'rm -rf "$trace" "$TMPDIR"' EXIT
# LeakSanitizer cannot run under ptrace.
ASAN_OPTIONS=detect_leaks=0 strace -f -qq -o "$trace" \
    -e trace=openat,fsync,fdatasync,rename,renameat,renameat2 \
    "$program" --gtest_filter=MachineFileTest.AChangeIsWrittenBackKeepingEverythingElse \
    >/dev/null || { echo "the saving test failed under strace"; exit 1; }

verdict=$(awk '
    # openat(..., "<dir>/machine.json.<hex>.tmp", ...O_EXCL...) = FD
    /openat\(.*machine\.json\.[0-9a-f]+\.tmp", .*O_EXCL/ { tmp = $NF; flushed = 0; next }
    tmp != "" && $0 ~ ("(fsync|fdatasync)\\(" tmp "\\) += 0") { flushed = 1; next }
    /rename.*machine\.json\.[0-9a-f]+\.tmp", ".*machine\.json"\) += 0/ {
        if (tmp == "") { print "renamed a temporary file not created exclusively"; exit }
        if (!flushed) { print "renamed before the temporary file was flushed"; exit }
        renamed = 1; tmp = ""; next
    }
    renamed && /openat\(.*O_DIRECTORY.*\) += [0-9]+$/ { folder = $NF; next }
    renamed && folder != "" && $0 ~ ("fsync\\(" folder "\\) += 0") { print "ok"; exit }
    END { if (!renamed) print "no rename of a temporary file over the machine file" }
' "$trace")
[ -n "$verdict" ] || verdict="the folder was not flushed after the rename"
echo "durable save: $verdict"
[ "$verdict" = ok ]
