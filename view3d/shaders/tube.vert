#version 330 core
// A tube on the card: the unit cylinder placed by its instance (the columns across it have the
// tube's radius), widened where it would show thinner than `minimumPixels`, so that a far tube
// stays a line of that width instead of breaking up.
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec4 row0;
layout(location = 3) in vec4 row1;
layout(location = 4) in vec4 row2;
layout(location = 5) in vec4 colour;
uniform mat4 viewProjection;
uniform vec3 toLight;
uniform float minimumRadiusPerDepth;  // half the thinnest width on screen, in metres at depth 1
out vec4 shade;
void main()
{
    vec3 c0 = vec3(row0.x, row1.x, row2.x);
    vec3 c1 = vec3(row0.y, row1.y, row2.y);
    vec3 c2 = vec3(row0.z, row1.z, row2.z);
    vec3 onAxis = c1 * position.y + vec3(row0.w, row1.w, row2.w);
    float radius = length(c0);
    float depth = (viewProjection * vec4(onAxis, 1.0)).w;
    float widen = radius > 0.0 ? max(1.0, minimumRadiusPerDepth * depth / radius) : 1.0;
    vec3 world = onAxis + (c0 * position.x + c2 * position.z) * widen;
    vec3 n = cross(c1, c2) * normal.x + cross(c2, c0) * normal.y + cross(c0, c1) * normal.z;
    float facing = dot(n, n) > 0.0 ? max(dot(normalize(n), toLight), 0.0) : 0.0;
    shade = vec4(colour.rgb * (0.4 + 0.6 * facing), colour.a);
    gl_Position = viewProjection * vec4(world, 1.0);
}
