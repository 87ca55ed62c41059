#!/usr/bin/env bash
# Runs a command and checks its exit status and what it wrote to each stream.
#   expect-run.sh STATUS STDOUT_REGEX STDERR_REGEX COMMAND [ARGUMENT ...]
# A regex is an extended grep pattern that some line of the stream must match; an empty
# regex requires the stream to be empty. On a mismatch both streams are shown.
set -uo pipefail
expected_status=$1 stdout_regex=$2 stderr_regex=$3
shift 3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$@" >"$work/stdout" 2>"$work/stderr"
status=$?

failed=0
if [ "$status" -ne "$expected_status" ]; then
  echo "exit status $status, expected $expected_status" >&2
  failed=1
fi
check_stream() { # name file regex
  if [ -z "$3" ]; then
    if [ -s "$2" ]; then echo "$1 should be empty" >&2; failed=1; fi
  elif ! grep -Eq -- "$3" "$2"; then
    echo "$1 does not match: $3" >&2
    failed=1
  fi
}
check_stream "standard output" "$work/stdout" "$stdout_regex"
check_stream "standard error" "$work/stderr" "$stderr_regex"
if [ "$failed" -ne 0 ]; then
  echo "--- command: $*" >&2
  echo "--- standard output:" >&2; head -c 4000 "$work/stdout" >&2
  echo "--- standard error:" >&2; head -c 4000 "$work/stderr" >&2
fi
exit "$failed"
