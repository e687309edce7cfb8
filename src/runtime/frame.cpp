// The frame sequence: each step's layers lie over everything before them.
#include "runtime/frame.h"

#include "render/demo_window.h"
#include "scenes/avatars.h"
#include "scenes/fades.h"
#include "scenes/logo.h"
#include "scenes/pictograms.h"
#include "scenes/refrain.h"

const Colour clearColour = {0.0f, 0.0f, 0.0f, 1.0f};

void describeFrame(const TrackSet& tracks, const AssetCatalogue& catalogue, const ImageSizes& images,
                   const FrameState& frame, TunnelState* tunnel, FrameLayers* out) {
    out->layers.clear();
    TunnelTracks tunnelTracks = {tracks.tunnelMove, tracks.tunnelTexture, tracks.tunnelVariation};
    describeTunnel(tunnelTracks, frame.row, catalogue.tunnelTextures, images, tunnel, &out->tunnel);
    AvatarShake shake = computeAvatarShake(frame, tracks.avatarEvil);
    PictogramTracks pictogram = {tracks.pictogramIndex, tracks.pictogramX, tracks.pictogramY, tracks.pictogramScale};
    describePictogram(frame, shake, images, catalogue.pictograms, pictogram, out);
    CharacterImages good = {catalogue.goodAvatars, catalogue.goodBubble, catalogue.goodLyrics};
    describeGoodAvatar(frame, shake, images, good, tracks.avatarGood, tracks.lyricsGood, out);
    RefrainImages refrain = {catalogue.refrainBackground, catalogue.refrainSun, catalogue.refrainForeground};
    describeRefrain(frame, images, refrain,
                    RefrainTracks{tracks.refrainSun, tracks.refrainForeground, tracks.refrainBackground}, out);
    describePolaroids(frame, shake, images, catalogue.polaroids,
                      PolaroidTracks{tracks.refrainPolaroidStart, tracks.refrainPolaroidEnd}, out);
    describeNoiseOverlay(frame, tracks.fadeFgNoise, out);
    describeLogo(frame, images, catalogue.logo, tracks.fadeFgNoise, out);
    describeFeatures(frame, images, catalogue.featureImages, tracks.features, out);
    CharacterImages evil = {catalogue.evilAvatars, catalogue.evilBubble, catalogue.evilLyrics};
    describeEvilAvatar(frame, shake, images, evil, tracks.lyricsEvil, out);
    describeWhiteFade(frame, tracks.fadeBgWhite, out);
    describeBlackFade(frame, tracks.fadeFgBlack, out);
}

void renderFrame(DemoWindow* display, const FrameState& frame, Show* show, LayerDrawing how) {
    if (!display->hasContext()) return;
    display->clear(clearColour);
    describeFrame(show->tracks, show->catalogue, show->images, frame, &show->tunnel, &show->layers);
    drawFrameLayers(display, show->shader, show->layers, how);
}
