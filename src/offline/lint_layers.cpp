// Following a frame step by step as renderFrame draws it (runtime/frame.cpp), without drawing.
#include "offline/lint_layers.h"

#include "base/show_facts.h"
#include "offline/lint_show.h"
#include "scenes/avatars.h"
#include "scenes/pictograms.h"
#include "scenes/refrain.h"
#include "scenes/selection.h"
#include "sync/sync.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double degreesToRadians = 3.14159265358979323846 / 180.0;

// The fixed-function pipeline clamps a colour's alpha to 0..1.
float clampedOpacity(float value) { return value > 0.0f ? std::min(value, 1.0f) : 0.0f; }

// The static's shader follows its track up to 1 and fades out again above it, gone at 2, where
// the logo (whose colour alpha clamps at 1) shows fully with no static over it.
float staticOpacity(float value) { return value > 1.0f ? std::max(2.0f - value, 0.0f) : clampedOpacity(value); }

struct Follower {
    const LintShow& show;
    FrameState frame;
    FrameLayers* out;

    float value(const SyncTrack* track) const { return evaluateTrack(track, frame.row); }
    bool loaded(int entry) const { return show.images[size_t(entry)].loaded; }

    void image(int entry, Vec2 corner, Vec2 rest, SwayReach reach, float opacity, float scale = 1.0f,
               float angle = 0.0f) {
        if (!loaded(entry)) return;
        FrameLayer layer;
        layer.entry = entry;
        layer.corner = corner;
        layer.restCorner = rest;
        layer.reach = reach;
        layer.scale = scale;
        layer.angleDegrees = angle;
        layer.opacity = clampedOpacity(opacity);
        out->layers.push_back(layer);
    }
    void fullScreen(LayerKind kind, float opacity) {
        FrameLayer layer;
        layer.kind = kind;
        layer.opacity = opacity;
        out->layers.push_back(layer);
    }
};

void followTunnel(Follower* f) {
    const TrackSet& t = f->show.tracks;
    int texture = 0, variation = 0;
    if (!pickEntry(f->value(t.tunnelTexture), tunnelTextureCount, &texture)) return;
    if (!pickEntry(f->value(t.tunnelVariation), tunnelVariationCount, &variation)) return;
    int entry = f->show.catalogue.tunnelTextures[texture];
    if (!f->loaded(entry)) return;
    f->out->tunnelEntry = entry;
    f->out->tunnelVariation = variation;
}

void followPictogram(Follower* f, const AvatarShake& shake) {
    const TrackSet& t = f->show.tracks;
    int index = 0;
    if (!pickEntry(f->value(t.pictogramPictogram), pictogramCount, &index)) return;
    int entry = f->show.catalogue.pictograms[index];
    if (!f->loaded(entry)) return;
    const ImageAlpha& image = f->show.images[size_t(entry)];
    Vec2 rest =
        pictogramRestCorner(f->value(t.pictogramX), f->value(t.pictogramY), float(image.width), float(image.height));
    f->image(entry, shake.pictogramWobble + rest, rest, pictogramWobbleReach, pictogramOpacity,
             f->value(t.pictogramScale));
}

void followCharacter(Follower* f, const AvatarShake& shake, const CharacterPlacement& place, float face, float lyric,
                     const int* faces, int bubble, const int* lyrics) {
    int faceIndex = 0, lyricIndex = 0;
    if (!pickEntry(face, place.faceCount, &faceIndex)) return;
    Vec2 corner = characterCorner(place, shake.swayPhaseX, shake.swayY);
    Vec2 rest = characterCorner(place, 0.0, 0.0);
    f->image(faces[faceIndex], corner, rest, place.sway, 1.0f);
    Vec2 bubbleAt = bubbleCorner(place, corner);
    Vec2 bubbleRest = bubbleCorner(place, rest);
    f->image(bubble, bubbleAt, bubbleRest, place.sway, 1.0f);
    if (pickEntry(lyric, place.lyricCount, &lyricIndex)) {
        f->image(lyrics[lyricIndex], bubbleAt, bubbleRest, place.sway, 1.0f);
    }
}

void followRefrain(Follower* f) {
    const TrackSet& t = f->show.tracks;
    const AssetCatalogue& c = f->show.catalogue;
    const SwayReach still = {0, 0};
    Vec2 background(0, f->value(t.refrainBackground));
    f->image(c.refrainBackground, background, background, still, 1.0f);
    float sunY = f->value(t.refrainSun);
    f->image(c.refrainSun, sunCorner(sunY, f->frame.t), Vec2(sunLeft, sunY), sunSwayReach, 1.0f, 1.0f,
             sunAngleDegrees(f->frame.t));
    Vec2 foreground(0, f->value(t.refrainForeground));
    f->image(c.refrainForeground, foreground, foreground, still, 1.0f);
}

// The run of photographs and credits, as renderPolaroids draws it.
void followPolaroids(Follower* f, const AvatarShake& shake) {
    const TrackSet& t = f->show.tracks;
    float start = f->value(t.refrainPolaroidStart);
    float end = f->value(t.refrainPolaroidEnd);
    if (!(start > -1.0f && start < float(polaroidCount) && end < float(polaroidCount))) return;
    Vec2 offset = polaroidOffset(f->frame.t, shake.shakeFactor);
    double jitterScale = double(shake.shakeFactor) / double(shakeFactorWhileEvil);
    SwayReach reach = {polaroidJitterReach.x * jitterScale, polaroidJitterReach.y * jitterScale};
    bool credits = start >= float(creditsFirst);
    if (credits) reach = creditSwayReach;
    float last = std::ceil(end);
    for (int i = int(start); last > float(i); ++i) {
        float alpha = float(i + 1) == last ? end - std::floor(end) : 1.0f;
        if (credits) offset = creditCorner(i, f->frame.t);
        f->image(f->show.catalogue.polaroids[i], offset, Vec2(0, 0), reach, alpha);
    }
}

void followLogo(Follower* f) {
    int logo = f->show.catalogue.logo;
    if (!(f->frame.row > logoRow) || !f->loaded(logo)) return;
    Vec2 corner = logoCorner(float(f->show.images[size_t(logo)].width));
    f->image(logo, corner, corner, SwayReach{0, 0}, f->value(f->show.tracks.fadeFgNoise));
}

void followFeatures(Follower* f) {
    int index = 0;
    if (!pickEntry(f->value(f->show.tracks.features), featureCount, &index)) return;
    f->image(f->show.catalogue.featureImages[index], featuresJitter(f->frame.t), Vec2(0, 0), featuresJitterReach, 1.0f);
}

Vec2 turned(Vec2 v, double radians) {
    double c = std::cos(radians), s = std::sin(radians);
    return Vec2(float(v.x * c - v.y * s), float(v.x * s + v.y * c));
}

}  // namespace

FrameLayers followFrame(const LintShow& show, double row) {
    FrameLayers layers;
    Follower f{show, FrameState{row, row / rowsPerSecond}, &layers};
    const TrackSet& t = show.tracks;
    const AssetCatalogue& c = show.catalogue;
    followTunnel(&f);
    AvatarShake shake = computeAvatarShake(f.frame, t.avatarEvil);
    followPictogram(&f, shake);
    followCharacter(&f, shake, goodCharacter, f.value(t.avatarGood), f.value(t.lyricsGood), c.goodAvatars, c.goodBubble,
                    c.goodLyrics);
    followRefrain(&f);
    followPolaroids(&f, shake);
    f.fullScreen(LayerKind::Static, staticOpacity(f.value(t.fadeFgNoise)));
    followLogo(&f);
    followFeatures(&f);
    followCharacter(&f, shake, evilCharacter, shake.evilValue, f.value(t.lyricsEvil), c.evilAvatars, c.evilBubble,
                    c.evilLyrics);
    f.fullScreen(LayerKind::White, clampedOpacity(f.value(t.fadeBgWhite)));
    f.fullScreen(LayerKind::Black, clampedOpacity(f.value(t.fadeFgBlack)));
    return layers;
}

Vec2 imagePixelAt(const FrameLayer& layer, const ImageAlpha& image, Vec2 point) {
    float scale = layer.scale;
    Vec2 half(float(image.width) * scale * 0.5f, float(image.height) * scale * 0.5f);
    Vec2 fromCentre(point.x - (layer.corner.x + half.x), point.y - (layer.corner.y + half.y));
    // The sprite is turned clockwise on screen (y down) by its angle: turn the point back.
    Vec2 local = layer.angleDegrees == 0.0f ? fromCentre : turned(fromCentre, -layer.angleDegrees * degreesToRadians);
    if (scale == 0.0f) return Vec2(-1, -1);
    return Vec2((local.x + half.x) / scale, (local.y + half.y) / scale);
}

float layerAlphaAt(const FrameLayer& layer, const ImageAlpha& image, Vec2 point) {
    Vec2 pixel = imagePixelAt(layer, image, point);
    return layer.opacity * cellAlpha(image, pixel.x, pixel.y);
}

DesignBox paintedBox(const FrameLayer& layer, const ImageAlpha& image) {
    // A negative scale mirrors the image about its centre; a scale of 0 leaves nothing to see.
    if (image.painted.empty() || layer.scale == 0.0f) return DesignBox{0, 0, -1, -1};
    float scale = layer.scale;
    Vec2 half(float(image.width) * scale * 0.5f, float(image.height) * scale * 0.5f);
    Vec2 centre(layer.corner.x + half.x, layer.corner.y + half.y);
    const PixelBox& p = image.painted;
    DesignBox box = {1e30f, 1e30f, -1e30f, -1e30f};
    for (Vec2 pixel : {Vec2(float(p.left), float(p.top)), Vec2(float(p.right), float(p.top)),
                       Vec2(float(p.left), float(p.bottom)), Vec2(float(p.right), float(p.bottom))}) {
        Vec2 local(pixel.x * scale - half.x, pixel.y * scale - half.y);
        Vec2 onScreen = turned(local, layer.angleDegrees * degreesToRadians);
        box.left = std::min(box.left, centre.x + onScreen.x);
        box.right = std::max(box.right, centre.x + onScreen.x);
        box.top = std::min(box.top, centre.y + onScreen.y);
        box.bottom = std::max(box.bottom, centre.y + onScreen.y);
    }
    return box;
}

bool layerShows(const FrameLayer& layer, const LintShow& show) {
    if (!(layer.opacity > 0.0f)) return false;
    if (layer.kind != LayerKind::Image) return true;
    DesignBox box = paintedBox(layer, show.images[size_t(layer.entry)]);
    // A placement that is not a finite number cannot be followed: count it as showing.
    if (!std::isfinite(box.left + box.right + box.top + box.bottom)) return true;
    return box.right > 0.0f && box.left < float(designSpaceWidth) && box.bottom > 0.0f &&
           box.top < float(designSpaceHeight);
}
