// The page around the game: what the browser must have, the loading bar, the keyboard's focus and
// the browser's own shortcuts. The game itself is sinkaway.js and its .wasm and .data.
'use strict';
(function () {
  const canvas = document.getElementById('canvas');
  const status = document.getElementById('status');
  const message = document.getElementById('message');
  const bar = document.getElementById('bar');

  function fail(text) {
    message.textContent = text;
    bar.hidden = true;
    status.hidden = false;
  }

  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    fail('Sinkaway needs WebAssembly, which this browser does not offer or has turned off.');
    return;
  }
  const probe = document.createElement('canvas');
  if (!(probe.getContext('webgl') || probe.getContext('experimental-webgl'))) {
    fail('Sinkaway needs WebGL, which this browser does not offer or has turned off ' +
         '(look for hardware acceleration in its settings).');
    return;
  }

  // SDL takes every key it hears and keeps the browser from acting on it, so that the arrows and
  // Space never scroll the page. The browser's own shortcuts go to the browser instead: with
  // Ctrl or Cmd (reload, close, zoom, devtools), F5 and F12, and Alt with anything but Enter
  // (Alt+Enter is the game's fullscreen, as F11 is).
  function browserKey(e) {
    if (e.ctrlKey || e.metaKey || e.key === 'F5' || e.key === 'F12')
      return true;
    return e.altKey && e.key !== 'Enter' && e.key !== 'Alt';
  }
  for (const type of ['keydown', 'keyup', 'keypress']) {
    window.addEventListener(type, (e) => {
      if (browserKey(e))
        e.stopPropagation();
    }, true);
  }
  // SDL cancels the mouse's button-down, so a click would not give the game the keyboard, and
  // inside a frame the arrows would scroll the page around it.
  canvas.addEventListener('pointerdown', () => canvas.focus());

  // A run's options may come in the address (?args=--autoplay+--seconds+10+--stats), for tests and
  // for links that show the game off. Anyone can make a link, so it may set only what changes
  // how this visit plays or what it prints to the console, never a file: a seed, the bot, a
  // measured run, and whether this visit keeps its games. Anything else is left out, with a
  // line in the console, and the game starts as if it had not been asked.
  const linkOptions = { '--seed': 1, '--autoplay': 0, '--seconds': 1, '--frames': 1, '--stats': 0,
                        '--no-save': 0 };
  function fromLink(text) {
    const words = (text || '').split(' ').filter((a) => a !== '');
    const taken = [];
    for (let i = 0; i < words.length;) {
      const name = words[i].split('=')[0];
      const values = Object.hasOwn(linkOptions, name) ? linkOptions[name] : -1;
      if (values < 0 || (values === 0 && name !== words[i])) {
        console.warn('sinkaway: a link may not set ' + JSON.stringify(words[i]) + '; left out');
        // Its value too, which would otherwise stand alone.
        for (++i; i < words.length && !words[i].startsWith('-'); ++i) {
        }
        continue;
      }
      const n = name === words[i] ? values : 0;
      const given = words.slice(i + 1, i + 1 + n);
      if (given.length < n || given.some((v) => v.startsWith('-'))) {
        console.warn('sinkaway: ' + name + ' in a link needs a value; left out');
        ++i;
        continue;
      }
      taken.push(...words.slice(i, i + 1 + n));
      i += 1 + n;
    }
    return taken;
  }
  window.Module = {
    canvas: canvas,
    arguments: fromLink(new URLSearchParams(location.search).get('args')),
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    setStatus(text) {
      const m = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text);
      if (m)
        bar.firstElementChild.style.width = (100 * m[1] / m[2]).toFixed(1) + '%';
    },
    onRuntimeInitialized() {
      status.hidden = true;
      canvas.focus();
    },
    onAbort(what) {
      fail('Sinkaway stopped: ' + what);
    },
  };
  const script = document.createElement('script');
  script.src = 'sinkaway.js';
  script.onerror = () => fail('Sinkaway could not be loaded: is the page served in full?');
  document.body.appendChild(script);

  // ---- The music ----
  // The packed music is SDL2_mixer's to decode. Left to itself, the page's loader would first
  // have the browser decode it through an audio element, holding up the start (for up to 10 s
  // where the browser cannot play Ogg Vorbis) for a copy the game never uses.
  Module.noAudioDecoding = true;

  // ---- Installable and offline ----
  // The service worker (sw.js) keeps the page's files, so it plays with no network after the
  // first visit. It is registered once the game runs, so that its copying never competes with the
  // first download; a page served without a secure context simply plays online.
  if ('serviceWorker' in navigator && window.isSecureContext) {
    const started = Module.onRuntimeInitialized;
    Module.onRuntimeInitialized = function () {
      started.call(this);
      navigator.serviceWorker.register('sw.js')
        .catch((e) => console.warn('Sinkaway will not play offline: ' + e.message));
    };
  }
})();
