#!/usr/bin/env bash
# Writes the power panel's pictures (skin/power/*.svg): the charge state (charged, charging, on battery) and
# what lies on the charging pad (one of three kinds of phone, or nothing). The panel names them as .png; it
# takes the .svg of the same name. Run it again after changing a drawing.
set -euo pipefail
out=$(cd "$(dirname "$0")/.." && pwd)/skin/power
mkdir -p "$out"

battery='<rect x="4" y="10" width="30" height="16" rx="3"/><path d="M36 15v6"/>'
phone='<rect x="13" y="4" width="18" height="32" rx="3"/><path d="M20 32h4"/>'

declare -A shapes
shapes[powered]="$battery"'<rect x="7" y="13" width="24" height="10" rx="1" fill="#00e0c6" stroke="none"/>'
shapes[powering]="$battery"'<path d="M21 12l-5 7h6l-4 6" stroke="#00e0c6"/>'
shapes[power]="$battery"'<rect x="7" y="13" width="12" height="10" rx="1" fill="#8a93a6" stroke="none"/>'
shapes[Phone_type_iphone]="$phone"'<path d="M19 8h6"/>'
shapes[Phone_type_samsung]="$phone"'<circle cx="22" cy="8.5" r="1"/>'
shapes[Phone_type_other]="$phone"'<path d="M23 13l-3 5h4l-3 5" stroke="#00e0c6"/>'
shapes[Phone_type_no_device]='<rect x="13" y="4" width="18" height="32" rx="3" stroke-dasharray="3 3"/>'

for stem in "${!shapes[@]}"; do
  cat >"$out/${stem}.svg" <<SVG
<svg xmlns="http://www.w3.org/2000/svg" width="44" height="40" viewBox="0 0 44 40"><g fill="none" stroke="#8a93a6" stroke-width="2" stroke-linecap="round" stroke-linejoin="round">${shapes[$stem]}</g></svg>
SVG
done
