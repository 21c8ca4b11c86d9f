// The page in Debian's headless Chromium, served from 127.0.0.1 as any static host would: the
// title screen against the desktop's screenshot of the same state, a game played with keys to its
// game-over screen, one steered by touch on a phone, the pause when the page loses the focus, a
// best game kept through a reload whose downloaded replay the desktop proves and which a hostile
// link cannot touch, two tabs keeping a game each, a planted replay refused while the frames go
// on, and a desktop replay playing in the page.
// Each check waits for what it looks for (up to WAIT_MS); none is tried twice.
//   node page_test.mjs SITE_FOLDER DESKTOP_SINKAWAY
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { BEST_BUTTON, HIGH, PHONE, WAIT_MS, WIDE, count, fitted, gameOverScreen, gameShown, launchBrowser,
         longestFrame, openGame, pixels, runTests, titleScreen, until, waitFor, watchFrames } from './page_helpers.mjs';
import { serve } from './static_server.mjs';

const [site, desktop] = process.argv.slice(2);

const paused = (s) => count(s, 100, 170, 109, 48, 'FFFFFF') >= 40 &&
                      count(s, 0, 0, WIDE, HIGH, 'FF0000') >= 20;

const tests = {
  // The title screen against the desktop's drawing of the same state: every pixel of the walls,
  // boxes, button and start image the same, text within a tolerance (antialiased glyph edges).
  async titleScreen(browser, base, decoder, scratch) {
    const page = await openGame(browser, base, '--seed 5');
    const shot = await waitFor('the title screen', page, decoder, titleScreen);
    writeFileSync(join(scratch, 'empty.txt'), '');
    const png = join(scratch, 'desktop.png');
    execFileSync(desktop, ['--headless', '--seed', '5', '--script', join(scratch, 'empty.txt'),
                           '--screenshot', png]);
    const want = await pixels(page, decoder, readFileSync(png).toString('base64'));
    let differing = 0, far = 0;
    for (let o = 0; o < want.data.length; o += 4) {
      const x = (o / 4) % want.width, y = Math.floor(o / 4 / want.width);
      if (x >= BEST_BUTTON.x && x < BEST_BUTTON.x + BEST_BUTTON.w && y >= BEST_BUTTON.y &&
          y < BEST_BUTTON.y + BEST_BUTTON.h)
        continue;  // the page's own "H best games", which the desktop does not draw
      let d = 0;
      for (let c = 0; c < 3; ++c) d = Math.max(d, Math.abs(want.data[o + c] - shot.data[4 * (y * shot.width + x) + c]));
      if (d > 0)
        ++differing;
      if (d > 64)
        ++far;
    }
    const total = want.data.length / 4;
    console.log(`     title: ${differing} of ${total} pixels differ, ${far} by more than 64 of 255`);
    if (far > total * 0.01)
      throw new Error(`${far} pixels differ by more than 64 from the desktop's title screen`);
    await page.close();
  },

  // Enter on the focused button starts a game; Left steers it; left alone it ends.
  async gameWithKeys(browser, base, decoder) {
    const page = await openGame(browser, base, '--seed 3');
    await waitFor('the title screen', page, decoder, titleScreen);
    await page.keyboard.press('Enter');
    await waitFor('the game', page, decoder, gameShown);
    await page.keyboard.down('ArrowLeft');
    await new Promise((r) => setTimeout(r, 100));
    await page.keyboard.up('ArrowLeft');
    await waitFor('***Game Over*** and the score', page, decoder, gameOverScreen);
    const scrolled = await page.evaluate(() => window.scrollX + window.scrollY);
    if (scrolled !== 0)
      throw new Error('the arrow keys scrolled the page');
    await page.close();
  },

  // On a phone the canvas fills the screen, sharp at its pixel ratio, held upright or on its side;
  // a tap on "H best games" opens the best games and one outside closes them, a tap on the start
  // image starts a game, and a finger held on either half steers that way.
  async gameWithTouch(browser, base, decoder) {
    const page = await browser.newPage();
    page.on('pageerror', (e) => console.log('page error:', e.message));
    await page.setViewport(PHONE);
    await page.goto(base + '?args=' + encodeURIComponent('--seed 3'));
    const { ratio, s, at, area, dots } = fitted(PHONE);
    await waitFor('the title screen', page, decoder,
                  (shot) => count(shot, ...area(0, 64, WIDE, 49), '00FFFF') >= 200 * dots);
    // The canvas has a pixel for each of the screen's, turned either way.
    const sharp = async (how) => {
      for (const end = Date.now() + WAIT_MS; ; await new Promise((r) => setTimeout(r, 50))) {
        const [w, h, sw, sh] = await page.evaluate(() => {
          const c = document.getElementById('canvas');
          return [c.width, c.height, Math.round(c.clientWidth * devicePixelRatio),
                  Math.round(c.clientHeight * devicePixelRatio)];
        });
        const { width, height } = page.viewport();
        if (w === sw && h === sh && sw === ratio * width && sh === ratio * height)
          return;
        if (Date.now() > end)
          throw new Error(`${how}, the canvas draws ${w}x${h} for ${sw}x${sh} screen pixels`);
      }
    };
    await sharp('upright');
    // The ball's middle across, in device pixels (its red edge), or NaN once it is gone: found
    // by the decoding page, as a phone's screenshot is too big to pass around quickly.
    const ballX = () => pixels(page, decoder, undefined, `(px, width) => {
      let sum = 0, n = 0;
      for (let o = 0; o < px.length; o += 4) {
        if (px[o] === 255 && px[o + 1] === 0 && px[o + 2] === 0) {
          sum += (o / 4) % width;
          ++n;
        }
      }
      return n >= 20 ? sum / n : NaN;
    }`);
    const until = async (what, test) => {
      for (const end = Date.now() + WAIT_MS; ; await new Promise((r) => setTimeout(r, 20))) {
        const x = await ballX();
        if (test(x))
          return x;
        if (Date.now() > end)
          throw new Error(`waited ${WAIT_MS / 1000} s for ${what}`);
      }
    };
    // The panel's left edge, white, in a strip where the title screen draws nothing.
    const panelEdge = (shot) => count(shot, ...area(12, 100, 8, 200), 'FFFFFF');
    await waitFor('"H best games"', page, decoder, (shot) =>
      count(shot, ...area(BEST_BUTTON.x, BEST_BUTTON.y, BEST_BUTTON.w, BEST_BUTTON.h), 'C0FFFF') >= 100 * ratio * s);
    await page.touchscreen.tap(...at(BEST_BUTTON.x + BEST_BUTTON.w / 2, BEST_BUTTON.y + BEST_BUTTON.h / 2));
    await waitFor('the best games panel', page, decoder, (shot) => panelEdge(shot) >= 150 * ratio * s);
    await page.touchscreen.tap(...at(3, 200));  // on the left wall, outside the panel
    await waitFor('the panel closed', page, decoder, (shot) => panelEdge(shot) === 0);
    await page.touchscreen.tap(...at(156, 220));  // the start image
    // Left alone, the ball keeps the column it starts in, and the game ends within a second or so.
    const start = await until('the game', (x) => x > 0);
    await until('the game over', (x) => !(x > 0));
    // The next games are steered from their first moment: the tap that starts one, then at once a
    // finger held on one half until the ball has gone that way, so that a slow machine cannot
    // miss a game that short.
    const steered = async (x, moved) => {
      await page.touchscreen.tap(...at(156, 220));
      const finger = await page.touchscreen.touchStart(x, PHONE.height / 2);
      await until('the ball to follow the finger', moved);
      await finger.end();
      await until('the game over', (x) => !(x > 0));
    };
    await steered(PHONE.width * 0.9, (x) => x > start + 4 * ratio * s);
    await steered(PHONE.width * 0.1, (x) => x < start - 4 * ratio * s);
    await page.setViewport({ ...PHONE, width: PHONE.height, height: PHONE.width });
    await sharp('on its side');
    const scrolled = await page.evaluate(() => window.scrollX + window.scrollY + visualViewport.scale);
    if (scrolled !== 1)
      throw new Error('the touches scrolled or zoomed the page');
    await page.close();
  },

  // The page losing the focus holds the game still until the player comes back.
  async pauseOnBlur(browser, base, decoder) {
    const page = await openGame(browser, base, '--seed 11');
    await waitFor('the title screen', page, decoder, titleScreen);
    // A game left alone lasts about a second: the focus goes right after the key that starts it.
    await page.keyboard.press('Enter');
    await page.evaluate(() => window.dispatchEvent(new FocusEvent('blur')));
    const first = await waitFor('the pause on blur', page, decoder, paused);
    await new Promise((r) => setTimeout(r, 500));
    const later = await pixels(page, decoder);
    if (first.data.some((v, i) => v !== later.data[i]))
      throw new Error('the game went on after the page lost the focus');
    await page.close();
  },

  // A game played to its end is still among the best games after a reload: its replay, saved
  // from the panel as a download, proves its score with the desktop's --verify.
  async bestGameKeptAndVerified(browser, base, decoder, scratch) {
    // A browser profile of its own, whose storage holds no other test's games, and whose
    // downloads go to the scratch folder (Browser.setDownloadBehavior).
    const own = await browser.createBrowserContext({
      downloadBehavior: { policy: 'allow', downloadPath: scratch } });
    const page = await openGame(own, base, '--seed 3');
    await waitFor('the title screen', page, decoder, titleScreen);
    await page.keyboard.press('Enter');
    await waitFor('the game', page, decoder, gameShown);
    await waitFor('***Game Over*** and the score', page, decoder, gameOverScreen);
    // The table reaches the browser's storage, as IndexedDB holds it.
    const stored = () => page.evaluate(() => new Promise((resolve) => {
      const open = indexedDB.open('/home/web_user/.local/share/sinkaway');
      open.onerror = () => resolve(false);
      open.onsuccess = () => {
        const db = open.result;
        if (!db.objectStoreNames.contains('FILE_DATA')) {
          db.close();
          return resolve(false);
        }
        const keys = db.transaction('FILE_DATA').objectStore('FILE_DATA').getAllKeys();
        keys.onsuccess = () => {
          db.close();
          resolve(keys.result.some((k) => k.endsWith('/scores.json')));
        };
      };
    }));
    const until = async (what, test) => {
      for (const end = Date.now() + WAIT_MS; ; await new Promise((r) => setTimeout(r, 50))) {
        const found = await test();
        if (found)
          return found;
        if (Date.now() > end)
          throw new Error(`waited ${WAIT_MS / 1000} s for ${what}`);
      }
    };
    await until('the best games in IndexedDB', stored);
    await page.reload();
    await waitFor('the title screen after the reload', page, decoder, titleScreen);
    await page.keyboard.press('h');
    // The panel's edge, and its first row chosen: the game is still there.
    await waitFor('the kept game in the panel', page, decoder,
                  (s) => count(s, 16, 30, 1, 320, 'FFFFFF') >= 300 &&
                         count(s, 20, 89, 269, 20, '00FFFF') >= 3000);
    await page.keyboard.press('s');
    const name = await until('the download', () =>
      readdirSync(scratch).find((f) => /^sinkaway-\d+-\d{4}-\d\d-\d\d-\d{4}\.txt$/.test(f)));
    const score = name.split('-')[1];
    const verified = execFileSync(desktop, ['--verify', join(scratch, name)]).toString().trim();
    if (verified !== `score ${score}`)
      throw new Error(`the desktop's --verify of ${name} says "${verified}"`);
    // A link naming the kept table in every option that names a file is turned away, and the
    // game still lists the kept game on the next visit.
    const table = '/home/web_user/.local/share/sinkaway/scores.json';
    const hostile = ['--record', '--script', '--trace', '--screenshot', '--music', '--replay']
      .map((option) => `${option} ${table}`).join(' ');
    const refused = [];
    page.on('console', (m) => { if (/a link may not set/.test(m.text())) refused.push(m.text()); });
    await page.goto(base + '?args=' + encodeURIComponent(hostile + ' --seed 3'));
    await waitFor('the title screen from a hostile link', page, decoder, titleScreen);
    if (refused.length !== 6)
      throw new Error(`the page refused ${refused.length} of the link's 6 options`);
    await page.goto(base);
    await waitFor('the title screen after the hostile link', page, decoder, titleScreen);
    await page.keyboard.press('h');
    await waitFor('the kept game still in the panel', page, decoder,
                  (s) => count(s, 20, 89, 269, 20, '00FFFF') >= 3000);
    await own.close();
  },

  // Two tabs open at once, each keeping a game: the next visit lists both.
  async twoTabsOneTable(browser, base, decoder) {
    const own = await browser.createBrowserContext();
    const tabs = [await openGame(own, base, '--seed 3'), await openGame(own, base, '--seed 11')];
    // A tab behind another draws no frames for a screenshot: each is brought to the front first.
    for (const [i, tab] of tabs.entries()) {
      await tab.bringToFront();
      await waitFor('the title screen', tab, decoder, titleScreen);
      await tab.keyboard.press('Enter');
      await waitFor('the game over', tab, decoder, gameOverScreen);
      await until(`game ${i + 1} in the browser's storage`, () => keptReplays(tab), (n) => n === i + 1);
    }
    await tabs[0].bringToFront();
    await tabs[0].reload();
    await waitFor('the title screen after the reload', tabs[0], decoder, titleScreen);
    await tabs[0].keyboard.press('h');
    // The first row chosen, and the second row's text below it.
    await waitFor('both games in the panel', tabs[0], decoder,
                  (s) => count(s, 20, 89, 269, 20, '00FFFF') >= 3000 &&
                         count(s, 20, 111, 269, 18, 'C0FFFF') >= 100);
    await own.close();
  },

  // A dropped file of three lines that would run the rules past their bound is refused while the
  // frames go on: the longest gap between them is measured while the page refuses it.
  async plantedReplayKeepsFramesGoing(browser, base, decoder, scratch) {
    const page = await openGame(browser, base, '--seed 7');
    await waitFor('the title screen', page, decoder, titleScreen);
    const planted = join(scratch, 'planted.txt');
    writeFileSync(planted, 'seed 1\nclick imgNewGame\nadvance 10000000000\n');
    const refused = new Promise((resolve) => page.on('console', (m) => {
      if (/playing it would run the rules more than/.test(m.text()))
        resolve();
    }));
    await watchFrames(page);
    await (await page.$('#replay-file')).uploadFile(planted);
    await Promise.race([refused, new Promise((_, no) => setTimeout(
      () => no(new Error(`waited ${WAIT_MS / 1000} s for the refusal`)), WAIT_MS))]);
    const longest = await longestFrame(page);
    console.log(`     longest frame while a replay at the work bound was refused: ${longest.toFixed(1)} ms`);
    // A frame held for the whole proof takes seconds; a slice a frame, a few milliseconds.
    if (longest > 1000)
      throw new Error(`a frame waited ${longest.toFixed(0)} ms for the replay`);
    await page.close();
  },

  // A desktop replay picked with the page's file input plays as one from the panel does: the
  // replay's tag in the corner, the ball moving, and a tap on the tag back to the panel.
  async desktopReplayPlays(browser, base, decoder) {
    const page = await openGame(browser, base, '--seed 7');
    await waitFor('the title screen', page, decoder, titleScreen);
    const input = await page.$('#replay-file');
    await input.uploadFile(fileURLToPath(new URL('../replays/steering.txt', import.meta.url)));
    const tag = (s) => count(s, 200, 0, WIDE - 200, 30, 'C0FFFF') >= 40;
    const ball = (s) => {
      let sum = 0, n = 0;
      for (let o = 0; o < s.data.length; o += 4) {
        if (s.data[o] === 255 && s.data[o + 1] === 0 && s.data[o + 2] === 0) {
          sum += o / 4;
          ++n;
        }
      }
      return n >= 20 ? sum / n : NaN;
    };
    const first = await waitFor('the replay', page, decoder, (s) => tag(s) && ball(s) > 0);
    await waitFor('the replay\'s ball moving', page, decoder,
                  (s) => tag(s) && Math.abs(ball(s) - ball(first)) > 2);
    // A tap on the tag ends it as Escape does: the panel it plays over shows again.
    await page.touchscreen.tap(WIDE - 40, 14);
    await waitFor('the panel after the replay', page, decoder,
                  (s) => !tag(s) && count(s, 16, 30, 1, 320, 'FFFFFF') >= 300);
    await page.close();
  },

  // ---- The music, the frame, pads and the offline copy ----

  // The music starts with the first game and goes on playing: SDL2's audio feeds a script
  // processor, whose blocks show what reaches the speakers. (Headless Chromium lets the audio
  // run before any gesture, so the page's wait for one is not seen here.)
  async musicWithFirstGame(browser, base, decoder) {
    const page = await openGame(browser, base, '--seed 3');
    await waitFor('the title screen', page, decoder, titleScreen);
    await page.evaluate(() => {
      const node = Module.SDL2.audio.scriptProcessorNode;
      const feed = node.onaudioprocess;
      window.loudest = 0;
      node.onaudioprocess = (e) => {
        feed(e);
        for (const v of e.outputBuffer.getChannelData(0))
          window.loudest = Math.max(window.loudest, Math.abs(v));
      };
    });
    await new Promise((r) => setTimeout(r, 300));
    if (await page.evaluate(() => window.loudest) !== 0)
      throw new Error('sound on the title screen before any game');
    await page.keyboard.press('Enter');
    const playing = { polling: 50, timeout: WAIT_MS };
    await page.waitForFunction(() => Module.SDL2.audioContext.state === 'running' &&
                               window.loudest > 0.05, playing);
    // A second later still: the track, not the short beep that stands in for a missing one.
    await new Promise((r) => setTimeout(r, 1000));
    await page.evaluate(() => { window.loudest = 0; });
    await page.waitForFunction(() => window.loudest > 0.05, playing);
    await page.close();
  },

  // After a first visit the service worker has the page's files: with the server gone, a reload
  // still shows the title screen. A server of its own, so that stopping it stops nothing else.
  async offline(browser, base, decoder) {
    const own = await serve(site);
    const page = await openGame(browser, `http://127.0.0.1:${own.address().port}/`);
    await waitFor('the title screen', page, decoder, titleScreen);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null,
                               { polling: 50, timeout: WAIT_MS });
    const closed = new Promise((r) => own.close(r));
    own.closeAllConnections();
    await closed;
    await page.reload();
    await waitFor('the title screen with no server', page, decoder, titleScreen);
    await page.close();
  },

  // Embedded below the fold of a long page of another site, as game portals show games: a click
  // gives the game the keyboard, and the arrows steer the ball without scrolling the page around.
  async inFrame(browser, base, decoder) {
    const page = await browser.newPage();
    page.on('pageerror', (e) => console.log('page error:', e.message));
    await page.setViewport({ width: 640, height: 480, deviceScaleFactor: 1 });
    // The same server under another host name is another origin.
    await page.goto(base.replace('127.0.0.1', 'localhost') + 'portal.html');
    await page.setContent(`<body style="margin:0"><p style="height:2000px">An article</p>
      <iframe src="${base}?args=--seed+3" width="${WIDE}" height="${HIGH}" style="border:0"></iframe>
      <p style="height:2000px">Comments</p></body>`);
    const frame = await page.$('iframe');
    await frame.scrollIntoView();
    const scrolled = await page.evaluate(() => window.scrollY);
    const shot = () => frame.screenshot({ encoding: 'base64' });
    const ballX = async () => ballMiddle(await pixels(page, decoder, await shot()));
    for (const end = Date.now() + WAIT_MS; !titleScreen(await pixels(page, decoder, await shot()));) {
      if (Date.now() > end)
        throw new Error('waited for the title screen in the frame');
    }
    // A click on the start image gives the frame the keyboard and starts a game, which left
    // alone keeps the ball in the column it starts in, and ends within a second or so.
    await frame.click({ offset: { x: 156, y: 220 } });
    const start = await until('the game in the frame', ballX, (x) => x > 0);
    await until('the game over', async () => pixels(page, decoder, await shot()), gameOverScreen);
    // The next game is steered from its first moment, however slowly the screenshots come.
    await frame.click({ offset: { x: 156, y: 220 } });
    await page.keyboard.down('ArrowRight');
    await until('the ball to go right', ballX, (x) => x > start + 4);
    await page.keyboard.up('ArrowRight');
    const after = await page.evaluate(() => window.scrollY);
    if (after !== scrolled)
      throw new Error(`the arrow keys scrolled the page around the frame from ${scrolled} to ${after}`);
    await page.close();
  },

  // A pad the browser reports (the Gamepad API stubbed, with the standard layout a real pad has):
  // plugged in on the title screen, its Start begins a game and its d-pad steers, through SDL's
  // own mapping of such a pad and the desktop's pad code.
  async gameWithPad(browser, base, decoder) {
    const page = await browser.newPage();
    page.on('pageerror', (e) => console.log('page error:', e.message));
    await page.setViewport({ width: WIDE, height: HIGH, deviceScaleFactor: 1 });
    await page.evaluateOnNewDocument(() => {
      const pad = { id: 'Test pad (STANDARD GAMEPAD)', index: 0, connected: true, mapping: 'standard',
                    timestamp: 1, axes: [0, 0, 0, 0],
                    buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })) };
      let plugged = false;
      // The page reads a pad's state only once the game has opened it: presses wait for that.
      const seen = new Proxy([pad], { get: (list, key) => (key === '0' && ++testPad.reads, list[key]) });
      Object.defineProperty(Navigator.prototype, 'getGamepads', { value: () => (plugged ? seen : []) });
      window.testPad = {
        reads: 0,
        plug() {
          plugged = true;
          window.dispatchEvent(Object.assign(new Event('gamepadconnected'), { gamepad: pad }));
        },
        // The standard layout's buttons: 9 Start, 15 right on the d-pad.
        set(button, down) {
          pad.buttons[button] = { pressed: down, touched: down, value: down ? 1 : 0 };
          ++pad.timestamp;
        },
      };
    });
    await page.goto(base + '?args=' + encodeURIComponent('--seed 3'));
    await waitFor('the title screen', page, decoder, titleScreen);
    await page.evaluate(() => testPad.plug());
    await page.waitForFunction(() => testPad.reads > 0, { polling: 50, timeout: WAIT_MS });
    const ballX = async () => ballMiddle(await pixels(page, decoder));
    // Left alone, the ball keeps the column it starts in, and the game ends within a second or so.
    await page.evaluate(() => testPad.set(9, true));
    const start = await until('the game started by the pad', ballX, (x) => x > 0);
    await page.evaluate(() => testPad.set(9, false));
    await waitFor('the game over', page, decoder, gameOverScreen);
    // The next game is steered from its first moment: Start and the d-pad in one reading.
    await page.evaluate(() => { testPad.set(9, true); testPad.set(15, true); });
    await until('the ball to go right', ballX, (x) => x > start + 4);
    await page.evaluate(() => { testPad.set(9, false); testPad.set(15, false); });
    await page.close();
  },
};

// How many replays the browser's storage (IndexedDB) holds for the page.
function keptReplays(page) {
  return page.evaluate(() => new Promise((resolve) => {
    const open = indexedDB.open('/home/web_user/.local/share/sinkaway');
    open.onerror = () => resolve(0);
    open.onsuccess = () => {
      const db = open.result;
      if (!db.objectStoreNames.contains('FILE_DATA')) {
        db.close();
        return resolve(0);
      }
      const keys = db.transaction('FILE_DATA').objectStore('FILE_DATA').getAllKeys();
      keys.onsuccess = () => {
        db.close();
        resolve(keys.result.filter((k) => /\/replays\/[^/]+\.txt$/.test(k)).length);
      };
    };
  }));
}

// The ball's middle across (its red edge) in a screenshot, or NaN when there is no ball.
function ballMiddle(shot) {
  let sum = 0, n = 0;
  for (let o = 0; o < shot.data.length; o += 4) {
    if (shot.data[o] === 255 && shot.data[o + 1] === 0 && shot.data[o + 2] === 0) {
      sum += (o / 4) % shot.width;
      ++n;
    }
  }
  return n >= 20 ? sum / n : NaN;
}

const scratch = mkdtempSync(join(tmpdir(), 'sinkaway-page-'));
const server = await serve(site);
const base = `http://127.0.0.1:${server.address().port}/`;
const browser = await launchBrowser();
let result;
try {
  result = await runTests(tests, browser, base, await browser.newPage(), scratch);
} finally {
  await browser.close();
  server.close();
  rmSync(scratch, { recursive: true, force: true });
}
console.log(`page: ${result.passed} passed, ${result.failed} failed`);
process.exit(result.failed === 0 ? 0 : 1);
