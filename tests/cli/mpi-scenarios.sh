#!/usr/bin/env bash
# Scenarios of "tamsel-cli simulate" spread over processes by mpirun on this machine: the
# same result as one process, and errors and Ctrl+C that end every process.
#   mpi-scenarios.sh TAMSEL_CLI SOURCE_DIR SCENARIO
set -euo pipefail
cli=$1 root=$2 scenario=$3
examples="$root/examples"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Open MPI refuses to start as root unless both are set; they change nothing else.
export OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1
# More processes than cores, talking through shared memory only.
mpirun_options=(--oversubscribe --mca btl self,vader --mca btl_vader_single_copy_mechanism none)
# A hang fails the test.
launch() { # processes command...
  local processes=$1
  shift
  timeout 300 mpirun "${mpirun_options[@]}" -n "$processes" "$@"
}

# The report of one process alone and of 1, 2 and 3 processes under mpirun must be the same
# bytes.
expect_same_everywhere() { # simulate arguments...
  "$cli" simulate "$@" >"$work/alone.out"
  for processes in 1 2 3; do
    launch "$processes" "$cli" simulate "$@" >"$work/spread.out"
    if ! cmp -s "$work/alone.out" "$work/spread.out"; then
      echo "$processes processes report otherwise than one:" >&2
      diff "$work/alone.out" "$work/spread.out" >&2 || true
      exit 1
    fi
  done
}

case $scenario in
  same-result)
    # 30500 passes: the blocks do not divide evenly among the processes. A calibration
    # combines the null run's smallest ps, a look table the counts of every look, a target
    # half-width the counts after every round; the kept observed sample and the row sampler
    # go the other way through the engine; thread counts differ between the runs.
    expect_same_everywhere "$examples/reaction-times.vlt" --effect time --analysis 0 --power \
      --replace --per-group 6 --inspections 4 --per-inspection 2 --calibrate --passes 30500 \
      --seed 5 --threads 2 --format json
    expect_same_everywhere "$examples/word-recall.vlt" --effect "training x list" --analysis 3 \
      --power --replace --per-group 8 --precision 0.01 --passes 200000 --seed 9 --threads 1
    expect_same_everywhere "$examples/reaction-times.vlt" --effect "time x task" --analysis 1 \
      --passes 7000 --seed 3 --threads 2 --sampler rows --format json
    ;;
  imported-custom-population)
    # Process 0 reads the text file and the population; the others never open them, so a
    # run from a folder without them still gives the same result.
    "$cli" simulate "$examples/reaction-times.vlt" --effect task --analysis 0 --power --replace \
      --per-group 10 --inspections 0 --export-population "$work/population.json" >/dev/null
    jq '.means[0][0] += 40' "$work/population.json" >"$work/shifted.json"
    cp "$examples/reaction-times.txt" "$work/"
    cd "$work"
    set -- --import reaction-times.txt --within time=2 --within task=3 \
      --roles "between;1, 1;1, 2;1, 3;2, 1;2, 2;2, 3" --decimal-separator . --effect "time x task" \
      --analysis 2 --power --replace --per-group 5 --inspections 1 --per-inspection 5 \
      --population shifted.json --passes 5000 --seed 21 --threads 1 --format json
    "$cli" simulate "$@" >alone.out
    mkdir elsewhere
    launch 1 "$cli" simulate "$@" : -n 2 --wdir "$work/elsewhere" "$cli" simulate "$@" \
      >spread.out
    cmp alone.out spread.out
    # The shifted mean matters: the estimated population gives another result.
    "$cli" simulate "${@/shifted.json/population.json}" >estimated.out
    ! cmp -s alone.out estimated.out
    ;;
  missing-input-ends-all)
    status=0
    launch 3 "$cli" simulate "$work/missing.vlt" --effect time --analysis 0 \
      >"$work/out" 2>"$work/err" || status=$?
    test "$status" -ne 0
    grep -q "^Error: The file .*missing\.vlt cannot be opened: No such file or directory\.$" \
      "$work/err"
    test ! -s "$work/out"
    ;;
  random-file-missing-on-one-process)
    # Random-numbers files are read where each process runs: process 1 starts in a folder
    # without the file. Process 0 names it and every process ends.
    mkdir "$work/with" "$work/without"
    awk 'BEGIN { srand(3); for (i = 0; i < 100000; i++) print rand() - 0.5 }' >"$work/with/r.txt"
    set -- simulate "$examples/reaction-times.vlt" --effect time --analysis 0 --replace \
      --per-group 10 --inspections 0 --passes 100 --random-files r.txt --threads 1
    status=0
    launch 1 --wdir "$work/with" "$cli" "$@" : -n 1 --wdir "$work/without" "$cli" "$@" \
      >"$work/out" 2>"$work/err" || status=$?
    test "$status" -ne 0
    grep -q "^Error: Process 1: The random-numbers file r\.txt cannot be opened: No such file or directory\.$" \
      "$work/err"
    test ! -s "$work/out"
    ;;
  interrupt-ends-all)
    # mpirun passes Ctrl+C on to every process, which abort their runs together. (Started
    # directly: a background shell function would ignore SIGINT.) The input lies in this
    # test's folder, which names its processes among those of other tests.
    cp "$examples/reaction-times.vlt" "$work/"
    mpirun "${mpirun_options[@]}" -n 3 "$cli" simulate "$work/reaction-times.vlt" \
      --effect time --analysis 0 --passes 2000000000 --threads 1 >"$work/out" 2>"$work/err" &
    launcher=$!
    # Once mpirun and all three processes run, give them time to start MPI and their runs
    # (generously: the machine may be busy with other tests).
    for _ in $(seq 60); do
      [ "$(pgrep -fc "$work/reaction-times.vlt" || true)" -ge 4 ] && break
      sleep 0.5
    done
    sleep 8
    kill -INT "$launcher"
    # Every process ends within a minute, or the test fails.
    for _ in $(seq 60); do
      kill -0 "$launcher" 2>/dev/null || break
      sleep 1
    done
    if kill -0 "$launcher" 2>/dev/null; then
      kill -KILL "$launcher"
      echo "the processes still run a minute after Ctrl+C" >&2
      exit 1
    fi
    status=0
    wait "$launcher" || status=$?
    if [ "$status" -eq 0 ] || [ -n "$(pgrep -f "$work/reaction-times.vlt" || true)" ] ||
       ! grep -q "^Error: The simulation was aborted\.$" "$work/err" || [ -s "$work/out" ]; then
      echo "mpirun ended with status $status; still running:" >&2
      pgrep -af "$work/reaction-times.vlt" >&2 || true
      echo "--- standard error:" >&2
      cat "$work/err" >&2
      exit 1
    fi
    ;;
  *)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
