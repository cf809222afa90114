#!/usr/bin/env bash
# The command-line tool end to end: bytes in, bytes out, exit codes.
set -u
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
abbr="$dir/abbr.dat"
printf '# test list\nMr.\n' >"$abbr"
passed=0 failed=0

check() {  # name expected-file actual-file
  if cmp -s "$2" "$3"; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAIL: $1"; echo "  expected: $(od -c "$2" | head -5)"; echo "  actual:   $(od -c "$3" | head -5)"; fi
}
check_status() {  # name expected actual
  if [ "$2" = "$3" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $1 (exit $3, expected $2)"; fi
}

# Reply marks go; the output's line ends follow the input's first line end.
printf '> one\r\n>> two\n' | "$tool" --abbr "$abbr" --preset "Light Cleaning" >"$dir/out"
printf 'one\r\ntwo\r\n' >"$dir/want"
check "reply marks and CR LF join" "$dir/want" "$dir/out"

# Line ends: input, expected output (printf formats), then options. Wrapped lines follow too.
ends() {
  printf "$2" | "$tool" --abbr "$abbr" --preset "Light Cleaning" "${@:4}" >"$dir/out"
  printf "$3" >"$dir/want"
  check "line ends: $1" "$dir/want" "$dir/out"
}
ends "LF in, LF out" 'a\n\nb\n' 'a\n\nb\n'
ends "CR LF in, CR LF out" 'a\r\n\r\nb\r\n' 'a\r\n\r\nb\r\n'
ends "the first line end decides" 'a\nb\r\n' 'a\nb\n'
ends "CR alone ends lines" 'one\rtwo\r\rthree\r' 'one\ntwo\n\nthree\n'
ends "--crlf forces CR LF" 'a\nb' 'a\r\nb' --crlf
ends "--lf forces LF" 'a\r\nb\r\n' 'a\nb\n' --lf
ends "--as-editor is the editor's CR LF" 'a\nb\n' 'a\r\nb\r\n' --as-editor
ends "wrapped lines" 'aaa bbb ccc\r\n' 'aaa\r\nbbb\r\nccc\r\n' -w 3
ends "wrapped lines, LF" 'aaa bbb ccc\n' 'aaa\nbbb\nccc\n' -w 3

# --lf joins with LF; a file argument is read byte for byte, bytes of 128 and above kept.
printf '> caf\xe9\n\xa0x\n' >"$dir/in"
"$tool" --abbr "$abbr" --preset "Light Cleaning" --lf "$dir/in" >"$dir/out"
printf 'caf\xe9\n\xa0x\n' >"$dir/want"
check "--lf and 8-bit bytes" "$dir/want" "$dir/out"

# --set takes exact names with type checks.
printf 'Cat CAT\n' | "$tool" --abbr "$abbr" --preset "Light Cleaning" --lf \
  --set "misc-find 0=cat" --set "misc-replace 0=dog" >"$dir/out"
printf 'dog dog\n' >"$dir/want"
check "--set find and replace" "$dir/want" "$dir/out"

printf 'a>b\n' | "$tool" --abbr "$abbr" --lf --set "misc-remove reply marks=0" --set "misc-find 0=>" --set "misc-replace 0=" >"$dir/out"
printf 'ab\n' >"$dir/want"
check "--set integer and an empty replacement" "$dir/want" "$dir/out"

# The output ends with a line break when the input did; --as-editor ends it as the editor does
# (Full Cleaning drops the blank last line there). An input without one gets none.
printf 'a>b\n' | "$tool" --abbr "$abbr" --lf --as-editor --set "misc-find 0=>" >"$dir/out"
printf 'ab' >"$dir/want"
check "--as-editor" "$dir/want" "$dir/out"
printf 'x\r\n\r\n\r\n' | "$tool" --abbr "$abbr" >"$dir/out"
printf 'x\r\n' >"$dir/want"
check "one line break after the last line, not more" "$dir/want" "$dir/out"
printf 'no break' | "$tool" --abbr "$abbr" >"$dir/out"
printf 'no break' >"$dir/want"
check "no line break added" "$dir/want" "$dir/out"

# Outputs that end without a line break get one before the next output, never after the last;
# an empty output and an unreadable input in between change nothing.
printf 'x' >"$dir/x"; printf 'y' >"$dir/y"; : >"$dir/empty"
"$tool" --abbr "$abbr" "$dir/x" "$dir/empty" "$dir/no-such-file" "$dir/y" "$dir/x" >"$dir/out" 2>/dev/null
printf 'x\ny\nx' >"$dir/want"
check "two files without final line breaks" "$dir/want" "$dir/out"
printf 'x\r\ny' >"$dir/xy"
"$tool" --abbr "$abbr" --as-editor "$dir/xy" "$dir/xy" >"$dir/out"
printf 'x y\r\nx y' >"$dir/want"
check "--as-editor outputs do not run together" "$dir/want" "$dir/out"

# Several inputs, "-" for standard input, each cleaned on its own, in order; -w as fmt takes it.
printf 'one two three four\n' >"$dir/a"
printf '> five six\n' | "$tool" --abbr "$abbr" --lf -w 9 "$dir/a" - "$dir/a" >"$dir/out"
printf 'one two\nthree\nfour\nfive six\none two\nthree\nfour\n' >"$dir/want"
check "several inputs and -w" "$dir/want" "$dir/out"
"$tool" --abbr "$abbr" --lf -w9 "$dir/a" >"$dir/out"
"$tool" --abbr "$abbr" --lf --set "para-max chars on para line=9" "$dir/a" >"$dir/want"
check "-w9 is the width setting" "$dir/want" "$dir/out"
"$tool" --abbr "$abbr" --lf --set="para-max chars on para line=9" "$dir/a" >"$dir/out"
check "--set=NAME=VALUE" "$dir/want" "$dir/out"
printf '> one\n' | "$tool" --abbr "$abbr" --preset="Light Cleaning" --set="misc-remove reply marks=0" >"$dir/out"
printf '> one\n' >"$dir/want"
check "--preset=NAME" "$dir/want" "$dir/out"

# An unreadable input is reported with the system's reason; the others are still cleaned;
# exit code 2.
"$tool" --abbr "$abbr" --lf "$dir/a" "$dir/no-such-file" "$dir/a" "$dir" >"$dir/out" 2>"$dir/err"
check_status "unreadable among several" 2 $?
printf 'one two three four\none two three four\n' >"$dir/want"
check "the readable inputs are cleaned" "$dir/want" "$dir/out"
printf 'sorvane-clean: cannot read %s: No such file or directory\nsorvane-clean: cannot read %s: Is a directory\n' \
  "$dir/no-such-file" "$dir" >"$dir/want"
check "cannot read says why" "$dir/want" "$dir/err"

# A write error is one line naming it and exit code 1, for --help and --version too; so is a
# closed pipe where SIGPIPE is ignored.
for args in "$dir/a" --help --version; do
  "$tool" --abbr "$abbr" $args >/dev/full 2>"$dir/err"
  check_status "write error: $args" 1 $?
  printf 'sorvane-clean: cannot write standard output: No space left on device\n' >"$dir/want"
  check "write error message: $args" "$dir/want" "$dir/err"
done
head -c 2000000 /dev/zero | tr '\0' 'w' | fold -w 50 >"$dir/big"
(trap '' PIPE; "$tool" --abbr "$abbr" "$dir/big" 2>"$dir/err" | true; exit "${PIPESTATUS[0]}")
check_status "closed pipe" 1 $?
printf 'sorvane-clean: cannot write standard output: Broken pipe\n' >"$dir/want"
check "closed pipe message" "$dir/want" "$dir/err"

# --help names every option and each of the 44 settings with its values, and both presets.
"$tool" --help >"$dir/help"
check_status "--help" 0 $?
for word in --preset --set -w --width --abbr --lf --as-editor --help --version "Full Cleaning" "Light Cleaning"; do
  grep -q -- "$word" "$dir/help" || { failed=$((failed + 1)); echo "FAIL: --help lacks $word"; }
done
settings=$(grep -c '^  "[a-z]*-[^"]*" = ' "$dir/help")
check_status "--help lists the 44 settings" 44 "$settings"
grep -q '^  "list-max line length" = 65; 1 to 999999$' "$dir/help" || { failed=$((failed + 1)); echo "FAIL: --help range"; }
grep -q '^  "para-remove line breaks" = 1 (light: 0); 0 or 1$' "$dir/help" || { failed=$((failed + 1)); echo "FAIL: --help light value"; }
version=$("$tool" --version)
case $version in "sorvane-clean "[0-9]*.[0-9]*.[0-9]*) passed=$((passed + 1)) ;; *) failed=$((failed + 1)); echo "FAIL: --version: $version" ;; esac

# The whole pipeline with the shipped abbreviation list, found beside the tool by default.
golden=$(cd "$(dirname "$0")" && pwd)/golden
"$tool" --lf --as-editor "$golden/email.txt" >"$dir/out"
check "default abbr.dat and Full Cleaning" "$golden/email.full.expected" "$dir/out"
"$tool" --lf --as-editor --set "para-max chars on para line=72" <"$golden/ragged.txt" >"$dir/out"
check "stdin and one override" "$golden/ragged.wrap72.expected" "$dir/out"

# Bad arguments and unreadable files: one line on stderr, exit code 2, nothing on stdout.
bad() {  # name args...
  local name=$1; shift
  "$tool" "$@" </dev/null >"$dir/out" 2>"$dir/err"
  check_status "$name" 2 $?
  if [ "$(wc -l <"$dir/err")" -ne 1 ] || [ -s "$dir/out" ]; then failed=$((failed + 1)); echo "FAIL: $name message"; cat "$dir/err"; fi
}
bad "unknown setting" --abbr "$abbr" --set "list-id '-'=1"
bad "text for an integer" --abbr "$abbr" --set "spac-tab stops=four"
bad "integer out of range" --abbr "$abbr" --set "spac-tab stops=4294967296"
bad "missing =" --abbr "$abbr" --set "spac-tab stops"
bad "unknown preset" --abbr "$abbr" --preset "My Preset"
bad "unknown option" --abbr "$abbr" --frobnicate
bad "missing input" --abbr "$abbr" "$dir/no-such-file"
bad "unreadable abbreviations" --abbr "$dir/no-such-abbr"
bad "directory as input" --abbr "$abbr" "$dir"
bad "negative width" --abbr "$abbr" -w -3
bad "width not a number" --abbr "$abbr" --width=wide
bad "width too large" --abbr "$abbr" -w 1000000

# The five character flags by --set, on Windows-1252 text (curly quotes, dashes, the ellipsis, a
# no-break space before a reply mark, a soft hyphen) and on the same text in UTF-8 with a
# zero-width space: both come back plain, each in its own encoding.
chars=(--set "char-straight quotes=1" --set "char-plain dashes=1" --set "char-plain ellipsis=1"
       --set "char-plain spaces=1" --set "char-remove invisible=1")
printf '\xa0> \x93Yes\x94 \x96 it\x92s soft\xadware\x85 \x97 ok\n' >"$dir/in"
printf '"Yes" - it'"'"'s software... -- ok\n' >"$dir/want"
"$tool" --abbr "$abbr" --preset "Light Cleaning" "${chars[@]}" "$dir/in" >"$dir/out"
check "character flags on Windows-1252 text" "$dir/want" "$dir/out"
printf '\xc2\xa0> \xe2\x80\x9cYes\xe2\x80\x9d \xe2\x80\x93 it\xe2\x80\x99s soft\xc2\xadware\xe2\x80\xa6 \xe2\x80\x94 o\xe2\x80\x8bk\n' >"$dir/in"
"$tool" --abbr "$abbr" --preset "Light Cleaning" "${chars[@]}" "$dir/in" >"$dir/out"
check "character flags on UTF-8 text" "$dir/want" "$dir/out"
"$tool" --abbr "$abbr" --preset "Light Cleaning" "$dir/in" >"$dir/want"
cmp -s "$dir/in" "$dir/want" && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL: flags off leave the characters"; }

# Encodings: each one read as Open detects it (or as --encoding says) and written back in it,
# byte order mark kept, CR LF kept; columns are display widths.
text='> Gr\xc3\xbc\xc3\x9fe \xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1 \xe4\xb8\xad\xe6\x96\x87 \xf0\x9f\x98\x80\r\n'
clean='Gr\xc3\xbc\xc3\x9fe \xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1 \xe4\xb8\xad\xe6\x96\x87 \xf0\x9f\x98\x80\r\n'
for enc in utf-8 utf-8-bom utf-16le utf-16be; do
  case $enc in
    utf-8) bom='' ;; utf-8-bom) bom='\xef\xbb\xbf' ;; utf-16le) bom='\xff\xfe' ;; utf-16be) bom='\xfe\xff' ;;
  esac
  conv=${enc%-bom}; conv=${conv^^}
  { printf "$bom"; printf "$text" | iconv -f UTF-8 -t "$conv"; } >"$dir/in"
  { printf "$bom"; printf "$clean" | iconv -f UTF-8 -t "$conv"; } >"$dir/want"
  "$tool" --abbr "$abbr" --preset "Light Cleaning" "$dir/in" >"$dir/out"
  check "round trip $enc" "$dir/want" "$dir/out"
done
printf '\xff\xfe' >"$dir/want"; printf 'a b\n' | iconv -f UTF-8 -t UTF-16LE >>"$dir/want"
printf 'a  b\n' | iconv -f UTF-8 -t UTF-16LE | "$tool" --abbr "$abbr" --encoding utf-16le >"$dir/out"
check "--encoding utf-16le reads text without a byte order mark" "$dir/want" "$dir/out"
printf 'caf\xc3\xa9  x\n' | "$tool" --abbr "$abbr" --encoding=cp1252 >"$dir/out"
printf 'caf\xc3\xa9 x\n' >"$dir/want"
check "--encoding cp1252 keeps UTF-8 bytes as 8-bit characters" "$dir/want" "$dir/out"
printf '\xce\xb1\xce\xb2\xce\xb3\xce\xb4\xce\xb5 \xce\xb1\xce\xb2\xce\xb3\xce\xb4\xce\xb5\n' >"$dir/in"
"$tool" --abbr "$abbr" -w 11 "$dir/in" >"$dir/out"
check "eleven columns fit a width of 11" "$dir/in" "$dir/out"
"$tool" --abbr "$abbr" -w 10 "$dir/in" | wc -l | tr -d ' ' >"$dir/out"; echo 2 >"$dir/want"
check "and break at 10" "$dir/want" "$dir/out"
printf 'CAF\xc3\x89 caf\xc3\xa9\n' | "$tool" --abbr "$abbr" --set "misc-case sensitive=0" --set "misc-find 0=caf$(printf '\xe9')" --set "misc-replace 0=x" >"$dir/out"
printf 'x x\n' >"$dir/want"
check "a --set value that is not UTF-8 is Windows-1252; finds fold every letter" "$dir/want" "$dir/out"

# A result the input's encoding cannot hold, and a byte order mark that does not decode: one
# line naming what, nothing written for that input, exit code 2; the other inputs still go out.
printf 'caf\xe9 x\n' >"$dir/latin"; printf 'y\n' >"$dir/y"
"$tool" --abbr "$abbr" --set "misc-find 0=x" --set "misc-replace 0=$(printf '\xce\xa9')" "$dir/latin" "$dir/y" >"$dir/out" 2>"$dir/err"
check_status "unencodable result" 2 $?
printf 'y\n' >"$dir/want"; check "unencodable result: nothing of it written" "$dir/want" "$dir/out"
printf 'sorvane-clean: the result for %s cannot be written in cp1252: it holds U+03A9 "\xce\xa9" (line 1)\n' "$dir/latin" >"$dir/want"
check "unencodable result: the message" "$dir/want" "$dir/err"
# Counted in the text as it would have gone out: wrapped lines, and a lone CR a replacement made.
printf 'a y b\nccc ddd x\n\xe9 y\n' >"$dir/latin"
"$tool" --abbr "$abbr" --preset "Light Cleaning" -w 3 --set "misc-find 0=x" --set "misc-replace 0=$(printf '\xce\xa9')" \
  --set "misc-find 1=y" --set "misc-replace 1=$(printf 'q\rr')" "$dir/latin" >"$dir/out" 2>"$dir/err"
check_status "unencodable on a later line" 2 $?
printf 'sorvane-clean: the result for %s cannot be written in cp1252: it holds U+03A9 "\xce\xa9" (line 7)\n' "$dir/latin" >"$dir/want"
check "unencodable on a later line: its line" "$dir/want" "$dir/err"
[ -s "$dir/out" ] && { failed=$((failed + 1)); echo "FAIL: unencodable on a later line: something written"; }
# Two UTF-16 outputs without final line breaks: the break between them in UTF-16, each with its mark.
{ printf '\xff\xfe'; printf 'one  two' | iconv -f UTF-8 -t UTF-16LE; } >"$dir/u1"
{ printf '\xff\xfe'; printf 'three' | iconv -f UTF-8 -t UTF-16LE; } >"$dir/u2"
"$tool" --abbr "$abbr" --crlf "$dir/u1" "$dir/u2" >"$dir/out"
{ printf '\xff\xfe'; printf 'one two\r\n' | iconv -f UTF-8 -t UTF-16LE; printf '\xff\xfe'; printf 'three' | iconv -f UTF-8 -t UTF-16LE; } >"$dir/want"
check "UTF-16 outputs one after the other" "$dir/want" "$dir/out"
for bad_bom in '\xff\xfea' '\xfe\xff\xdc\x00' '\xef\xbb\xbfcaf\xe9'; do
  printf "$bad_bom" >"$dir/bad"
  bad "bad byte order mark $bad_bom" --abbr "$abbr" "$dir/bad"
done
printf 'a\x81\x8d\x8f\x90\x9d\xad\xff b\n' >"$dir/in"
"$tool" --abbr "$abbr" "$dir/in" >"$dir/out"
check "bytes Windows-1252 leaves undefined come back as they were" "$dir/in" "$dir/out"
bad "unknown encoding" --abbr "$abbr" --encoding latin1
"$tool" --help | grep -q 'East Asian' || { failed=$((failed + 1)); echo "FAIL: --help says how widths are counted"; }

# Every integer setting takes exactly the values --help prints: its bounds, not one beyond.
lows=() highs=()
while IFS= read -r line; do
  name=${line#  \"}; name=${name%%\" = *}; range=${line#*; }
  numbers=$(grep -o '[0-9]\+' <<<"$range" | sort -n)
  low=$(head -1 <<<"$numbers"); high=$(tail -1 <<<"$numbers")
  case $range in *"or more"*) high=2147483647 ;; esac
  lows+=(--set "$name=$low"); highs+=(--set "$name=$high")
  bad "\"$name\" refuses $((low - 1))" --abbr "$abbr" --set "$name=$((low - 1))"
  [ "$high" = 2147483647 ] || bad "\"$name\" refuses $((high + 1))" --abbr "$abbr" --set "$name=$((high + 1))"
done < <("$tool" --help | grep '^  "[a-z]*-[^"]*" = [0-9]')
check_status "33 integer settings" 66 "${#lows[@]}"
for bounds in lows highs; do
  declare -n sets=$bounds
  "$tool" --abbr "$abbr" "${sets[@]}" </dev/null >/dev/null 2>"$dir/err"
  check_status "every setting takes its $bounds" 0 $?
  [ -s "$dir/err" ] && cat "$dir/err"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
