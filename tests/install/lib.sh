# Shared by the installation tests (sourced, bash): failure reporting, an
# install into a scratch prefix, and the files an installation must hold.

failures=0
check() {  # DESCRIPTION COMMAND...: runs COMMAND, counts and reports a failure
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAIL: $what"
    failures=$((failures + 1))
    return 1
  fi
}
finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
}

# install_into BUILD_DIR PREFIX: cmake --install of the build into PREFIX.
install_into() {
  mkdir -p "$(dirname "$2")"
  if ! cmake --install "$1" --prefix "$2" >"$2.install.log" 2>&1; then
    echo "FAIL: cmake --install into $2"
    cat "$2.install.log"
    exit 1
  fi
}

# The files of an installation, relative to its prefix, sorted; the icons
# (share/icons) are checked on their own by check_icons.
expected_files() {  # APPSTREAM_ID
  sort <<EOF
bin/maison
lib/maison/libKvrRun.so
lib/maison/maison
share/applications/maison.desktop
share/doc/maison/changelog.gz
share/doc/maison/copyright
share/doc/maison/runtime.md
share/doc/maison/scene-format.md
share/maison/HOME.SP1
share/maison/kvr.ini
share/maison/kvrbdo.ini
share/maison/kvrnu.ini
share/man/man1/maison.1.gz
share/metainfo/$1.metainfo.xml
EOF
}

# Width and height of a PNG, from its header.
png_size() {
  od -An -tu1 -j16 -N8 "$1" |
    awk '{ printf "%dx%d\n", $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }'
}

# check_icons ICONS_DIR: the scalable icon, a 48x48 one at least, and every
# PNG of the size its folder names.
check_icons() {
  local dir=$1 bad=0 png size
  [ -s "$dir/hicolor/scalable/apps/maison.svg" ] || { echo "  no scalable icon"; bad=1; }
  [ -f "$dir/hicolor/48x48/apps/maison.png" ] || { echo "  no 48x48 icon"; bad=1; }
  while IFS= read -r png; do
    size=$(png_size "$png")
    case $png in
      "$dir/hicolor/$size/apps/maison.png") ;;
      *)
        echo "  $png is $size"
        bad=1
        ;;
    esac
  done < <(find "$dir" -name '*.png')
  [ -z "$(find "$dir" -type f ! -name 'maison.png' ! -name 'maison.svg')" ] || {
    echo "  other files in $dir"
    bad=1
  }
  return $bad
}
