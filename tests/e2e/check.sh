# Shared by the end-to-end scripts: named checks, counted, and a closing summary.
failures=0
passes=0

# check NAME EXPECTED ACTUAL
check() {
    if [ "$2" == "$3" ]; then
        echo "ok: $1"
        passes=$((passes + 1))
    else
        printf 'FAIL: %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
        failures=$((failures + 1))
    fi
}

finish() {
    echo "$passes passed, $failures failed"
    [ "$failures" -eq 0 ]
}
