// A headless chromium driven over its debugging protocol, for the browser build's play test and
// its benchmark: start it, open a page's connection (calls by id, the console's messages that are
// not the allowed notices), evaluate, wait for the title, press keys, take screenshots. Every wait
// is bounded.
import { spawn } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

// What the page's console may hold besides the program's output: the GL emulation's start-up
// notices and the shader linker's empty log.
const allowed = [/^WARNING: using emscripten GL (emulation|emulation unsafe opts|immediate mode emulation)/,
                 /^Prog Info Log: $/, /^$/];

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Starts chromium (sound may start without a click) with a window of the size.
export async function startBrowser(width, height) {
  const profile = mkdtempSync(join(tmpdir(), 'web-browser-'));
  const process = spawn('chromium', [
    '--headless=new', '--no-sandbox', '--enable-unsafe-swiftshader', '--use-angle=swiftshader',
    '--autoplay-policy=no-user-gesture-required', `--window-size=${width},${height}`,
    '--remote-debugging-port=0', `--user-data-dir=${profile}`, 'about:blank'], { stdio: 'ignore' });
  let port = null;
  for (let i = 0; i < 300 && port === null; ++i) {
    try {
      port = readFileSync(join(profile, 'DevToolsActivePort'), 'utf8').split('\n')[0];
    } catch {
      await sleep(100);
    }
  }
  const stop = async () => {
    process.kill();
    await sleep(500);
    rmSync(profile, { recursive: true, force: true });
  };
  if (port === null) {
    await stop();
    throw new Error('chromium did not open its debugging port');
  }
  return { port, stop };
}

// The browser's page: calls, the console's complaints, and the page-level helpers below.
export async function connectPage(browser) {
  const targets = await (await fetch(`http://127.0.0.1:${browser.port}/json/list`)).json();
  const target = targets.find((t) => t.type === 'page');
  const socket = new WebSocket(target.webSocketDebuggerUrl);
  await new Promise((resolve, reject) => { socket.onopen = resolve; socket.onerror = reject; });
  const pending = new Map();
  const complaints = [];
  const logged = [];
  let nextId = 1;
  const note = (text) => { if (!allowed.some((rule) => rule.test(text))) complaints.push(text); };
  const argsText = (args) => args.map((a) => (a.value !== undefined ? String(a.value) : a.description)).join(' ');
  socket.onmessage = (event) => {
    const message = JSON.parse(event.data);
    if (message.id && pending.has(message.id)) {
      pending.get(message.id)(message);
      pending.delete(message.id);
    } else if (message.method === 'Runtime.consoleAPICalled') {
      const text = argsText(message.params.args);
      logged.push(text);
      if (message.params.type !== 'log') note(text);
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

  const evaluate = async (expression) => {
    const reply = await call('Runtime.evaluate', { expression, returnByValue: true, awaitPromise: true });
    return reply.result?.result?.value;
  };
  const title = async () => (await evaluate('document.title')) ?? '';
  // Polls the title until it is `want` or the seconds run out; the last title and the seconds.
  const waitForTitle = async (want, seconds) => {
    const start = Date.now();
    let last = '';
    while ((Date.now() - start) / 1000 < seconds) {
      last = await title();
      if (last === want) break;
      await sleep(100);
    }
    return { last, seconds: (Date.now() - start) / 1000 };
  };
  const pressKey = async (key, code, keyCode) => {
    const event = { key, code, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode };
    await call('Input.dispatchKeyEvent', { type: 'keyDown', ...event });
    await call('Input.dispatchKeyEvent', { type: 'keyUp', ...event });
  };
  // Opens the address with a script run before the page's own (null for none).
  let injected = null;
  const open = async (url, scriptBefore = null) => {
    if (injected) await call('Page.removeScriptToEvaluateOnNewDocument', { identifier: injected });
    injected = null;
    if (scriptBefore) {
      injected = (await call('Page.addScriptToEvaluateOnNewDocument', { source: scriptBefore })).result.identifier;
    }
    logged.length = 0;
    await call('Page.navigate', { url });
  };
  const screenshot = async () =>
    Buffer.from((await call('Page.captureScreenshot', { format: 'png' })).result.data, 'base64');
  return { call, evaluate, title, waitForTitle, pressKey, open, screenshot, complaints, logged,
           close: () => socket.close() };
}
