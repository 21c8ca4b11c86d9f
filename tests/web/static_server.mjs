// The page's folder served from 127.0.0.1 as any static host would, with no special headers: for
// the page tests and the page's benchmark.
import { readFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize } from 'node:path';

const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.webmanifest': 'application/manifest+json', '.png': 'image/png',
                '.data': 'application/octet-stream' };

// Resolves to the listening server, on a free port.
export function serve(folder) {
  const server = createServer((req, res) => {
    const path = normalize(decodeURIComponent(new URL(req.url, 'http://x').pathname));
    try {
      const body = readFileSync(join(folder, path === '/' ? 'index.html' : path));
      res.writeHead(200, { 'Content-Type': types[extname(path)] ?? 'text/html' });
      res.end(body);
    } catch {
      res.writeHead(404);
      res.end();
    }
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}
