# Sourced by the benchmark scripts.
# wall_us COMMAND...: the wall time of one run, in microseconds.
wall_us() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}

# median_ms RUNS COMMAND...: the median wall time of RUNS runs, in ms.
median_ms() {
  local times=() count=$1
  shift
  for _ in $(seq 1 "$count"); do
    times+=($(wall_us "$@"))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]/1000}'
}

# median_cpu_ms RUNS COMMAND...: the median processor time (user and system)
# of RUNS runs, in ms. On a machine whose cores are busy with other work it
# wanders much less than the wall time, which counts the waits for a core.
median_cpu_ms() {
  local times=() count=$1
  shift
  for _ in $(seq 1 "$count"); do
    local spent TIMEFORMAT='%3U %3S'
    spent=$({ time "$@" >/dev/null 2>&1; } 2>&1)
    times+=($(awk -v spent="$spent" 'BEGIN {split(spent, t, " "); printf "%d", (t[1] + t[2]) * 1000}'))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%d", a[int((NR+1)/2)]}'
}
