#!/usr/bin/env bash
# Validates the desktop entry (desktop-file-validate, Debian desktop-file-utils) or the AppStream file
# (appstreamcli, Debian appstream). Exits 77, which the test run counts as skipped, when the tool is missing.
#   validate_desktop_files.sh desktop FILE.desktop
#   validate_desktop_files.sh appstream FILE.metainfo.xml
set -uo pipefail
kind="$1"
file="$2"
case "$kind" in
  desktop) tool=desktop-file-validate; command=(desktop-file-validate "$file") ;;
  appstream) tool=appstreamcli; command=(appstreamcli validate --no-net "$file") ;;
  *) echo "unknown kind $kind" >&2; exit 2 ;;
esac
if ! command -v "$tool" >/dev/null; then
  echo "$tool is not installed: skipped" >&2
  exit 77
fi
output="$("${command[@]}" 2>&1)"
status=$?
echo "$output"
if [ "$status" -ne 0 ]; then
  echo "FAILED: $file does not validate" >&2
  exit 1
fi
# desktop-file-validate exits 0 on hints and warnings; they count as failures here.
if [ "$kind" = desktop ] && [ -n "$output" ]; then
  echo "FAILED: $file has warnings" >&2
  exit 1
fi
exit 0
