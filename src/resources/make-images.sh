#!/usr/bin/env bash
# Draws the client's pictures with ImageMagick: the 16 x 16 tool-button list
# (images/ImageList/00..22.png), the 32 x 32 menu-button list
# (images/ImageList1/0..7.png), the 19 x 18 search icon (images/Image1.png)
# and the 64 x 64 application icon (images/app.png). Run it from anywhere;
# it rewrites the pictures beside it. The PNGs are committed, so a build does
# not need ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/images"

NAVY='#000080'
BLUE='#c2d8fe'   # the light blue of the search bars
MID='#5b8fd6'
RED='#c00000'
WHITE='#ffffff'

# Reproducible files: no time stamps, no metadata.
out_opts=(-strip -define png:exclude-chunks=date,time)

# pic SIZE FILE DRAW-ARGS...: a transparent canvas with the given drawing.
pic() {
    local size=$1 file=$2
    shift 2
    convert -size "$size" xc:none "$@" "${out_opts[@]}" "PNG32:$file"
}

# --- ImageList: 16 x 16 ------------------------------------------------------
L=ImageList
s=16x16
arrow_left=(-fill "$NAVY" -stroke none -draw "polygon 1,8 8,2 8,5 14,5 14,11 8,11 8,14")
arrow_right=(-fill "$NAVY" -stroke none -draw "polygon 15,8 8,2 8,5 2,5 2,11 8,11 8,14")

pic $s $L/00.png -fill "$BLUE" -stroke "$NAVY" -draw "polygon 2,8 8,2 14,8 12,8 12,14 4,14 4,8" \
    -fill "$RED" -stroke none -draw "rectangle 7,10 9,14"                                  # home
pic $s $L/01.png -fill "$BLUE" -stroke "$NAVY" -strokewidth 2 -draw "circle 6,6 6,2" \
    -draw "line 9,9 14,14"                                                                # search
pic $s $L/02.png -fill "$RED" -stroke "$NAVY" \
    -draw "polygon 8,1 10,6 15,6 11,9 13,15 8,11 3,15 5,9 1,6 6,6"                        # star
pic $s $L/03.png -fill "$WHITE" -stroke "$NAVY" -draw "polygon 3,1 10,1 13,4 13,15 3,15" \
    -stroke "$MID" -draw "line 5,6 11,6" -draw "line 5,9 11,9" -draw "line 5,12 11,12"     # document
pic $s $L/04.png -fill "$BLUE" -stroke "$NAVY" -draw "polygon 1,4 6,4 7,6 15,6 15,14 1,14"  # folder
pic $s $L/05.png -fill "$WHITE" -stroke "$NAVY" -draw "rectangle 4,1 12,6" \
    -fill "$BLUE" -draw "rectangle 1,6 15,12" -fill "$WHITE" -draw "rectangle 4,10 12,15"  # printer
pic $s $L/06.png -fill none -stroke "$NAVY" -strokewidth 2 -draw "arc 2,2 14,14 20,300" \
    -fill "$NAVY" -stroke none -draw "polygon 9,0 15,4 9,7"                                # refresh
pic $s $L/07.png -fill "$RED" -stroke none -draw "circle 8,8 8,1" \
    -stroke "$WHITE" -strokewidth 2 -draw "line 5,5 11,11" -draw "line 11,5 5,11"          # stop
pic $s $L/08.png -fill "$NAVY" -stroke none -draw "rectangle 7,2 9,14" -draw "rectangle 2,7 14,9" # add
pic $s $L/09.png -fill "$NAVY" -stroke none -draw "rectangle 2,7 14,9"                     # remove
pic $s $L/10.png -fill none -stroke "$NAVY" -strokewidth 2 -draw "polyline 2,8 6,12 14,3"  # check
pic $s $L/11.png "${arrow_left[@]}"                                                         # back
pic $s $L/12.png "${arrow_right[@]}"                                                        # forward
pic $s $L/13.png -fill "$NAVY" -stroke none -draw "polygon 8,1 14,8 11,8 11,14 5,14 5,8 2,8"  # up
pic $s $L/14.png -fill "$NAVY" -stroke none -draw "polygon 8,15 14,8 11,8 11,2 5,2 5,8 2,8"   # down
pic $s $L/15.png -fill "$BLUE" -stroke "$NAVY" -strokewidth 2 -draw "circle 8,8 8,2" \
    -fill "$NAVY" -stroke none -draw "circle 8,8 8,6"                                      # settings
pic $s $L/16.png -fill "$BLUE" -stroke "$NAVY" -draw "circle 8,5 8,2" \
    -draw "ellipse 8,15 6,5 180,360"                                                       # user
pic $s $L/17.png -fill none -stroke "$NAVY" -strokewidth 2 -draw "arc 4,1 12,11 180,360" \
    -fill "$RED" -strokewidth 1 -draw "rectangle 3,7 13,15"                                # lock
pic $s $L/18.png -fill "$BLUE" -stroke "$NAVY" -draw "circle 8,8 8,1" \
    -fill "$NAVY" -stroke none -draw "rectangle 7,7 9,12" -draw "rectangle 7,4 9,5"        # info
pic $s $L/19.png -fill "$BLUE" -stroke "$NAVY" -draw "circle 8,8 8,1" \
    -fill "$NAVY" -stroke none -draw "polygon 3,8 8,3 8,6 13,6 13,10 8,10 8,13"            # back (round)
pic $s $L/20.png -fill "$BLUE" -stroke "$NAVY" -draw "circle 8,8 8,1" \
    -fill "$NAVY" -stroke none -draw "polygon 13,8 8,3 8,6 3,6 3,10 8,10 8,13"             # forward (round)
pic $s $L/21.png -fill none -stroke "$RED" -strokewidth 2 -draw "line 3,3 13,13" -draw "line 13,3 3,13" # close
pic $s $L/22.png -fill "$BLUE" -stroke "$NAVY" -draw "rectangle 1,3 15,13" \
    -fill none -draw "polyline 1,3 8,9 15,3"                                               # mail

# --- ImageList1: 32 x 32 -----------------------------------------------------
M=ImageList1
m=32x32
pic $m $M/0.png -fill "$BLUE" -stroke "$NAVY" -strokewidth 2 -draw "circle 16,16 16,3" \
    -fill "$NAVY" -stroke none -draw "rectangle 14,14 18,24" -draw "circle 16,9 16,7"       # help / info
pic $m $M/1.png -fill "$RED" -stroke "$NAVY" -strokewidth 2 -draw "circle 16,16 16,3" \
    -fill "$WHITE" -stroke none -draw "circle 16,16 16,9" \
    -fill "$RED" -draw "circle 16,16 16,13"                                                 # lottery ball
pic $m $M/2.png -fill "$BLUE" -stroke "$NAVY" -strokewidth 2 -draw "circle 10,10 10,5" \
    -draw "circle 22,10 22,5" -draw "ellipse 10,28 8,9 180,360" -draw "ellipse 22,28 8,9 180,360" \
    -fill "$RED" -stroke none -draw "circle 16,22 16,19"                                    # joint plans
pic $m $M/3.png -fill "$BLUE" -stroke "$NAVY" -strokewidth 2 -draw "circle 16,10 16,4" \
    -draw "ellipse 16,30 11,12 180,360"                                                     # account
pic $m $M/4.png -fill "$BLUE" -stroke "$NAVY" -strokewidth 2 \
    -draw "polygon 3,15 16,3 29,15 26,15 26,29 6,29 6,15" \
    -fill "$RED" -stroke none -draw "rectangle 13,19 19,29"                                  # station
pic $m $M/5.png -fill "$WHITE" -stroke "$NAVY" -strokewidth 2 -draw "polyline 3,3 3,29 29,29" \
    -fill "$MID" -stroke none -draw "rectangle 7,18 11,27" -draw "rectangle 14,11 18,27" \
    -fill "$RED" -draw "rectangle 21,6 25,27"                                               # chart
pic $m $M/6.png -fill "$WHITE" -stroke "$NAVY" -strokewidth 2 -draw "rectangle 3,5 29,29" \
    -fill "$RED" -stroke none -draw "rectangle 4,6 28,11" \
    -fill "$MID" -draw "rectangle 7,15 11,18" -draw "rectangle 14,15 18,18" -draw "rectangle 21,15 25,18" \
    -draw "rectangle 7,22 11,25" -draw "rectangle 14,22 18,25"                               # draw calendar
pic $m $M/7.png -fill "$BLUE" -stroke "$NAVY" -strokewidth 2 -draw "rectangle 3,8 29,25" \
    -fill "$WHITE" -draw "circle 3,16 3,12" -draw "circle 29,16 29,12" \
    -stroke "$RED" -draw "line 11,12 21,12" -draw "line 11,17 21,17" -draw "line 11,21 18,21" # ticket

# --- Image1: 19 x 18, a 16 x 16 magnifier in the middle --------------------
pic 19x18 Image1.png -fill "$WHITE" -stroke "$NAVY" -strokewidth 2 -draw "circle 8,7 8,2" \
    -stroke "$RED" -strokewidth 3 -draw "line 12,11 16,15"

# --- app: 64 x 64 ------------------------------------------------------------
pic 64x64 app.png -fill "$BLUE" -stroke "$NAVY" -strokewidth 3 -draw "roundrectangle 3,3 60,60 12,12" \
    -fill "$RED" -stroke "$NAVY" -strokewidth 2 -draw "circle 32,30 32,12" \
    -fill "$WHITE" -stroke none -draw "circle 32,30 32,20" \
    -fill "$RED" -draw "circle 32,30 32,25" \
    -fill "$NAVY" -draw "rectangle 14,52 50,55"

# The same icon for the Windows executable (app.ico, 16 to 64 pixels).
convert app.png -define icon:auto-resize=64,48,32,16 ../app.ico
