#!/usr/bin/env bash
# Builds the Debian package of Quillmar in build-package/ (a release build) and checks it:
# unpacks it into a scratch folder, looks for every file it must install, validates the
# desktop entry and the AppStream metainfo, and runs the unpacked quillmar-cli. Exits
# non-zero on any problem. JOBS sets the build's parallel jobs (default: all cores).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

# Tools of the build and of the checks below, with the Debian package of each.
missing=()
for pair in rsvg-convert:librsvg2-bin help2man:help2man gzip:gzip \
  dpkg-shlibdeps:dpkg-dev desktop-file-validate:desktop-file-utils appstreamcli:appstream; do
  command -v "${pair%%:*}" >/dev/null || missing+=("${pair#*:}")
done
if [ ${#missing[@]} -ne 0 ]; then
  echo "package.sh: missing tools; install the Debian packages: ${missing[*]}" >&2
  exit 1
fi

build=build-package
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DQUILLMAR_BUILD_TESTS=OFF -DQUILLMAR_BUILD_BENCH=OFF -DQUILLMAR_BUILD_GUI=ON
cmake --build "$build" -j"${JOBS:-$(nproc)}"
rm -f "$build"/quillmar_*.deb
(cd "$build" && cpack -G DEB)
debs=("$build"/quillmar_*.deb)
[ -f "${debs[0]}" ] && [ ${#debs[@]} -eq 1 ] || { echo "package.sh: no single .deb" >&2; exit 1; }
deb=${debs[0]}

problems=0
problem() {
  echo "package.sh: $*" >&2
  problems=$((problems + 1))
}

echo "== $deb"
dpkg-deb --info "$deb"
[ "$(dpkg-deb --field "$deb" Package)" = quillmar ] || problem "the package is not named quillmar"
depends=$(dpkg-deb --field "$deb" Depends)
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 fonts-noto-cjk \
  libfluidsynth3; do
  [[ ", $depends," == *", $package"[\ ,]* ]] || problem "Depends lacks $package"
done
[[ "$(dpkg-deb --field "$deb" Recommends)" == *timgm6mb-soundfont* ]] ||
  problem "Recommends lacks a General MIDI SoundFont"
for field in Maintainer Description Section Homepage; do
  [ -n "$(dpkg-deb --field "$deb" "$field")" ] || problem "the $field field is empty"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb --extract "$deb" "$root"
usr=$root/usr
metainfo=share/metainfo/io.github.quillmar.Quillmar.metainfo.xml
expected=(bin/quillmar bin/quillmar-cli share/quillmar/help/top.htm
  share/man/man1/quillmar.1.gz share/man/man1/quillmar-cli.1.gz
  share/applications/quillmar.desktop "$metainfo"
  share/icons/hicolor/scalable/apps/quillmar.svg
  share/doc/quillmar/examples/band.mid share/doc/quillmar/examples/e_split.csv
  share/doc/quillmar/examples/f_examples.csv)
sizes=(16 32 48 64 128 256)
for size in "${sizes[@]}"; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/quillmar.png")
done
for file in "${expected[@]}"; do
  [ -f "$usr/$file" ] || problem "the package lacks /usr/$file"
done
for program in quillmar quillmar-cli; do
  [ -x "$usr/bin/$program" ] || problem "/usr/bin/$program is not executable"
  ! ldd "$usr/bin/$program" | grep 'not found' || problem "$program misses libraries"
done
# The window finds its help from its own folder: bin/../share/quillmar/help.
[ -f "$usr/bin/../share/quillmar/help/top.htm" ] || problem "help not found from bin/"

# Each PNG icon has its size (width and height in the IHDR chunk).
png_number() { od -An -tx1 -j"$2" -N4 "$1" | tr -d ' \n'; }
for size in "${sizes[@]}"; do
  png=$usr/share/icons/hicolor/${size}x${size}/apps/quillmar.png
  [ -f "$png" ] || continue
  [ $((16#$(png_number "$png" 16))) -eq "$size" ] && [ $((16#$(png_number "$png" 20))) -eq "$size" ] ||
    problem "$png is not ${size}x${size}"
done

desktop-file-validate "$usr/share/applications/quillmar.desktop" || problem "desktop entry invalid"
appstreamcli validate --no-net "$usr/$metainfo" || problem "metainfo invalid"

# The manual pages: quillmar-cli's shows the options and exit statuses of --help.
for page in quillmar quillmar-cli; do
  file=$usr/share/man/man1/$page.1.gz
  [ -f "$file" ] || continue
  text=$(gzip -dc "$file") || problem "$file is not gzip"
  grep -qE "^\.TH ${page^^} \"?1" <<<"$text" || problem "$file has no .TH header"
done
cli_page=$(gzip -dc "$usr/share/man/man1/quillmar-cli.1.gz" 2>/dev/null || true)
for text in 'save\-result' 'formats' 'sjis' 'Exit status' '128+N'; do
  grep -qF -- "$text" <<<"$cli_page" || problem "the quillmar-cli manual page lacks '$text'"
done

# The unpacked programs run and print the package's version (the window needs no display).
version=$(dpkg-deb --field "$deb" Version)
for program in quillmar-cli quillmar; do
  echo "== $usr/bin/$program --version"
  printed=$("$usr/bin/$program" --version) || problem "$program --version failed"
  echo "$printed"
  [ "$printed" = "$program $version" ] || problem "$program --version prints '$printed', not $version"
done
help=$("$usr/bin/quillmar-cli" --help) || problem "quillmar-cli --help failed"
grep -q '^Exit status:' <<<"$help" || problem "quillmar-cli --help lacks its exit statuses"

echo "== contents"
dpkg-deb --contents "$deb"
if [ "$problems" -ne 0 ]; then
  echo "package.sh: $problems problem(s) in $deb" >&2
  exit 1
fi
echo "package.sh: $deb is complete"
