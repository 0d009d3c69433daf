#!/usr/bin/env bash
# Renders the program's artwork sources (res/art/*.svg) into the committed resource
# files that the build reads: res/bitmaps/*.bmp and res/icons/*.ico.
#
#   scripts/render-art.sh            render everything and check the results
#   scripts/render-art.sh --check    render into a temporary folder and fail if the
#                                    committed files differ from a fresh render
#   scripts/render-art.sh --sheet F  also write a contact sheet PNG of everything to F
#
# The build does not run this script; run it after editing an SVG and commit the
# outputs. Needs (Debian packages): librsvg2-bin (rsvg-convert), imagemagick
# (convert, identify, montage) and icoutils (icotool). The output is deterministic:
# the same sources and tool versions give byte-identical files.
#
# Conventions:
#   res/art/icon_<id>_<name>.svg  -> res/icons/icon_<id>_<name>.ico
#       A 48x32 document with two artboards: the 32x32 image at (0,0) and a
#       separately drawn 16x16 image at (32,0). The .ico holds 16x16 first, then
#       20x20 and 24x24 (the small drawing at 125 and 150 %, for small icons on
#       scaled displays), then 32x32, all 32-bit with alpha (loading an icon
#       resource at size 0x0 picks the first image, which is the one the
#       notification area wants at 100 %).
#   res/art/bmp_<id>_<name>.svg   -> res/bitmaps/bmp_<id>_<name>.bmp
#       and, for the notifier popup's bitmaps, also bmp_<id>_<name>_<percent>.bmp
#       at 125, 150 and 200 % (each side scaled and rounded to the nearest pixel,
#       halves up), which the popup draws on scaled displays.
#       Windows BMP v3 (BITMAPINFOHEADER), at the size and format the table BITMAPS
#       below gives (the sizes the program expects). 32-bit bitmaps are written fully
#       opaque (alpha 255). Flat-coloured pictures are stored with a palette of at
#       most 256 colours taken from the picture itself (no dithering; only the
#       anti-aliased edges lose a shade), uncompressed ("pal8") or run-length
#       encoded ("rle8"): a quarter of the size or much less. rle8 is only for
#       bitmaps the program loads as device-dependent bitmaps (LoadBitmap, or
#       LoadImage without LR_CREATEDIBSECTION), which accept it; the property
#       sheet's header and watermark keep their true colours.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
art=$root/res/art
out_bmp=$root/res/bitmaps
out_ico=$root/res/icons

mode=render
sheet=
while [ $# -gt 0 ]; do
  case $1 in
    --check) mode=check ;;
    --sheet) sheet=$2; shift ;;
    -h|--help) sed -n '2,30p' "$0"; exit 0 ;;
    *) echo "render-art.sh: unknown argument $1" >&2; exit 2 ;;
  esac
  shift
done

# ImageMagick 6: prefer the packaged binary over any wrapper earlier in PATH.
CONVERT=convert
[ -x /usr/bin/convert ] && CONVERT=/usr/bin/convert
IDENTIFY=identify
[ -x /usr/bin/identify ] && IDENTIFY=/usr/bin/identify
MONTAGE=montage
[ -x /usr/bin/montage ] && MONTAGE=/usr/bin/montage
COMPARE=compare
[ -x /usr/bin/compare ] && COMPARE=/usr/bin/compare
for tool in rsvg-convert "$CONVERT" "$IDENTIFY" "$COMPARE" icotool; do
  command -v "$tool" >/dev/null 2>&1 || {
    echo "render-art.sh: $tool not found (apt-get install librsvg2-bin imagemagick icoutils)" >&2
    exit 1
  }
done

# name, width, height, format (24, 32, pal8 or rle8), ground colour (flattened under the SVG),
# and whether the bitmap is shown in the notifier popup ("popup": it must then
# contain no pure white, which the popup's colour key makes see-through, and no
# magenta, the skin's region key, and it is also rendered at 125, 150 and 200 %;
# an optional last column gives those renderings another format).
BITMAPS=(
  "bmp_296_skin              400 159 rle8 #FEFEFE popup"
  "bmp_297_star               16  15 rle8 #FEFEFE popup 24"
  "bmp_298_long_break        141 124 rle8 #FEFEFE popup"
  "bmp_302_short_break       141 125 rle8 #FEFEFE popup"
  "bmp_303_time_limit        141 124 rle8 #FEFEFE popup"
  "bmp_304_workday_end       141 124 rle8 #FEFEFE popup"
  "bmp_242_watermark         164 314 32   #FFFFFF -"
  "bmp_176_header             49  49 24   #FFFFFF -"
  "bmp_234_wp_welcome        164 314 pal8 #FFFFFF -"
  "bmp_233_wp_desk_chair     164 314 pal8 #FFFFFF -"
  "bmp_237_wp_screen         164 314 pal8 #FFFFFF -"
  "bmp_241_wp_keyboard_mouse 164 314 pal8 #FFFFFF -"
  "bmp_239_wp_notebook       164 314 pal8 #FFFFFF -"
  "bmp_236_wp_lighting       164 314 pal8 #FFFFFF -"
  "bmp_238_wp_climate_noise  164 314 pal8 #FFFFFF -"
  "bmp_308_ex01_arm_across   250 250 rle8 #FFFFFF -"
  "bmp_321_ex02_shrug        250 250 rle8 #FFFFFF -"
  "bmp_322_ex03_roll_a       250 250 rle8 #FFFFFF -"
  "bmp_323_ex03_roll_b       250 250 rle8 #FFFFFF -"
  "bmp_335_ex03_roll_a_copy  250 250 rle8 #FFFFFF -"
  "bmp_324_ex04_arms_forward 250 250 rle8 #FFFFFF -"
  "bmp_326_ex05_lean_forward 250 250 rle8 #FFFFFF -"
  "bmp_325_ex06_focus        250 250 rle8 #FFFFFF -"
  "bmp_327_ex06_focus_copy   250 250 rle8 #FFFFFF -"
  "bmp_328_ex07_blink_open   250 250 rle8 #FFFFFF -"
  "bmp_329_ex07_blink_closed 250 250 rle8 #FFFFFF -"
  "bmp_330_ex08_wrists       250 250 rle8 #FFFFFF -"
  "bmp_331_ex09_fingers_wide 250 250 rle8 #FFFFFF -"
  "bmp_332_ex09_fingers_bent 250 250 rle8 #FFFFFF -"
  "bmp_333_ex_rest_front     250 250 rle8 #FFFFFF -"
  "bmp_334_ex_rest_side      250 250 rle8 #FFFFFF -"
  "bmp_309_ex10_turn_left    250 250 rle8 #FFFFFF -"
  "bmp_310_ex10_turn_right   250 250 rle8 #FFFFFF -"
  "bmp_311_ex11_tilt_left    250 250 rle8 #FFFFFF -"
  "bmp_312_ex11_tilt_right   250 250 rle8 #FFFFFF -"
  "bmp_313_ex12_head_down    250 250 rle8 #FFFFFF -"
  "bmp_314_ex12_head_back    250 250 rle8 #FFFFFF -"
  "bmp_315_ex13_elbows_back  250 250 rle8 #FFFFFF -"
  "bmp_316_ex14_back_bend    250 250 rle8 #FFFFFF -"
  "bmp_317_ex15_eyes_up      250 250 rle8 #FFFFFF -"
  "bmp_318_ex15_eyes_down    250 250 rle8 #FFFFFF -"
  "bmp_319_ex15_eyes_left    250 250 rle8 #FFFFFF -"
  "bmp_320_ex15_eyes_right   250 250 rle8 #FFFFFF -"
)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ "$mode" = check ]; then
  dest_bmp=$work/check/bitmaps
  dest_ico=$work/check/icons
else
  dest_bmp=$out_bmp
  dest_ico=$out_ico
fi
mkdir -p "$dest_bmp" "$dest_ico"

fail=0
err() { echo "render-art.sh: $*" >&2; fail=1; }

# Little-endian unsigned integer of N bytes at offset O of file F.
le() { od -An -t"u$3" -j"$2" -N"$3" --endian=little "$1" | tr -d ' '; }

check_bmp() { # file width height bpp compression(0 none, 1 RLE8)
  local f=$1
  [ "$(head -c 2 "$f")" = BM ] || { err "$f: not a BMP"; return; }
  [ "$(le "$f" 14 4)" = 40 ] || err "$f: not a v3 (BITMAPINFOHEADER) BMP"
  [ "$(le "$f" 18 4)" = "$2" ] || err "$f: width $(le "$f" 18 4), expected $2"
  [ "$(le "$f" 22 4)" = "$3" ] || err "$f: height $(le "$f" 22 4), expected $3"
  [ "$(le "$f" 28 2)" = "$4" ] || err "$f: $(le "$f" 28 2) bits per pixel, expected $4"
  [ "$(le "$f" 30 4)" = "$5" ] || err "$f: compression $(le "$f" 30 4), expected $5"
  local geo
  geo=$("$IDENTIFY" -format '%w %h' "$f")
  [ "$geo" = "$2 $3" ] || err "$f: identify reports $geo"
}

count_colour() { # file colour -> number of pixels of exactly that colour
  "$CONVERT" "$1" -alpha off -fill black +opaque "$2" -fill white -opaque "$2" \
    -format '%[fx:round(mean*w*h)]' info:
}

# --- bitmaps ---------------------------------------------------------------
# One bitmap: source name, output name, size, format, ground, where.
render_bmp() {
  local name=$1 outname=$2 w=$3 h=$4 format=$5 ground=$6 where=$7
  local src=$art/$name.svg png=$work/$outname.png
  rsvg-convert -w "$w" -h "$h" -o "$png" "$src"
  local out=$dest_bmp/$outname.bmp
  local compression=0 bpp compress rmse n
  case $format in
    32)
      bpp=32
      "$CONVERT" "$png" -background "$ground" -alpha remove -alpha on \
        -define bmp3:alpha=true +set date:create +set date:modify BMP3:"$out" ;;
    24)
      bpp=24
      "$CONVERT" "$png" -background "$ground" -alpha remove -alpha off \
        -type TrueColor +set date:create +set date:modify BMP3:"$out" ;;
    pal8|rle8)
      bpp=8
      compress=None
      [ "$format" = rle8 ] && { compress=RLE; compression=1; }
      "$CONVERT" "$png" -background "$ground" -alpha remove -alpha off \
        "$work/$outname-true.png"
      "$CONVERT" "$work/$outname-true.png" +dither -colors 256 -type Palette -compress "$compress" \
        +set date:create +set date:modify BMP3:"$out"
      # The palette may only soften anti-aliased edges: no visible change overall.
      rmse=$({ "$COMPARE" -metric RMSE "$work/$outname-true.png" "$out" null: 2>&1 || true; } |
        sed 's/.*(\(.*\))/\1/')
      awk -v e="$rmse" 'BEGIN { exit !(e < 0.004) }' || err "$out: palette error $rmse (RMSE) is visible"
      ;;
    *) err "$name: unknown format $format"; return ;;
  esac
  check_bmp "$out" "$w" "$h" "$bpp" "$compression"
  if [ "$where" = popup ]; then
    n=$(count_colour "$out" '#FFFFFF'); [ "$n" = 0 ] || err "$out: $n pure white pixels (see-through in the popup)"
    n=$(count_colour "$out" '#FF00FF'); [ "$n" = 0 ] || err "$out: $n key-colour (magenta) pixels"
  fi
}

# A length at `percent` of its size at 100 %, rounded as the program rounds it.
scaled() { echo $((($1 * $2 + 50) / 100)); }

declare -A listed=()
for row in "${BITMAPS[@]}"; do
  read -r name w h format ground where scaled_format <<<"$row"
  listed[$name]=1
  [ -f "$art/$name.svg" ] || { err "missing source $art/$name.svg"; continue; }
  render_bmp "$name" "$name" "$w" "$h" "$format" "$ground" "$where"
  if [ "$where" = popup ]; then
    for percent in 125 150 200; do
      render_bmp "$name" "${name}_$percent" "$(scaled "$w" $percent)" "$(scaled "$h" $percent)" \
        "${scaled_format:-$format}" "$ground" "$where"
    done
  fi
done
for src in "$art"/bmp_*.svg; do
  name=$(basename "$src" .svg)
  [ -n "${listed[$name]:-}" ] || err "$src is not in the BITMAPS table of this script"
done

# --- icons -----------------------------------------------------------------
for src in "$art"/icon_*.svg; do
  name=$(basename "$src" .svg)
  png=$work/$name.png
  rsvg-convert -w 48 -h 32 -o "$png" "$src"
  "$CONVERT" "$png" -crop 16x16+32+0 +repage -define png:exclude-chunks=date,time "$work/$name-16.png"
  "$CONVERT" "$png" -crop 32x32+0+0 +repage -define png:exclude-chunks=date,time "$work/$name-32.png"
  # The small drawing at 125 and 150 %: the whole document at that scale,
  # cropped to the small artboard.
  for size in 20 24; do
    rsvg-convert -w $((48 * size / 16)) -h $((32 * size / 16)) -o "$work/$name-at$size.png" "$src"
    "$CONVERT" "$work/$name-at$size.png" -crop "${size}x$size+$((32 * size / 16))+0" +repage \
      -define png:exclude-chunks=date,time "$work/$name-$size.png"
  done
  out=$dest_ico/$name.ico
  icotool -c -o "$out" "$work/$name-16.png" "$work/$name-20.png" "$work/$name-24.png" \
    "$work/$name-32.png"
  list=$(icotool -l "$out")
  for size in 16 20 24 32; do
    grep -q -- "--width=$size --height=$size --bit-depth=32" <<<"$list" ||
      err "$out: no ${size}x$size 32-bit image"
  done
done

# --- compare with the committed files (--check) ------------------------------
if [ "$mode" = check ]; then
  for f in "$dest_bmp"/*.bmp; do
    cmp -s "$f" "$out_bmp/$(basename "$f")" || err "res/bitmaps/$(basename "$f") differs from a fresh render"
  done
  for f in "$dest_ico"/*.ico; do
    cmp -s "$f" "$out_ico/$(basename "$f")" || err "res/icons/$(basename "$f") differs from a fresh render"
  done
fi

# --- contact sheet (--sheet) ---------------------------------------------------
if [ -n "$sheet" ]; then
  # Icons: 32x32 and 16x16 enlarged (pixels kept sharp) and 16x16 at its real size,
  # on a taskbar-like grey; then every bitmap at its real size.
  font=()
  fc-list 2>/dev/null | grep -q DejaVuSans.ttf && font=(-font DejaVu-Sans)
  tiles=()
  for f in "$dest_ico"/*.ico; do
    n=$(basename "$f" .ico)
    for s in 32 16; do
      "$CONVERT" "$work/$n-$s.png" -background '#C8C8C8' -flatten -filter point -resize $((96 / s * 100))% \
        "$work/sheet-$n-${s}x.png"
    done
    "$CONVERT" "$work/$n-16.png" -background '#C8C8C8' -flatten "$work/sheet-$n-16.png"
    tiles+=("$work/sheet-$n-32x.png" "$work/sheet-$n-16x.png" "$work/sheet-$n-16.png")
  done
  "$MONTAGE" "${font[@]}" -label '%t' -pointsize 10 -geometry '130x110>+4+4' -tile 9x \
    -background '#E8E8E8' "${tiles[@]}" "$work/sheet-icons.png"
  "$MONTAGE" "${font[@]}" -label '%t' -pointsize 10 -geometry '+8+8' -tile 6x \
    -background '#E8E8E8' "$dest_bmp"/*.bmp "$work/sheet-bitmaps.png"
  "$CONVERT" "$work/sheet-icons.png" "$work/sheet-bitmaps.png" -background '#E8E8E8' -append "$sheet"
  echo "contact sheet: $sheet"
fi

if [ "$fail" != 0 ]; then
  echo "render-art.sh: FAILED" >&2
  exit 1
fi
echo "render-art.sh: ok ($(ls "$dest_bmp"/*.bmp 2>/dev/null | wc -l) bitmaps, $(ls "$dest_ico"/*.ico 2>/dev/null | wc -l) icons)"
