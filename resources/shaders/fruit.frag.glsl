/*
 * Fragment shader: a flower's fruit. Blue with lighter bands, lit like the creature, in the grey
 * fog that lies on the ground.
 * 2026-12-07
 */

const vec3 LightDirection = vec3(0.0, -1.0, 0.0);
const vec3 UserPoint = vec3(0.0, 0.0, 4.0);
const vec3 FogColor = vec3(0.494, 0.494, 0.494);
const float GroundHeight = -2.0;
const float FogThickness = 1.0;
const float AmbientFog = 0.02;

const vec3 Specular = vec3(1.0, 1.0, 1.0);
const float SpecularPow = 8.0;

varying vec2 vGridPoint;
varying vec3 vNormal;
varying vec3 vGlobalCoordinates;

float LyingFogValue(float y)
{
    if (y > GroundHeight + FogThickness)
        return 0.0;
    return pow(1.0 - (y - GroundHeight) / FogThickness, 1.5) / 8.0;
}

void main()
{
    vec3 normal = normalize(vNormal);

    // The band weight runs past 1 on purpose: the brightest bands overshoot toward white.
    float u = vGridPoint.x;
    float band = sin(u) * (1.0 + sin(15.0 * u + vGridPoint.y));
    float band2 = band * band;
    float w = 0.2 * band2 * band2;
    vec3 base = mix(vec3(0.0, 0.0, 0.7), vec3(0.5, 0.5, 1.0), w);

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
    vec3 lit = base * (0.5 + 0.5 * diffuse) + Specular * specular;

    vec3 toViewer = UserPoint - vGlobalCoordinates;
    float lyingFog = LyingFogValue(vGlobalCoordinates.y) * length(toViewer) / toViewer.y;
    // Written so that a value that is not a number counts as no fog.
    if (!(lyingFog > 0.0))
        lyingFog = 0.0;
    float fog = clamp(lyingFog + AmbientFog * length(toViewer), 0.0, 1.0);
    gl_FragColor = vec4(mix(lit, FogColor, fog), 1.0);
}
// '\0' has to be below
