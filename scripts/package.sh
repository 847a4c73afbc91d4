#!/usr/bin/env bash
# Builds the Debian packages from a copy of the sources, as a distribution
# would, and checks them:
#   scripts/package.sh [FOLDER]        (default build/deb; nothing else is written)
# 1. dpkg-buildpackage -us -uc -b in FOLDER/one/tallix, its log in FOLDER/one/build.log;
# 2. lintian --pedantic on the .changes: no error, no warning;
# 3. blhc --debian --all on the build log: every compile and link had the
#    hardening flags;
# 4. hardening-check on both programs, and tallix-keys links no Qt;
# 5. the desktop entry and the AppStream file validated, and appstreamcli
#    compose keeps the component, its icon found, from the installed tree;
# 6. unless TALLIX_PACKAGE_ONCE=1, a second build in FOLDER/another/folder/tallix
#    must give byte-identical .deb files (tests/reproducible/same_packages.cmake).
# DEB_BUILD_OPTIONS passes through: the test command sets nocheck, because it
# has run the whole suite on the same sources just before.
set -euo pipefail
cd "$(dirname "$0")/.."
source=$PWD
folder=$(realpath -m "${1:-build/deb}")
rm -rf "$folder"
mkdir -p "$folder"

# The sources as a checkout has them: the files git knows (committed or not,
# never the build folders); outside git, everything but build/.
copy_sources() {  # destination
  mkdir -p "$1"
  if git -C "$source" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git -C "$source" ls-files -z --cached --others --exclude-standard |
      (cd "$source" && xargs -0 cp --parents -t "$1" 2>/dev/null || true)
  else
    tar -C "$source" --exclude=./build --exclude='./obj-*' -cf - . | tar -C "$1" -xf -
  fi
}

build() {  # folder
  copy_sources "$1/tallix"
  echo "package: building in $1/tallix"
  (cd "$1/tallix" && dpkg-buildpackage -us -uc -b -J2) >"$1/build.log" 2>&1 ||
    { tail -40 "$1/build.log"; echo "package: dpkg-buildpackage failed, log in $1/build.log"; exit 1; }
  # The copy goes back to its sources (the package tests run from it).
  (cd "$1/tallix" && debian/rules clean) >>"$1/build.log" 2>&1
}

build "$folder/one"
changes=$(ls "$folder"/one/*.changes)
echo "package: $(cd "$folder/one" && ls ./*.deb | tr '\n' ' ')"

echo "package: lintian"
lintian --pedantic --fail-on error,warning --display-info "$changes"

echo "package: blhc"
blhc --debian --all "$folder/one/build.log"

echo "package: hardening-check"
tree=$folder/one/tree
for deb in "$folder"/one/tallix_*.deb "$folder"/one/tallix-keys_*.deb; do dpkg-deb -x "$deb" "$tree"; done
scripts/hardening_check.sh "$tree/usr/lib/tallix/tallix" "$tree/usr/bin/tallix-keys"
if readelf -d "$tree/usr/bin/tallix-keys" | grep -i 'NEEDED.*qt'; then
  echo "package: tallix-keys links Qt"; exit 1
fi
if dpkg-deb -f "$folder"/one/tallix-keys_*.deb Depends | grep -i qt; then
  echo "package: tallix-keys depends on Qt"; exit 1
fi

echo "package: desktop entry and AppStream file"
desktop-file-validate "$tree/usr/share/applications/org.tallix.Tallix.desktop"
appstreamcli validate --pedantic --no-net "$tree/usr/share/metainfo/org.tallix.Tallix.metainfo.xml"
appstreamcli compose --no-color --no-net --origin=tallix --result-root="$folder/one/compose" \
  --print-report=full "$tree" >"$folder/one/compose.log" 2>&1 || { cat "$folder/one/compose.log"; exit 1; }
catalog=$(find "$folder/one/compose" -name '*.xml.gz')
if ! zcat "$catalog" | grep -q '<id>org.tallix.Tallix</id>' ||
   ! zcat "$catalog" | grep -q '<icon type="cached"'; then
  cat "$folder/one/compose.log"; echo "package: compose dropped the component or its icon"; exit 1
fi

if [ "${TALLIX_PACKAGE_ONCE:-0}" != 1 ]; then
  build "$folder/another/folder"
  cmake -DFIRST="$folder/one" -DSECOND="$folder/another/folder" -P tests/reproducible/same_packages.cmake
fi
echo "package: all checks passed"
