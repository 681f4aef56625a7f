# Shared by the Wine harness scripts: where Wine is, and the environment
# every Wine process of a test session runs with.
WINE64=/usr/lib/wine/wine64
WINESERVER_BIN=/usr/lib/wine/wineserver
REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# The freshly booted prefix every session copies; kept across builds.
WINE_TEMPLATE=${VESTREL_WINE_TEMPLATE:-$REPO_ROOT/build/wine-template}

wine_base_env() {
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=${VESTREL_EXTRA_DLLOVERRIDES:+;$VESTREL_EXTRA_DLLOVERRIDES}"
  export WINESERVER=$WINESERVER_BIN
  export WINEARCH=win64
}

# Loads a session's environment (prefix, display) written by `session start`.
wine_session_env() {
  local dir=$1
  if [[ ! -f "$dir/env" ]]; then
    echo "wine: no session in $dir (run tools/wine/session start $dir)" >&2
    return 1
  fi
  # shellcheck disable=SC1091
  source "$dir/env"
  wine_base_env
}

# The drive letter of the test prefixes that stands for an AppleShare
# volume of the sample world, and the volume's network name. Wine takes a
# drive whose dosdevices link leads into dosdevices/unc/SERVER/VOLUME, and
# which the registry calls a network drive, for a connected network drive:
# GetDriveType says DRIVE_REMOTE and WNetGetConnection gives the UNC name.
APPLESHARE_DRIVE=n:
APPLESHARE_SERVER="Engineering Server"
APPLESHARE_VOLUME=Projects

# Maps the drive in $WINEPREFIX. Run while the prefix's wineserver is up;
# the drive counts as a network drive from the next start of the server.
wine_map_appleshare_drive() {
  local unc="unc/$APPLESHARE_SERVER/$APPLESHARE_VOLUME"
  mkdir -p "$WINEPREFIX/dosdevices/$unc"
  ln -sfn "$unc" "$WINEPREFIX/dosdevices/$APPLESHARE_DRIVE"
  "$WINE64" reg.exe add 'HKLM\Software\Wine\Drives' /v "$APPLESHARE_DRIVE" /d network /f >/dev/null 2>&1
}
