#version 330 core
in vec4 shade;
out vec4 fragColour;
void main()
{
    fragColour = shade;
}
