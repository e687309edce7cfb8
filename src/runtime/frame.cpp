// The frame sequence: each step draws over everything before it.
#include "runtime/frame.h"

#include "render/demo_window.h"
#include "render/texture_store.h"
#include "scenes/avatars.h"
#include "scenes/fades.h"
#include "scenes/logo.h"
#include "scenes/pictograms.h"
#include "scenes/refrain.h"
#include "scenes/tunnel.h"
#include "sync/sync.h"

const Colour clearColour = {0.0f, 0.0f, 0.0f, 1.0f};

namespace {

// Whether the refrain's background will cover the whole picture, opaque (in the good character's
// opaque white): the steps before it then cannot change a pixel.
bool refrainCoversAll(const DemoWindow* display, const Show& show, double row) {
    if (display->everyQuadWhole) return false;
    float y = evaluateTrack(show.tracks.refrainBackground, row);
    return display->spriteCoversOutput(show.catalogue.refrainBackground, Vec2(0, y));
}

}  // namespace

void renderFrame(DemoWindow* display, const FrameState& frame, Show* show) {
    if (!display->hasContext()) return;
    const TrackSet& tracks = show->tracks;
    const AssetCatalogue& images = show->catalogue;
    display->clear(clearColour);
    // Covered steps still evaluate their tracks, set the colour they leave and keep the tunnel's
    // phases as if drawn; only their drawing is left out.
    bool covered = refrainCoversAll(display, *show, frame.row);
    TunnelTracks tunnel = {tracks.tunnelMove, tracks.tunnelTexture, tracks.tunnelVariation};
    if (covered) {
        advanceTunnelPhases(tunnel, frame.row, images.tunnelTextures, &show->tunnel);
    } else {
        renderTunnel(tunnel, frame.row, images.tunnelTextures, &show->tunnel);
    }
    display->drawsCovered = covered;
    AvatarShake shake = computeAvatarShake(frame, tracks.avatarEvil);
    renderPictogram(
        frame, shake, display, currentTextures, images.pictograms,
        PictogramTracks{tracks.pictogramPictogram, tracks.pictogramX, tracks.pictogramY, tracks.pictogramScale});
    renderGoodAvatar(frame, shake, display, GoodAvatarImages{images.goodAvatars, images.goodBubble, images.goodLyrics},
                     tracks.avatarGood, tracks.lyricsGood);
    display->drawsCovered = false;
    renderRefrain(frame, display, RefrainImages{images.refrainBackground, images.refrainSun, images.refrainForeground},
                  tracks.refrainSun, tracks.refrainForeground, tracks.refrainBackground);
    renderPolaroids(frame, shake, display, images.polaroids, tracks.refrainPolaroidStart, tracks.refrainPolaroidEnd);
    renderNoiseOverlay(frame, display, show->shader, tracks.fadeFgNoise);
    renderLogo(frame, display, images.logo, tracks.fadeFgNoise);
    renderFeatures(frame, display, images.featureImages, tracks.features);
    renderEvilAvatar(frame, shake, display, EvilAvatarImages{images.evilAvatars, images.evilBubble, images.evilLyrics},
                     tracks.lyricsEvil);
    renderWhiteFade(frame, display, tracks.fadeBgWhite);
    renderBlackFade(frame, display, tracks.fadeFgBlack);
}
