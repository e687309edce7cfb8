// The show's characters as vector drawings: Pip, the friendly one, with a face for each named
// expression; Count Glitch, the villain, in five frames that escalate; and the smiling sun of
// the refrain. Their own images draw them at full size; the polaroid photos reuse them, scaled.
#pragma once

#include <cairo.h>

#include <string>

#include "art_text.h"
#include "base/show_images.h"

enum class EyeKind { open, happyArc, shut };
enum class MouthKind { smile, frown, grin, sing, smallO, catW, skew, smirk, tongueOut };
enum class FaceExtra { none, angerMark, hearts, thought, question, sparkles };

struct PipFace {
    EyeKind eyes[2];  // left, right as the viewer sees them
    double lid[2];    // how far the upper lid comes down, 0 open to 1 shut
    double gazeX;     // -1 left .. 1 right
    double gazeY;     // -1 up .. 1 down
    double browLift[2];
    double browTilt[2];  // degrees; positive lowers the inner end (cross)
    MouthKind mouth;
    double mouthAmount;
    bool blush;
    FaceExtra extra;
    double tuftTilt;  // degrees the tuft of hair on his crown leans, positive to the right
    double headLift;  // pixels the head (not the body) is raised
    double headTilt;  // degrees the head is turned about the neck, positive clockwise
};

constexpr int pipWidth = 340;
constexpr int pipHeight = 430;
constexpr int pipFaceCount = showImagePartSize(ShowImagePart::goodFaces);
// The ten faces in the order of the avatar files (base/show_images.h names them).
extern const PipFace pipFaces[pipFaceCount];

// Draws Pip into the box (0, 0) - (pipWidth, pipHeight) of the current transformation.
void drawPip(cairo_t* cr, const PipFace& face, const ArtFonts& fonts);

constexpr int glitchWidth = 300;
constexpr int glitchHeight = 440;
constexpr int glitchFrameCount = showImagePartSize(ShowImagePart::evilFaces);

// Draws Count Glitch, frame 0 (his entrance: smug, the cape flung open) to 4 (furious), into
// the box (0, 0) - (glitchWidth, glitchHeight) of the current transformation; frame 1 is frame
// 0 singing, the mouth open and the head raised. His body is opaque down to the box's bottom
// edge. The glitch tearing of the last frame is added by the avatar images, not here.
void drawGlitch(cairo_t* cr, int frame, const ArtFonts& fonts);

constexpr int sunSize = 1280;

// Draws the smiling sun, centred in the box (0, 0) - (sunSize, sunSize), with its rays and a
// soft glow around it, all within 380 pixels of the centre: turning about (180, 200) in the
// refrain, it stays clear of Pip's speech bubble below y 596.
void drawSunCharacter(cairo_t* cr);

// Small shared symbols: a quaver note, a heart, a four-pointed sparkle, centred on (x, y).
void drawNoteSymbol(cairo_t* cr, double x, double y, double size, Rgb fill);
void heartPath(cairo_t* cr, double x, double y, double size);
void sparklePath(cairo_t* cr, double x, double y, double size);
