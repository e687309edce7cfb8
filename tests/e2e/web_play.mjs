// The browser build playing, in a headless chromium driven over its debugging protocol (the
// still frames of web.sh need no sound; these runs do): the song decoded by the browser and
// played through Web Audio, its clock driving the loop one step per animation frame.
//   - started at row 6600, the show must end by itself at the row limit (status 0 on the page);
//   - started at row 1200, it must still be playing a few seconds later, and a press of Escape
//     must end it (status 0).
// The page's console may hold only the GL emulation's start-up notices and the shader linker's
// empty log. Every wait is bounded; a run that does not end says where it stood.
//
//   node --experimental-websocket tests/e2e/web_play.mjs URL_OF_INDEX_HTML
import { spawn } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const pageUrl = process.argv[2];
if (!pageUrl) {
  console.error('usage: web_play.mjs URL_OF_INDEX_HTML');
  process.exit(2);
}
const ended = 'demo: the show ended with status 0';
const allowed = [/^WARNING: using emscripten GL (emulation|emulation unsafe opts|immediate mode emulation)/,
                 /^Prog Info Log: $/, /^$/];
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

const profile = mkdtempSync(join(tmpdir(), 'web-play-'));
const browser = spawn('chromium', [
  '--headless=new', '--no-sandbox', '--enable-unsafe-swiftshader', '--use-angle=swiftshader',
  '--autoplay-policy=no-user-gesture-required', '--window-size=640,560', '--remote-debugging-port=0',
  `--user-data-dir=${profile}`, 'about:blank'], { stdio: 'ignore' });

async function debuggerPort() {
  for (let i = 0; i < 300; ++i) {
    try {
      return readFileSync(join(profile, 'DevToolsActivePort'), 'utf8').split('\n')[0];
    } catch {
      await sleep(100);
    }
  }
  throw new Error('chromium did not open its debugging port');
}

// One page's connection: calls by id, and the console's messages that are not allowed.
async function connect(port) {
  const targets = await (await fetch(`http://127.0.0.1:${port}/json/list`)).json();
  const page = targets.find((t) => t.type === 'page');
  const socket = new WebSocket(page.webSocketDebuggerUrl);
  await new Promise((resolve, reject) => { socket.onopen = resolve; socket.onerror = reject; });
  const pending = new Map();
  const complaints = [];
  let nextId = 1;
  const note = (text) => { if (!allowed.some((rule) => rule.test(text))) complaints.push(text); };
  socket.onmessage = (event) => {
    const message = JSON.parse(event.data);
    if (message.id && pending.has(message.id)) {
      pending.get(message.id)(message);
      pending.delete(message.id);
    } else if (message.method === 'Runtime.consoleAPICalled' && message.params.type !== 'log') {
      note(message.params.args.map((a) => (a.value !== undefined ? String(a.value) : a.description)).join(' '));
    } else if (message.method === 'Runtime.exceptionThrown') {
      note('exception: ' + message.params.exceptionDetails.text + ' ' +
           (message.params.exceptionDetails.exception?.description ?? ''));
    } else if (message.method === 'Log.entryAdded' && message.params.entry.level !== 'verbose' &&
               message.params.entry.level !== 'info') {
      note(message.params.entry.text);
    }
  };
  const call = (method, params = {}) => new Promise((resolve) => {
    const id = nextId++;
    pending.set(id, resolve);
    socket.send(JSON.stringify({ id, method, params }));
  });
  await call('Runtime.enable');
  await call('Log.enable');
  await call('Page.enable');
  return { call, complaints, close: () => socket.close() };
}

async function title(page) {
  const reply = await page.call('Runtime.evaluate', { expression: 'document.title' });
  return reply.result?.result?.value ?? '';
}

// Polls the title until it is `want` or the seconds run out; returns the last title and seconds.
async function waitForTitle(page, want, seconds) {
  const start = Date.now();
  let last = '';
  while ((Date.now() - start) / 1000 < seconds) {
    last = await title(page);
    if (last === want) break;
    await sleep(100);
  }
  return { last, seconds: (Date.now() - start) / 1000 };
}

async function pressEscape(page) {
  const key = { key: 'Escape', code: 'Escape', windowsVirtualKeyCode: 27, nativeVirtualKeyCode: 27 };
  await page.call('Input.dispatchKeyEvent', { type: 'keyDown', ...key });
  await page.call('Input.dispatchKeyEvent', { type: 'keyUp', ...key });
}

let failures = 0;
const report = (name, ok, detail) => {
  if (!ok) ++failures;
  console.log(`${ok ? 'ok    ' : 'FAILED'} ${name}: ${detail}`);
};

try {
  const page = await connect(await debuggerPort());

  await page.call('Page.navigate', { url: `${pageUrl}?row=6600&size=320x180` });
  const toTheEnd = await waitForTitle(page, ended, 90);
  report('from row 6600 the show ends by itself at the row limit', toTheEnd.last === ended,
         `"${toTheEnd.last}" after ${toTheEnd.seconds.toFixed(1)} s (51 rows are 2.1 s of the song)`);

  await page.call('Page.navigate', { url: `${pageUrl}?row=1200&size=320x180` });
  const started = await waitForTitle(page, 'demo: running', 60);
  await sleep(4000);
  const playing = await title(page);
  await pressEscape(page);
  const afterEscape = await waitForTitle(page, ended, 30);
  report('from row 1200 the show plays on until Escape ends it',
         started.last === 'demo: running' && playing === 'demo: running' && afterEscape.last === ended,
         `"${playing}" 4 s in, "${afterEscape.last}" ${afterEscape.seconds.toFixed(1)} s after Escape`);

  report('the console holds nothing but the allowed notices', page.complaints.length === 0,
         page.complaints.length ? page.complaints.slice(0, 5).join(' / ') : 'clean');
  page.close();
} catch (error) {
  report('the browser could be driven', false, String(error));
} finally {
  browser.kill();
  await sleep(500);
  rmSync(profile, { recursive: true, force: true });
}
process.exit(failures ? 1 : 0);
