#!/usr/bin/env bash
# Builds the Debian package from a configured build folder into a scratch
# folder and checks what a user's apt and desktop will see: the control
# fields, every installed file, a launcher entry desktops accept, icons of
# the sizes their folders promise, programs that answer --version, the
# simulator where the programs look for it, a package Debian's checker finds
# no error in, and metadata software centres accept. Without lintian or
# appstreamcli those last two checks cannot run, and the test ends as skipped
# (status 77) after the others.
#   tests/package_test.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 || { cat "$scratch/cpack.log"; fail "cpack"; }
debs=("$scratch"/out/ledmarquee_*_*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "expected one ledmarquee_VERSION_ARCH.deb, found: ${debs[*]}"
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == ledmarquee ]] || fail "Package is '$(field Package)'"
[[ $(field Architecture) == "$(dpkg --print-architecture)" ]] || fail "Architecture is '$(field Architecture)'"
depends=$(field Depends)
for needed in fonts-arphic-uming fonts-arphic-ukai libqt6svg6 libqt6widgets6 libqt6gui6 libqt6core6 libsimavr2; do
  [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks $needed: $depends"
done
recommends=$(field Recommends)
for wanted in arduino-builder arduino-core-avr avrdude qt6-translations-l10n qt6-wayland; do
  [[ ", $recommends," == *", $wanted,"* ]] || fail "Recommends lacks $wanted: $recommends"
done

dpkg-deb -x "$deb" "$scratch/root"
root=$scratch/root
expected=(
  usr/bin/ledmarquee usr/bin/ledmarquee-cli usr/libexec/ledmarquee/ledmarquee-simulator
  usr/share/applications/ledmarquee.desktop
  usr/share/icons/hicolor/scalable/apps/ledmarquee.svg
  usr/share/man/man1/ledmarquee.1.gz usr/share/man/man1/ledmarquee-cli.1.gz
  usr/share/metainfo/example.qelvorn.ledmarquee.metainfo.xml
  usr/share/doc/ledmarquee/copyright usr/share/doc/ledmarquee/changelog.gz
)
for size in 16 24 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/ledmarquee.png")
done
for path in "${expected[@]}"; do
  [[ -s $root/$path ]] || fail "the package lacks $path"
done
# Nothing outside /usr, and no build or test leftovers.
unexpected=$(cd "$root" && find . -type f | grep -v -e '^\./usr/bin/' -e '^\./usr/share/' \
  -e '^\./usr/libexec/ledmarquee/ledmarquee-simulator$' || true)
[[ -z $unexpected ]] || fail "unexpected files: $unexpected"
[[ $(find "$root/usr/bin" -type f | wc -l) -eq 2 ]] || fail "more than the two programs in /usr/bin"

desktop-file-validate "$root/usr/share/applications/ledmarquee.desktop" || fail "the launcher entry does not validate"
grep -q '^Name\[zh_TW\]=' "$root/usr/share/applications/ledmarquee.desktop" || fail "no Chinese name"
grep -q '^Comment\[zh_TW\]=' "$root/usr/share/applications/ledmarquee.desktop" || fail "no Chinese comment"
grep -q '^Exec=ledmarquee$' "$root/usr/share/applications/ledmarquee.desktop" || fail "Exec does not start ledmarquee"

for size in 16 24 32 48 64 128 256; do
  png=$root/usr/share/icons/hicolor/${size}x${size}/apps/ledmarquee.png
  file -b "$png" | grep -q "PNG image data, $size x $size" || fail "$png is $(file -b "$png")"
done
for page in ledmarquee ledmarquee-cli; do
  gzip -t "$root/usr/share/man/man1/$page.1.gz" || fail "$page.1.gz is not gzip"
  zcat "$root/usr/share/man/man1/$page.1.gz" | grep -q '^\.TH' || fail "$page.1.gz is not a manual page"
done

# The packaged programs run, without a display, from where they are installed.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/ledmarquee" --version | grep -q "^ledmarquee $(field Version)$" \
  || fail "ledmarquee --version"
"$root/usr/bin/ledmarquee-cli" --version | grep -q "$(field Version)" || fail "ledmarquee-cli --version"
# The simulator runs (its libraries are there) a sketch that only loops
# (nop, rjmp .), and says that it never drives the sign.
printf ':040000000000FFCF2E\n:00000001FF\n' >"$scratch/loop.hex"
"$root/usr/libexec/ledmarquee/ledmarquee-simulator" --seconds 0.01 "$scratch/loop.hex" >"$scratch/simulated" 2>&1 \
  && fail "the simulator ran a sketch that drives nothing without a fault"
grep -q '^fault no-columns ' "$scratch/simulated" || fail "the packaged simulator: $(cat "$scratch/simulated")"

missing=()
for tool in lintian appstreamcli; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "SKIPPED: ${missing[*]} not installed (scripts/install-deps installs them); the rest of the package is ok"
  exit 77
fi
# Errors fail the test; warnings and notes are shown for the record.
lintian --fail-on error "$deb" || fail "lintian finds errors in the package"
# The metainfo, and the launcher entry it names, as software centres read
# them (no network: the screenshot is not fetched).
appstreamcli validate-tree --no-net "$root" || fail "appstreamcli rejects the software centres' metadata"
echo "package ok: $(basename "$deb")"
