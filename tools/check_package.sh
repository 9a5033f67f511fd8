#!/usr/bin/env bash
# Checks a built kibiki .deb as a distribution would: its desktop entry and AppStream metainfo
# validate, and lintian finds no error and no warning beyond those overridden (with reasons) in
# packaging/lintian-overrides.
#   check_package.sh PACKAGE.deb
set -euo pipefail
deb=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work"

echo "== desktop-file-validate"
desktop-file-validate "$work/usr/share/applications/kibiki.desktop"
echo "== appstreamcli validate"
# Kept: the component id is "kibiki", not a reverse domain name, while the project has no domain
# of its own; it matches the desktop file, the icon and the Wayland app id.
appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info \
  "$work/usr/share/metainfo/kibiki.metainfo.xml"
echo "== lintian"
lintian --fail-on error,warning --display-info "$deb"
echo "package checks passed: $(basename "$deb")"
