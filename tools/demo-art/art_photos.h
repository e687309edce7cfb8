// The "photos" inside the polaroids: small generated scenes (landscapes, night skies, the
// characters posing, patterns), each drawn into a square of a given size.
#pragma once

#include <cairo.h>

#include "art_text.h"

enum class PhotoScene {
    meadow,
    sunFace,
    hills,
    beach,
    pipSelfie,
    night,
    city,
    villain,
    flowers,
    sunset,
    tunnel,
    picnic,
    stars,
    moon,
    photobomb,
    waves,
    friends,
    goldenHour,
    gang,
    rain,
    sunrise,
    mosaic,
    space,
    lake,
    dancing
};

// Draws the scene into the square (0, 0) - (size, size), clipped to it. The seed varies the
// details (cloud and star positions), so photos of the same scene still differ.
void drawPhoto(cairo_t* cr, PhotoScene scene, double size, unsigned seed, const ArtFonts& fonts);
