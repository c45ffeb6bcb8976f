/*
 * Fragment shader: the creature's horns ("Horns"). Diffuse light only, with a darker floor than
 * the skin.
 * 2026-12-07
 */

const vec3 LightDirection = vec3(0.0, -1.0, 0.0);

const vec3 Color = vec3(0.8, 0.4, 0.2);

varying vec2 vGridPoint;
varying vec3 vNormal;
varying vec3 vGridX;
varying vec3 vGridY;

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
    float value = dot(normal, LightDirection);
    if (value < 0.0)
        diffuse = -value;
    gl_FragColor = vec4(Color * (0.3 + 0.7 * diffuse) + UnusedFrame(), 1.0);
}
// '\0' has to be below
