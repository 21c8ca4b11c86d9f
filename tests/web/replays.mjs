// The WebAssembly build of the headless driver, under node, against every golden replay: the
// same trace, byte for byte, as the desktop build pinned (its line count, FNV-1a digest and last
// line, as tests/replay_test.cpp writes them).
//   node replays.mjs sinkaway_node.js tests/replays
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const [program, dir] = process.argv.slice(2);

// FNV-1a over 64 bits in two 32-bit halves: the prime is 2^40 + 0x1b3.
function fnv1a64(bytes) {
  let hi = 0xcbf29ce4, lo = 0x84222325;
  for (const c of bytes) {
    lo = (lo ^ c) >>> 0;
    const low = lo * 0x1b3;
    hi = (hi * 0x1b3 + Math.floor(low / 4294967296) + ((lo << 8) >>> 0)) % 4294967296;
    lo = low % 4294967296;
  }
  return hi.toString(16).padStart(8, '0') + lo.toString(16).padStart(8, '0');
}

const scratch = mkdtempSync(join(tmpdir(), 'sinkaway-web-'));
let passed = 0, failed = 0;
try {
  for (const name of readdirSync(dir).filter((n) => n.endsWith('.txt')).sort()) {
    const tracePath = join(scratch, 'trace.jsonl');
    const started = process.hrtime.bigint();
    execFileSync('node', [program, '--headless', '--script', join(dir, name), '--trace', tracePath],
                 { stdio: ['ignore', 'ignore', 'inherit'] });
    const seconds = Number(process.hrtime.bigint() - started) / 1e9;
    const trace = readFileSync(tracePath);
    const lines = trace.toString('utf8').split('\n');
    if (lines[lines.length - 1] === '')
      lines.pop();
    const summary = `lines ${lines.length}\nfnv1a64 ${fnv1a64(trace)}\nlast ${lines.at(-1) ?? ''}\n`;
    const golden = readFileSync(join(dir, name.replace(/\.txt$/, '.golden')), 'utf8');
    if (summary === golden) {
      ++passed;
      console.log(`ok   ${name} (${trace.length} bytes, ${seconds.toFixed(2)} s)`);
    } else {
      ++failed;
      console.log(`FAIL ${name}: got\n${summary.slice(0, 400)}`);
    }
  }
} finally {
  rmSync(scratch, { recursive: true, force: true });
}
console.log(`replays: ${passed} passed, ${failed} failed`);
process.exit(failed === 0 && passed >= 3 ? 0 : 1);
