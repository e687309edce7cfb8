// The browser build's figures in a headless chromium (SwiftShader, on the CPU): the page's load
// time (from navigation to the program running) and what it transferred, then the frames a
// second the page draws at 1280x720 while the show plays from its start, counted over the page's
// animation frames between two times of the show, with the time each frame's step took.
//
//   node --experimental-websocket bench/web_fps.mjs URL_OF_INDEX_HTML [FROM_S TO_S]   (default 5 25)
import { connectPage, sleep, startBrowser } from '../tests/e2e/web_browser.mjs';

const [pageUrl, fromArg = '5', toArg = '25'] = process.argv.slice(2);
if (!pageUrl) {
  console.error('usage: web_fps.mjs URL_OF_INDEX_HTML [FROM_S TO_S]');
  process.exit(2);
}
const from = Number(fromArg), to = Number(toArg);

// Each animation frame's start on the page's clock and how long its callbacks took.
const countFrames = `(() => {
  const request = window.requestAnimationFrame.bind(window);
  window.benchFrames = [];
  window.requestAnimationFrame = (callback) => request((time) => {
    const start = performance.now();
    callback(time);
    window.benchFrames.push([start, performance.now() - start]);
  });
})();`;

const browser = await startBrowser(1280, 960);
try {
  const page = await connectPage(browser);
  await page.open(`${pageUrl}?size=1280x720`, countFrames);
  let running = null;
  for (let i = 0; i < 1200 && running === null; ++i) {
    const [title, now] = await page.evaluate('[document.title, performance.now()]') ?? ['', 0];
    if (title === 'demo: running') running = now;
    else await sleep(50);
  }
  if (running === null) throw new Error(`the page did not start: "${await page.title()}"`);
  const transfer = await page.evaluate(`(() => {
    const entries = [...performance.getEntriesByType('navigation'), ...performance.getEntriesByType('resource')];
    return entries.reduce((sum, e) => sum + e.transferSize, 0);
  })()`);
  console.log(`load: ${(running / 1000).toFixed(2)} s to the program running, ${(transfer / 1e6).toFixed(2)} MB transferred`);
  await sleep((to + 1) * 1000);
  const frames = (await page.evaluate('window.benchFrames'))
    .filter(([start]) => start >= running + from * 1000 && start < running + to * 1000);
  const steps = frames.map(([, took]) => took).sort((a, b) => a - b);
  const mean = steps.reduce((sum, s) => sum + s, 0) / Math.max(steps.length, 1);
  console.log(`frames: ${(frames.length / (to - from)).toFixed(1)} a second over ${from}-${to} s of the show ` +
              `(${frames.length} animation frames), a frame's step ${mean.toFixed(1)} ms on average, ` +
              `${(steps[Math.floor(steps.length * 0.95)] ?? 0).toFixed(1)} ms at the 95th percentile`);
  if (page.complaints.length) console.log(`console: ${page.complaints.slice(0, 3).join(' / ')}`);
  page.close();
} finally {
  await browser.stop();
}
