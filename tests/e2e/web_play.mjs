// The browser build playing, in a headless chromium (the still frames of web.sh need no sound;
// these runs do): the song decoded by the browser and played through Web Audio, its clock driving
// the loop one step per animation frame.
//   - the loading bar must fill as the show's files arrive and go when the program runs;
//   - started at row 6600, the show must end by itself at the row limit (status 0 on the page) and
//     show the end card with the credits and the video's link;
//   - started at row 1200, the song's position must follow the audio clock: held while the audio
//     context is suspended, moving as far as the context's clock once it runs again; the show must
//     still be playing, and a press of Escape must end it (status 0);
//   - with the canvas at the window's size, F and a double click must go full screen and back, the
//     picture following the canvas's new size; at a device pixel ratio of 2 the canvas must have
//     the screen's pixels, and in a window wider than 16:9 keep the show's shape;
//   - in a browser without WebGL 2 the page must say so and start nothing;
//   - in a browser without Web Audio the page must say the show plays without its song, and the
//     show must still reach its end.
// The page's console may hold only the allowed notices throughout. Every wait is bounded; a run
// that does not end says where it stood.
//
//   node --experimental-websocket tests/e2e/web_play.mjs URL_OF_INDEX_HTML
import { connectPage, sleep, startBrowser } from './web_browser.mjs';

const pageUrl = process.argv[2];
if (!pageUrl) {
  console.error('usage: web_play.mjs URL_OF_INDEX_HTML');
  process.exit(2);
}
const ended = 'demo: the show ended with status 0';
const songRate = 44100;

let failures = 0;
const report = (name, ok, detail) => {
  if (!ok) ++failures;
  console.log(`${ok ? 'ok    ' : 'FAILED'} ${name}: ${detail}`);
};
const shown = (page, id) =>
  page.evaluate(`!document.getElementById('${id}').classList.contains('hidden')`);

async function endsByItself(page) {
  await page.open(`${pageUrl}?row=6600&size=320x180`);
  const toTheEnd = await page.waitForTitle(ended, 90);
  report('from row 6600 the show ends by itself at the row limit', toTheEnd.last === ended,
         `"${toTheEnd.last}" after ${toTheEnd.seconds.toFixed(1)} s (51 rows are 2.1 s of the song)`);
  const bar = await page.evaluate(`[document.getElementById('bar-fill').style.width,
                                     document.getElementById('loading').classList.contains('hidden')]`);
  report('the loading bar filled as the show\'s files arrived, then went', bar[0] === '100%' && bar[1],
         `bar at ${bar[0]}, ${bar[1] ? 'hidden' : 'still shown'}`);
  const card = await page.evaluate(`[document.getElementById('end').innerText,
                                      document.getElementById('video').getAttribute('href')]`);
  report('the end card shows the credits and the video\'s link',
         (await shown(page, 'end')) && /Quasar Jo/.test(card[0]) && /Kettle/.test(card[0]) && /\.mp4$/.test(card[1]),
         `${JSON.stringify(card[0].slice(0, 60))}…, link ${card[1]}`);
}

// The playback's frame and the audio context's clock of what is heard, in seconds.
const clockNow = `(() => {
  const playback = Object.values(WebSound.playbacks)[0];
  return { song: WebSound.frames(playback) / ${songRate}, heard: WebSound.heardSeconds(),
           state: WebSound.context.state };
})()`;

async function followsTheAudioClock(page) {
  await page.open(`${pageUrl}?row=1200&size=320x180`);
  const started = await page.waitForTitle('demo: running', 60);
  await sleep(2000);
  const before = await page.evaluate(clockNow);
  await page.evaluate('WebSound.context.suspend()');
  const suspended = await page.evaluate(clockNow);
  await sleep(1500);
  const held = await page.evaluate(clockNow);
  await page.evaluate('WebSound.context.resume()');
  await sleep(2500);
  const after = await page.evaluate(clockNow);
  const ok = started.last === 'demo: running' && before?.state === 'running' && held?.state === 'suspended' &&
    Math.abs(held.song - suspended.song) < 0.005 && after.heard - held.heard > 1.0 &&
    Math.abs((after.song - held.song) - (after.heard - held.heard)) < 0.02 && before.song > 1200 / 24;
  report('the song\'s position follows the audio clock', ok, before && held && after
    ? `held ${(held.song - suspended.song).toFixed(4)} s while suspended; then ${(after.song - held.song).toFixed(3)} s ` +
      `of song in ${(after.heard - held.heard).toFixed(3)} s of the audio clock`
    : `no playback to read (title "${await page.title()}")`);

  const playing = await page.title();
  await page.pressKey('Escape', 'Escape', 27);
  const afterEscape = await page.waitForTitle(ended, 30);
  report('from row 1200 the show plays on until Escape ends it',
         playing === 'demo: running' && afterEscape.last === ended,
         `"${playing}" before, "${afterEscape.last}" ${afterEscape.seconds.toFixed(1)} s after Escape`);
}

// The page's full screen, the canvas and the picture's viewport with it: [full screen, canvas
// width, height, viewport width, height].
const screenNow = `[!!document.fullscreenElement, canvas.width, canvas.height,
                    ...Array.from(GLctx.getParameter(GLctx.VIEWPORT)).slice(2)]`;

// Polls the screen until `settled` holds for it (the page resizes the canvas, and the program its
// picture, a little after the switch); the last screen.
async function waitForScreen(page, settled) {
  let now = null;
  for (let i = 0; i < 100; ++i) {
    now = await page.evaluate(screenNow);
    if (settled(now)) break;
    await sleep(100);
  }
  return now;
}

async function goesFullScreen(page) {
  await page.open(`${pageUrl}?row=2000`);
  await page.waitForTitle('demo: running', 60);
  await sleep(1000);
  const windowed = await page.evaluate(screenNow);
  // The picture keeps the show's aspect: its viewport is as wide as the canvas, 16:9.
  const follows = (s) => s[3] === s[1] && Math.abs(s[4] - s[1] * 9 / 16) <= 1;
  const isFull = (s) => s[0] && (s[1] !== windowed[1] || s[2] !== windowed[2]) && follows(s);
  const isWindowed = (s) => !s[0] && s[1] === windowed[1] && s[2] === windowed[2] && follows(s);
  const click = { x: 100, y: 100, button: 'left' };
  await page.call('Input.dispatchMouseEvent', { type: 'mousePressed', clickCount: 1, ...click });
  await page.call('Input.dispatchMouseEvent', { type: 'mouseReleased', clickCount: 1, ...click });
  await page.pressKey('f', 'KeyF', 70);
  const full = await waitForScreen(page, isFull);
  await page.pressKey('f', 'KeyF', 70);
  const back = await waitForScreen(page, isWindowed);
  for (const clickCount of [1, 2]) {
    await page.call('Input.dispatchMouseEvent', { type: 'mousePressed', clickCount, ...click });
    await page.call('Input.dispatchMouseEvent', { type: 'mouseReleased', clickCount, ...click });
  }
  const doubleClicked = await waitForScreen(page, isFull);
  await page.evaluate('document.exitFullscreen()');
  await waitForScreen(page, isWindowed);
  report('F and a double click go full screen and back, the picture following the canvas',
         isWindowed(windowed) && isFull(full) && isWindowed(back) && isFull(doubleClicked),
         `canvas ${windowed[1]}x${windowed[2]}, full screen ${full[1]}x${full[2]} (picture ${full[3]}x${full[4]}), ` +
         `back ${back[1]}x${back[2]}; double click: ${doubleClicked[0] ? 'full screen' : 'windowed'}`);
}

// On a screen of two pixels to a page pixel, the canvas has the screen's pixels, not the page's.
async function drawsInTheScreensPixels(page) {
  await page.call('Emulation.setDeviceMetricsOverride', { width: 640, height: 360, deviceScaleFactor: 2, mobile: false });
  await page.open(`${pageUrl}?row=2000`);
  await page.waitForTitle('demo: running', 60);
  const sharp = await waitForScreen(page, (s) => s[1] === 1280 && s[3] === 1280);
  const onPage = await page.evaluate('[canvas.clientWidth, canvas.clientHeight]');
  report('at a device pixel ratio of 2 the canvas and the picture have the screen\'s pixels',
         sharp[1] === 1280 && sharp[2] === 720 && sharp[3] === 1280 && sharp[4] === 720 &&
         onPage[0] === 640 && onPage[1] === 360,
         `canvas ${sharp[1]}x${sharp[2]}, picture ${sharp[3]}x${sharp[4]}, on the page ${onPage[0]}x${onPage[1]}`);
  // A window wider than the show: the canvas keeps 16:9, the sides stay black, nothing is cropped.
  await page.call('Emulation.setDeviceMetricsOverride', { width: 900, height: 360, deviceScaleFactor: 1, mobile: false });
  const wide = await waitForScreen(page, (s) => s[2] === 360 && s[3] === s[1]);
  await page.call('Emulation.clearDeviceMetricsOverride');
  report('in a window wider than 16:9 the canvas keeps the show\'s shape',
         wide[1] === 640 && wide[2] === 360 && wide[3] === 640 && wide[4] === 360,
         `window 900x360: canvas ${wide[1]}x${wide[2]}, picture ${wide[3]}x${wide[4]}`);
}

async function saysWhatIsMissing(page) {
  await page.open(`${pageUrl}?row=6600&size=320x180`, 'HTMLCanvasElement.prototype.getContext = () => null;');
  const noGL = await page.waitForTitle('demo: this browser has no WebGL 2', 20);
  await sleep(1000);
  const started = await page.evaluate('typeof Module.calledRun !== "undefined" || typeof WebSound !== "undefined"');
  report('without WebGL 2 the page says so and starts nothing',
         noGL.last === 'demo: this browser has no WebGL 2' && (await shown(page, 'message')) && !started,
         `"${noGL.last}", the program ${started ? 'started' : 'not started'}`);

  await page.open(`${pageUrl}?row=6600&size=320x180`, 'delete window.AudioContext; delete window.webkitAudioContext;');
  const silent = await page.waitForTitle(ended, 90);
  report('without Web Audio the page says the show is silent, and it plays to its end',
         silent.last === ended && (await shown(page, 'notice')),
         `"${silent.last}", notice "${await page.evaluate("document.getElementById('notice').innerText")}"`);
}

const browser = await startBrowser(640, 560);
try {
  const page = await connectPage(browser);
  await endsByItself(page);
  await followsTheAudioClock(page);
  await goesFullScreen(page);
  await drawsInTheScreensPixels(page);
  await saysWhatIsMissing(page);
  report('the console holds nothing but the allowed notices', page.complaints.length === 0,
         page.complaints.length ? page.complaints.slice(0, 5).join(' / ') : 'clean');
  page.close();
} catch (error) {
  report('the browser could be driven', false, String(error?.stack ?? error));
} finally {
  await browser.stop();
}
process.exit(failures ? 1 : 0);
