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

const Colour clearColour = {0.0f, 0.0f, 0.0f, 1.0f};

void renderFrame(DemoWindow* display, const FrameState& frame, Show* show) {
    if (!display->hasContext()) return;
    const TrackSet& tracks = show->tracks;
    const AssetCatalogue& images = show->catalogue;
    display->clear(clearColour);
    renderTunnel(TunnelTracks{tracks.tunnelMove, tracks.tunnelTexture, tracks.tunnelVariation}, frame.row,
                 images.tunnelTextures, &show->tunnel);
    AvatarShake shake = computeAvatarShake(frame, tracks.avatarEvil);
    renderPictogram(
        frame, shake, display, currentTextures, images.pictograms,
        PictogramTracks{tracks.pictogramPictogram, tracks.pictogramX, tracks.pictogramY, tracks.pictogramScale});
    renderGoodAvatar(frame, shake, display, GoodAvatarImages{images.goodAvatars, images.goodBubble, images.goodLyrics},
                     tracks.avatarGood, tracks.lyricsGood);
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
