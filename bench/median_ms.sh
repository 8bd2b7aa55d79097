# Sourced by the benchmark scripts.
# median_ms RUNS COMMAND...: the median wall time of RUNS runs, in ms.
median_ms() {
  local times=() count=$1
  shift
  for _ in $(seq 1 "$count"); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    times+=($(((end - start) / 1000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]/1000}'
}
