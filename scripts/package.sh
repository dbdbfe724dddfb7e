#!/usr/bin/env bash
# Builds the product (i686) and writes the two editions into dist/: Pordex-VERSION-win32.zip
# (Pordex.exe as the build made it, the user's guide 使用说明.txt and SHA256SUMS) and
# Pordex-VERSION-setup.exe (the same two files in the installer of packaging/pordex.nsi).
# Prints both paths, the zip first; build output goes to stderr. One commit gives the same
# bytes: every file carries the commit's time (SOURCE_DATE_EPOCH, when set, wins) and the
# zip's entries come in a fixed order.
set -euo pipefail
unset BUILD
export TARGET=i686
source "$(dirname "$0")/env.sh"

{
  if ! runs_32bit_wine; then
    # The product's icons and logo are drawn by the x86_64 build's generators here.
    TARGET=x86_64 BUILD=$BUILDS/x86_64 "$ROOT/scripts/setup.sh"
    cmake --build "$BUILDS/x86_64" --target pordex_artwork
  fi
  "$ROOT/scripts/setup.sh"
  cmake --build "$BUILD" --target Pordex
} >&2

VERSION=$(sed -n 's/^PRODUCTVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *[0-9]*$/\1.\2.\3/p' "$ROOT/resources/pordex.rc")
[ -n "$VERSION" ] || { echo "no PRODUCTVERSION line in resources/pordex.rc" >&2; exit 1; }
EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$ROOT" log -1 --format=%ct)}
ZIP=$ROOT/dist/Pordex-$VERSION-win32.zip
SETUP=$ROOT/dist/Pordex-$VERSION-setup.exe
# The installer takes its files from here, the guide as the zip holds it.
STAGE=$BUILD/package-stage
mkdir -p "$ROOT/dist"
rm -rf "$STAGE" && mkdir -p "$STAGE"

python3 - "$ZIP" "$BUILD/Pordex.exe" "$ROOT/resources/使用说明.txt" "$EPOCH" "$STAGE" <<'PY'
import hashlib, os, struct, sys, time, zipfile, zlib
zip_path, exe_path, guide_path, epoch, stage = sys.argv[1:]
GUIDE = "使用说明.txt"

exe = open(exe_path, "rb").read()
# Notepad before Windows 10 breaks lines only at CR LF, and takes UTF-8 for sure only with a BOM.
guide = b"\xef\xbb\xbf" + open(guide_path, encoding="utf-8-sig").read().replace("\n", "\r\n").encode()
sums = "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\n"
               for name, data in (("Pordex.exe", exe), (GUIDE, guide))).encode()

class Entry(zipfile.ZipInfo):
    # Windows 7's compressed folders ignore the UTF-8 flag and read names in the OEM code page,
    # GBK on Chinese Windows: the name goes in GBK without the flag, and the Unicode Path field
    # (0x7075) carries it in UTF-8 for the tools that read that.
    def _encodeFilenameFlags(self):
        return self.filename.encode("gbk"), self.flag_bits

def entry(name):
    info = Entry(name, time.gmtime(int(epoch))[:6])
    info.compress_type = zipfile.ZIP_DEFLATED
    info.create_system = 0      # MS-DOS, whatever machine packs it
    info.external_attr = 0x20   # FILE_ATTRIBUTE_ARCHIVE
    if not name.isascii():
        utf8 = name.encode()
        info.extra = struct.pack("<HHBI", 0x7075, 5 + len(utf8), 1, zlib.crc32(name.encode("gbk"))) + utf8
    return info

with zipfile.ZipFile(zip_path + ".part", "w") as archive:
    for name, data in (("Pordex.exe", exe), (GUIDE, guide), ("SHA256SUMS", sums)):
        archive.writestr(entry(name), data, compresslevel=9)
os.replace(zip_path + ".part", zip_path)

# makensis stores each file's time with it, and the installer gives it back to the installed file.
for name, data in (("Pordex.exe", exe), (GUIDE, guide)):
    with open(os.path.join(stage, name), "wb") as staged:
        staged.write(data)
    os.utime(os.path.join(stage, name), (int(epoch), int(epoch)))
PY
makensis -V2 -INPUTCHARSET UTF8 "-DVERSION=$VERSION" "-DSTAGE=$STAGE" "-DOUTFILE=$SETUP.part" \
  "$ROOT/packaging/pordex.nsi" >&2
mv "$SETUP.part" "$SETUP"
echo "$ZIP"
echo "$SETUP"
