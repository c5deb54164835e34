#!/usr/bin/env bash
# Regenerates the program's artwork into res/ from scratch, with ImageMagick 6
# and the DejaVu fonts only:
#
#   res/app.ico     application icon (resource 128): 16, 32, 48 and 256 px
#   res/main.ico    main dialog's icon (resource 135): 16, 32 and 48 px
#   res/splash.bmp  start-up splash picture (bitmap 157): 480x300
#
# Why these formats:
#   - Icons are 32-bit with alpha. The 16/32/48 px images are classic BMP/DIB
#     entries, which every Windows version and Wine's LoadImage decode; only
#     the 256 px image is PNG-compressed (ImageMagick does that by itself for
#     that size), as is usual for it and keeps the file small.
#   - The 16 and 32 px icons are drawn with their own heavier stroke widths
#     (not just scaled down), so the mark stays readable in a title bar.
#   - The splash is written with the BMP3: prefix: a 24-bit, uncompressed
#     bitmap with a plain BITMAPINFOHEADER. Newer BMP headers (V4/V5, which
#     ImageMagick writes by default) are refused by windres or LoadBitmap.
#
# Usage: scripts/make-art.sh   (from anywhere; writes into the repo's res/)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
RES="$ROOT/res"
FONTS=/usr/share/fonts/truetype/dejavu
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

command -v convert >/dev/null || { echo "make-art: ImageMagick 'convert' not found" >&2; exit 1; }
mkdir -p "$RES"

# Note: this ImageMagick closes open arcs and polylines with a chord when it
# strokes them, so every arc below is emitted either as a filled polygon or
# as a run of short straight lines.

# ---------------------------------------------------------------------------
# Geometry helpers for the icon mark (all coordinates in a 256x256 design
# space; each prints MVG drawing primitives).
# ---------------------------------------------------------------------------

# leg HX HY TX TY WIDTH_AT_HINGE WIDTH_AT_TIP NEEDLE
# A compass leg: a tapered blade from the hinge to the tip, ending in a point.
leg() {
  awk -v hx="$1" -v hy="$2" -v tx="$3" -v ty="$4" -v wh="$5" -v wt="$6" -v nl="$7" 'BEGIN {
    dx = tx-hx; dy = ty-hy; l = sqrt(dx*dx + dy*dy); ux = dx/l; uy = dy/l; nx = -uy; ny = ux
    printf "polygon %.2f,%.2f %.2f,%.2f %.2f,%.2f %.2f,%.2f %.2f,%.2f\n",
      hx+nx*wh/2, hy+ny*wh/2, tx+nx*wt/2, ty+ny*wt/2, tx+ux*nl, ty+uy*nl,
      tx-nx*wt/2, ty-ny*wt/2, hx-nx*wh/2, hy-ny*wh/2 }'
}

# leg_shade: same arguments as leg; one half of the blade (split along its
# axis), drawn in a darker tint so the leg reads as a faceted metal blade.
leg_shade() {
  awk -v hx="$1" -v hy="$2" -v tx="$3" -v ty="$4" -v wh="$5" -v wt="$6" -v nl="$7" 'BEGIN {
    dx = tx-hx; dy = ty-hy; l = sqrt(dx*dx + dy*dy); ux = dx/l; uy = dy/l; nx = -uy; ny = ux
    printf "polygon %.2f,%.2f %.2f,%.2f %.2f,%.2f %.2f,%.2f\n",
      hx, hy, hx+nx*wh/2, hy+ny*wh/2, tx+nx*wt/2, ty+ny*wt/2, tx+ux*nl, ty+uy*nl }'
}

# arc_band CX CY R WIDTH A0 A1
# A stroked arc as a filled ring sector with round ends (angles in degrees,
# clockwise from +x, as on screen).
arc_band() {
  awk -v cx="$1" -v cy="$2" -v r="$3" -v w="$4" -v a0="$5" -v a1="$6" 'BEGIN {
    pi = atan2(0, -1); n = 48; s = "polygon"
    for (i = 0; i <= n; i++) { a = (a0 + (a1-a0)*i/n)*pi/180
      s = s sprintf(" %.2f,%.2f", cx + (r+w/2)*cos(a), cy + (r+w/2)*sin(a)) }
    for (i = n; i >= 0; i--) { a = (a0 + (a1-a0)*i/n)*pi/180
      s = s sprintf(" %.2f,%.2f", cx + (r-w/2)*cos(a), cy + (r-w/2)*sin(a)) }
    print s
    for (k = 0; k < 2; k++) { a = (k ? a1 : a0)*pi/180; x = cx + r*cos(a); y = cy + r*sin(a)
      printf "circle %.2f,%.2f %.2f,%.2f\n", x, y, x + w/2, y }
  }'
}

# ---------------------------------------------------------------------------
# The icon: a rounded blue-to-teal blueprint tile with a faint grid, carrying
# a white "V" built as an opened drafting compass (hinge and grip at the
# bottom, needle-pointed legs) that has just scribed an amber arc.
# ---------------------------------------------------------------------------

# icon SIZE -> $TMP/icon-SIZE.png
# Drawn 8x oversized and box-filtered down, so edges get exact coverage
# anti-aliasing. Stroke widths are tuned per size.
icon() {
  local size=$1 ss=8
  local px=$((size * ss))
  local k; k=$(awk -v p="$px" 'BEGIN { printf "%.5f", p/256 }')

  # hinge centre and left tip (the right tip mirrors it)
  local hx=128 hy=194 tx=62 ty=56
  local inset radius=48 legh legt needle arcw hinge dot grid
  case $size in
    16)  inset=0; legh=44; legt=34; needle=8;  arcw=0;  hinge=36; dot=14; grid=0
         hy=200; tx=44; ty=36 ;;      # no arc or grid: just a bold V
    32)  inset=4; legh=40; legt=22; needle=14; arcw=12; hinge=28; dot=11; grid=8 ;;
    48)  inset=6; legh=36; legt=16; needle=16; arcw=10; hinge=25; dot=10; grid=5 ;;
    *)   inset=8; legh=34; legt=14; needle=16; arcw=8;  hinge=24; dot=10; grid=2 ;;
  esac
  local rx=$((256 - tx)) e=$((256 - inset))

  local legs shade="" handle="" grip="" arc="" lines=""
  legs="$(leg $hx $hy $tx $ty $legh $legt $needle) $(leg $hx $hy $rx $ty $legh $legt $needle)"
  if [ "$size" -ge 48 ]; then
    shade="$(leg_shade $hx $hy $tx $ty $legh $legt $needle) $(leg_shade $hx $hy $rx $ty $legh $legt $needle)"
    handle="roundrectangle $((hx-10)),$((hy+12)) $((hx+10)),$((hy+40)) 5,5"
    grip="rectangle $((hx-10)),$((hy+26)) $((hx+10)),$((hy+28)) rectangle $((hx-10)),$((hy+32)) $((hx+10)),$((hy+34))"
  fi
  [ "$arcw" != 0 ] && arc=$(arc_band $hx $hy 102 $arcw 218 322)
  if [ "$grid" != 0 ]; then
    local g step=32
    [ "$size" -le 32 ] && step=64
    for ((g = step; g < 256; g += step)); do lines+=" line $g,0 $g,256 line 0,$g 256,$g"; done
  fi

  # The mark alone on a transparent layer, so it can cast a soft shadow.
  local mark="$TMP/mark-$size.png"
  convert -size ${px}x${px} xc:none -stroke none \
    ${arc:+-fill '#ffc857' -draw "scale $k,$k $arc"} \
    ${handle:+-fill '#e8f1fa' -draw "scale $k,$k $handle"} \
    ${grip:+-fill '#a9c3dc' -draw "scale $k,$k $grip"} \
    -fill white -draw "scale $k,$k $legs" \
    ${shade:+-fill '#d3e4f3' -draw "scale $k,$k $shade"} \
    -fill white -draw "scale $k,$k circle $hx,$hy $((hx + hinge)),$hy" \
    -fill '#1a5fae' -draw "scale $k,$k circle $hx,$hy $((hx + dot)),$hy" \
    "$mark"

  # Tile: diagonal gradient plus grid, cut to a rounded square; then the
  # shadow (kept inside the tile) and the mark on top.
  convert -size ${px}x${px} -define gradient:direction=SouthEast gradient:'#2a6fdb-#0b9c9c' -alpha set \
    ${lines:+-fill none -stroke 'rgba(255,255,255,0.14)' -strokewidth $grid -draw "scale $k,$k $lines"} \
    \( -size ${px}x${px} xc:none -fill white -draw "scale $k,$k roundrectangle $inset,$inset $e,$e $radius,$radius" \) \
    -compose DstIn -composite -compose Over \
    \( "$mark" -fill '#06254a' -colorize 100 -channel A -evaluate multiply 0.55 +channel \
       -blur 0x$((px / 48)) -roll +$((px / 160))+$((px / 50)) \) -compose Atop -composite -compose Over \
    "$mark" -composite \
    -filter box -resize ${size}x${size} -depth 8 "$TMP/icon-$size.png"
}

for s in 16 32 48 256; do icon $s; done

convert "$TMP"/icon-{16,32,48,256}.png -depth 8 "$RES/app.ico"
# The dialog's icon uses the same mark; 48 px is included for large-icon views.
convert "$TMP"/icon-{16,32,48}.png -depth 8 "$RES/main.ico"

# ---------------------------------------------------------------------------
# The splash: a dark blueprint sheet with a faint grid, the product name on
# the left and a dimensioned drawing of a flange on the right.
# ---------------------------------------------------------------------------
W=480 H=300

# Sheet: radial navy gradient, minor grid every 12 px, major every 60 px, and
# a thin sheet frame. Hairlines sit on half pixels so they stay crisp.
minor="" major=""
for ((x = 12; x < W; x += 12)); do minor+=" line $x.5,0 $x.5,$H"; done
for ((y = 12; y < H; y += 12)); do minor+=" line 0,$y.5 $W,$y.5"; done
for ((x = 60; x < W; x += 60)); do major+=" line $x.5,0 $x.5,$H"; done
for ((y = 60; y < H; y += 60)); do major+=" line 0,$y.5 $W,$y.5"; done
convert -size 760x560 radial-gradient:'#174577-#040d1c' -crop ${W}x${H}+150+110 +repage \
  -fill none -strokewidth 1 \
  -stroke 'rgba(120,185,255,0.06)' -draw "$minor" \
  -stroke 'rgba(120,185,255,0.13)' -draw "$major" \
  -stroke 'rgba(150,205,255,0.30)' -draw "rectangle 6.5,6.5 $((W - 7)).5,$((H - 7)).5" \
  "$TMP/sheet.png"

# Drawing: front view of a six-hole flange with a keyed bore, centre lines,
# bolt circle, an overall diameter dimension and two leader callouts.
awk -v cx=372.5 -v cy=148.5 -v font="$FONTS/DejaVuSansMono.ttf" -f - > "$TMP/drawing.mvg" <<'AWK'
function rad(a) { return a*PI/180 }
function ln(x0, y0, x1, y1) { printf "line %.2f,%.2f %.2f,%.2f\n", x0, y0, x1, y1 }
function label(x, y, t) { printf "text %.2f,%.2f '%s'\n", x, y, t }
# arc as a run of short lines (see the note at the top)
function arc(x, y, r, a0, a1,   n, i, p, q) {
  n = int((a1 - a0)/4) + 1
  for (i = 0; i < n; i++) {
    p = rad(a0 + (a1 - a0)*i/n); q = rad(a0 + (a1 - a0)*(i + 1)/n)
    ln(x + r*cos(p), y + r*sin(p), x + r*cos(q), y + r*sin(q))
  }
}
# filled arrowhead with its tip at x,y pointing along angle a
function arrow(x, y, a,   l, w, c, s) {
  l = 7; w = 2.2; c = cos(rad(a)); s = sin(rad(a))
  printf "polygon %.2f,%.2f %.2f,%.2f %.2f,%.2f\n", x, y, x - l*c - w*s, y - l*s + w*c, x - l*c + w*s, y - l*s - w*c
}
# leader from the edge of circle (ox,oy,r) outward at angle a for length len,
# then a shoulder of length s (negative = to the left) carrying the note
function callout(ox, oy, r, a, len, s, note,   c, n, x0, y0, x1, y1) {
  c = cos(rad(a)); n = sin(rad(a))
  x0 = ox + r*c; y0 = oy + r*n; x1 = ox + (r + len)*c; y1 = oy + (r + len)*n
  print "push graphic-context", dim; ln(x0, y0, x1, y1); ln(x1, y1, x1 + s, y1); print "pop graphic-context"
  print "push graphic-context", head; arrow(x0, y0, a + 180); print "pop graphic-context"
  print "push graphic-context", txt; label((s > 0 ? x1 + 3 : x1 + s + 3), y1 - 4, note); print "pop graphic-context"
}
BEGIN {
  PI = atan2(0, -1)
  R = 64; HUB = 34; BORE = 17; PCD = 49; HOLE = 6; KEY = 5
  obj  = "stroke '#9fd4ff' stroke-width 1.3 fill none"
  thin = "stroke '#6fb0ee' stroke-width 0.8 fill none"
  cen  = "stroke '#5d9ad6' stroke-width 0.8 fill none stroke-dasharray 12 3 2 3"
  dim  = "stroke '#7fbfff' stroke-width 0.8 fill none"
  head = "stroke none fill '#7fbfff'"
  txt  = "stroke none fill '#b4dcff' font '" font "' font-size 10"

  # centre lines and bolt circle (long dash, dot)
  print "push graphic-context", cen
  ln(cx - R - 10, cy, cx + R + 10, cy); ln(cx, cy - R - 10, cx, cy + R + 10)
  printf "circle %.2f,%.2f %.2f,%.2f\n", cx, cy, cx + PCD, cy
  print "pop graphic-context"

  # visible outlines: rim, hub, keyed bore, six bolt holes
  print "push graphic-context", obj
  printf "circle %.2f,%.2f %.2f,%.2f\n", cx, cy, cx + R, cy
  printf "circle %.2f,%.2f %.2f,%.2f\n", cx, cy, cx + HUB, cy
  k = atan2(KEY, sqrt(BORE*BORE - KEY*KEY))*180/PI
  arc(cx, cy, BORE, -90 + k, 270 - k)
  ky = cy - sqrt(BORE*BORE - KEY*KEY)
  ln(cx - KEY, ky, cx - KEY, cy - BORE - 5); ln(cx + KEY, ky, cx + KEY, cy - BORE - 5)
  ln(cx - KEY, cy - BORE - 5, cx + KEY, cy - BORE - 5)
  for (i = 0; i < 6; i++) {
    a = rad(30 + 60*i); hx[i] = cx + PCD*cos(a); hy[i] = cy + PCD*sin(a)
    printf "circle %.2f,%.2f %.2f,%.2f\n", hx[i], hy[i], hx[i] + HOLE, hy[i]
  }
  print "pop graphic-context"

  # rim chamfer and the holes' centre marks
  print "push graphic-context", thin
  arc(cx, cy, R - 3, 0, 360)
  for (i = 0; i < 6; i++) {
    ln(hx[i] - HOLE - 3, hy[i], hx[i] + HOLE + 3, hy[i]); ln(hx[i], hy[i] - HOLE - 3, hx[i], hy[i] + HOLE + 3)
  }
  print "pop graphic-context"

  # overall diameter, dimensioned above the view
  dy = cy - R - 16
  print "push graphic-context", dim
  ln(cx - R, cy - 4, cx - R, dy - 4); ln(cx + R, cy - 4, cx + R, dy - 4); ln(cx - R, dy, cx + R, dy)
  print "pop graphic-context"
  print "push graphic-context", head; arrow(cx - R, dy, 180); arrow(cx + R, dy, 0); print "pop graphic-context"
  print "push graphic-context", txt; label(cx - 16, dy - 4, "Ø128"); print "pop graphic-context"

  # callouts: radial leaders ending in a shoulder with the note above it
  callout(cx, cy, BORE, 60, 84 - BORE, 46, "Ø34 H7")
  callout(hx[2], hy[2], HOLE, 150, 84 - PCD - HOLE, -46, "6× Ø12")

  # view title under the drawing, as on a drawing sheet
  print "push graphic-context stroke none fill '#6f9fcf' text-anchor middle font '" font "' font-size 9"
  label(cx, cy + R + 38, "FLANGE  ·  FRONT VIEW  ·  1:2")
  print "pop graphic-context"
}
AWK
# (-draw "$(cat ...)" rather than "@file": the stock security policy forbids @ files)
convert -size ${W}x${H} xc:none -draw "$(cat "$TMP/drawing.mvg")" "$TMP/drawing.png"

# "2023" is set in the accent colour right after "Vornix " at the same size.
year_x=$(convert -font "$FONTS/DejaVuSans-Bold.ttf" -pointsize 40 label:'Vornix ' -format %w info:)
year_x=$((year_x - 2))

# Lettering: maker's mark top left, product name with an accent rule under
# it, "Utility", then a separator and the copyright line at the bottom.
convert "$TMP/sheet.png" "$TMP/drawing.png" -composite \
  -stroke none -fill '#35c6c0' -draw "polygon 36,32 42,38 36,44 30,38" \
  -font "$FONTS/DejaVuSans-Bold.ttf" -pointsize 14 -kerning 5 -fill '#9fd3ff' -annotate +48+44 'VELKOR' \
  -kerning 0 -pointsize 40 -fill white -annotate +28+136 'Vornix' \
  -fill '#4fd6cf' -annotate +$((28 + year_x))+136 '2023' \
  -draw "rectangle 30,150 120,151" \
  -font "$FONTS/DejaVuSans-ExtraLight.ttf" -pointsize 26 -kerning 2 -fill '#d6ebff' -annotate +28+186 'Utility' \
  -stroke 'rgba(150,205,255,0.35)' -strokewidth 1 -draw "line 28,258.5 452,258.5" -stroke none \
  -font "$FONTS/DejaVuSans.ttf" -pointsize 10 -kerning 0 -fill '#8fb3d9' \
  -annotate +28+280 'Copyright © 2023 VELKOR. All rights reserved.' \
  -alpha off -depth 8 -type TrueColor BMP3:"$RES/splash.bmp"

echo "make-art: wrote res/app.ico res/main.ico res/splash.bmp"
