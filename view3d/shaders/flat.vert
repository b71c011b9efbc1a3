#version 330 core
// Lines and points of one colour each vertex, unlit.
layout(location = 0) in vec3 position;
layout(location = 1) in vec4 colour;
uniform mat4 viewProjection;
uniform float pointSize;
out vec4 shade;
void main()
{
    shade = colour;
    gl_PointSize = pointSize;
    gl_Position = viewProjection * vec4(position, 1.0);
}
