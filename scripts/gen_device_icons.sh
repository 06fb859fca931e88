#!/usr/bin/env bash
# Writes the device-strip icons (skin/common/device_ico/*.svg): one drawing per device kind in four states,
# normal and selected, each with and without the synchro mark. Run it again after changing a drawing.
set -euo pipefail
out=$(cd "$(dirname "$0")/.." && pwd)/skin/common/device_ico
mkdir -p "$out"

declare -A shapes
shapes[kb]='<rect x="5" y="11" width="34" height="19" rx="3"/><path d="M10 17h2M15 17h2M20 17h2M25 17h2M30 17h4M10 21h4M17 21h2M22 21h2M27 21h2M32 21h2M14 25h16"/>'
shapes[ms]='<rect x="14" y="5" width="16" height="30" rx="8"/><path d="M22 5v10M19 15h6"/>'
shapes[hard_mp]='<rect x="4" y="10" width="36" height="21" rx="4"/><path d="M9 26h26"/>'
shapes[soft_mp]='<rect x="4" y="10" width="36" height="21" rx="4"/><path d="M23 14l-4 7h6l-4 7"/>'
shapes[hd]='<path d="M9 26v-5a13 13 0 0 1 26 0v5"/><rect x="7" y="23" width="7" height="11" rx="2"/><rect x="30" y="23" width="7" height="11" rx="2"/>'
shapes[hub]='<rect x="6" y="13" width="32" height="15" rx="3"/><path d="M11 20h4M20 20h4M29 20h4M22 28v6"/>'
shapes[unknow]='<circle cx="22" cy="20" r="13"/><path d="M18 16a4 4 0 1 1 5 4c-1 .5-1 1.5-1 3M22 27v.5"/>'

write() {  # stem state colour synchro
  local stem=$1 state=$2 colour=$3 synchro=$4 mark=""
  [ "$synchro" = 1 ] && mark='<circle cx="38" cy="7" r="4" fill="#00e0c6" stroke="#0d0f14" stroke-width="1.5"/>'
  cat >"$out/${stem}_device_${state}.svg" <<SVG
<svg xmlns="http://www.w3.org/2000/svg" width="44" height="40" viewBox="0 0 44 40"><g fill="none" stroke="$colour" stroke-width="2" stroke-linecap="round" stroke-linejoin="round">${shapes[$stem]}</g>$mark</svg>
SVG
}

for stem in "${!shapes[@]}"; do
  write "$stem" normal "#8a93a6" 0
  write "$stem" selected "#00e0c6" 0
  write "$stem" synchro_normal "#8a93a6" 1
  write "$stem" synchro_selected "#00e0c6" 1
done
