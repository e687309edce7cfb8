// The full-screen layers' vertex shader: places each corner through the fixed-function
// matrices (the 2-D projection in output pixels) and passes on the texture coordinate.
#version 110

varying vec2 texCoord;

void main()
{
    texCoord = gl_MultiTexCoord0.xy;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
