#!/usr/bin/env bash
# Scenarios of tamsel-cli that take more than one command or files made by the test.
#   scenarios.sh TAMSEL_CLI SOURCE_DIR SCENARIO
# Exit status 0 when the scenario holds, 77 when the system cannot run it (skipped).
set -euo pipefail
cli=$1 root=$2 scenario=$3
expect="$root/tests/cli/expect-run.sh"
fixtures="$root/tests/fixtures/cli"
example="$root/examples/reaction-times.vlt"
example_design=(--within time=2 --within task=3 --roles "between;1, 1;1, 2;1, 3;2, 1;2, 2;2, 3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Fails when a line of the file matches the extended regex. (A negated grep would not stop
# the script under set -e.)
refuse_match() { # regex file
  if grep -Eq -- "$1" "$2"; then
    echo "$2 matches $1" >&2
    exit 1
  fi
}

case $scenario in
  import-matches-project)
    # The example's text file, imported with its design, gives the project's results.
    "$cli" compute "$example" >"$work/project.txt"
    "$cli" compute --import "$root/examples/reaction-times.txt" "${example_design[@]}" \
      >"$work/imported.txt"
    diff "$work/project.txt" "$work/imported.txt"
    ;;
  save-round-trip)
    # --save writes a project that reads back to the same results.
    "$cli" compute --import "$fixtures/comma-decimals.txt" --within time=3 \
      --roles "between;1;2;3" --decimal-separator , --save "$work/saved.vlt" >"$work/imported.txt"
    "$cli" compute "$work/saved.vlt" --decimal-separator , >"$work/saved.txt"
    diff "$work/imported.txt" "$work/saved.txt"
    ;;
  save-after-failed-check)
    # "Save" writes whatever the computation's outcome: the check's message, status 1, and
    # the project is there.
    "$expect" 1 "" "^Error: Not every level" "$cli" compute \
      --import "$root/examples/reaction-times.txt" --within time=2 --within task=4 \
      --roles "between;1, 1;1, 2;1, 3;2, 1;2, 2;2, 3" --save "$work/saved.vlt"
    test -s "$work/saved.vlt"
    ;;
  save-keeps-previous-file)
    # A save that its checks refuse leaves the file that was there byte for byte.
    cp "$example" "$work/study.vlt"
    "$expect" 1 "" "^Error: Data grid is empty\.$" "$cli" compute \
      --import "$fixtures/names-only.txt" --within time=3 --roles "1;2;3" --save "$work/study.vlt"
    cmp "$example" "$work/study.vlt"
    ;;
  save-through-links)
    # A symbolic link is saved through, a hard link stays one file, the mode stays.
    cp "$example" "$work/target.vlt"
    chmod 600 "$work/target.vlt"
    ln -s target.vlt "$work/link.vlt"
    ln "$work/target.vlt" "$work/hard.vlt"
    "$cli" compute --import "$fixtures/comma-decimals.txt" --within time=3 \
      --roles "between;1;2;3" --decimal-separator , --save "$work/link.vlt" >/dev/null
    test -L "$work/link.vlt"
    test "$(stat -c %a "$work/target.vlt")" = 600
    test "$(stat -c %i "$work/target.vlt")" = "$(stat -c %i "$work/hard.vlt")"
    "$cli" compute "$work/hard.vlt" --decimal-separator , >"$work/hard.txt"
    "$cli" compute --import "$fixtures/comma-decimals.txt" --within time=3 \
      --roles "between;1;2;3" --decimal-separator , >"$work/imported.txt"
    diff "$work/imported.txt" "$work/hard.txt"
    # Without further links the file is replaced whole, and still keeps its mode.
    rm "$work/hard.vlt"
    "$cli" compute "$example" --save "$work/link.vlt" >/dev/null
    test "$(stat -c %a "$work/target.vlt")" = 600
    cmp "$example" "$work/target.vlt"
    ls "$work" >"$work/files.txt"
    refuse_match "saving" "$work/files.txt"
    ;;
  save-refuses-other-files)
    # A device, a folder or a pipe is no project file: refused, and left as it was.
    "$expect" 1 "" "^Error: The file /dev/full cannot be written: not a regular file\.$" \
      "$cli" compute "$example" --save /dev/full
    test -c /dev/full
    mkdir "$work/folder.vlt"
    "$expect" 1 "" "^Error: The file .*folder\.vlt cannot be written: not a regular file\.$" \
      "$cli" compute "$example" --save "$work/folder.vlt"
    mkfifo "$work/pipe.vlt"
    ln -s pipe.vlt "$work/pipe-link.vlt"
    "$expect" 1 "" "^Error: The file .*pipe-link\.vlt cannot be written: not a regular file\.$" \
      "$cli" compute "$example" --save "$work/pipe-link.vlt"
    test -p "$work/pipe.vlt"
    ;;
  empty-option-values)
    # An empty value is refused, not taken as the option's absence.
    "$expect" 2 "" '^--seed: "" is not an integer$' "$cli" simulate "$example" \
      --effect task --analysis 0 --seed ''
    "$expect" 2 "" "^--random-files: the value is empty$" "$cli" simulate "$example" \
      --effect task --analysis 0 --random-files ''
    "$expect" 2 "" "^--save: the value is empty$" "$cli" compute "$example" --save ''
    "$expect" 2 "" "^PROJECT: the value is empty$" "$cli" compute ''
    ;;
  full-standard-output)
    # Results that cannot be written are an error with the reason, not a silent status 1.
    status=0
    "$cli" compute "$example" >/dev/full 2>"$work/full.txt" || status=$?
    test "$status" = 1
    grep -Eq "^Error: The results cannot be written to standard output: No space left on device\.$" \
      "$work/full.txt"
    status=0
    "$cli" compute "$example" >&- 2>"$work/closed.txt" || status=$?
    test "$status" = 1
    grep -Eq "^Error: The results cannot be written to standard output: Bad file descriptor\.$" \
      "$work/closed.txt"
    ;;
  truncated-project)
    # A project cut anywhere, or followed by more bytes, is refused with the reader's message.
    size=$(stat -c %s "$example")
    for length in 0 1 4 7 8 9 100 $((size / 2)) $((size - 2)) $((size - 1)); do
      head -c "$length" "$example" >"$work/cut.vlt"
      "$expect" 1 "" "^Error: The file .*cut\.vlt is not a Tamsel project or is damaged\.$" \
        "$cli" compute "$work/cut.vlt"
    done
    cat "$example" "$example" >"$work/twice.vlt"
    "$expect" 1 "" "^Error: The file .*twice\.vlt is not a Tamsel project or is damaged\.$" \
      "$cli" compute "$work/twice.vlt"
    ;;
  unusual-bytes)
    # NUL bytes and 8-bit characters in the names are imported and computed.
    printf 'gr\374n\000\tb\tc\n1\t2\t3\n2\t4\t3.5\n3\t5\t6\n' >"$work/bytes.txt"
    "$expect" 0 "MANOVA \(Pillai\)" "" "$cli" compute --import "$work/bytes.txt" \
      --within time=3 --roles "1;2;3"
    # Every byte value: imported, then refused by the checks with a message.
    for round in 1 2 3; do
      for code in $(seq 0 255); do printf "\\$(printf %03o "$code")"; done
    done >"$work/all-bytes.txt"
    "$expect" 1 "" "^Error: " "$cli" compute --import "$work/all-bytes.txt" \
      --within time=3 --roles "1;2;3"
    # A line of 5 MB is one cell; the checks refuse the design with a message.
    head -c 5000000 /dev/zero | tr '\0' '7' >"$work/long-line.txt"
    "$expect" 1 "" "^Error: " "$cli" compute --import "$work/long-line.txt" \
      --within time=2 --roles "1"
    ;;
  million-rows)
    # A million participants are imported and computed.
    { printf 't1\tt2\tt3\n'; seq 1 1000000 | awk '{print $1 % 11 "\t" $1 % 7 "\t" $1 % 5}'; } \
      >"$work/rows.txt"
    "$expect" 0 "MANOVA \(Hotelling\)" "" "$cli" compute --import "$work/rows.txt" \
      --within time=3 --roles "1;2;3"
    ;;
  locale-decimal-comma)
    # Without --decimal-separator the locale of LC_ALL decides; the option overrides it.
    # The test compiles a German locale of its own, so that it runs on systems that
    # have none installed.
    localedef -i de_DE -f UTF-8 "$work/de_DE.UTF-8" >/dev/null 2>&1 || exit 77
    # glibc's newlocale does not free its copy of LOCPATH, which only the test sets; in the
    # sanitized build LeakSanitizer would report it as the program's leak. The frame reads
    # __argz_add_sep or argz_add_sep depending on the symbols at hand; the pattern matches both.
    printf 'leak:argz_add_sep\n' >"$work/lsan.supp"
    export LSAN_OPTIONS="suppressions=$work/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
    LOCPATH="$work" LC_ALL=de_DE.UTF-8 "$expect" 0 " [0-9]+,[0-9]{4}( |$)" "" "$cli" compute "$example"
    LOCPATH="$work" LC_ALL=de_DE.UTF-8 "$cli" compute "$example" >"$work/comma.txt"
    refuse_match "[0-9]\.[0-9]" "$work/comma.txt"
    LOCPATH="$work" LC_ALL=de_DE.UTF-8 "$cli" compute "$example" --decimal-separator . \
      >"$work/point.txt"
    refuse_match "[0-9],[0-9]" "$work/point.txt"
    LC_ALL= LC_NUMERIC= LOCPATH="$work" LANG=de_DE.UTF-8 "$cli" compute "$example" >"$work/lang.txt"
    diff "$work/comma.txt" "$work/lang.txt"
    LOCPATH="$work" LC_ALL=C LANG=de_DE.UTF-8 "$cli" compute "$example" >"$work/c.txt"
    diff "$work/point.txt" "$work/c.txt"
    # csv and json write points whatever the locale.
    LOCPATH="$work" LC_ALL=de_DE.UTF-8 "$expect" 0 "^task,ANOVA \(uncorr\.\),,[0-9]+\.[0-9]+," "" \
      "$cli" compute "$example" --format csv
    ;;
  cells-without-numbers)
    # A cell that holds no number stops compute and simulate: the message with the row and
    # column of the table, the line of the file, status 1 and nothing on standard output.
    # The empty field between two tabs is such a cell, not a shift of the columns after it.
    for cell in "" " " abc 1.5x 1..2 0x1A nan inf 1e999; do
      printf 'a\tb\tc\n1\t2\t3\n\n2\t%s\t4\n3\t5\t4\n4\t4\t6\n' "$cell" >"$work/cells.txt"
      for command in compute simulate; do
        options=(--import "$work/cells.txt" --within time=3 --roles "1;2;3")
        [ "$command" = simulate ] && options+=(--effect time --analysis 0 --passes 10 --seed 1)
        status=0
        "$cli" "$command" "${options[@]}" >"$work/out.txt" 2>"$work/err.txt" || status=$?
        test "$status" -eq 1
        test ! -s "$work/out.txt"
        printf 'Error: The cell in row 2, column 2 of the data table holds no number.\nIn %s: line 4.\n' \
          "$work/cells.txt" | diff - "$work/err.txt"
      done
    done
    ;;
  drop-incomplete)
    # --drop-incomplete gives the numbers of the data without the rows it names, keeps them
    # in the saved project, and still refuses a text that is no number.
    printf 'a\tb\tc\n1\t2\t3\n2\t\t4\n3\t5\t4\n4\t4\t6\n5\t6\t\n6\t5\t9\n7\t8\t8\n' >"$work/gaps.txt"
    printf 'a\tb\tc\n1\t2\t3\n3\t5\t4\n4\t4\t6\n6\t5\t9\n7\t8\t8\n' >"$work/complete.txt"
    design=(--within time=3 --roles "1;2;3")
    "$cli" compute --import "$work/complete.txt" "${design[@]}" --format csv >"$work/complete.csv"
    "$cli" compute --import "$work/gaps.txt" "${design[@]}" --format csv --drop-incomplete \
      --save "$work/gaps.vlt" >"$work/dropped.csv" 2>"$work/err.txt"
    diff "$work/complete.csv" "$work/dropped.csv"
    echo "Left out 2 participants with empty cells: rows 2, 5." | diff - "$work/err.txt"
    "$expect" 0 '^\], "leftOut": \[2, 5\]\}$' "^Left out 2 participants" \
      "$cli" compute "$work/gaps.vlt" --drop-incomplete --format json
    "$expect" 1 "" "^Error: The cell in row 2, column 2 of the data table holds no number\.$" \
      "$cli" compute "$work/gaps.vlt"
    "$cli" compute --import "$work/gaps.txt" "${design[@]}" --format json >"$work/none.json" || true
    refuse_match leftOut "$work/none.json"
    simulation=(--effect time --analysis 2 --passes 400 --threads 2 --seed 3)
    "$cli" simulate --import "$work/complete.txt" "${design[@]}" "${simulation[@]}" >"$work/complete.sim"
    "$cli" simulate "$work/gaps.vlt" --drop-incomplete "${simulation[@]}" >"$work/dropped.sim"
    diff "$work/complete.sim" "$work/dropped.sim"
    printf 'a\tb\tc\n1\t2\t3\n2\t\tx\n3\t5\t4\n4\t4\t6\n' >"$work/text.txt"
    "$expect" 1 "" "^Error: The cell in row 2, column 3 of the data table holds no number\.$" \
      "$cli" compute --import "$work/text.txt" "${design[@]}" --drop-incomplete
    ;;
  hostile-numbers)
    # Units do not matter: the example in units 1e-10 times as large gives the same table,
    # every figure of which is a ratio of sums of squares, a p or a df.
    "$cli" compute --import "$root/examples/reaction-times.txt" "${example_design[@]}" \
      >"$work/plain.txt"
    awk -F'\t' -v OFS='\t' 'NR > 1 { for (i = 2; i <= NF; ++i) $i = $i * 1e-10 } 1' \
      "$root/examples/reaction-times.txt" >"$work/small.txt"
    "$cli" compute --import "$work/small.txt" "${example_design[@]}" >"$work/small-out.txt"
    diff "$work/plain.txt" "$work/small-out.txt"
    # Each cause of a failed computation has its own message.
    printf 'g\th\ta\tb\n1\t1\t1\t2\n1\t1\t2\t4\n2\t2\t3\t3\n2\t2\t5\t1\n' >"$work/empty-cell.txt"
    "$expect" 1 "" "^Error: Data cannot be computed: no participant belongs to the group combination g = 1, h = 2\.$" \
      "$cli" compute --import "$work/empty-cell.txt" --within w=2 --roles "between;between;1;2"
    # A variable of one level has no effect; with nothing else there is nothing to compute.
    printf 'y\n1\n2\n3\n4\n5\n' >"$work/one-level.txt"
    "$expect" 1 "" "^Error: There is no effect to compute: every variable of the design has a single level\.$" \
      "$cli" compute --import "$work/one-level.txt" --within w=1 --roles "1"
    printf 'g\ty\n1\t1\n1\t2\n2\t3\n2\t4\n2\t5\n' >"$work/one-level-groups.txt"
    "$cli" compute --import "$work/one-level-groups.txt" --within w=1 --roles "between;1" \
      --format csv >"$work/one-level-groups.csv"
    test "$(cut -d, -f1 "$work/one-level-groups.csv" | sort -u | tr '\n' ' ')" = "effect g "
    # Rows that differ by constants: no error, so nothing is available, and nothing
    # non-finite is printed.
    printf 'a\tb\tc\n1\t2\t3\n2\t3\t4\n3\t4\t5\n5\t6\t7\n' >"$work/linear.txt"
    for format in text csv json; do
      "$cli" compute --import "$work/linear.txt" --within w=3 --roles "1;2;3" \
        --format "$format" >"$work/linear.$format"
      refuse_match "nan|inf" "$work/linear.$format"
    done
    grep -Eq "^ +ANOVA \(uncorr\.\)( +-){8}  The error sum of squares is zero\.$" "$work/linear.text"
    grep -Eq "^ +MANOVA \(Pillai\)( +-){8}  The error matrix is singular\.$" "$work/linear.text"
    ;;
  *)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
