#version 330 core
// Without bands the picture lies under everything and writes no depth: a shader that writes
// none costs llvmpipe a sixth of the frame less.
uniform sampler2D layer;
out vec4 fragColour;
void main()
{
    vec4 colour = texelFetch(layer, ivec2(gl_FragCoord.xy), 0);
    if (colour.a == 0.0)
        discard;
    fragColour = colour;
}
