#version 330 core
// A mesh instance: the first three rows of its placement and its colour per instance, lit by
// one light from the side.
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec4 row0;
layout(location = 3) in vec4 row1;
layout(location = 4) in vec4 row2;
layout(location = 5) in vec4 colour;
uniform mat4 viewProjection;
uniform vec3 toLight;
out vec4 shade;
void main()
{
    vec4 p = vec4(position, 1.0);
    vec3 world = vec3(dot(row0, p), dot(row1, p), dot(row2, p));
    vec3 c0 = vec3(row0.x, row1.x, row2.x);
    vec3 c1 = vec3(row0.y, row1.y, row2.y);
    vec3 c2 = vec3(row0.z, row1.z, row2.z);
    // The cofactors turn a normal as the inverse transpose does, up to a positive factor.
    float handedness = dot(c0, cross(c1, c2)) < 0.0 ? -1.0 : 1.0;
    vec3 n = (cross(c1, c2) * normal.x + cross(c2, c0) * normal.y + cross(c0, c1) * normal.z)
             * handedness;
    float facing = dot(n, n) > 0.0 ? max(dot(normalize(n), toLight), 0.0) : 0.0;
    shade = vec4(colour.rgb * (0.4 + 0.6 * facing), colour.a);
    gl_Position = viewProjection * vec4(world, 1.0);
}
