#!/usr/bin/env bash
# Regenerates the seed corpora under fuzz/corpus/ from the sample product, packed by our own
# tarnpack (build/native/bin/tarnpack, or $TARNPACK), plus a few small hand-made texts.
#   fuzz/make-seeds.sh
# Seeds that pick a code page or locale start with the selector bytes FuzzEntries.cpp reads.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tarnpack=${TARNPACK:-$root/build/native/bin/tarnpack}
corpus=$root/fuzz/corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp -r "$root/examples/sample" "$work/stage"
mkdir -p "$work/stage/bin"
for p in SampleApp Tarn-UnInstall ProvideForInstall; do
  printf 'MZ stand-in for %s\r\n' "$p" >"$work/stage/bin/$p.exe"
done
printf 'MZ stub' >"$work/stub.exe"
mkdir -p "$work/one" "$work/split"
"$tarnpack" build --stub "$work/stub.exe" --project "$work/stage/project.xml" \
  -o "$work/one/Setup.exe" >/dev/null
"$tarnpack" build --stub "$work/stub.exe" --project "$work/stage/project.xml" \
  -o "$work/split/Setup.exe" --disk-size 8000 >/dev/null
"$tarnpack" list "$work/one/Setup.exe" >"$work/list.txt"

rm -rf "$corpus"
mkdir -p "$corpus"/{package_trailer,package_entry,project_document,language_file,bitmap,registry_text,extract_entry,setup_command_line}
python3 - "$work" "$corpus" "$root" <<'PY'
import lzma, re, struct, sys, pathlib
work, corpus, root = map(pathlib.Path, sys.argv[1:])
setup = (work / "one/Setup.exe").read_bytes()
(corpus / "package_trailer/setup").write_bytes(setup[-88:])
(corpus / "package_trailer/volume2").write_bytes((work / "split/Setup2.Cab").read_bytes()[-88:])
offset, size = struct.unpack("<QQ", setup[-24:-8])
project = lzma.decompress(setup[offset:offset + size], format=lzma.FORMAT_ALONE)
(corpus / "project_document/sample-1252").write_bytes(b"\x00" + project)
(corpus / "project_document/gb2312-936").write_bytes(
    b"\x01" + (root / "tests/data/project/sample-project.xml").read_bytes())
lines = re.findall(rb"<File>([^<]*,[ANKLRU],[^<]*)</File>", project)
for name, i in (("kind-k", 0), ("kind-a", 6), ("kind-n", 9), ("comma-in-target", 11)):
    (corpus / "package_entry" / name).write_bytes(lines[i])
# Streams: flags byte (bit 0 stored), start byte, then the stream itself.
for name, i in (("lzma-readme", 7), ("stored-lakes", 9), ("lzma-settings", 10)):
    fields = lines[i].split(b",")
    at, length, kind = int(fields[-4]), int(fields[-3]), fields[-2]
    flags = b"\x01" if kind == b"N" else b"\x00"
    (corpus / "extract_entry" / name).write_bytes(flags + b"\x00" + setup[at:at + length])
language = (root / "examples/sample/Language.ini").read_bytes()
(corpus / "language_file/english-1252").write_bytes(b"\x00\x00" + language)
(corpus / "language_file/chinese-936").write_bytes(b"\x01\x01" + language)
(corpus / "registry_text/big5-950").write_bytes(
    b"\x02REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Tarn Sample]\r\n"
    b"\"Path\"=\"C:\\\\Program Files\\\\Tarn Sample\"\r\n\"quoted\"=\"say \"hi\"\"\r\n"
    b"[HKEY_CURRENT_USER\\Software\\\xb3\x5c]\r\n\"big5\"=\"\xb3\x5c\xa4\x40\"\n\"last\"=\"end\"")
(corpus / "registry_text/western-1252").write_bytes(
    b"\x00[HKEY_CLASSES_ROOT\\.tarn]\r\n\"\"=\"TarnSample.Document\"\r\n"
    b"[HKEY_USERS\\.DEFAULT\\Software\\A\\B]\r\n\"x\"=\"y\"\r\n")
# Command lines: every option, quoting, a Big5 name whose trail byte is a backslash, mistakes.
for name, line in (
        ("every-option", b'/S /GROUP="Tarn Sample\\Tools" /LOG=setup.log /D=C:\\Apps\\Tarn Sample'),
        ("quoted-unc", b'"/LOG=C:\\Logs\\tarn setup.log"\t/d="\\\\server\\share\\Tarn"'),
        ("big5-group", b"/s /group=Tarn\\\xb3\x5c\xa4\x40"),
        ("mistakes", b'/D=C:\\Apps /S /GROUP=..\\x /LOG="open /SILENT')):
    (corpus / "setup_command_line" / name).write_bytes(line)
PY
# Small versions of the sample's pictures in the kinds of bitmap the reader draws.
pics=$root/examples/sample/pictures
convert "$pics/welcome.bmp" -resize 12x9! -type truecolor "BMP3:$corpus/bitmap/truecolor-24.bmp"
convert "$pics/band.bmp" -resize 10x4! -colors 16 -type palette "BMP3:$corpus/bitmap/palette-8.bmp"
convert "$pics/ad.bmp" -resize 9x7! -colors 2 -type bilevel "BMP3:$corpus/bitmap/bilevel-1.bmp"
convert "$pics/band.bmp" -resize 6x3! -type truecolor "BMP2:$corpus/bitmap/core-24.bmp"
du -sb "$corpus"
