// The sound layer's output in a browser, through Web Audio: the song decoded whole by the
// browser (decodeAudioData) and played from a buffer source, the frame being heard taken from the
// audio context's clock minus its output latency. Built only for the browser; the C++ side is
// song_stream_web.cpp and sound_output_web.cpp.
//
// Frames count at the show's 44100 a second whatever the context's own rate. Until the song is
// decoded and the context runs (a page may start sound only after a click), a playback holds its
// frame. Where there is no audio context, or the browser cannot decode the song, it plays to a
// silent output that keeps real time on the page's clock, so the show still reaches its end.
mergeInto(LibraryManager.library, {
  $WebSound: {
    context: null,
    songs: {},      // id: {buffer, failed}
    playbacks: {},  // id: {song, paused, held, playing, silent, source, startTime, startFrame, last}
    nextId: 1,
    rate: 44100,
    pageSeconds: function() { return performance.now() / 1000; },
    // The context's time of the sound being heard now.
    heardSeconds: function() {
      var context = WebSound.context;
      return context.currentTime - (context.outputLatency || 0);
    },
    // Starts a playback that is neither paused nor playing, once it can be heard (or never will).
    tryStart: function(p) {
      if (p.paused || p.playing) return;
      var song = WebSound.songs[p.song];
      var context = WebSound.context;
      if (!song || song.failed || !context) {
        p.silent = true;
      } else if (!song.buffer || context.state !== 'running') {
        return;
      } else {
        p.silent = false;
        var offset = p.held / WebSound.rate;
        if (offset < song.buffer.duration) {
          var source = context.createBufferSource();
          source.buffer = song.buffer;
          source.connect(context.destination);
          source.start(0, offset);
          p.source = source;
        }
      }
      p.playing = true;
      p.startFrame = p.held;
      p.startTime = p.silent ? WebSound.pageSeconds() : WebSound.context.currentTime;
    },
    frames: function(p) {
      WebSound.tryStart(p);
      if (p.paused || !p.playing) return p.held;
      var now = p.silent ? WebSound.pageSeconds() : WebSound.heardSeconds();
      var f = p.startFrame + (now - p.startTime) * WebSound.rate;
      f = Math.max(f, p.startFrame, p.last);
      p.last = f;
      return f;
    },
    halt: function(p) {
      if (p.source) {
        try { p.source.stop(); } catch (e) {}
        p.source.disconnect();
        p.source = null;
      }
      p.playing = false;
    },
  },

  // 1 with an audio context (it may wait for a click to run), 0 with the silent output only.
  webSoundOpen__deps: ['$WebSound'],
  webSoundOpen: function() {
    if (WebSound.context) return 1;
    var AudioContextType = window.AudioContext || window.webkitAudioContext;
    if (!AudioContextType) return 0;
    try { WebSound.context = new AudioContextType(); } catch (e) { return 0; }
    Module['resumeSound'] = function() { if (WebSound.context) WebSound.context.resume(); };
    if (WebSound.context.state !== 'running' && Module['onSoundWaiting']) Module['onSoundWaiting']();
    return 1;
  },

  // Whether sound can be heard now (the context runs), for the page's start button.
  webSoundRunning__deps: ['$WebSound'],
  webSoundRunning: function() {
    return WebSound.context && WebSound.context.state === 'running' ? 1 : 0;
  },

  webSoundClose__deps: ['$WebSound'],
  webSoundClose: function() {
    if (WebSound.context) WebSound.context.close();
    WebSound.context = null;
  },

  // Starts decoding the file's bytes; returns the song's id.
  webSoundDecode__deps: ['$WebSound'],
  webSoundDecode: function(bytes, length) {
    var id = WebSound.nextId++;
    var song = {buffer: null, failed: false};
    WebSound.songs[id] = song;
    var data = HEAPU8.slice(bytes, bytes + length).buffer;
    if (!WebSound.context) {
      song.failed = true;
      return id;
    }
    WebSound.context.decodeAudioData(data).then(
      function(buffer) { song.buffer = buffer; },
      function() { song.failed = true; console.warn('sound: the song could not be decoded; the show plays silently'); });
    return id;
  },

  webSoundForget__deps: ['$WebSound'],
  webSoundForget: function(song) { delete WebSound.songs[song]; },

  webSoundPlay__deps: ['$WebSound'],
  webSoundPlay: function(song, paused) {
    var id = WebSound.nextId++;
    WebSound.playbacks[id] = {song: song, paused: !!paused, held: 0, playing: false, silent: false,
                              source: null, startTime: 0, startFrame: 0, last: 0};
    return id;
  },

  webSoundFrames__deps: ['$WebSound'],
  webSoundFrames: function(id) {
    var p = WebSound.playbacks[id];
    return p ? WebSound.frames(p) : 0;
  },

  webSoundSeek__deps: ['$WebSound'],
  webSoundSeek: function(id, frame) {
    var p = WebSound.playbacks[id];
    if (!p) return;
    WebSound.halt(p);
    p.held = frame;
    p.last = 0;
  },

  webSoundPause__deps: ['$WebSound'],
  webSoundPause: function(id) {
    var p = WebSound.playbacks[id];
    if (!p || p.paused) return;
    if (p.playing) {
      p.held = Math.floor(WebSound.frames(p));
      WebSound.halt(p);
    }
    p.paused = true;
  },

  webSoundResume__deps: ['$WebSound'],
  webSoundResume: function(id) {
    var p = WebSound.playbacks[id];
    if (p) p.paused = false;
  },

  webSoundStop__deps: ['$WebSound'],
  webSoundStop: function(id) {
    var p = WebSound.playbacks[id];
    if (!p) return;
    WebSound.halt(p);
    delete WebSound.playbacks[id];
  },
});
