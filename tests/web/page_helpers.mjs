// What the page tests share: Debian's Chromium launched headless, the game's screenshots read as
// pixels, the screens told apart by their colours, waits that poll for what they look for (up to
// WAIT_MS, never a second try), and the loop that runs a file's tests one after another.
import puppeteer from 'puppeteer-core';

export const WAIT_MS = 60000;
// The game's client area at one pixel per 15 twips: a viewport of that size shows it unscaled.
export const WIDE = 309, HIGH = 388;
// The page's "H best games" button at that scale, bottom right on the title and game-over screens.
export const BEST_BUTTON = { x: 184, y: 344, w: 112, h: 20 };

// A phone held upright, whose screen the game fills with its client area.
export const PHONE = { width: 360, height: 640, deviceScaleFactor: 2, isMobile: true, hasTouch: true };

// Where the client area lies in a viewport, as the game fits it: its scale `s` in CSS pixels for
// one at scale 1, a point of it in CSS pixels (`at`, for taps), a rectangle of it in device
// pixels (`area`, for screenshots), and how many device pixels one at scale 1 covers (`dots`).
export function fitted(viewport) {
  const ratio = viewport.deviceScaleFactor;
  const s = Math.min(viewport.width / WIDE, viewport.height / HIGH);
  const left = (viewport.width - WIDE * s) / 2, top = (viewport.height - HIGH * s) / 2;
  return {
    ratio, s,
    at: (x, y) => [left + x * s, top + y * s],
    area: (x, y, w, h) => [Math.ceil(ratio * (left + x * s)), Math.ceil(ratio * (top + y * s)),
                           Math.floor(ratio * w * s), Math.floor(ratio * h * s)],
    dots: ratio * ratio * s * s,
  };
}

// A screenshot's pixels as RGBA, decoded by the browser itself; or what `look` (the text of a
// function of the RGBA bytes and the width) finds in them there, when they are too many to pass.
export async function pixels(page, decoder, png,
                             look = '(data, width) => ({ width, data: Array.from(data) })') {
  const png64 = png ?? await page.screenshot({ encoding: 'base64' });
  return decoder.evaluate(async (data, look) => {
    const img = new Image();
    img.src = 'data:image/png;base64,' + data;
    await img.decode();
    const c = new OffscreenCanvas(img.width, img.height);
    const g = c.getContext('2d');
    g.drawImage(img, 0, 0);
    return (0, eval)(look)(g.getImageData(0, 0, img.width, img.height).data, img.width);
  }, png64, look);
}

// How many pixels of a rectangle have exactly the colour `hex`.
export function count(shot, x, y, w, h, hex) {
  const r = parseInt(hex.slice(0, 2), 16), g = parseInt(hex.slice(2, 4), 16);
  const b = parseInt(hex.slice(4, 6), 16);
  let n = 0;
  for (let j = y; j < y + h; ++j) {
    for (let i = x; i < x + w; ++i) {
      const o = 4 * (j * shot.width + i);
      if (shot.data[o] === r && shot.data[o + 1] === g && shot.data[o + 2] === b)
        ++n;
    }
  }
  return n;
}

// Screenshots until `test` accepts one, which it gives back.
export async function waitFor(what, page, decoder, test) {
  const end = Date.now() + WAIT_MS;
  for (;;) {
    const shot = await pixels(page, decoder);
    if (test(shot))
      return shot;
    if (Date.now() > end)
      throw new Error(`waited ${WAIT_MS / 1000} s for ${what}`);
    await new Promise((r) => setTimeout(r, 50));
  }
}

// Polls `measure` until `test` accepts what it returns, which it then gives back.
export async function until(what, measure, test) {
  for (const end = Date.now() + WAIT_MS; ; await new Promise((r) => setTimeout(r, 20))) {
    const x = await measure();
    if (test(x))
      return x;
    if (Date.now() > end)
      throw new Error(`waited ${WAIT_MS / 1000} s for ${what}`);
  }
}

// The same tests as the desktop's end-to-end ones, at scale 1.
export const titleScreen = (s) => count(s, 0, 64, WIDE, 49, '00FFFF') >= 200;
export const gameShown = (s) => count(s, 0, 0, WIDE, HIGH, 'FF0000') >= 20 &&
                                count(s, 0, 0, WIDE, HIGH, '00FF00') >= 500;
export const gameOverScreen = (s) => count(s, 150, 240, 1, 1, 'FFFFFF') === 1 &&
    count(s, 0, 0, WIDE, HIGH, 'FF0000') === 0 && count(s, 0, 104, WIDE, 25, '00FF00') >= 100 &&
    count(s, 0, 144, WIDE, 25, '00FF00') >= 60;

export async function openGame(browser, base, args = '') {
  const page = await browser.newPage();
  await page.setViewport({ width: WIDE, height: HIGH, deviceScaleFactor: 1 });
  page.on('pageerror', (e) => console.log('page error:', e.message));
  await page.goto(base + (args ? '?args=' + encodeURIComponent(args) : ''));
  return page;
}

export function launchBrowser() {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--enable-unsafe-swiftshader', '--use-angle=swiftshader'],
  });
}

// Runs each test in turn with the same arguments (ONLY=name runs that test alone): a line for each,
// and how many passed and failed.
export async function runTests(tests, ...args) {
  let passed = 0, failed = 0;
  for (const [name, test] of Object.entries(tests).filter(([n]) => !process.env.ONLY || n === process.env.ONLY)) {
    const started = Date.now();
    try {
      await test(...args);
      ++passed;
      console.log(`ok   ${name} (${((Date.now() - started) / 1000).toFixed(1)} s)`);
    } catch (e) {
      ++failed;
      console.log(`FAIL ${name}: ${e.message}`);
    }
  }
  return { passed, failed };
}

// From now on the page keeps the longest interval between two of its animation frames, in ms,
// which longestFrame reads: a page that stalls shows it there.
export async function watchFrames(page) {
  await page.evaluate(() => {
    window.longestFrame = 0;
    let last = performance.now();
    const frame = (now) => {
      window.longestFrame = Math.max(window.longestFrame, now - last);
      last = now;
      requestAnimationFrame(frame);
    };
    requestAnimationFrame(frame);
  });
}

export function longestFrame(page) {
  return page.evaluate(() => window.longestFrame);
}
