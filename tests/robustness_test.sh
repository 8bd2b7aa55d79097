#!/usr/bin/env bash
# What the programs do when the world is unkind: output that cannot be
# written, special files, folders that cannot be read, symbolic links,
# running out of memory, and paths that no terminal should see raw.
#   robustness_test.sh BIN_DIR [sanitized]
# With "sanitized", the checks that limit virtual memory are skipped: the
# sanitizers reserve more address space than any such limit allows.
set -u
bin=$(realpath "$1")
sanitized=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# expect STATUS STREAM PATTERN -- COMMAND...: runs the command with stdout
# and stderr captured, and checks its status and that the stream holds the
# pattern (a grep -E expression).
expect() {
  local want=$1 stream=$2 pattern=$3
  shift 4
  "$@" >out 2>err
  local status=$?
  [ "$status" = "$want" ] || fail "$* exited $status, expected $want ($(head -c 300 err))"
  grep -qE -- "$pattern" "$stream" || fail "$*: $stream lacks /$pattern/: $(head -c 300 "$stream")"
}

cat >good.fxt <<'EOF'
fixture
name = "Good"
version = 1.0
manufacturer = "GENERIC"
attribute
  name = "INTENSITY"
  channel = 1
end
EOF
printf 'fixture\nversion = x\n' >bad.fxt

# Output that is lost is a failure, never success.
for program in parse fxtdump "fxtlint -f json"; do
  read -r -a command <<<"$program"
  "$bin/${command[0]}" "${command[@]:1}" good.fxt >/dev/full 2>err
  status=$?
  [ "$status" = 2 ] || fail "$program >/dev/full exited $status"
  grep -q "error writing standard output: No space left on device" err ||
    fail "$program >/dev/full: $(cat err)"
  "$bin/${command[0]}" "${command[@]:1}" good.fxt >&- 2>err
  status=$?
  [ "$status" = 2 ] || fail "$program >&- exited $status"
  grep -q "error writing standard output: Bad file descriptor" err ||
    fail "$program >&-: $(cat err)"
done

# Special files are refused at once, never waited on or read forever.
mkfifo fifo.fxt
expect 2 out 'Error opening file fifo.fxt' -- timeout 10 "$bin/parse" fifo.fxt
expect 2 out 'Error opening file /dev/zero' -- timeout 10 "$bin/parse" /dev/zero
expect 2 err 'fifo.fxt: Not a regular file' -- timeout 10 "$bin/fxtlint" fifo.fxt
expect 2 err 'fxtdump: /dev/zero: Not a regular file' -- timeout 10 "$bin/fxtdump" /dev/zero
expect 1 out '^<stdin>:2:11: error: invalid version number' -- \
  sh -c "\"$bin/fxtlint\" - <bad.fxt"
expect 1 out '^unsaved.fxt:2:11: ' -- sh -c "\"$bin/fxtlint\" --stdin-filename unsaved.fxt - <bad.fxt"
expect 0 err '^fxtlint: 1 file, 0 with errors' -- sh -c "cat good.fxt | \"$bin/fxtlint\" -"

# Symbolic links to folders are followed; a link back up is a problem. Each
# folder is walked once, where it really is when the walk finds it there.
mkdir -p library/real library/.hidden library/other
cp bad.fxt library/real/linked.fxt
cp bad.fxt library/.hidden/skipped.fxt
cp good.fxt library/UPPER.FXT
ln -s real library/link
ln -s .. library/real/up
ln -s ../other library/real/reached-first
cp good.fxt library/other/good.fxt
expect 2 out '^library/real/linked.fxt:2:11: error' -- "$bin/fxtlint" library
# real/linked.fxt, other/good.fxt and UPPER.FXT, a template named in capitals
grep -q '^fxtlint: 3 files, 1 with errors' err || fail "not every template was checked once: $(cat err)"
grep -qE 'link/|reached-first/|skipped.fxt' out && fail "a folder was walked twice, or one beginning with a dot"
grep -q '^fxtlint: library/real/up: Too many levels of symbolic links$' err ||
  fail "the link back up was not a problem: $(cat err)"
rm library/real/up
expect 1 out '^library/real/linked.fxt:2:11: error' -- "$bin/fxtlint" library/
expect 1 out '"path": "library/real/reached-first/good.fxt"' -- "$bin/fxtlint" -f json library/real

# Links that fan out: 20 levels of folders, each holding two links to the
# next, are 2^20 ways to the last, whose template is checked once.
mkdir fan
for level in $(seq 0 20); do mkdir "fan/$level"; done
for level in $(seq 0 19); do
  ln -s "../$((level + 1))" "fan/$level/a"
  ln -s "../$((level + 1))" "fan/$level/b"
done
cp bad.fxt fan/20/last.fxt
mkdir fanned && ln -s ../fan/0 fanned/start
expect 1 err '^fxtlint: 1 file, 1 with errors' -- timeout 20 "$bin/fxtlint" fanned

# Permissions matter only to a user who is not root: drop privileges.
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
  as_user() { setpriv --reuid=65534 --regid=65534 --clear-groups -- "$@"; }
else
  as_user() { "$@"; }
fi
mkdir -p locked/open locked/closed
chmod 755 "$work" locked locked/open
cp good.fxt locked/open/
cp good.fxt locked/closed/
cp good.fxt unreadable.fxt
chmod 000 locked/closed unreadable.fxt
cp "$bin/parse" "$bin/fxtlint" "$work/"
chmod 755 "$work/parse" "$work/fxtlint"
if as_user test -r unreadable.fxt; then
  echo "SKIP: permissions: no user without read permission is at hand"
else
  expect 2 err '^fxtlint: locked/closed: Permission denied$' -- as_user ./fxtlint locked
  grep -q '^fxtlint: 1 file, ' err || fail "the readable folder was not checked: $(cat err)"
  expect 2 err '^fxtlint: unreadable.fxt: Permission denied$' -- as_user ./fxtlint unreadable.fxt
  expect 2 out 'Error opening file unreadable.fxt' -- as_user ./parse unreadable.fxt
fi
chmod 755 locked/closed

# Paths are shown so that a diagnostic stays one line and valid UTF-8.
cp bad.fxt "$(printf 'new\nline\033.fxt')"
cp bad.fxt "$(printf 'utf8\303\251.fxt')"
cp bad.fxt "$(printf 'latin\351.fxt')"
expect 1 out '^new\\x0Aline\\x1B\.fxt:2:11: error' -- "$bin/fxtlint" "$(printf 'new\nline\033.fxt')"
expect 1 out '"path": "utf8é\.fxt"' -- "$bin/fxtlint" -f json "$(printf 'utf8\303\251.fxt')"
expect 1 out '"path": "latin\\\\xE9\.fxt"' -- "$bin/fxtlint" -f json "$(printf 'latin\351.fxt')"
# The controls of bidirectional text are escaped too, and a backslash in a
# JSON path, so that the name written out never shows as the bytes it names.
cp bad.fxt "$(printf 'bidi\342\200\256txt.fxt')"
expect 1 out '^bidi\\xE2\\x80\\xAEtxt\.fxt:2:11: error' -- "$bin/fxtlint" "$(printf 'bidi\342\200\256txt.fxt')"
cp bad.fxt 'slash\xFF.fxt'
cp bad.fxt "$(printf 'slash\377.fxt')"
expect 1 out '"path": "slash\\\\x5CxFF\.fxt"' -- "$bin/fxtlint" -f json 'slash\xFF.fxt'
expect 1 out '"path": "slash\\\\xFF\.fxt"' -- "$bin/fxtlint" -f json "$(printf 'slash\377.fxt')"

# However many diagnostics a file draws, fxtlint shows at most the limit,
# and holds no more than those it shows until the file is done.
{
  printf 'fixture\nattribute\n  channel = 1\nparameter\n  type = c\n'
  for _ in $(seq 1 30); do printf 'attriblist=%s\n' "$(printf ',%.0s' $(seq 1 88))"; done
} >noisy.fxt
expect 1 err 'noisy.fxt: [0-9]+ more diagnostics not shown \(--max-diagnostics 1000\)' -- \
  "$bin/fxtlint" noisy.fxt
shown=$(grep -vc ": note: " out)
[ "$shown" = 1000 ] || fail "the default limit showed $shown diagnostics"
expect 1 err '^fxtlint: 1 file, 1 with errors' -- "$bin/fxtlint" --max-diagnostics 0 -f json noisy.fxt
shown=$(grep -c '"severity"' out)
[ "$shown" -gt 100000 ] || fail "--max-diagnostics 0 showed only $shown diagnostics"

# One suppression comment of 100,000 codes takes time in proportion to them.
{
  printf 'fixture\n/ fxtlint: ignore '
  seq -f 'FT2%02g' 1 100000 | tr '\n' ','
} >codes.fxt
expect 1 err '^fxtlint: 1 file, 1 with errors' -- timeout 30 "$bin/fxtlint" codes.fxt

# A count is digits alone: a blank or a sign before it is refused, as a
# letter after it is.
for count in ' 5' '+5' '5x' ''; do
  expect 3 err "^fxtlint: --max-diagnostics takes a number, not" -- \
    "$bin/fxtlint" --max-diagnostics "$count" good.fxt
done

if [ "$sanitized" != sanitized ]; then
  # Virtual memory of 100 MB: without a limit every diagnostic is held until
  # the file is done, in little memory each.
  expect 1 err '^fxtlint: 1 file, 1 with errors' -- \
    sh -c "ulimit -v 100000; \"$bin/fxtlint\" --max-diagnostics 0 -f json noisy.fxt"
  # A file larger than the memory: out of memory, and what was found before
  # it stays in the output.
  truncate -s 60M big.fxt
  expect 2 err '^fxtlint: big.fxt: out of memory$' -- \
    sh -c "ulimit -v 50000; \"$bin/fxtlint\" bad.fxt big.fxt"
  grep -q '^bad.fxt:2:11: error: invalid version number' out || fail "findings before big.fxt lost"
  expect 2 err '^parse: big.fxt: out of memory$' -- sh -c "ulimit -v 50000; \"$bin/parse\" big.fxt"
  expect 2 err '^fxtdump: big.fxt: out of memory$' -- \
    sh -c "ulimit -v 50000; \"$bin/fxtdump\" big.fxt"
fi

[ "$failures" = 0 ] || exit 1
echo "robustness: all checks passed"
