# Compares two traces (slurped as $a and $b) line by line and value by value: the same keys in the
# same order, numbers equal to a relative 1e-9 (which keeps every integer of a trace exact),
# everything else equal. Prints "agree" and the largest relative difference seen, or the first
# difference.
def leaves: [paths(scalars) as $p | [$p, getpath($p)]];
def relative(x; y): if x == y then 0 else ((x - y) | fabs) / ([x | fabs, y | fabs] | max) end;
def close(x; y):
    if (x | type) == "number" and (y | type) == "number" then relative(x; y) <= 1e-9 else x == y end;

if ($a | length) != ($b | length) then
    "the traces have \($a | length) and \($b | length) lines"
else
    [range(0; $a | length) as $i
     | ($a[$i] | leaves) as $x | ($b[$i] | leaves) as $y
     | if ($x | map(.[0])) != ($y | map(.[0])) then
           {error: "frame \($a[$i].frame): the keys differ"}
       else
           range(0; $x | length) as $k
           | if close($x[$k][1]; $y[$k][1]) then
                 (if ($x[$k][1] | type) == "number" then {relative: relative($x[$k][1]; $y[$k][1])} else empty end)
             else
                 {error: "frame \($a[$i].frame): \($x[$k][0] | map(tostring) | join(".")) is \($x[$k][1]) and \($y[$k][1])"}
             end
       end] as $results
    | ([$results[] | select(.error)] | first | .error)
      // "agree, largest relative difference \([$results[].relative] | max)"
end
