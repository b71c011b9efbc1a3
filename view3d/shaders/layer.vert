#version 330 core
// One triangle over the whole view; each pixel takes its own texel of the line picture.
void main()
{
    gl_Position = vec4(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? 3.0 : -1.0, 0.0, 1.0);
}
