/*
 * Fragment shader: a flower's stalk. Green with a fine pseudo-random relief, lit like the
 * creature, in the grey fog that lies on the ground.
 * 2026-12-07
 */

const vec3 LightDirection = vec3(0.0, -1.0, 0.0);
const vec3 UserPoint = vec3(0.0, 0.0, 4.0);
const vec3 FogColor = vec3(0.494, 0.494, 0.494);
const float GroundHeight = -2.0;
const float FogThickness = 1.0;
const float AmbientFog = 0.02;

const vec3 Color = vec3(0.2, 0.5, 0.1);
const vec3 Specular = vec3(0.596, 0.659, 0.502);
const float SpecularPow = 2.0;

varying vec2 vGridPoint;
varying vec3 vNormal;
varying vec3 vGridX;
varying vec3 vGridY;
varying vec3 vGlobalCoordinates;

// The stalk's program is asked for every input of its vertex shader, and a linker drops an input
// that no stage reads, so the surface takes in the rulers it does not need, without effect: no
// real ruler comes near 1e30.
float UnusedFrame()
{
    return step(1.0e30, abs(vGridX.x) + abs(vGridY.x));
}

float LyingFogValue(float y)
{
    if (y > GroundHeight + FogThickness)
        return 0.0;
    return pow(1.0 - (y - GroundHeight) / FogThickness, 1.5) / 8.0;
}

void main()
{
    float a = mod(vGridPoint.x, vGridPoint.y);
    vec3 relief = vec3(fract(124.0 * a), fract(135.0 * a), fract(146.0 * a));
    vec3 normal = normalize(vNormal + 0.07 * relief);

    float diffuse = 0.0;
    float specular = 0.0;
    float value = dot(normal, LightDirection);
    if (value < 0.0) {
        diffuse = -value;
        vec3 view = normalize(vGlobalCoordinates - UserPoint);
        float s = 2.0 * value * dot(normal, view) - dot(LightDirection, view);
        if (s > 0.0)
            specular = pow(s, SpecularPow);
    }
    vec3 lit = Color * (0.5 + 0.5 * diffuse) + Specular * specular;

    vec3 toViewer = UserPoint - vGlobalCoordinates;
    float lyingFog = LyingFogValue(vGlobalCoordinates.y) * length(toViewer) / toViewer.y;
    // Written so that a value that is not a number counts as no fog.
    if (!(lyingFog > 0.0))
        lyingFog = 0.0;
    float fog = clamp(lyingFog + AmbientFog * length(toViewer), 0.0, 1.0);
    gl_FragColor = vec4(mix(lit, FogColor, fog) + UnusedFrame(), 1.0);
}
// '\0' has to be below
