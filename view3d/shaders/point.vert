#version 330 core
// A footer or fundament as a point where it shows smaller than `pointSize` pixels; where larger,
// its mesh stands for it and the point is put outside the view.
layout(location = 0) in vec3 position;
layout(location = 1) in vec4 colour;
layout(location = 2) in vec2 extent;  // its size across in metres, the radius of a sphere about it
uniform mat4 viewProjection;
uniform vec3 eye;
uniform vec3 forward;
uniform float pixelsAtUnitDepth;
uniform float pointSize;
out vec4 shade;
void main()
{
    float depth = dot(position - eye, forward) - extent.y;
    float pixels = depth <= 1e-3 ? 1e9 : extent.x * pixelsAtUnitDepth / depth;
    shade = colour;
    gl_PointSize = pointSize;
    gl_Position = pixels >= pointSize ? vec4(2.0, 2.0, 2.0, 1.0)
                                      : viewProjection * vec4(position, 1.0);
}
