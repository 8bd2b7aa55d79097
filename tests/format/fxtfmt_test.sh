#!/usr/bin/env bash
# fxtfmt against the real programs and the real file system: laid-out files
# draw the same bytes from parse and fxtdump, rewriting keeps what the file
# was (its mode, the link to it, its line ends), a diff applies with patch,
# and paths and output that cannot be written are failures.
#   fxtfmt_test.sh BIN_DIR SOURCE_DIR
set -u
bin=$(realpath "$1")
source=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The examples and the cases of the line rules, laid out, draw the same
# report and model (the unit tests hold thousands more to this in-process);
# a second run changes nothing.
mkdir library
cp "$source"/examples/*.fxt "$source"/tests/cli/reader/*.fxt library/
cp -r library original
"$bin/fxtfmt" library 2>err || fail "fxtfmt library: $(cat err)"
grep -qE '^fxtfmt: [0-9]+ files, [1-9][0-9]* reformatted$' err || fail "summary: $(cat err)"
for file in original/*.fxt; do
  name=$(basename "$file")
  cmp -s <("$bin/parse" "$file") <("$bin/parse" "library/$name") || fail "parse reads $name otherwise"
  cmp -s <("$bin/fxtdump" "$file") <("$bin/fxtdump" "library/$name") ||
    fail "fxtdump reads $name otherwise"
done
"$bin/fxtfmt" --check library >out 2>err || fail "a second layout changes: $(cat out)"

# A diff that patch applies, and the laid-out text on standard output.
cp "$source/examples/spot-575.fxt" spot.fxt
chmod 640 spot.fxt
"$bin/fxtfmt" --diff spot.fxt >spot.diff 2>/dev/null
[ $? = 1 ] || fail "--diff of a file that would change did not exit 1"
"$bin/fxtfmt" - <spot.fxt >expected.fxt 2>err || fail "fxtfmt -: $(cat err)"
[ -s err ] && fail "fxtfmt - said something on stderr: $(cat err)"
cp spot.fxt patched.fxt
sed -i 's/^--- spot.fxt$/--- patched.fxt/; s/^+++ spot.fxt$/+++ patched.fxt/' spot.diff
patch -s -p0 <spot.diff || fail "patch did not apply the diff"
cmp -s patched.fxt expected.fxt || fail "the patched file is not the laid-out one"
"$bin/fxtfmt" --check --stdin-filename named.fxt - <spot.fxt >out 2>/dev/null
[ "$(cat out)" = named.fxt ] || fail "--check of standard input named it $(cat out)"

# Rewriting in place keeps the mode, and a link keeps pointing at the file.
ln -s spot.fxt link.fxt
"$bin/fxtfmt" link.fxt 2>err || fail "fxtfmt link.fxt: $(cat err)"
[ -L link.fxt ] || fail "the link was replaced"
cmp -s spot.fxt expected.fxt || fail "the file behind the link was not laid out"
[ "$(stat -c %a spot.fxt)" = 640 ] || fail "mode $(stat -c %a spot.fxt), expected 640"
ls -a | grep -q 'fxt-new-' && fail "a temporary file was left behind"

# A file whose lines end in CRLF keeps them.
printf 'FIXTURE\r\nNAME="X"\nEND' >crlf.fxt
"$bin/fxtfmt" crlf.fxt 2>/dev/null
[ "$(od -An -c crlf.fxt | tr -s ' ')" = "$(printf 'fixture\r\nname = "X"\r\nend\r\n' |
  od -An -c | tr -s ' ')" ] || fail "CRLF: $(od -c crlf.fxt)"

# Output that is lost is a failure, never success.
"$bin/fxtfmt" --check original/spot-575.fxt >/dev/full 2>err
[ $? = 2 ] || fail "fxtfmt >/dev/full did not exit 2"
grep -q "error writing standard output" err || fail ">/dev/full: $(cat err)"
"$bin/fxtfmt" - <original/spot-575.fxt >&- 2>err
[ $? = 2 ] || fail "fxtfmt >&- did not exit 2"

# A file that cannot be rewritten is a problem and stays as it was; the
# other files are laid out all the same.
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
  as_user() { setpriv --reuid=65534 --regid=65534 --clear-groups -- "$@"; }
else
  as_user() { "$@"; }
fi
mkdir -p locked open
cp original/spot-575.fxt locked/
cp original/spot-575.fxt open/
chmod 755 "$work" open locked
chmod 777 open
chmod 644 locked/spot-575.fxt open/spot-575.fxt
cp "$bin/fxtfmt" "$work/"
chmod 755 "$work/fxtfmt"
if as_user test -w locked; then
  echo "SKIP: permissions: no user without write permission is at hand"
else
  as_user ./fxtfmt locked open >out 2>err
  [ $? = 2 ] || fail "a folder that cannot be written did not exit 2"
  grep -q '^fxtfmt: locked/spot-575.fxt: Permission denied$' err || fail "$(cat err)"
  grep -q '^fxtfmt: 2 files, 1 reformatted$' err || fail "summary: $(cat err)"
  cmp -s locked/spot-575.fxt original/spot-575.fxt || fail "the locked file changed"
  cmp -s open/spot-575.fxt expected.fxt || fail "the open file was not laid out"
fi

[ "$failures" = 0 ] || exit 1
echo "fxtfmt: all checks passed"
