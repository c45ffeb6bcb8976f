/*
 * Fragment shader: the creature's eyes ("Eyes").
 * 2026-12-07
 */

const vec3 LightDirection = vec3(0.0, -1.0, 0.0);
const vec3 UserPoint = vec3(0.0, 0.0, 4.0);

const vec3 EyesColor = vec3(1.0, 0.3, 0.3);
const vec3 EyesSpecular = vec3(1.0, 1.0, 1.0);
const float EyesSpecularPow = 32.0;

varying vec2 vGridPoint;
varying vec3 vNormal;
varying vec3 vGridX;
varying vec3 vGridY;
varying vec3 vGlobalCoordinates;

// The creature's programs are all asked for every input of the ribbon shader, and a linker drops
// an input that no stage reads, so this surface takes in the frame it does not need, without
// effect: no real grid point or ruler comes near 1e30.
float UnusedFrame()
{
    return step(1.0e30, abs(vGridPoint.x) + abs(vGridX.x) + abs(vGridY.x));
}

void main()
{
    vec3 normal = normalize(vNormal);

    float diffuse = 0.0;
    float specular = 0.0;
    float value = dot(normal, LightDirection);
    if (value < 0.0) {
        diffuse = -value;
        vec3 view = normalize(vGlobalCoordinates - UserPoint);
        float s = 2.0 * value * dot(normal, view) - dot(LightDirection, view);
        if (s > 0.0)
            specular = pow(s, EyesSpecularPow);
    }
    gl_FragColor = vec4(EyesColor * (0.5 + 0.5 * diffuse) + EyesSpecular * specular + UnusedFrame(), 1.0);
}
// '\0' has to be below
