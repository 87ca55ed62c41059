#!/usr/bin/env bash
# Scenarios of "tamsel-cli simulate" that compare runs, read numbers from the report or
# send a signal.
#   simulate-scenarios.sh TAMSEL_CLI SOURCE_DIR SCENARIO
set -euo pipefail
cli=$1 root=$2 scenario=$3
examples="$root/examples"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The number after "key": in a JSON report.
json_number() { # key file
  sed -nE "s/^ *\"$1\": ([-0-9.eE+]+),?$/\1/p" "$2"
}
# Fails unless low <= value <= high.
expect_between() { # value low high
  if ! awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; then
    echo "$1 is not within [$2, $3]" >&2
    exit 1
  fi
}

# Every pass draws a new sample of 10 (--replace) and looks once (--inspections 0).
fresh_samples=(--replace --per-group 10 --inspections 0 --threads 2 --format json)

case $scenario in
  json-report)
    # Every figure under its key, in this order; exactly the 50 passes asked for.
    "$cli" simulate "$examples/reaction-times.vlt" --effect time --analysis 0 --passes 50 \
      --replace --threads 2 --seed 1 --format json >"$work/report.json"
    test "$(jq -c 'keys_unsorted' "$work/report.json")" = '["effect","analysis","power",'\
'"actualPasses","significant","probability","standardError","ci95","seed",'\
'"observedSampleSignificant"]'
    test "$(jq -c '[.effect, .analysis, .power, .actualPasses, .seed, (.ci95 | length)]' \
            "$work/report.json")" = '["time","ANOVA (uncorr.)",false,50,1,2]'
    ;;
  look-table)
    # Six looks of 4, 6, ..., 14 per group. The table adds up to the probability, the
    # required look is the first whose estimate reaches the target, the expected sample
    # size follows from the table, and the csv rows are the json's numbers.
    run() { "$cli" simulate "$examples/reaction-times.vlt" --effect time --analysis 0 --power \
              --replace --per-group 4 --inspections 5 --per-inspection 2 --target-power 0.8 \
              --passes 3000 --threads 2 --seed 9 --format "$1"; }
    run json >"$work/report.json"
    run csv >"$work/report.csv"
    jq -e '(.looks | length) == 6 and .looks[-1].significantByThisLook == .probability
           and ((([.looks[].firstSignificantHere] | add) - .probability) | fabs) < 1e-12' \
      "$work/report.json" >/dev/null
    jq -e '.required.look == ([.looks[] | select(.significantAtThisLook >= 0.8)][0].look)
           and .required.participantsPerGroup == [.looks[.required.look].participants / 2
                                                  | floor | ., .]' \
      "$work/report.json" >/dev/null
    jq -e '([.looks[] | .firstSignificantHere * .participants] | add)
           + (1 - .probability) * .looks[-1].participants - .expectedParticipants
           | fabs < 1e-9' "$work/report.json" >/dev/null
    test "$(head -1 "$work/report.csv")" = 'look,participants,participantsPerGroup,significantAtThisLook,significantAtThisLookLow,significantAtThisLookHigh,firstSignificantHere,firstSignificantHereLow,firstSignificantHereHigh,significantByThisLook,significantByThisLookLow,significantByThisLookHigh'
    test "$(sed -n 2p "$work/report.csv" | cut -d, -f1-3)" = '0,8,"4;4"'
    test "$(tail -n +2 "$work/report.csv" | cut -d, -f4,10 | tr '\n' ' ')" = \
         "$(jq -r '.looks[] | "\(.significantAtThisLook),\(.significantByThisLook)"' \
              "$work/report.json" | tr '\n' ' ')"
    ;;
  calibrated-alpha)
    # The run proper uses the calibrated alpha at every look and reports the target.
    "$cli" simulate "$examples/reaction-times.vlt" --effect time --analysis 0 --replace \
      --per-group 10 --inspections 2 --per-inspection 10 --calibrate --passes 4000 \
      --threads 2 --seed 4 --format json >"$work/report.json"
    jq -e '.alpha == .calibratedAlpha.value and .targetAlpha == 0.05
           and .calibratedAlpha.ci95[0] <= .alpha and .alpha <= .calibratedAlpha.ci95[1]
           and .alpha < 0.05 and (.looks | length) == 3' "$work/report.json" >/dev/null
    expect_between "$(json_number probability "$work/report.json")" 0.035 0.065
    ;;
  overflowing-population)
    # Means near 1e308 overflow every row sample's sums of squares (the rows' spread is lost
    # in their rounding); summaries form those from the deviations and overflow only with
    # SDs whose squares do. Either way the run ends with the cause and status 1 instead of
    # counting every look as not significant.
    "$cli" simulate "$examples/reaction-times.vlt" --effect task --analysis 2 --passes 10 \
      "${fresh_samples[@]}" --seed 1 --export-population "$work/population.json" >/dev/null
    jq '.means[0][0] = 1e308' "$work/population.json" >"$work/huge-mean.json"
    jq '.sds[0][0] = 1e160' "$work/population.json" >"$work/huge-sd.json"
    for case in "rows huge-mean" "summary huge-sd"; do
      set -- $case
      "$root/tests/cli/expect-run.sh" 1 "" "^Error: The simulated data cannot be computed: " \
        "$cli" simulate "$examples/reaction-times.vlt" --effect task --analysis 2 --passes 10 \
        "${fresh_samples[@]}" --seed 1 --sampler "$1" --population "$work/$2.json"
    done
    ;;
  seed-repeats)
    # The same seed and input give the same report on any number of threads; another seed
    # another one.
    run() { "$cli" simulate "$examples/reaction-times.vlt" --effect "time x task" --analysis 1 \
              --replace --per-group 8 --inspections 2 --per-inspection 4 --threads "$2" \
              --passes 2500 --format json --seed "$1"; }
    run 11 1 >"$work/first.json"
    run 11 3 >"$work/second.json"
    run 12 3 >"$work/other.json"
    diff "$work/first.json" "$work/second.json"
    ! diff -q "$work/first.json" "$work/other.json" >/dev/null
    ;;
  precision)
    # Rounds of 16000 passes until the interval reaches 0.004 on either side of a power of
    # about 0.63: not after the first round (about 0.0075), but after about 57000 passes,
    # at a round's end, well below --passes. The rounds, and so the whole report, are the
    # same on 1 and 3 threads.
    run() { "$cli" simulate "$examples/reaction-times.vlt" --effect time --analysis 0 --power \
              --replace --per-group 4 --inspections 0 --passes 200000 --precision 0.004 \
              --seed 8 --format json --threads "$1"; }
    run 1 >"$work/one.json"
    run 3 >"$work/three.json"
    diff "$work/one.json" "$work/three.json"
    jq -e '.precision == {"target": 0.004, "reached": true} and .actualPasses % 16000 == 0
           and .actualPasses > 16000 and .actualPasses < 200000
           and (.ci95[1] - .ci95[0]) / 2 <= 0.004' "$work/one.json" >/dev/null
    # Capped by --passes, the last round is short and the target missed.
    "$cli" simulate "$examples/reaction-times.vlt" --effect time --analysis 0 --power --replace \
      --per-group 4 --inspections 0 --passes 20000 --precision 0.004 --seed 8 --threads 2 \
      --format json >"$work/capped.json"
    jq -e '.precision.reached == false and .actualPasses == 20000' "$work/capped.json" >/dev/null
    ;;
  power-of-large-effect)
    # The task effect of the example is huge (F about 60 with 8 per group); with 20 per
    # group every sample finds it.
    "$cli" simulate "$examples/reaction-times.vlt" --effect task --analysis 2 --power \
      --seed 3 --passes 400 --replace --per-group 20 --inspections 0 --threads 2 \
      --format json >"$work/power.json"
    expect_between "$(json_number probability "$work/power.json")" 0.99 1
    ;;
  alpha-of-exact-test)
    # Without groups the F of a two-level within effect is exact, so its alpha is the
    # critical alpha: 0.05 within 4 binomial standard errors of 4000 passes (0.0138).
    "$cli" simulate "$examples/grip-strength.vlt" --decimal-separator . --effect hand \
      --analysis 0 --seed 5 --passes 4000 "${fresh_samples[@]}" >"$work/alpha.json"
    expect_between "$(json_number probability "$work/alpha.json")" 0.0362 0.0638
    test "$(json_number actualPasses "$work/alpha.json")" = 4000
    ;;
  samplers-hold-the-alpha)
    # The exact test's alpha drawn as rows and as summaries; summaries cannot come from
    # random-numbers files, which supply one deviate per value.
    for sampler in rows summary; do
      "$cli" simulate "$examples/grip-strength.vlt" --decimal-separator . --effect hand \
        --analysis 0 --seed 6 --passes 4000 --sampler "$sampler" "${fresh_samples[@]}" \
        >"$work/$sampler.json"
      expect_between "$(json_number probability "$work/$sampler.json")" 0.0362 0.0638
    done
    ! diff -q "$work/rows.json" "$work/summary.json" >/dev/null
    "$root/tests/cli/expect-run.sh" 2 "" "^--sampler: random-numbers files supply one deviate" \
      "$cli" simulate "$examples/grip-strength.vlt" --decimal-separator . --effect hand \
      --analysis 0 --sampler summary --random-files "$work/none.txt"
    ;;
  inspections-inflate-alpha)
    # Looking again after adding participants raises the alpha above the critical alpha
    # (five looks: about 0.14 for a test of 0.05); the same seed without them stays near it.
    "$cli" simulate "$examples/grip-strength.vlt" --decimal-separator . --effect hand \
      --analysis 0 --seed 5 --passes 4000 --replace --per-group 10 --inspections 4 \
      --per-inspection 10 --threads 2 --format json >"$work/looks.json"
    expect_between "$(json_number probability "$work/looks.json")" 0.09 0.2
    ;;
  population-round-trip)
    # The exported population, read back, is simulated exactly as the estimated one.
    common=(--effect "time x task" --analysis 2 --seed 9 --passes 1000 "${fresh_samples[@]}")
    "$cli" simulate "$examples/reaction-times.vlt" "${common[@]}" \
      --export-population "$work/population.json" >"$work/estimated.json"
    "$cli" simulate "$examples/reaction-times.vlt" "${common[@]}" \
      --population "$work/population.json" >"$work/imported.json"
    diff "$work/estimated.json" "$work/imported.json"
    # 2 groups, 2 x 3 within cells.
    test "$(jq -c '[(.means | length), (.means[0] | length), (.sds | length),
                    (.correlations | length), (.correlations[5] | length)]' \
            "$work/population.json")" = "[2,6,2,6,6]"
    ;;
  population-changes-result)
    # A population with a large time x task effect gives power, not alpha: the file is used.
    common=(--effect "time x task" --analysis 2 --seed 9 --passes 400 "${fresh_samples[@]}")
    "$cli" simulate "$examples/reaction-times.vlt" "${common[@]}" \
      --export-population "$work/population.json" >/dev/null
    jq '.means[0][0] += 500 | .means[1][0] += 500' "$work/population.json" >"$work/shifted.json"
    "$cli" simulate "$examples/reaction-times.vlt" "${common[@]}" --power \
      --population "$work/shifted.json" >"$work/shifted-run.json"
    expect_between "$(json_number probability "$work/shifted-run.json")" 0.9 1
    ;;
  population-wrong-shape)
    # A correlation matrix of the wrong order is refused with its shape in the message.
    printf '{"means": [[1,2,3,4,5,6],[1,2,3,4,5,6]], "sds": [[1,1,1,1,1,1],[1,1,1,1,1,1]],
             "correlations": [[1,0],[0,1]]}\n' >"$work/small.json"
    "$root/tests/cli/expect-run.sh" 1 "" '^Error: In .*small\.json, "correlations" has 2 rows; the design needs 6 x 6\.$' \
      "$cli" simulate "$examples/reaction-times.vlt" --effect time --analysis 0 \
      --population "$work/small.json"
    ;;
  interrupt-aborts)
    # SIGINT during a long run ends it as aborted: status 130, no report.
    "$cli" simulate "$examples/reaction-times.vlt" --effect task --analysis 0 --replace \
      --passes 2000000000 --threads 2 >"$work/out" 2>"$work/err" &
    pid=$!
    sleep 1
    kill -INT "$pid"
    status=0
    wait "$pid" || status=$?
    test "$status" -eq 130
    test ! -s "$work/out"
    grep -q "^Error: The simulation was aborted\.$" "$work/err"
    ;;
  population-faults)
    # Each impossible entry is refused at once, named by its row and column.
    common=(--effect "time x task" --analysis 2 --seed 9 --passes 10 "${fresh_samples[@]}")
    "$cli" simulate "$examples/reaction-times.vlt" "${common[@]}" \
      --export-population "$work/population.json" >/dev/null
    while IFS='#' read -r edit message; do
      jq "$edit" "$work/population.json" >"$work/edited.json"
      "$root/tests/cli/expect-run.sh" 1 "" "^Error: In .*edited\.json: $message\$" \
        "$cli" simulate "$examples/reaction-times.vlt" "${common[@]}" --population "$work/edited.json"
    done <<'CASES'
.sds[0][1] = -1#The standard deviation in row 1, column 2 is -1; a standard deviation must be positive\.
.sds[1][0] = 0#The standard deviation in row 2, column 1 is 0; a standard deviation must be positive\.
.correlations[0][1] = 1.5 | .correlations[1][0] = 1.5#The correlation in row 1, column 2 is 1\.5; a correlation must lie between -1 and 1\.
.correlations[2][0] = 0.25#The correlation in row 3, column 1 is 0\.25, but the one in row 1, column 3 differs; the correlations must be symmetric\.
.correlations[1][1] = 0.5#The correlation in row 2, column 2 is 0\.5; the correlation of a cell with itself must be 1\.
.correlations[0][1] = 0.9 | .correlations[1][0] = 0.9 | .correlations[0][2] = 0.9 | .correlations[2][0] = 0.9 | .correlations[1][2] = -0.9 | .correlations[2][1] = -0.9#The correlations are not positive definite: those of the first 3 cells \(up to row 3, column 3\) cannot hold together in any population\.
CASES
    ;;
  population-alpha-removes-entered-effect)
    # The entered means hold a large time x task effect; an alpha error run removes it, as
    # it does from estimated means, so the alpha stays near the critical 0.05.
    common=(--effect "time x task" --analysis 2 --seed 9 --passes 400 "${fresh_samples[@]}")
    "$cli" simulate "$examples/reaction-times.vlt" "${common[@]}" --power \
      --export-population "$work/population.json" >/dev/null
    jq '.means[0][0] += 500 | .means[1][0] += 500' "$work/population.json" >"$work/shifted.json"
    "$cli" simulate "$examples/reaction-times.vlt" "${common[@]}" \
      --population "$work/shifted.json" >"$work/alpha.json"
    expect_between "$(json_number probability "$work/alpha.json")" 0.01 0.12
    ;;
  export-refuses-unestimable)
    # Group 2 has one participant: its SDs cannot be estimated, so nothing is written.
    printf 'g\tt1\tt2\n1\t1\t2\n1\t2\t4\n1\t3\t3\n2\t5\t6\n' >"$work/data.txt"
    "$root/tests/cli/expect-run.sh" 1 "" "^Error: A combination of the group variables has a single participant, so the standard deviations of its cells cannot be estimated\. .* It is not exported\.$" \
      "$cli" simulate --import "$work/data.txt" --within t=2 --roles 'between;1;2' --effect t \
      --analysis 0 --export-population "$work/population.json"
    test ! -e "$work/population.json"
    ;;
  help-examples)
    # The help's first example simulates an alpha error, not the significance of the
    # observed sample: its probability is near the critical alpha and the report has no note.
    # The help is written whole before it is searched: grep -m1 would close the pipe early,
    # and the program could die of SIGPIPE while still writing.
    "$cli" simulate --help >"$work/help.txt"
    example=$(grep -A1 -m1 '^  tamsel-cli simulate ' "$work/help.txt" | tr -d '\\\n')
    test "$example" = '  tamsel-cli simulate examples/reaction-times.vlt --effect task --analysis 1       --replace --per-group 10 --inspections 0 --passes 20000 --seed 7'
    (cd "$root" && "$cli" simulate examples/reaction-times.vlt --effect task --analysis 1 \
       --replace --per-group 10 --inspections 0 --passes 2000 --seed 7 >"$work/report.txt")
    ! grep -q '^Note:' "$work/report.txt"
    expect_between "$(sed -n 's/^Probability: //p' "$work/report.txt")" 0.03 0.08
    ;;
  interrupt-ends-a-long-pass)
    # A single pass of two billion looks (nothing is added, so none becomes significant)
    # ends within a second of Ctrl+C.
    "$cli" simulate "$examples/word-recall.vlt" --effect "training x list" --analysis 2 \
      --alpha 1e-12 --inspections 2000000000 --per-inspection 0 --passes 1 --threads 1 \
      >"$work/out" 2>"$work/err" &
    pid=$!
    sleep 1
    kill -INT "$pid"
    for _ in 1 2 3 4 5 6 7 8 9 10; do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid"; echo "still running" >&2; exit 1; fi
    status=0
    wait "$pid" || status=$?
    test "$status" -eq 130
    ;;
  long-random-token)
    # A word longer than any number ends the run; it is not gathered without bound.
    { printf '0.5 -0.25 '; head -c 100 /dev/zero | tr '\0' '7'; } >"$work/random.txt"
    "$root/tests/cli/expect-run.sh" 1 "" "^Error: The random-numbers file you specified holds a word of more than 64 characters, which is no number\.$" \
      "$cli" simulate "$examples/reaction-times.vlt" --effect task --analysis 0 --replace \
      --passes 10 --random-files "$work/random.txt"
    ;;
  memory-of-a-run)
    # 130 million per group in rows fit a matrix, but about 130 GB exceed the memory of the
    # machine: refused from the estimate, before anything is allocated. (Summaries of them
    # need a few kB.)
    "$root/tests/cli/expect-run.sh" 1 "" "^Error: The simulation would need about [0-9]+ MB per thread, more than the machine's memory of [0-9]+ MB\.$" \
      "$cli" simulate "$examples/word-recall.vlt" --effect "training x list" --analysis 2 \
      --replace --per-group 130000000 --inspections 0 --threads 1 --passes 5 --sampler rows
    ;;
  worker-out-of-memory)
    # The machine refuses what the estimate allowed (here a limit on the address space): the
    # worker's failed allocation ends the run with a message, not the process. A sanitizer
    # build cannot start under such a limit; the scenario is then skipped.
    limit=1000000
    (ulimit -v $limit; "$cli" --help >/dev/null 2>&1) || exit 77
    # Rows: summaries of the same sample need no memory for it.
    (ulimit -v $limit
     "$root/tests/cli/expect-run.sh" 1 "" "^Error: The simulation ran out of memory\.$" \
       "$cli" simulate "$examples/word-recall.vlt" --effect "training x list" --analysis 2 \
       --replace --per-group 3000000 --inspections 0 --threads 1 --passes 5 --sampler rows)
    ;;
  *)
    echo "unknown scenario $scenario" >&2
    exit 1
    ;;
esac
