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
