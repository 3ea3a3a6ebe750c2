#!/usr/bin/env bash
# The Debian package: made by CPack, unpacked into a temporary root, its
# files, control fields and programs checked, and lintian reporting no
# errors. Skipped (exit 77) where dpkg-deb or lintian is missing.
# debian-package.sh BUILD-FOLDER VERSION
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v $tool >/dev/null || { echo "skipped: no $tool"; exit 77; }
done

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1) ||
    fail "cpack: $(cat "$work/cpack.log")"
deb=$work/pagora_${version}_amd64.deb
[ -f "$deb" ] || fail "no $deb"

root=$work/root
dpkg-deb -x "$deb" "$root"
for file in usr/bin/pagora usr/bin/kfa usr/share/applications/pagora.desktop \
    usr/share/mime/packages/pagora.xml usr/share/icons/hicolor/scalable/apps/pagora.svg \
    usr/share/icons/hicolor/48x48/apps/pagora.png usr/share/man/man1/pagora.1.gz \
    usr/share/man/man1/kfa.1.gz usr/share/bash-completion/completions/kfa \
    usr/share/doc/pagora/copyright usr/share/doc/pagora/changelog.gz; do
    [ -f "$root/$file" ] || fail "the package lacks /$file"
done
[ "$("$root/usr/bin/kfa" --version)" = "kfa (Pagora) $version" ] || fail "the unpacked kfa --version"
missing=$(ldd "$root/usr/bin/pagora" | grep 'not found' || true)
[ -z "$missing" ] || fail "the unpacked viewer lacks libraries: $missing"

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libc6 libqt6gui6 libqt6widgets6 libturbojpeg0; do
    grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
dpkg-deb -f "$deb" Recommends | grep -q fonts-wqy-zenhei || fail "the fonts are not recommended"
dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -qx './triggers' || fail "no triggers"

if ! command -v lintian >/dev/null; then
    echo "skipped: no lintian"
    exit 77
fi
status=0
report=$(lintian --fail-on error "$deb" 2>&1) || status=$?
report=$(grep -v 'running with root privileges' <<<"$report" || true)
[ $status -eq 0 ] && ! grep -q '^E:' <<<"$report" || fail "lintian: $report"
echo "lintian: ${report:-no tags}"
