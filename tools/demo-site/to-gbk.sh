#!/bin/sh
# to-gbk.sh SOURCE OUTPUT: UTF-8 text to GBK with CR LF line ends. Fails on a
# character GBK cannot hold rather than writing a wrong byte.
set -eu
tmp="$2.tmp.$$"
trap 'rm -f "$tmp" "$tmp.gbk"' EXIT
iconv -f UTF-8 -t GBK "$1" > "$tmp.gbk"
sed 's/\r*$/\r/' "$tmp.gbk" > "$tmp"
mv "$tmp" "$2"
