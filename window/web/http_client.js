// The page's side of its HTTP client (window/platform/web_http.cpp is the game's): the browser's
// fetch. Linked into sinkaway.js ahead of the game (--pre-js). An answer goes back to the game by
// its request's id in a task of the browser's own, between frames: its status, its body and the
// Retry-After it gave, or status 0 and why no answer came.
var sinkawayHttp = {
  send(id, method, url, body, timeoutMs, limit) {
    this.fetch(method, url, body, timeoutMs, limit).then(
      (answer) => this.answer(id, answer.status, answer.bytes, answer.retryAfter),
      (error) => this.answer(id, 0, new TextEncoder().encode(this.why(error)), 0));
  },

  // Everything that can go wrong, a browser without AbortSignal.timeout too, ends in a rejection
  // rather than a throw into the game.
  async fetch(method, url, body, timeoutMs, limit) {
    const init = {
      method: method,
      cache: 'no-store',
      credentials: 'same-origin',
      redirect: 'error',
      signal: AbortSignal.timeout(timeoutMs),
    };
    if (method === 'POST') {
      init.body = body;
      init.headers = { 'Content-Type': 'application/json' };
    }
    const response = await fetch(url, init);
    // The body is read a piece at a time, so that one too big is refused before it is all here.
    if (Number(response.headers.get('Content-Length')) > limit)
      throw new Error('the answer is too big');
    const pieces = [];
    let size = 0;
    if (response.body) {
      const reader = response.body.getReader();
      for (;;) {
        const { done, value } = await reader.read();
        if (done)
          break;
        size += value.length;
        if (size > limit) {
          reader.cancel();
          throw new Error('the answer is too big');
        }
        pieces.push(value);
      }
    }
    const bytes = new Uint8Array(size);
    let at = 0;
    for (const piece of pieces) {
      bytes.set(piece, at);
      at += piece.length;
    }
    // Whole seconds only, as the boards send it.
    const wait = (response.headers.get('Retry-After') || '').trim();
    const seconds = /^[0-9]{1,10}$/.test(wait) ? Number(wait) : 0;
    return { status: response.status, bytes: bytes, retryAfter: seconds <= 2147483647 ? seconds : 0 };
  },

  why(error) {
    if (error && error.name === 'TimeoutError')
      return 'no answer in time';
    return String(error && error.message ? error.message : error);
  },

  // The game gives room for the bytes, or none when the client that asked is gone.
  answer(id, status, bytes, retryAfter) {
    const at = _sinkaway_http_room(id, bytes.length);
    if (!at)
      return;
    HEAPU8.set(bytes, at);
    _sinkaway_http_answer(id, status, retryAfter);
  },
};
