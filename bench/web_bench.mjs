// The page's figures beside the desktop's, in one run (make bench-web): the bytes it transfers
// compressed with gzip, the time from navigation to its first frame in headless Chromium, its
// ticks and points over 10 s of play, the CPU of the browser's processes on the title screen and
// during play next to the desktop build's, and an hour of play proven by the wasm driver under
// node next to the native one. The table goes to standard output and to the results file.
//   node bench/web_bench.mjs SITE_FOLDER NODE_DRIVER_JS DESKTOP_SINKAWAY RESULTS_MD
import { execFileSync, spawn, spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';

// The browser tests' own puppeteer-core, pinned in their lock file.
const require = createRequire(new URL('../tests/web/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');
const { serve } = await import('../tests/web/static_server.mjs');

const [site, nodeDriver, desktop, out] = process.argv.slice(2);
const SECONDS = Number(process.env.BENCH_SECONDS ?? 10);
const LOADS = 5;
const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];

// The CPU seconds of every process, and its parent, from /proc.
function processes() {
  const all = new Map();
  for (const name of readdirSync('/proc')) {
    if (!/^\d+$/.test(name))
      continue;
    try {
      const stat = readFileSync(`/proc/${name}/stat`, 'utf8');
      const f = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      all.set(Number(name), { parent: Number(f[1]), cpu: (Number(f[11]) + Number(f[12])) / 100 });
    } catch { /* gone */ }
  }
  return all;
}

// The CPU seconds that `root` and its descendants used between two readings. Counted process by
// process, so that one which ended in between (a closed tab's) takes nothing away.
function treeCpuSeconds(root, before, after) {
  let sum = 0;
  for (const [pid, p] of after) {
    for (let up = pid; up > 1; up = after.get(up)?.parent ?? 0) {
      if (up === root) {
        sum += p.cpu - (before.get(pid)?.cpu ?? 0);
        break;
      }
    }
  }
  return sum;
}

// The stats block a run prints at its end, through the page's console.
async function runInPage(browser, base, args) {
  const page = await browser.newPage();
  await page.setViewport({ width: 618, height: 776, deviceScaleFactor: 1 });
  const stats = {};
  let done;
  const finished = new Promise((r) => { done = r; });
  page.on('console', (m) => {
    const w = m.text().split(' ');
    if (w.length === 3 && w[0] === 'stats') {
      stats[w[1]] = w[2];
      if (w[1] === 'first_frame_monotonic_ns')
        done();
    }
  });
  const pid = browser.process().pid;
  const before = processes();
  await page.goto(base + '?args=' + encodeURIComponent(args));
  const busy0 = (await page.metrics()).TaskDuration;
  await finished;
  const cpu = treeCpuSeconds(pid, before, processes());
  // The page's own thread: its script, the game's wasm, its events (not the drawing, which the
  // browser's GPU process does).
  const busy = (await page.metrics()).TaskDuration - busy0;
  await page.close();
  return { stats, cpu, busy };
}

function desktopRun(display, args) {
  const r = spawnSync(desktop, [...args, '--stats'], {
    env: { ...process.env, DISPLAY: display, SDL_AUDIODRIVER: 'dummy' }, encoding: 'utf8' });
  const stats = {};
  for (const line of (r.stdout + r.stderr).split('\n')) {
    const w = line.split(' ');
    if (w.length === 3 && w[0] === 'stats')
      stats[w[1]] = w[2];
  }
  return stats;
}

// An hour of play in one-second games, as the rules' benchmark writes it.
function hourOfPlay() {
  const lines = ['seed 1', 'click imgNewGame'];
  for (let s = 0; s < 3600; ++s) {
    lines.push('keydown 37', 'advance 400', 'keyup 37', 'keydown 39', 'advance 350', 'keyup 39',
               'advance 250', 'click cmdNewGame');
  }
  return lines.join('\n') + '\n';
}

function timed(command, args) {
  const t = [];
  let said = '';
  for (let i = 0; i < 5; ++i) {
    const start = process.hrtime.bigint();
    said = execFileSync(command, args, { encoding: 'utf8' }).trim();
    t.push(Number(process.hrtime.bigint() - start) / 1e6);
  }
  return { ms: median(t), said };
}

const scratch = mkdtempSync(join(tmpdir(), 'sinkaway-webbench-'));
const rows = [];
const server = await serve(site);
const base = `http://127.0.0.1:${server.address().port}/`;
const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
                   { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
const display = ':' + (await new Promise((r) => xvfb.stdio[3].once('data', (d) => r(String(d).trim()))));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium', headless: true,
  args: ['--no-sandbox', '--enable-unsafe-swiftshader', '--use-angle=swiftshader'],
});
try {
  // Bytes: every file of the page, as gzip -9 would send it (the service worker fetches them all
  // on a first visit, to play offline later).
  let total = 0;
  const sizes = [];
  for (const path of readdirSync(site, { recursive: true }).sort()) {
    const file = join(site, path);
    if (!statSync(file).isFile())
      continue;
    const body = readFileSync(file);
    const gz = gzipSync(body, { level: 9 }).length;
    total += gz;
    sizes.push(`| ${path} | ${body.length} | ${gz} |`);
  }

  const firsts = [];
  for (let i = 0; i < LOADS; ++i) {
    const r = await runInPage(browser, base, '--frames 1 --stats');
    firsts.push(Number(r.stats.first_frame_monotonic_ns) / 1e6);  // the page's clock starts at navigation
  }
  // The browser alone, for scale: a blank page for as long.
  const blank = await browser.newPage();
  const pid = browser.process().pid;
  await blank.goto('about:blank');
  const blank0 = processes();
  await new Promise((r) => setTimeout(r, SECONDS * 1000));
  const blankCpu = treeCpuSeconds(pid, blank0, processes());
  await blank.close();
  const title = await runInPage(browser, base, `--seconds ${SECONDS} --stats`);
  const play = await runInPage(browser, base, `--autoplay --seconds ${SECONDS} --stats`);
  const dTitle = desktopRun(display, ['--scale', '2', '--seconds', String(SECONDS)]);
  const dPlay = desktopRun(display, ['--scale', '2', '--autoplay', '--seconds', String(SECONDS)]);

  const hour = join(scratch, 'hour.txt');
  writeFileSync(hour, hourOfPlay());
  const wasm = timed('node', [nodeDriver, '--verify', hour]);
  const native = timed(desktop, ['--verify', hour]);

  const perS = (s, key) => (Number(s[key]) / Number(s.wall_s)).toFixed(2);
  rows.push(`Run ${new Date().toISOString().slice(0, 16)}Z; headless Chromium (SwiftShader WebGL), ` +
            `desktop under Xvfb at scale 2 (llvmpipe), no sound; ${SECONDS} s per run.`, '',
            '| file | bytes | gzip -9 |', '|---|---:|---:|', ...sizes, `| all | | ${total} |`, '',
            '| measure | page | desktop |', '|---|---:|---:|',
            `| navigation (page) or launch (desktop) to first frame, ms, median of ${LOADS} | ` +
            `${median(firsts).toFixed(0)} | ${Number(dTitle.first_frame_ms).toFixed(0)} |`,
            `| main ticks per s in play | ${perS(play.stats, 'main_ticks')} | ${perS(dPlay, 'main_ticks')} |`,
            `| points per s in play | ${perS(play.stats, 'points')} | ${perS(dPlay, 'points')} |`,
            `| CPU s per s, title screen | ${(title.cpu / SECONDS).toFixed(3)} | ` +
            `${(Number(dTitle.cpu_s) / Number(dTitle.wall_s)).toFixed(3)} |`,
            `| CPU s per s, a blank page (the browser alone) | ${(blankCpu / SECONDS).toFixed(3)} | |`,
            `| the page's own thread busy, s per s, title screen / play | ` +
            `${(title.busy / SECONDS).toFixed(3)} / ${(play.busy / SECONDS).toFixed(3)} | |`,
            `| CPU s per s, play | ${(play.cpu / SECONDS).toFixed(3)} | ` +
            `${(Number(dPlay.cpu_s) / Number(dPlay.wall_s)).toFixed(3)} |`,
            `| an hour of play proven (--verify), ms, median of 5 | ${wasm.ms.toFixed(0)} (node) | ` +
            `${native.ms.toFixed(0)} |`, '',
            `The page's CPU is every process of the browser: most of it is the GPU process drawing WebGL ` +
            `in software (SwiftShader), which a device with a GPU does not pay; ` +
            `the proofs said "${wasm.said}" and "${native.said}".`);
} finally {
  await browser.close();
  server.close();
  xvfb.kill();
  rmSync(scratch, { recursive: true, force: true });
}
const text = '# The page beside the desktop\n\n' + rows.join('\n') + '\n';
process.stdout.write(text);
writeFileSync(out, text);
