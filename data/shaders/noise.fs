// Film grain: fresh grain 24 times a second, a slow flicker, faint vertical scratches and a
// darker rim. Its opacity follows "alpha" (0 leaves the frame unchanged) up to 1, and falls
// back to nothing as "alpha" runs on from 1 to 2: the logo, whose opacity is the same value
// clamped to 1, can then stand clear of any static.
#version 110

uniform float time;
uniform float alpha;

varying vec2 texCoord;

float hash(vec2 p)
{
    p = fract(p * vec2(0.1031, 0.1030));
    p += dot(p, p.yx + 33.33);
    return fract((p.x + p.y) * p.x);
}

void main()
{
    float frame = floor(time * 24.0);
    vec2 pixel = floor(gl_FragCoord.xy);
    float grain = hash(pixel + vec2(frame * 17.0, frame * 29.0));
    float flicker = 0.9 + 0.1 * hash(vec2(frame, 3.0));
    float scratchColumn = floor(hash(vec2(frame, 7.0)) * 97.0);
    float scratch = step(0.985, hash(vec2(floor(texCoord.x * 97.0) - scratchColumn, frame)));
    vec2 centred = texCoord - 0.5;
    float rim = 1.0 - 0.6 * dot(centred, centred);
    float shade = clamp((0.25 + 0.75 * grain) * flicker * rim + 0.4 * scratch, 0.0, 1.0);
    float opacity = alpha <= 1.0 ? alpha : 2.0 - alpha;
    gl_FragColor = vec4(vec3(shade), clamp(opacity, 0.0, 1.0));
}
