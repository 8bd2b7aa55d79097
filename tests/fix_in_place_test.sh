#!/usr/bin/env bash
# fxtlint --fix changes files as a careful user would: whole or not at all,
# keeping the file's mode and the symbolic link that names it, never a
# template read from standard input, and never a file it cannot write, which
# stays as it was and makes the exit status 2. What is left after the fixes
# is reported. On a terminal, the report comes in colour with the source
# lines, unless NO_COLOR or TERM=dumb says otherwise.
#   fix_in_place_test.sh BIN_DIR
set -u
bin=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2
chmod 755 "$work"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

cat >broken.fxt <<'EOF2'
fixture
name = Spot
version = 1.0
manufacturer = "GENERIC"
attribute
  name = "Intensity"
  chanel = 1
attribute
  name = "PAN"
  channel 2
EOF2
cat >fixed.want <<'EOF2'
fixture
name = "Spot"
version = 1.0
manufacturer = "GENERIC"
attribute
  name = "INTENSITY"
  channel = 1
attribute
  name = "PAN"
  channel = 2
end
EOF2

# The fixes, their count, and nothing left to report.
mkdir lib
cp broken.fxt lib/spot.fxt
chmod 604 lib/spot.fxt
ln -s lib/spot.fxt link.fxt
"$bin/fxtlint" --no-config --fix link.fxt >out 2>err
status=$?
[ "$status" = 0 ] || fail "--fix exited $status: $(cat out err)"
cmp -s lib/spot.fxt fixed.want || fail "the fixed file differs: $(diff fixed.want lib/spot.fxt)"
[ -L link.fxt ] || fail "the link was replaced"
[ "$(stat -c %a lib/spot.fxt)" = 604 ] || fail "the mode is now $(stat -c %a lib/spot.fxt)"
grep -qx 'fxtlint: link.fxt: 5 fixes applied' err || fail "no count of fixes: $(cat err)"
[ ! -s out ] || fail "a fixed file still reports: $(cat out)"
[ "$(ls -A lib)" = spot.fxt ] || fail "files left beside it: $(ls -A lib)"

# --diff shows the same change and leaves the file alone.
cp broken.fxt diff.fxt
"$bin/fxtlint" --no-config --diff diff.fxt >out 2>err
[ $? = 1 ] || fail "--diff of a file with fixes did not exit 1"
cmp -s broken.fxt diff.fxt || fail "--diff changed the file"
(cp broken.fxt patched.fxt && patch -s patched.fxt <out) || fail "patch cannot read the diff"
cmp -s patched.fxt fixed.want || fail "the diff does not give the fixed file"

# Standard input is never written.
"$bin/fxtlint" --no-config --fix - <broken.fxt >out 2>err
[ $? = 2 ] || fail "--fix on standard input did not exit 2"
grep -q 'cannot write a template read from standard input' err || fail "stdin: $(cat err)"

# A file in a folder that the user cannot write stays as it was.
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
  as_user() { setpriv --reuid=65534 --regid=65534 --clear-groups -- "$@"; }
else
  as_user() { "$@"; }
fi
cp "$bin/fxtlint" "$work/"
chmod 755 "$work/fxtlint"
mkdir locked
cp broken.fxt locked/spot.fxt
chmod 755 locked
chmod 666 locked/spot.fxt
as_user "$work/fxtlint" --no-config --fix locked/spot.fxt >out 2>err
status=$?
[ "$status" = 2 ] || fail "--fix in a locked folder exited $status: $(cat err)"
grep -q 'locked/spot.fxt: not fixed: Permission denied' err ||
  fail "locked: $(cat err)"
cmp -s broken.fxt locked/spot.fxt || fail "the locked file changed"
grep -q 'FL108' out || fail "the unfixed file was not reported: $(cat out)"

# On a terminal: colour and source lines by default, colour off by request.
if command -v script >/dev/null; then
  on_terminal() { env "$@" script -qec "'$bin/fxtlint' --no-config broken.fxt" /dev/null; }
  on_terminal TERM=xterm >out
  grep -q $'\e\\[1;35mwarning:' out || fail "no colour on a terminal: $(cat -v out | head -3)"
  grep -q '^    7 |   chanel = 1' out || fail "no source line on a terminal: $(head -3 out)"
  for quiet in "NO_COLOR=1 TERM=xterm" "TERM=dumb"; do
    read -r -a environment <<<"$quiet"
    on_terminal "${environment[@]}" >out
    grep -q $'\e' out && fail "colour despite $quiet"
    grep -q '^    7 |   chanel = 1' out || fail "no source line with $quiet"
  done
  on_terminal NO_COLOR= TERM=xterm >out
  grep -q $'\e' out || fail "an empty NO_COLOR turned the colour off"
fi
"$bin/fxtlint" --no-config broken.fxt >out 2>&1
grep -q $'\e\\|    7 |' out && fail "colour or source lines in a pipe"

[ "$failures" = 0 ] && echo "fixes written as they should be"
exit $((failures > 0))
