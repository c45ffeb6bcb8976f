/*
 * Fragment shader: the creature's wrinkled skin under the middle of its body ("Wrinkles").
 * Rounded ridges across the body, one every WrinkleWidth grid units.
 * 2026-12-07
 */

const vec3 LightDirection = vec3(0.0, -1.0, 0.0);
const vec3 UserPoint = vec3(0.0, 0.0, 4.0);

const vec3 WrinkleColor = vec3(0.7, 0.7, 0.7);
const vec3 WrinkleSpecular = vec3(0.6, 0.6, 0.6);
const float WrinkleSpecularPow = 8.0;
const float WrinkleWidth = 0.7;
const float WrinkleRadius = 2.0;

varying vec2 vGridPoint;
varying vec3 vNormal;
varying vec3 vGridX;
varying vec3 vGridY;
varying vec3 vGlobalCoordinates;

// The creature's programs are all asked for every input of the ribbon shader, and a linker drops
// an input that no stage reads: the ridges never tilt towards the grid y ruler, so this surface
// takes that ruler in without effect (no real ruler comes near 1e30).
float UnusedFrame()
{
    return step(1.0e30, abs(vGridY.x));
}

void main()
{
    float t = mod(vGridPoint.x, WrinkleWidth);
    vec3 local = normalize(vec3(t - 0.5 * WrinkleWidth, 0.0, WrinkleRadius));
    vec3 normal = normalize(vGridX * local.x + vGridY * local.y + vNormal * local.z);

    float diffuse = 0.0;
    float specular = 0.0;
    float value = dot(normal, LightDirection);
    if (value < 0.0) {
        diffuse = -value;
        vec3 view = normalize(vGlobalCoordinates - UserPoint);
        float s = 2.0 * value * dot(normal, view) - dot(LightDirection, view);
        if (s > 0.0)
            specular = pow(s, WrinkleSpecularPow);
    }
    gl_FragColor = vec4(WrinkleColor * (0.5 + 0.5 * diffuse) + WrinkleSpecular * specular + UnusedFrame(), 1.0);
}
// '\0' has to be below
