#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws every picture, video fragment and sound of the sample course and the pictures stored
# with the screens. Everything is made here from nothing: ImageMagick drawings, ffmpeg's
# synthetic sources with our own captions, and sox synthesis. Nothing is downloaded.
#
#   scripts/make-course-media.sh            # all of it
#   scripts/make-course-media.sh screens    # only resources/images/
#   scripts/make-course-media.sh course     # only course/images/ and course/wave/
#   (or one part of it: pictures, fragments, sounds)
#
# Needs: ImageMagick 6 (convert), ffmpeg with drawtext and the lavfi sources, sox, python3,
# DejaVu fonts. The output is committed; run the script again after changing a drawing.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$ROOT/scripts/install-deps.sh" media || exit $?
DRAW="python3 $ROOT/scripts/course_drawing.py"
RES="$ROOT/resources/images"
IMG="$ROOT/course/images"
WAVE="$ROOT/course/wave"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

font_file() {
    for f in "/usr/share/fonts/truetype/dejavu/$1" "/usr/share/fonts/truetype/liberation/$2"; do
        if [ -f "$f" ]; then echo "$f"; return; fi
    done
    echo "missing font $1" >&2
    exit 1
}
SANS="$(font_file DejaVuSans.ttf LiberationSans-Regular.ttf)"
BOLD="$(font_file DejaVuSans-Bold.ttf LiberationSans-Bold.ttf)"
SERIF="$(font_file DejaVuSerif-Bold.ttf LiberationSerif-Bold.ttf)"
COND="$(font_file DejaVuSansCondensed-Bold.ttf LiberationSansNarrow-Bold.ttf)"

NAVY="#000080"
SKY="#85C4FC"
TOOLBAR="#249DF7"
GOLD="#FFD24A"

# convert ARGS... OUTPUT.jpg, written as a small baseline JPEG without metadata
jpeg() { convert "${@:1:$#-1}" -strip -sampling-factor 2x2 -quality 82 "${@: -1}"; }
# 8-bit palette BMP; RLE8 where it pays off (large pictures with flat areas).
bmp8() { convert "$1" +dither -colors "${3:-64}" -type Palette -compress None "BMP3:$2"; }
bmp8rle() { convert "$1" +dither -colors "${3:-64}" -type Palette -compress RLE "BMP3:$2"; }

# ---------------------------------------------------------------------------------------------
# Pictures stored with the screens
# ---------------------------------------------------------------------------------------------
make_screens() {
    mkdir -p "$RES"

    # Splash of the main screen, 691 x 451: a globe in its orbits, the program and course titles.
    convert -size 691x451 gradient:'#08184f'-'#2b78c8' \
        -stroke "$SKY" -strokewidth 1 -fill none \
        -draw "ellipse 170,240 150,46 0,360" -draw "ellipse 170,240 46,150 0,360" \
        -draw "$($DRAW globe 170 240 118 -60)" \
        -stroke none -fill "$GOLD" -draw "circle 29,224 35,224" -draw "circle 170,92 175,92" \
        -fill white -font "$BOLD" -pointsize 40 -annotate +320+118 'Компьютерное' \
        -fill "$GOLD" -annotate +320+166 'тестирование' \
        -stroke "$SKY" -strokewidth 2 -draw "line 322,190 660,190" -stroke none \
        -fill '#cfe8ff' -font "$SANS" -pointsize 15 -annotate +322+222 'Учебный курс' \
        -fill white -font "$SERIF" -pointsize 25 -annotate +320+256 'Социальная философия' \
        -annotate +320+290 'и геополитика' \
        -fill '#cfe8ff' -font "$SANS" -pointsize 14 \
        -annotate +322+338 'Итоговое тестирование' \
        -annotate +322+360 'Электронный учебник и видеофрагменты' \
        -fill '#0a1a44' -draw "rectangle 0,412 690,450" \
        -fill "$SKY" -font "$SANS" -pointsize 13 \
        -gravity south -annotate +0+13 'Тренировочный и контрольный тесты · просмотр ответов' -gravity northwest \
        -fill none -stroke "$SKY" -strokewidth 3 -draw "rectangle 1,1 689,449" \
        "$WORK/splash.png"
    bmp8rle "$WORK/splash.png" "$RES/splash.bmp" 96

    # Background of the main screen, 1024 x 768: deep blue with faint arcs of a large globe.
    jpeg -size 1024x768 radial-gradient:'#10307a'-'#000018' \
        -stroke '#1d3f86' -strokewidth 2 -fill none \
        -draw "circle 512,384 512,44" -draw "ellipse 512,384 170,340 0,360" \
        -draw "ellipse 512,384 300,340 0,360" -draw "line 172,384 852,384" \
        -draw "line 218,214 806,214" -draw "line 218,554 806,554" \
        "$RES/main_background.jpg"

    # Background of the registration menu, 1024 x 768 (stretched): light sky with soft bands.
    jpeg -size 1024x768 gradient:'#eef7ff'-"$SKY" \
        -stroke '#d5eaff' -strokewidth 18 -fill none \
        -draw "ellipse 900,880 640,420 180,360" -draw "ellipse 900,880 520,320 180,360" \
        -stroke '#c2e0fb' -strokewidth 10 -draw "ellipse 120,-100 520,300 0,180" \
        -draw "$($DRAW globe 880 650 90 -40 '#8fd19b' '#ffffff' '#5a8fd0')" \
        "$RES/menu_background.jpg"

    # Picture of the menu panel, 630 x 368: a warm frame around the navy panel it carries.
    jpeg -size 630x368 gradient:"$GOLD"-'#ff8000' \
        -fill none -stroke '#fff4c8' -strokewidth 2 -draw "rectangle 4,3 625,363" \
        -stroke '#b85a00' -strokewidth 1 -draw "rectangle 8,7 621,359" \
        -stroke none -fill '#10208a' -draw "rectangle 11,10 622,359" \
        -fill '#2040b0' -draw "rectangle 14,13 619,356" \
        "$RES/menu_panel.jpg"

    # Frame picture of the textbook and help, 1024 x 768 (stretched): a bound cover with a
    # gilt line and corner ornaments around a plain page.
    convert -size 1024x768 gradient:'#1b3f8f'-'#0a1e55' "$WORK/frame.png"
    convert "$WORK/frame.png" \
        -fill '#f6f9ff' -stroke none -draw "rectangle 30,30 993,737" \
        -fill none -stroke "$GOLD" -strokewidth 2 -draw "rectangle 10,10 1013,757" \
        -stroke '#c9a227' -strokewidth 1 -draw "rectangle 16,16 1007,751" \
        -stroke "$SKY" -strokewidth 2 -draw "rectangle 27,27 996,740" \
        -stroke none -fill "$GOLD" \
        -draw "polygon 4,4 26,4 4,26" -draw "polygon 1019,4 997,4 1019,26" \
        -draw "polygon 4,763 26,763 4,741" -draw "polygon 1019,763 997,763 1019,741" \
        -draw "circle 512,13 516,13" -draw "circle 512,754 516,754" \
        -draw "circle 13,384 13,388" -draw "circle 1010,384 1010,388" \
        "$WORK/frame2.png"
    jpeg "$WORK/frame2.png" "$RES/book_frame.jpg"

    # Title picture of the textbook's toolbar, 400 x 27.
    jpeg -size 400x27 gradient:'#bfe2ff'-"$TOOLBAR" \
        -fill "$NAVY" -font "$BOLD" -pointsize 14 -gravity center \
        -annotate +0+0 'Электронный учебник' \
        -fill none -stroke '#ffffff' -strokewidth 1 -gravity northwest \
        -draw "line 0,0 399,0" -stroke '#1670c0' -draw "line 0,26 399,26" \
        "$RES/book_title.jpg"

    # Back and forward pictures of the textbook, 89 x 16: an arrow and a caption.
    local name caption arrow textx colour fill
    for name in back_enabled back_disabled forward_enabled forward_disabled; do
        case "$name" in
            back_*) caption='Назад'; arrow="polygon 4,8 13,2 13,5 20,5 20,11 13,11 13,14"
                    textx=26 ;;
            forward_*) caption='Вперёд'; arrow="polygon 84,8 75,2 75,5 68,5 68,11 75,11 75,14"
                       textx=6 ;;
        esac
        case "$name" in
            *_enabled) colour='#ffffff'; fill="$GOLD" ;;
            *_disabled) colour='#a8d2f6'; fill='#8ec0ec' ;;
        esac
        convert -size 89x16 xc:"$TOOLBAR" \
            -stroke '#0d4f91' -strokewidth 1 -fill "$fill" -draw "$arrow" -stroke none \
            -fill "$colour" -font "$BOLD" -pointsize 11 -annotate "+$textx+12" "$caption" \
            -type TrueColor "BMP3:$RES/$name.bmp"
    done

    # Animated picture of the test screens, 169 x 185: a desk globe turning, 18 frames, on a
    # transparent ground so that the panel behind it shows through.
    local i phase frames=()
    for i in $(seq 0 17); do
        phase=$(( -i * 20 ))
        convert -size 169x185 xc:'#dde6ee' \
            -stroke '#7a5a20' -strokewidth 4 -fill none -draw "ellipse 84,82 72,72 200,340" \
            -stroke none -fill '#7a5a20' -draw "rectangle 80,150 88,166" \
            -draw "roundrectangle 48,164 120,176 5,5" \
            -draw "$($DRAW globe 84 82 62 $phase)" \
            -stroke '#c9a227' -strokewidth 2 -fill none -draw "ellipse 84,82 68,68 200,340" \
            "$WORK/anim_$(printf %02d "$i").png"
        frames+=("$WORK/anim_$(printf %02d "$i").png")
    done
    convert -delay 15 -loop 0 "${frames[@]}" -transparent '#dde6ee' +dither -colors 40 \
        -layers Optimize "$RES/test_animation.gif"

    # Frame around the video on the test and review screens, 520 x 390: a film strip whose
    # sprocket holes run along the top and bottom margins.
    local holes="" x
    for x in $(seq 14 28 506); do
        holes+="roundrectangle $((x - 6)),5 $((x + 6)),13 2,2 "
        holes+="roundrectangle $((x - 6)),375 $((x + 6)),384 2,2 "
    done
    jpeg -size 520x390 gradient:'#2a2a3a'-'#101018' \
        -fill '#e8e8f0' -stroke none -draw "$holes" \
        -fill none -stroke "$SKY" -strokewidth 2 -draw "rectangle 20,16 497,371" \
        -stroke "$GOLD" -strokewidth 1 -draw "rectangle 17,14 500,374" \
        "$RES/video_frame.jpg"

    # Neutral still of the video area, 470 x 350.
    jpeg -size 470x350 gradient:'#e8f4ff'-"$SKY" \
        -fill '#ffffff80' -stroke '#5a8fd0' -strokewidth 3 -draw "circle 235,150 235,90" \
        -stroke none -fill '#5a8fd0' -draw "polygon 215,120 215,180 265,150" \
        -fill "$NAVY" -font "$BOLD" -pointsize 20 -gravity north -annotate +0+232 'Видеофрагмент' \
        -font "$SANS" -pointsize 13 -annotate +0+262 'учебного курса' \
        "$RES/video_still.jpg"

    # Video viewer: backdrop (stretched over the whole screen), control strip and cover.
    jpeg -size 1024x768 radial-gradient:'#1a1a8a'-'#00002e' \
        -fill none -stroke '#2a2aa0' -strokewidth 3 -draw "rectangle 8,8 1015,759" \
        -stroke "$GOLD" -strokewidth 1 -draw "rectangle 14,14 1009,753" \
        "$RES/viewer_backdrop.jpg"
    jpeg -size 497x34 gradient:'#4a4a62'-'#0e0e1c' \
        -fill none -stroke '#8a8aa8' -strokewidth 1 -draw "line 0,1 496,1" \
        -stroke '#000000' -draw "line 0,32 496,32" \
        "$RES/viewer_strip.jpg"
    local reel
    reel="$(python3 -c 'import math
print(" ".join("circle %.0f,%.0f %.0f,%.0f" % (320 + 45 * math.cos(a), 190 + 45 * math.sin(a),
      337 + 45 * math.cos(a), 190 + 45 * math.sin(a))
      for a in (math.radians(d) for d in range(-90, 270, 72))))')"
    jpeg -size 640x480 radial-gradient:'#24248c'-'#00003a' \
        -fill '#c8d0e8' -stroke '#ffffff' -strokewidth 3 -draw "circle 320,190 320,110" \
        -fill '#00003a' -stroke none -draw "$reel" \
        -fill '#c8d0e8' -draw "circle 320,190 320,178" \
        -fill "$GOLD" -font "$BOLD" -pointsize 30 -gravity north -annotate +0+300 'Видеофрагмент' \
        -fill '#cfe8ff' -font "$SANS" -pointsize 17 \
        -annotate +0+346 'Учебный курс «Социальная философия и геополитика»' \
        "$RES/viewer_cover.jpg"

    # Credits pictures, 81 x 97: neutral stylised silhouettes, one colour each.
    local n bg fg
    for n in 1 2 3 4; do
        case "$n" in
            1) bg='#dbeeff'; fg='#2b5fa8' ;;
            2) bg='#fff1d6'; fg='#c46a10' ;;
            3) bg='#e3f6e6'; fg='#2f8a45' ;;
            4) bg='#f0e6ff'; fg='#6a42a8' ;;
        esac
        jpeg -size 81x97 gradient:white-"$bg" \
            -fill "$fg" -stroke none -draw "circle 40,36 40,18" \
            -draw "ellipse 40,96 34,36 180,360" \
            -fill '#ffffff60' -draw "circle 34,30 34,24" \
            -fill none -stroke "$fg" -strokewidth 1 -draw "rectangle 0,0 80,96" \
            "$RES/credits_$n.jpg"
    done
}

# ---------------------------------------------------------------------------------------------
# Pictures of the questions
# ---------------------------------------------------------------------------------------------
make_question_pictures() {
    mkdir -p "$IMG"

    # Spheres of society: four circles around "Общество"; the spiritual sphere is the question.
    convert -size 480x300 gradient:'#ffffff'-'#e4f1ff' \
        -stroke '#5a8fd0' -strokewidth 3 -draw "line 240,150 110,70 line 240,150 370,70" \
        -draw "line 240,150 110,232 line 240,150 370,232" \
        -stroke "$NAVY" -strokewidth 2 -fill '#ffd98a' -draw "ellipse 240,150 70,34 0,360" \
        -fill '#bfe3c6' -draw "ellipse 110,70 92,36 0,360" \
        -fill '#cfe0ff' -draw "ellipse 370,70 92,36 0,360" \
        -fill '#ffd0c8' -draw "ellipse 110,232 92,36 0,360" \
        -fill '#efe0ff' -draw "ellipse 370,232 92,46 0,360" \
        -stroke none -fill "$NAVY" -font "$BOLD" -pointsize 15 \
        -annotate +200+156 'Общество' \
        -annotate +54+66 'Экономическая' -font "$SANS" -pointsize 11 -annotate +46+84 'производство, обмен' \
        -font "$BOLD" -pointsize 15 -annotate +320+66 'Политическая' \
        -font "$SANS" -pointsize 11 -annotate +316+84 'власть, государство' \
        -font "$BOLD" -pointsize 15 -annotate +66+228 'Социальная' \
        -font "$SANS" -pointsize 11 -annotate +50+246 'классы, семья, нации' \
        -fill '#c0002a' -font "$BOLD" -pointsize 30 -annotate +360+226 '?' \
        -fill "$NAVY" -font "$SANS" -pointsize 11 \
        -annotate +306+248 'наука, образование,' -annotate +310+262 'религия, искусство' \
        "$WORK/q_spheres.png"
    jpeg "$WORK/q_spheres.png" "$IMG/q_spheres.jpg"

    # Change of the types of society: three numbered steps.
    convert -size 500x170 xc:'#fbfdff' \
        -stroke "$NAVY" -strokewidth 2 -fill '#e8d9b5' -draw "roundrectangle 10,40 150,130 10,10" \
        -fill '#c9d9ea' -draw "roundrectangle 180,40 320,130 10,10" \
        -fill '#ffe8a0' -draw "roundrectangle 350,40 490,130 10,10" \
        -fill "$NAVY" -draw "polygon 152,78 176,85 152,92" -draw "polygon 322,78 346,85 322,92" \
        -stroke none -fill "$NAVY" -font "$BOLD" -pointsize 24 \
        -annotate +70+30 '1' -annotate +240+30 '2' -annotate +410+30 '3' \
        -font "$BOLD" -pointsize 14 -annotate +28+80 'Аграрное' \
        -font "$SANS" -pointsize 11 -annotate +26+100 'земля, ручной труд' \
        -font "$BOLD" -pointsize 12 -annotate +189+80 'Индустриальное' \
        -font "$SANS" -pointsize 11 -annotate +192+100 'машины, фабрики' \
        -fill '#c0002a' -font "$BOLD" -pointsize 34 -annotate +408+98 '?' \
        -fill "$NAVY" -font "$SANS" -pointsize 11 \
        -annotate +112+152 'XVIII — XIX вв.' -annotate +262+152 'вторая половина XX в.' \
        "$WORK/q_stages.png"
    bmp8 "$WORK/q_stages.png" "$IMG/q_stages.bmp" 64

    # Division of the world in the heartland doctrine: pivot area, inner and outer crescents.
    convert -size 420x280 xc:'#cfe6fb' \
        -stroke '#2c6fd1' -strokewidth 2 -fill '#f3e6c0' -draw "ellipse 210,140 190,118 0,360" \
        -fill '#f7d58f' -draw "ellipse 210,130 136,80 0,360" \
        -fill '#e2572b' -draw "ellipse 210,118 70,40 0,360" \
        -stroke none -fill white -font "$BOLD" -pointsize 22 -annotate +198+126 '?' \
        -fill "$NAVY" -font "$SANS" -pointsize 12 \
        -annotate +150+186 'внутренний полумесяц' -annotate +150+246 'внешний полумесяц' \
        -annotate +8+20 'Мировой океан' \
        "$WORK/q_heartland.png"
    convert "$WORK/q_heartland.png" +dither -colors 32 "$IMG/q_heartland.gif"

    # A network society: many nodes, each linked to several others.
    convert -size 400x260 gradient:'#102a66'-'#0a1a44' \
        -draw "$($DRAW network 400 260 11 14 30)" \
        "$WORK/q_network.png"
    jpeg "$WORK/q_network.png" "$IMG/q_network.jpg"

    # Option pictures: models of the world order (GIF).
    local common=(-size 160x100 xc:'#f4f9ff' -stroke "$NAVY" -strokewidth 2)
    convert "${common[@]}" \
        -draw "line 80,50 30,20 line 80,50 130,20 line 80,50 30,80 line 80,50 130,80" \
        -fill '#e2572b' -draw "circle 80,50 80,24" -fill '#9cc7f2' \
        -draw "circle 30,20 30,12 circle 130,20 130,12 circle 30,80 30,72 circle 130,80 130,72" \
        +dither -colors 32 "$IMG/!opt_unipolar.gif"
    convert "${common[@]}" \
        -draw "line 45,50 18,18 line 45,50 18,82 line 115,50 142,18 line 115,50 142,82" \
        -stroke '#c0002a' -draw "line 68,50 92,50" -stroke "$NAVY" \
        -fill '#e2572b' -draw "circle 45,50 45,30 circle 115,50 115,30" -fill '#9cc7f2' \
        -draw "circle 18,18 18,10 circle 18,82 18,74 circle 142,18 142,10 circle 142,82 142,74" \
        +dither -colors 32 "$IMG/!opt_bipolar.gif"
    convert "${common[@]}" \
        -draw "line 80,18 28,46 line 28,46 48,86 line 48,86 112,86 line 112,86 132,46" \
        -draw "line 132,46 80,18 line 80,18 48,86 line 28,46 112,86" \
        -fill '#f7a35c' -draw "circle 80,18 80,6 circle 28,46 28,34 circle 132,46 132,34" \
        -draw "circle 48,86 48,74 circle 112,86 112,74" \
        +dither -colors 32 "$IMG/!opt_multipolar.gif"

    # Option pictures: employment by sector as bar charts (BMP).
    local name a b c
    for name in agr ind serv; do
        case "$name" in
            agr) a=70; b=15; c=15 ;;
            ind) a=15; b=55; c=30 ;;
            serv) a=4; b=22; c=74 ;;
        esac
        convert -size 160x100 xc:'#fbfdff' \
            -stroke "$NAVY" -strokewidth 1 -draw "line 12,84 152,84 line 12,84 12,8" \
            -stroke none -fill '#3f9b4f' -draw "rectangle 24,$((84 - a)) 56,84" \
            -fill '#7a7a8c' -draw "rectangle 66,$((84 - b)) 98,84" \
            -fill '#2c6fd1' -draw "rectangle 108,$((84 - c)) 140,84" \
            -fill "$NAVY" -font "$SANS" -pointsize 10 \
            -annotate +28+96 'с/х' -annotate +68+96 'пром.' -annotate +106+96 'услуги' \
            "$WORK/emp_$name.png"
        bmp8 "$WORK/emp_$name.png" "$IMG/!opt_emp_$name.bmp" 32
    done
}

# ---------------------------------------------------------------------------------------------
# Video fragments: 320 x 240, 12 frames a second, 4 seconds, Motion JPEG in AVI, no sound
# ---------------------------------------------------------------------------------------------
FPS=12
SECONDS_PER_FRAGMENT=4

# caption FILE_ID TOP_TEXT BOTTOM_TEXT -> a drawtext filter chain with both captions fading in
caption() {
    printf '%s' "$2" >"$WORK/$1.top.txt"
    printf '%s' "$3" >"$WORK/$1.bottom.txt"
    echo "drawtext=fontfile=$BOLD:textfile=$WORK/$1.top.txt:fontsize=17:fontcolor=white:\
box=1:boxcolor=0x000050@0.6:boxborderw=6:x=(w-text_w)/2:y=12:alpha='min(1,t/0.6)',\
drawtext=fontfile=$COND:textfile=$WORK/$1.bottom.txt:fontsize=13:fontcolor=0xFFD24A:\
box=1:boxcolor=0x000050@0.6:boxborderw=5:x=(w-text_w)/2:y=h-text_h-14:\
alpha='if(lt(t,1),0,min(1,(t-1)/0.6))'"
}

# encode INPUT_ARGS... FILTER OUTPUT: a fragment of SECONDS_PER_FRAGMENT seconds from ffmpeg input
# arguments, with a filter chain applied
encode() {
    local out="${*: -1}" filter="${*: -2:1}"
    local args=("${@:1:$#-2}")
    ffmpeg -loglevel error -y "${args[@]}" -t "$SECONDS_PER_FRAGMENT" -vf "$filter" -r "$FPS" \
        -an -c:v mjpeg -q:v "${QUALITY:-7}" -pix_fmt yuvj420p -fflags +bitexact -flags:v +bitexact \
        -vtag MJPG "$out"
}

make_fragments() {
    mkdir -p "$IMG"

    # 1. Development along a spiral: a zoom into a fractal that repeats itself at every scale.
    encode -f lavfi -i "mandelbrot=s=320x240:rate=$FPS:start_scale=2.2:end_scale=0.05:end_pts=60" \
        "$(caption f1 'Развитие по спирали' 'каждый виток — на новом уровне')" \
        "$IMG/\$film01.avi"

    # 2. The information network grows: clusters of a cellular automaton spread over the field.
    encode -f lavfi -i "life=s=160x120:rate=$FPS:ratio=0.03:seed=7:rule=B3/S012345678:mold=0:life_color=#FFD24A:death_color=#0A1A44" \
        "scale=320:240:flags=bilinear,gblur=sigma=0.8,$(caption f2 'Информационная сеть растёт' 'связи охватывают всё общество')" \
        "$IMG/\$film02.avi"

    # 3. The globe turns to Eurasia and its pivot area (around 50 degrees north) lights up.
    local i n=$((FPS * SECONDS_PER_FRAGMENT)) phase glow
    for i in $(seq 0 $((n - 1))); do
        phase=$(( 60 - i * 3 ))
        if [ "$phase" -lt -70 ]; then phase=-70; fi
        glow=""
        if [ "$i" -ge 30 ]; then
            glow="stroke #FFD24A stroke-width 3 fill #E2572B80 ellipse 160,58 $((20 + (i - 30) * 2)),$((10 + (i - 30))) 0,360"
        fi
        convert -size 320x240 radial-gradient:'#1a2a7a'-'#000018' \
            -draw "$($DRAW globe 160 130 96 $phase)" ${glow:+-draw "$glow"} \
            "$WORK/f3_$(printf %03d "$i").png"
    done
    encode -framerate "$FPS" -i "$WORK/f3_%03d.png" \
        "$(caption f3 'Хартленд — сердце Евразии' '«сердцевинная земля» Х. Маккиндера')" \
        "$IMG/\$film03.avi"

    # 4. A world of ties: states (nodes) linked by ever more relations.
    for i in $(seq 0 $((n - 1))); do
        convert -size 320x240 gradient:'#123070'-'#071436' \
            -draw "$($DRAW network 320 240 5 10 $((1 + i * 22 / n)))" \
            "$WORK/f4_$(printf %03d "$i").png"
    done
    encode -framerate "$FPS" -i "$WORK/f4_%03d.png" \
        "$(caption f4 'Мир взаимосвязей' 'государства всё теснее связаны')" \
        "$IMG/\$film04.avi"
}

# ---------------------------------------------------------------------------------------------
# Sounds: a drum roll at the end of a control test, a chime at the end of a training test
# ---------------------------------------------------------------------------------------------
make_sounds() {
    mkdir -p "$WAVE"
    local fmt=(-r 22050 -c 1 -b 16)
    sox -R -n "${fmt[@]}" "$WORK/roll.wav" synth 1.5 pinknoise band 1800 1400 \
        tremolo 17 95 fade q 1.2 1.5 0.05 gain -6
    sox -R -n "${fmt[@]}" "$WORK/crash.wav" synth 0.7 pinknoise band -n 4000 3000 \
        synth 0.7 sine mix 98 fade q 0 0.7 0.68 gain -2
    sox -R "$WORK/roll.wav" "$WORK/crash.wav" "${fmt[@]}" "$WAVE/Drumroll.wav" norm -3
    sox -R -n "${fmt[@]}" "$WORK/ding.wav" synth 0.45 sine 880 synth 0.45 sine mix 1760 \
        fade q 0.005 0.45 0.42 gain -8
    sox -R -n "${fmt[@]}" "$WORK/dong.wav" synth 0.9 sine 1318.5 synth 0.9 sine mix 659.25 \
        fade q 0.005 0.9 0.85 gain -8
    sox -R "$WORK/ding.wav" "$WORK/dong.wav" "${fmt[@]}" "$WAVE/Reminder.wav" reverb 30 norm -3
}

case "${1:-all}" in
    screens) make_screens ;;
    course) make_question_pictures; make_fragments; make_sounds ;;
    pictures) make_question_pictures ;;
    fragments) make_fragments ;;
    sounds) make_sounds ;;
    all) make_screens; make_question_pictures; make_fragments; make_sounds ;;
    *) echo "usage: $0 [all|screens|course|pictures|fragments|sounds]" >&2; exit 2 ;;
esac
