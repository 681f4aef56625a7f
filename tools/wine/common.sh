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

# Wine draws the caption buttons with the Marlett font (Debian's fonts-wine).
# Started as /usr/lib/wine/wine64 it does not look in its own font folder,
# so each prefix gets a copy in its Fonts folder; without it every caption
# shows the letters "0 1 r".
wine_give_prefix_marlett() {
  local font=/usr/share/wine/fonts/marlett.ttf fonts="$WINEPREFIX/drive_c/windows/Fonts"
  [[ -f $font && -d $fonts ]] || return 0
  cmp -s "$font" "$fonts/marlett.ttf" || cp "$font" "$fonts/marlett.ttf"
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
