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
    # Every figure under its key, in this order; 50 passes on 2 threads run 26 each.
    "$cli" simulate "$examples/reaction-times.vlt" --effect time --analysis 0 --passes 50 \
      --replace --threads 2 --seed 1 --format json >"$work/report.json"
    test "$(jq -c 'keys_unsorted' "$work/report.json")" = '["effect","analysis","power",'\
'"actualPasses","significant","probability","standardError","ci95","seed"]'
    test "$(jq -c '[.effect, .analysis, .power, .actualPasses, .seed, (.ci95 | length)]' \
            "$work/report.json")" = '["time","ANOVA (uncorr.)",false,52,1,2]'
    ;;
  seed-repeats)
    # The same seed, thread count and input give the same report; another seed another one.
    run() { "$cli" simulate "$examples/reaction-times.vlt" --effect "time x task" --analysis 1 \
              --replace --per-group 8 --inspections 2 --per-inspection 4 --threads 2 \
              --passes 2000 --format json --seed "$1"; }
    run 11 >"$work/first.json"
    run 11 >"$work/second.json"
    run 12 >"$work/other.json"
    diff "$work/first.json" "$work/second.json"
    ! diff -q "$work/first.json" "$work/other.json" >/dev/null
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
    expect_between "$(json_number actualPasses "$work/alpha.json")" 4000 4002
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
    "$cli" simulate "$examples/reaction-times.vlt" "${common[@]}" \
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
  *)
    echo "unknown scenario $scenario" >&2
    exit 1
    ;;
esac
