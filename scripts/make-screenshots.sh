#!/usr/bin/env bash
# Renders the screens that the README and the authors' guide show, with the real window
# program under Xvfb: a copy of tavrino with a screenshot script linked in (screenshots/) is
# driven by the taps and keys of a steps file and saves its window after each "shot".
#
#   scripts/make-screenshots.sh BUILD_DIR
#
# docs/screenshots/: six screens of the drivers' samples (screenshots/screens.steps), by day and
# by night, portrait 480x640 and landscape 640x480. docs/guide/: the screens of the authors'
# samples (screenshots/guide.steps), two flow graphs drawn by 'tavrino graph', and the findings
# section of docs/authors-guide.md made again from 'tavrino help check'.
set -euo pipefail

if [[ $# -ne 1 ]]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/.." && pwd)
program="$build/screenshots/tavrino-screenshots"
tavrino="$build/bin/tavrino"
for file in "$program" "$tavrino"; do
  if [[ ! -x "$file" ]]; then
    echo "$0: $file is not built: cmake --build $1" >&2
    exit 2
  fi
done

# Everything below runs against one Xvfb of its own, on a display number that is free.
if [[ -z "${TAVRINO_SCREENSHOTS_UNDER_XVFB:-}" ]]; then
  export TAVRINO_SCREENSHOTS_UNDER_XVFB=1
  exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -nolisten tcp" \
    "$0" "$@"
fi
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY QT_SCALE_FACTOR
cd "$source_dir"

# shot STEPS FOLDER SUFFIX ARGUMENTS...: one run of the program through a steps file. No tap
# is dropped as a bounce: the steps come one at a time anyway.
shot() {
  local steps=$1 folder=$2 suffix=$3
  shift 3
  mkdir -p "$folder"
  TAVRINO_SCREENSHOT_STEPS="$steps" TAVRINO_SCREENSHOT_FOLDER="$folder" \
    TAVRINO_SCREENSHOT_SUFFIX="$suffix" timeout 60 "$program" --tap-guard 0 "$@"
}

for theme in day night; do
  for orientation in portrait:480x640 landscape:640x480; do
    shot screenshots/screens.steps docs/screenshots "-$theme-${orientation%%:*}" \
      --root "$build/bin" --theme "$theme" --size "${orientation#*:}"
  done
done
shot screenshots/guide.steps docs/guide "" --root authoring --size 480x640

# The flow graphs of the guide's section "The whole list as a graph": the sample list, and a
# list whose jump leads nowhere, so that the guide shows a fault drawn red. The lists are named
# from the source folder, so the pictures do not depend on where the clone lies.
graph() {
  "$tavrino" graph --format svg -o "docs/guide/$1" "$2"
  echo "docs/guide/$1"
}
graph graph.svg "authoring/Übung Listenaufbau/Jede Zeilenart.lst"
graph graph-missing-label.svg "authoring/Übung Fehlermeldungen/05 Sprungmarke fehlt.lst"

python3 scripts/authors-guide-findings.py "$tavrino" docs/authors-guide.md

if command -v optipng >/dev/null; then
  optipng -quiet -o2 -strip all docs/screenshots/*.png docs/guide/*.png
fi
