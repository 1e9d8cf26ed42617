#!/bin/sh
# Regenerates the BMP fixtures of BmpTest with ImageMagick, from the same
# pattern the test computes (see Pattern() in BmpTest.cpp): a 7 x 5 image whose
# pixel (x, y) is colour (x + 7y) mod n, for n = 2, 16 and 20 colours.
set -e
cd "$(dirname "$0")/fixtures"
pattern() {  # $1 = number of colours
  n=$1
  echo "P3 7 5 255" > p$n.ppm
  y=0
  while [ $y -lt 5 ]; do
    x=0
    while [ $x -lt 7 ]; do
      i=$(( (x + 7 * y) % n ))
      # colour i: red 37i mod 256, green 255 - 13i, blue 90 + 11i mod 256 (all distinct)
      echo "$(( (37 * i) % 256 )) $(( 255 - 13 * i )) $(( (90 + 11 * i) % 256 ))" >> p$n.ppm
      x=$((x + 1))
    done
    y=$((y + 1))
  done
}
pattern 2; pattern 16; pattern 20
convert p2.ppm -colors 2 -type palette -compress None BMP3:mono.bmp
convert p16.ppm -type palette -colors 16 BMP3:pal4.bmp
convert p20.ppm -type palette -compress None BMP3:pal8.bmp
convert p20.ppm -type palette -compress RLE BMP3:rle8.bmp
convert p16.ppm -type truecolor BMP3:rgb24.bmp
convert p16.ppm -define bmp:subtype=RGB565 BMP:rgb565.bmp
convert p16.ppm -define bmp:subtype=RGB555 BMP:rgb555.bmp
convert p16.ppm -alpha on -channel A -evaluate set 50% +channel -define bmp:subtype=ARGB8888 BMP:argb32.bmp
rm -f p2.ppm p16.ppm p20.ppm
