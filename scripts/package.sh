#!/usr/bin/env bash
# Builds the Debian package into build-package/ (Release, prefix /usr, warnings as errors;
# extra arguments go to cmake's configure step) and checks it: the files it must hold, the
# packages it must depend on, and that apt resolves its installation. Prints the package's path
# last; exits non-zero when a check fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build=build-package
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DLINKCALC_WERROR=ON -DLINKCALC_BUILD_CLI=ON -DLINKCALC_BUILD_GUI=ON -DLINKCALC_BUILD_TESTS=OFF \
  -DLINKCALC_BUILD_BENCH=OFF -DLINKCALC_SANITIZE=OFF -DLINKCALC_FUZZ=OFF "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"

rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB)
debs=("$build"/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "package.sh: expected one .deb in $build, found: ${debs[*]}" >&2
  exit 1
fi
deb=$(realpath "${debs[0]}")

failures=0
fail() {
  echo "package.sh: $*" >&2
  failures=$((failures + 1))
}

id=com.mervane.linkcalc
contents=$(dpkg-deb --contents "$deb" | awk '{ print $NF }')
for path in /usr/bin/linkcalc /usr/bin/linkcalc-cli \
  /usr/share/applications/$id.desktop \
  /usr/share/icons/hicolor/16x16/apps/$id.png \
  /usr/share/icons/hicolor/32x32/apps/$id.png \
  /usr/share/icons/hicolor/48x48/apps/$id.png \
  /usr/share/icons/hicolor/256x256/apps/$id.png \
  /usr/share/metainfo/$id.metainfo.xml \
  /usr/share/man/man1/linkcalc-cli.1.gz \
  /usr/share/doc/quarn-linkcalc/copyright; do
  grep -qxF ".$path" <<<"$contents" || fail "the package lacks $path"
done

# The feature modules, in the module folder under the library folder.
for module in geodesy kml dem picture; do
  grep -qE "^\./usr/lib/(.+/)?linkcalc/liblinkcalc-$module\.so$" <<<"$contents" ||
    fail "the package lacks the $module module"
done

package=$(dpkg-deb --field "$deb" Package)
[ "$package" = quarn-linkcalc ] || fail "the package is named '$package', not quarn-linkcalc"
depends=$(dpkg-deb --field "$deb" Depends)
# libqt6widgets6 comes from dpkg-shlibdeps, and so do the libraries of the modules
# (libgeographiclib23, libxml2, libgdal32, libcairo2, libpangocairo-1.0-0); the others are
# named by hand, as the programs load them only at run time.
for dependency in libqt6widgets6 libgeographiclib23 libxml2 libgdal32 libcairo2 \
  libpangocairo-1.0-0 qt6-qpa-plugins fonts-dejavu-core fonts-dejavu-extra fonts-liberation; do
  grep -qE "(^|, )$dependency( |,|$)" <<<"$depends" ||
    fail "Depends does not name $dependency: $depends"
done
recommends=$(dpkg-deb --field "$deb" Recommends)
grep -qE "(^|, )qt6-wayland( |,|$)" <<<"$recommends" ||
  fail "Recommends does not name qt6-wayland: $recommends"

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if ! simulation=$($sudo apt-get -s -q install --no-install-recommends "$deb" 2>&1); then
  echo "$simulation" >&2
  fail "apt-get -s install $deb does not resolve"
fi

echo
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
echo "Files: $(grep -c '[^/]$' <<<"$contents")"
if [ "$failures" -ne 0 ]; then
  echo "package.sh: $failures check(s) failed for $deb" >&2
  exit 1
fi
echo "$deb"
