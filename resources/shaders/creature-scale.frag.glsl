/*
 * Fragment shader: the creature's scaled skin ("Scale").
 * Elliptic domes on a grid of ScaleWidth x ScaleHeight, every other column shifted by half a
 * grid unit.
 * 2026-12-07
 */

const vec3 LightDirection = vec3(0.0, -1.0, 0.0);
const vec3 UserPoint = vec3(0.0, 0.0, 4.0);

const float ScaleWidth = 0.6;
const float ScaleHeight = 0.6;
const float ScaleThickness = 0.3;
const vec3 ScaleBackgroundColor = vec3(0.7, 0.7, 0.7);
const vec3 ScaleColor = vec3(0.5, 0.5, 1.0);
const vec3 ScaleSpecular = vec3(0.4, 0.4, 0.4);
const float ScaleSpecularPow = 8.0;

varying vec2 vGridPoint;
varying vec3 vNormal;
varying vec3 vGridX;
varying vec3 vGridY;
varying vec3 vGlobalCoordinates;

void main()
{
    int column = int(vGridPoint.x / ScaleWidth);
    float localX = vGridPoint.x - (float(column) + 0.5) * ScaleWidth;
    float y = vGridPoint.y;
    if (column / 2 != (column + 1) / 2)
        y = vGridPoint.y + 0.5;
    float localY = mod(y, ScaleHeight) - 0.5 * ScaleHeight;

    float relativeX = abs(localX) / ScaleWidth;
    float relativeY = abs(localY) / ScaleHeight;
    float a = 1.0 - 4.0 * (relativeX * relativeX + relativeY * relativeY);
    vec3 local = vec3(0.0, 0.0, 1.0);
    vec3 base = ScaleBackgroundColor;
    if (a > 0.0) {
        float p = localX / (ScaleWidth * ScaleWidth);
        float q = localY / (ScaleHeight * ScaleHeight);
        float d = sqrt(a + 16.0 * ScaleThickness * ScaleThickness * (p * p + q * q));
        float e = 4.0 * ScaleThickness / d;
        local = vec3(e * p, e * q, sqrt(a) / d);
        base = mix(ScaleBackgroundColor, ScaleColor, local.z);
    }
    vec3 normal = vGridX * local.x + vGridY * local.y + vNormal * local.z;

    float diffuse = 0.0;
    float specular = 0.0;
    float value = dot(normal, LightDirection);
    if (value < 0.0) {
        diffuse = -value;
        vec3 view = normalize(vGlobalCoordinates - UserPoint);
        float s = 2.0 * value * dot(normal, view) - dot(LightDirection, view);
        if (s > 0.0)
            specular = pow(s, ScaleSpecularPow);
    }
    gl_FragColor = vec4(base * (0.5 + 0.5 * diffuse) + ScaleSpecular * specular, 1.0);
}
// '\0' has to be below
