# Over a slurped trace: "ok" when every frame keeps the scene's bounds (at most 3001 glow sprites,
# at most 575 sparks a wing, which is what can be alive at once, the body's nodes 0.05 apart),
# else the first frame that breaks one.
[.[] | select(.planet.count > 3001 or .wings[0].sparks > 575 or .wings[1].sparks > 575
              or (.spacing[0] - 0.05 | fabs) > 1e-9 or (.spacing[1] - 0.05 | fabs) > 1e-9)]
| if length == 0 then "ok" else "frame \(.[0].frame): \(.[0] | {planet, wings, spacing})" end
