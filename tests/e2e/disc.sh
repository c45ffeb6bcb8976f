# Shared by the end-to-end tests of every screen shape: the planet's disc in one drawing area of a
# picture, measured by the tests' discsize (DISCSIZE names it).

# disc_verdict PICTURE X Y WIDTH HEIGHT [black]: prints "ok" when the disc in that area (its
# top-left pixel X, Y) is round (width and height within 2% of each other), of the size and at the
# place that the camera's geometry gives for an area of that height, and, with "black", when the
# area has no pixel left at the clear colour; otherwise what is wrong, with the measures.
disc_verdict() {
    local picture=$1 x=$2 y=$3 width=$4 height=$5 want_black=${6:-}
    # The planet's centre (0.2, 3, -20) is 24 units before the eye; the view there is 2 x 24 tan 10.5
    # degrees tall and that times the area's aspect wide. Its disc is 2 units across, opaque
    # to 0.9 of its radius and fading to nothing at the rim.
    local expected
    expected=$(awk -v x="$x" -v y="$y" -v w="$width" -v h="$height" 'BEGIN {
        half = 24 * sin(10.5 * 3.14159265358979 / 180) / cos(10.5 * 3.14159265358979 / 180)
        printf "%d %d %.2f %.2f %.2f\n", x + w / 2 + 0.2 / (half * w / h) * w / 2 + 0.5,
            y + h / 2 - 3 / half * h / 2 + 0.5, 0.9 / half * h, 1 / half * h, 0.01 * h }')
    local cx cy smallest largest slack
    read -r cx cy smallest largest slack <<<"$expected"
    local measured
    measured=$(convert "$picture" ppm:- | "$DISCSIZE" "$cx" "$cy" "$x" "$y" $((x + width)) $((y + height))) ||
        { echo "no disc at ($cx, $cy)"; return; }
    local w h left top black
    read -r w h left top black <<<"$measured"
    awk -v w="$w" -v h="$h" -v left="$left" -v top="$top" -v black="$black" -v cx="$cx" -v cy="$cy" \
        -v smallest="$smallest" -v largest="$largest" -v slack="$slack" -v want_black="$want_black" 'BEGIN {
        problem = ""
        big = w > h ? w : h
        if ((w - h) * 50 > big || (h - w) * 50 > big) problem = problem " not round: " w "x" h
        if (h < smallest || h > largest) problem = problem " " h " tall, not " smallest " to " largest
        mx = left + (w - 1) / 2; my = top + (h - 1) / 2
        if (mx - cx > slack || cx - mx > slack || my - cy > slack || cy - my > slack)
            problem = problem " centred at (" mx ", " my "), not (" cx ", " cy ")"
        if (want_black == "black" && black > 0) problem = problem " " black " pixels at the clear colour"
        print problem == "" ? "ok" : substr(problem, 2)
    }'
}
