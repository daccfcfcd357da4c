#!/usr/bin/env bash
# Renders the drawings under resources/art to the PNG files the program uses and draws
# resources/art/contact-sheet.png (every picture at 100 % and 300 %, plus the main window's
# scene put together). Needs python3, rsvg-convert (librsvg2-bin) and ImageMagick. The build
# uses only the committed PNG files, so run this after changing a drawing and commit both.
set -euo pipefail

art=$(cd "$(dirname "$0")" && pwd)
res=$(dirname "$art")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
font=$(fc-match -f '%{file}' IPAPGothic)

python3 "$art/mascot.py"

# The program's own PNG decoder reads 8-bit, non-interlaced files; no metadata chunks, so
# that rendering twice gives the same bytes.
clean=(-strip -define png:exclude-chunks=date,time,tIME,tEXt,zTXt,iTXt -interlace none -depth 8)
png_rgba() { convert "$1" "${clean[@]}" -define png:color-type=6 PNG32:"$2"; }
png_rgb() { convert "$1" -background white -alpha remove -alpha off "${clean[@]}" -define png:color-type=2 PNG24:"$2"; }

render() {  # render svg [size]: to $work/raw.png, square of size pixels when given
  if [ $# -eq 2 ]; then
    rsvg-convert -w "$2" -h "$2" "$1" -o "$work/raw.png"
  else
    rsvg-convert "$1" -o "$work/raw.png"
  fi
}

# Pictures compiled into the program: the scene, balloons, titles, icons of the main window.
mkdir -p "$res/embedded"
for name in ap000 ap025 ap050 ap075 back boxl boxs title; do
  render "$art/scene/$name.svg"
  png_rgba "$work/raw.png" "$res/embedded/$name.png"
done
for name in apptitle day2 luna2 prttitle; do
  render "$art/scene/$name.svg"
  png_rgb "$work/raw.png" "$res/embedded/$name.png"
done

# Mascot frames, packed into the resource archive at build time.
mkdir -p "$res/archive"
frames=()
for svg in "$art"/mascot/*.svg; do
  name=$(basename "$svg" .svg)
  frames+=("$name")
  render "$svg" 32
  png_rgba "$work/raw.png" "$res/archive/$name.png"
done
# The standing mascot beside the hint balloons, large enough to be drawn smaller on any screen.
render "$art/mascot/std04.svg" 256
png_rgba "$work/raw.png" "$res/archive/std04-large.png"

# Application icon for the desktop, in the sizes of the freedesktop icon theme.
for size in 16 24 32 48 64 128 256; do
  dir="$res/icons/hicolor/${size}x${size}/apps"
  mkdir -p "$dir"
  render "$art/icon/tavimrok.svg" "$size"
  png_rgba "$work/raw.png" "$dir/tavimrok.png"
done
mkdir -p "$res/icons/hicolor/scalable/apps"
cp "$art/icon/tavimrok.svg" "$res/icons/hicolor/scalable/apps/tavimrok.svg"

# --- contact sheet -------------------------------------------------------------------------
sheet_bg='#c9d6e3'
label() {  # label text in.png out.png: the picture with its name above it
  convert "$2" -background "$sheet_bg" -font "$font" -pointsize 13 -fill '#16213a' \
    label:"$1" +swap -gravity west -append -bordercolor "$sheet_bg" -border 8 "$3"
}
tile() {  # tile name in.png out.png: 100 % and 300 % side by side on a checkerboard
  local w h
  w=$(identify -format '%w' "$2")
  h=$(identify -format '%h' "$2")
  convert -size "$((w * 3))x$((h * 3))" pattern:checkerboard -fill '#ffffff' -colorize 55% \
    \( "$2" -filter point -scale 300% \) -composite "$work/tile300.png"
  convert -size "${w}x${h}" pattern:checkerboard -fill '#ffffff' -colorize 55% \
    "$2" -composite "$work/tile100.png"
  convert "$work/tile100.png" "$work/tile300.png" -background "$sheet_bg" -gravity west \
    -splice 12x0 -gravity north +append "$work/pair.png"
  label "$1 ($w×$h)" "$work/pair.png" "$3"
}

# The scene as the main window puts it together, with a few birds and a balloon (the balloon
# placed for the bird at left 84, as the mascots place it).
scene="$work/scene.png"
convert "$res/embedded/back.png" \
  \( "$res/embedded/ap000.png" -channel A -evaluate multiply 0.39 +channel \) -geometry +120+0 -composite \
  "$res/embedded/title.png" -geometry +4+2 -composite \
  \( "$res/embedded/day2.png" -alpha set -channel A -evaluate set 86% +channel \) -geometry +200+80 -composite \
  \( "$res/embedded/luna2.png" -alpha set -channel A -evaluate set 86% +channel \) -geometry +240+80 -composite \
  \( "$res/archive/rst04.png" -resize 40% \) -geometry +196+47 -composite \
  \( "$res/archive/wlk02.png" -resize 70% \) -geometry +150+50 -composite \
  \( "$res/archive/std07.png" -flop \) -geometry +52+54 -composite \
  \( "$res/archive/std01.png" \) -geometry +84+54 -composite \
  \( "$res/archive/wlk04.png" -resize 160% \) -geometry +116+67 -composite \
  \( "$res/embedded/boxl.png" -font "$font" -pointsize 12 -fill black -gravity north \
     -annotate +-1+13 'ラッキー  \n  カラーは' \) -gravity northwest -geometry +40+7 -composite \
  "$scene"
tile "main window scene (put together)" "$scene" "$work/t_scene.png"
sections=("$work/t_scene.png")

mascot_tiles=()
for name in "${frames[@]}"; do
  tile "$name" "$res/archive/$name.png" "$work/m_$name.png"
  mascot_tiles+=("$work/m_$name.png")
done
montage "${mascot_tiles[@]}" +set label -tile 5x -geometry +0+0 -background "$sheet_bg" "$work/mascot.png"
sections+=("$work/mascot.png")

for name in back title apptitle day2 luna2 boxl boxs ap000 ap025 ap050 ap075 prttitle; do
  tile "$name.png" "$res/embedded/$name.png" "$work/e_$name.png"
done
montage "$work"/e_{day2,luna2,boxs,boxl}.png +set label -tile x1 -geometry +0+0 -background "$sheet_bg" "$work/row_small.png"
montage "$work"/e_{back,title,apptitle}.png +set label -tile x1 -geometry +0+0 -gravity northwest -background "$sheet_bg" "$work/row_wide.png"
icon_tiles=()
for size in 16 24 32 48 64 128; do
  tile "icon $size" "$res/icons/hicolor/${size}x${size}/apps/tavimrok.png" "$work/i_$size.png"
  icon_tiles+=("$work/i_$size.png")
done
montage "${icon_tiles[@]}" +set label -tile x1 -geometry +0+0 -gravity northwest -background "$sheet_bg" "$work/row_icons.png"
sections+=("$work/row_small.png" "$work/row_wide.png" "$work"/e_ap0{00,25,50,75}.png "$work/e_prttitle.png"
  "$work/row_icons.png")

convert "${sections[@]}" -background "$sheet_bg" -gravity northwest -append \
  "${clean[@]}" PNG24:"$art/contact-sheet.png"
echo "rendered; contact sheet: $art/contact-sheet.png"
