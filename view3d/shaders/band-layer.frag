#version 330 core
// Bands and dots carry their depth, so that meshes drawn later hide them or are hidden by them;
// lines carry the far depth, or the depth of a band or dot behind them.
uniform sampler2D layer;
uniform sampler2D layerDepth;
out vec4 fragColour;
void main()
{
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    vec4 colour = texelFetch(layer, pixel, 0);
    if (colour.a == 0.0)
        discard;
    fragColour = colour;
    gl_FragDepth = texelFetch(layerDepth, pixel, 0).r;
}
