// The page against the real leaderboard: sinkaway-server over a throwaway PostgreSQL cluster,
// serving the page as a deployment does, in Debian's headless Chromium. A game played with keys
// and one with a finger on a phone reach the world's board under the names entered on their
// game-over screens; a board's replay plays in the page to the board's score; and a server that
// takes 5 s over every answer never holds up a frame.
// Each check waits for what it looks for (up to WAIT_MS); none is tried twice.
//   node world_test.mjs SITE_FOLDER BUILD_FOLDER   (BUILD_FOLDER has sinkaway and sinkaway-server)
import { execFileSync, spawn } from 'node:child_process';
import { randomUUID } from 'node:crypto';
import { EventEmitter, once } from 'node:events';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createServer, request } from 'node:http';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { HIGH, PHONE, WAIT_MS, WIDE, count, fitted, gameOverScreen, gameShown, launchBrowser,
         longestFrame, pixels, runTests, until, waitFor, watchFrames } from './page_helpers.mjs';

const [site, build] = process.argv.slice(2);
const desktop = join(build, 'sinkaway');
const cluster = fileURLToPath(new URL('../../scripts/pg-cluster.sh', import.meta.url));

const DESKTOP = { width: WIDE, height: HIGH, deviceScaleFactor: 1 };
// At scale 1 (15 twips a pixel): "D today's game", above "H best games", drawn once the day's
// session came; and the name entry over the game-over screen as NameEntryLayout lays it out
// (window/world/name_entry.h): its box, the middles of the first slot's column and of the bands
// above and below its letter, the columns' width, and the middle of "OK".
const TODAY_BUTTON = { x: 184, y: 318, w: 112, h: 20 };
const TWIPS = 15, NAME_TOP = 2880, ABOVE_TOP = NAME_TOP + 540, BELOW_TOP = ABOVE_TOP + 270 + 420;
const NAME = { x: 240 / TWIPS, y: NAME_TOP / TWIPS, h: 2280 / TWIPS, slot0: (700 + 135) / TWIPS,
               slotWidth: 270 / TWIPS, above: (ABOVE_TOP + 135) / TWIPS,
               below: (BELOW_TOP + 135) / TWIPS, okX: (240 + 2080) / TWIPS,
               okY: (BELOW_TOP + 270 + 120 + 150) / TWIPS };
// The screens as a viewport shows them, the client area fitted into it.
const todayShown = (viewport) => {
  const { area, dots } = fitted(viewport);
  return (s) => count(s, ...area(TODAY_BUTTON.x, TODAY_BUTTON.y, TODAY_BUTTON.w, TODAY_BUTTON.h),
                      'C0FFFF') >= 100 * dots;
};
// The box's white left edge and its cyan title, "Your name".
const nameEntryShown = (viewport) => {
  const { area, ratio, s: scale, dots } = fitted(viewport);
  return (s) => count(s, ...area(NAME.x - 1, NAME.y + 4, 3, NAME.h - 8), 'FFFFFF') >=
                    (NAME.h - 8) * ratio * scale &&
                count(s, ...area(100, NAME.y + 8, 110, 20), '00FFFF') >= 50 * dots;
};

// ---- The server and what stands in front of it ----

// The real server on a port the system picks (it prints it), over the cluster; its connection
// string, password and all, goes in the environment rather than on the command line.
async function startServer(scratch, conninfo) {
  const child = spawn(join(build, 'sinkaway-server'),
                      ['--site', site, '--no-rate-limits', '--listen', '127.0.0.1:0',
                       '--key-file', join(scratch, 'key')],
                      { env: { ...process.env, SINKAWAY_DATABASE: conninfo },
                        stdio: ['ignore', 'pipe', 'inherit'] });
  let said = '';
  const port = await new Promise((resolve, reject) => {
    child.stdout.on('data', (d) => {
      said += d;
      const m = /listening on http:\/\/127\.0\.0\.1:(\d+)\//.exec(said);
      if (m)
        resolve(Number(m[1]));
    });
    child.on('exit', (code) => reject(new Error(`sinkaway-server ended with ${code}`)));
  });
  return { child, port, base: `http://127.0.0.1:${port}/` };
}

// A proxy in front of the server that holds every request for /health and /api/ `slowMs` before
// passing it on, the page's own files not at all; `seen` hears the path of each request.
function proxy(port, slowMs) {
  const seen = new EventEmitter();
  const server = createServer((req, res) => {
    const path = new URL(req.url, 'http://x').pathname;
    seen.emit('request', path);
    const slow = path === '/health' || path.startsWith('/api/');
    setTimeout(() => {
      const out = request({ host: '127.0.0.1', port, method: req.method, path: req.url,
                            headers: req.headers }, (answer) => {
        res.writeHead(answer.statusCode, answer.headers);
        answer.pipe(res);
      });
      out.on('error', () => res.destroy());
      req.pipe(out);
    }, slow ? slowMs : 0);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(
    { server, seen, base: `http://127.0.0.1:${server.address().port}/` })));
}

// The API from node, as any client: the JSON answer, or a throw with the status.
async function api(base, path, body) {
  const answer = await fetch(new URL(path, base), body === undefined ? {} : {
    method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify(body) });
  if (!answer.ok)
    throw new Error(`${path} answered ${answer.status}: ${await answer.text()}`);
  return path.endsWith('/replay') ? answer.text() : answer.json();
}

// The board's row of the game with this name, once the server verified it.
function rowOf(base, name) {
  return until(`${name} on the world's board`, async () =>
    (await api(base, 'api/v1/boards/all?limit=100')).rows.find((r) => r.name === name),
  (row) => row !== undefined);
}

// ---- The page ----

// The page in a browser profile of its own (its own player, name and best games), unscaled;
// `sessions` counts the sessions the server handed it.
async function openPage(browser, base, viewport = DESKTOP) {
  const own = await browser.createBrowserContext();
  const page = await own.newPage();
  page.on('pageerror', (e) => console.log('page error:', e.message));
  page.sessions = 0;
  page.on('requestfinished', (r) => {
    if (r.url().endsWith('/api/v1/sessions') && r.response()?.ok())
      ++page.sessions;
  });
  await page.setViewport(viewport);
  await page.goto(base);
  return { own, page };
}

// Until the title screen offers the day's game: the server answered and both sessions came (the
// title's untouched session has then started again from the ranked one's seed, which the two
// frames after the answers see to).
async function ranked(page, decoder, viewport = DESKTOP) {
  await waitFor('"D today\'s game"', page, decoder, todayShown(viewport));
  await until('both sessions', () => page.sessions, (n) => n === 2);
  await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
}

// A ranked game started by `start` in the page on `viewport`, left to end, and sent under the
// name `type` enters on its game-over screen: the server verifies it and the board lists it, and
// no answer of the server's came from the page's service worker.
// Prints the bytes the page sent and the time from the name entry's showing (the game over) to
// the verdict reaching the page, when its table says "world #N".
async function sendGame(browser, decoder, world, viewport, name, start, type) {
  const { own, page } = await openPage(browser, world.base, viewport);
  let sent = 0, verdict;
  page.on('request', (r) => {
    if (r.method() === 'POST' && r.url().endsWith('/api/v1/scores'))
      sent = Buffer.byteLength(r.postData() ?? '');
  });
  const cached = [];
  page.on('response', async (r) => {
    if (/^\/(health$|api\/)/.test(new URL(r.url()).pathname) && r.fromServiceWorker())
      cached.push(r.url());
    if (/\/api\/v1\/scores\/\d+$/.test(r.url()) &&
        (await r.json().catch(() => ({}))).status === 'verified')
      verdict ??= Date.now();
  });
  await ranked(page, decoder, viewport);
  // The page's service worker in charge from here on: what the server says is still the server's.
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null,
                             { polling: 50, timeout: WAIT_MS });
  await start(page);
  await waitFor('the name entry on the game-over screen', page, decoder, nameEntryShown(viewport));
  const over = Date.now();
  await type(page);
  const row = await rowOf(world.base, name);
  await until('the verdict in the page', () => verdict, (t) => t !== undefined);
  if (cached.length > 0)
    throw new Error(`the service worker answered ${cached.join(', ')}`);
  console.log(`     ${name}'s game of ${row.score}: ${sent} bytes sent, verified in the page ` +
              `${((verdict - over) / 1000).toFixed(2)} s after its game over`);
  await own.close();
}

// The digits of the game-over score ("Score:  N", green, underlined), each as its columns of lit
// pixels above the underline: the glyphs after the widest gap, the two spaces.
function digits(shot) {
  const lit = (x, y) => {
    const o = 4 * (y * shot.width + x);
    return shot.data[o + 1] > 128 && shot.data[o] < 100 ? 1 : 0;
  };
  let under = 169;
  for (let y = 144; y < under; ++y) {
    let n = 0;
    for (let x = 0; x < shot.width; ++x) n += lit(x, y);
    if (n > 60)
      under = y;
  }
  const glyphs = [];
  for (let x = 0, last = -1; x < shot.width; ++x) {
    const column = [];
    for (let y = 144; y < under; ++y) column.push(lit(x, y));
    if (!column.includes(1))
      continue;
    if (last !== x - 1)
      glyphs.push({ gap: x - last, columns: [] });
    glyphs.at(-1).columns.push(column);
    last = x;
  }
  const widest = glyphs.reduce((w, g, i) => (i > 0 && g.gap > glyphs[w].gap ? i : w), 1);
  return glyphs.slice(widest).map((g) => g.columns);
}

// The share of two glyphs' lit pixels that only one of them has, their left edges together.
function differing(a, b) {
  let only = 0, either = 0;
  for (let x = 0; x < Math.max(a.length, b.length); ++x) {
    for (let y = 0; y < Math.max(a[0].length, b[0].length); ++y) {
      const p = a[x]?.[y] ?? 0, q = b[x]?.[y] ?? 0;
      only += p !== q;
      either += p | q;
    }
  }
  return only / either;
}

const tests = {
  // A game played with keys: Enter starts it, left alone it ends, and on its game-over screen the
  // name goes in by keys ("B9": Up from "A", Right, Down round past the start of the alphabet).
  async gameWithKeys(browser, decoder, world) {
    await sendGame(browser, decoder, world, DESKTOP, 'B9', async (page) => {
      await page.keyboard.press('Enter');
      await waitFor('the game', page, decoder, gameShown);
    }, async (page) => {
      for (const key of ['ArrowUp', 'ArrowRight', 'ArrowDown', 'ArrowDown', 'ArrowDown', 'Enter'])
        await page.keyboard.press(key);
    });
  },

  // The same on a phone by touch: a tap on the start image, and the name tapped in ("C-": twice
  // above the first letter, twice below the second, then "OK").
  async gameWithTouch(browser, decoder, world) {
    const { at } = fitted(PHONE);
    await sendGame(browser, decoder, world, PHONE, 'C-', async (page) => {
      await page.touchscreen.tap(...at(156, 220));
    }, async (page) => {
      for (const [slot, y] of [[0, NAME.above], [0, NAME.above], [1, NAME.below], [1, NAME.below]])
        await page.touchscreen.tap(...at(NAME.slot0 + slot * NAME.slotWidth, y));
      await page.touchscreen.tap(...at(NAME.okX, NAME.okY));
    });
  },

  // A board's replay, chosen in the World table and played with Enter, ends on the board's score:
  // the page's game-over score against the desktop's drawing of the same replay, which the
  // desktop's --verify finds to be that score. The board has a game of 10 or more on top, sent
  // from here: a right arrow held for its first 300 ms, which every seed rewards so.
  async worldReplay(browser, decoder, world) {
    const session = await api(world.base, 'api/v1/sessions', { daily: false });
    const name = 'REPLAY' + Math.floor(Math.random() * 1000);
    await api(world.base, 'api/v1/scores', {
      token: session.token, name,
      player: { id: randomUUID(), secret: 'the world test ' + randomUUID() },
      replay: `seed ${session.seed}\nclick imgNewGame\nkeydown 39\nadvance 300\nkeyup 39\nadvance 6000\n`,
    });
    await rowOf(world.base, name);
    const top = (await api(world.base, 'api/v1/boards/all')).rows[0];
    const text = await api(world.base, `api/v1/scores/${top.id}/replay`);
    const file = join(world.scratch, 'top.txt'), png = join(world.scratch, 'top.png');
    writeFileSync(file, text);
    const verified = execFileSync(desktop, ['--verify', file]).toString().trim().split('\n').pop();
    if (verified !== `score ${top.score}`)
      throw new Error(`the board says ${top.score} and the desktop's --verify "${verified}"`);
    execFileSync(desktop, ['--headless', '--script', file, '--screenshot', png]);
    const want = await pixels(decoder, decoder, readFileSync(png).toString('base64'));

    const { own, page } = await openPage(browser, world.base);
    await ranked(page, decoder);
    await page.keyboard.press('h');
    await page.keyboard.press('Tab');
    // The World table with its first row chosen.
    await waitFor('the World table\'s rows', page, decoder,
                  (s) => count(s, 20, 89, 269, 20, '00FFFF') >= 3000);
    await page.keyboard.press('Enter');
    const tag = (s) => count(s, 200, 0, WIDE - 200, 30, 'C0FFFF') >= 40;
    const shot = await waitFor('the replay\'s game over', page, decoder,
                               (s) => tag(s) && gameOverScreen(s));
    // The score's digits, glyph by glyph, as the desktop draws them for that replay: the same
    // shapes, though the text before them may lie a pixel apart.
    const [got, wanted] = [digits(shot), digits(want)];
    const unlike = wanted.map((g, i) => got[i] ? differing(g, got[i]) : 1);
    console.log(`     the board's replay of ${top.score}: its digits ` +
                `${unlike.map((u) => (100 * u).toFixed(0) + '%').join(' ')} unlike the desktop's`);
    if (got.length !== wanted.length || unlike.some((u) => u > 0.1))
      throw new Error(`the page's replay does not end on the board's score ${top.score}`);
    await own.close();
  },

  // Behind a server that answers /health and the API only after 5 s, the frames go on while the
  // page waits: the longest time between two of them in the 8 s after it asks for /health.
  async slowServerNeverHoldsAFrame(browser, decoder, world) {
    const slow = await proxy(world.port, 5000);
    let asked = 0;
    const health = new Promise((resolve) => slow.seen.on('request', (path) => {
      if (path === '/health' && ++asked === 1)
        resolve();
    }));
    const { own, page } = await openPage(browser, slow.base);
    await health;
    await watchFrames(page);
    await new Promise((r) => setTimeout(r, 8000));
    const longest = await longestFrame(page);
    console.log(`     longest frame in the 8 s after asking a server 5 s slow: ` +
                `${longest.toFixed(1)} ms (/health asked ${asked} times)`);
    if (longest > 1000)
      throw new Error(`a frame waited ${longest.toFixed(0)} ms for the server`);
    await own.close();
    slow.server.close();
  },
};

const scratch = mkdtempSync(join(tmpdir(), 'sinkaway-world-'));
const pg = join(scratch, 'pg');
let server, browser, result;
try {
  execFileSync('bash', [cluster, 'start', pg], { stdio: 'inherit' });
  server = await startServer(scratch, readFileSync(join(pg, 'conninfo'), 'utf8').trim());
  browser = await launchBrowser();
  result = await runTests(tests, browser, await browser.newPage(), { ...server, scratch });
} finally {
  await browser?.close();
  if (server) {
    const ended = once(server.child, 'exit');
    server.child.kill('SIGTERM');
    await ended;
  }
  execFileSync('bash', [cluster, 'remove', pg], { stdio: 'inherit' });
  rmSync(scratch, { recursive: true, force: true });
}
console.log(`world: ${result.passed} passed, ${result.failed} failed`);
process.exit(result.failed === 0 ? 0 : 1);
