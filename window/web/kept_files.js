// The page's side of what the game keeps and of the replays that travel (kept_files.cpp is the
// game's). Linked into sinkaway.js ahead of the game (--pre-js), so it runs before main.
//  - The store's folders are mounted from the browser's storage (IndexedDB) and filled from it
//    before main runs; the game asks for a copy back after each write, and the page makes one
//    more when it is left.
//  - A replay file the player picks (the panel's O) or drops on the page is written where the
//    game reads it, no more of it than the game's reader takes, and the game is asked to play it.
var sinkawayKept = {
  // The store's data and settings folders as the game finds them under the page's HOME.
  folders: ['/home/web_user/.local/share/sinkaway', '/home/web_user/.config/sinkaway'],
  flushing: false,
  again: false,

  flush() {
    if (this.flushing) {
      this.again = true;
      return;
    }
    this.flushing = true;
    FS.syncfs(false, (error) => {
      if (error)
        console.warn('sinkaway: the best games could not be kept in this browser:', error);
      this.flushing = false;
      if (this.again) {
        this.again = false;
        this.flush();
      }
    });
  },

  bring(file) {
    if (!runtimeInitialized)
      return;
    file.slice(0, _sinkaway_replay_limit() + 1).arrayBuffer().then((bytes) => {
      FS.writeFile(UTF8ToString(_sinkaway_replay_inbox()), new Uint8Array(bytes));
      _sinkaway_watch_replay();
    });
  },

  // The file's very bytes as a download, so that the desktop's --verify reads what the page
  // kept. 0 when the file cannot be read.
  offer(path, name) {
    let bytes;
    try {
      bytes = FS.readFile(path);
    } catch (e) {
      return 0;
    }
    const url = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
    return 1;
  },

  // The browser shows its file picker only during a gesture of the player's. A key press is one
  // until the frame that hears it; a finger counts only once lifted, and the panel's button
  // acts as it touches, so the picker then waits for the finger to leave the screen.
  pick() {
    const input = document.getElementById('replay-file');
    if (navigator.userActivation && !navigator.userActivation.isActive) {
      addEventListener('pointerup', () => input.click(), { once: true, capture: true });
      return;
    }
    input.click();
  },
};

Module.preRun = [].concat(Module.preRun || []);
Module.preRun.push(() => {
  for (const folder of sinkawayKept.folders) {
    FS.mkdirTree(folder);
    FS.mount(IDBFS, {}, folder);
  }
  // Without the browser's storage (a private window may have none) the game starts all the same,
  // keeping its games until the page is left.
  addRunDependency('sinkaway-kept');
  FS.syncfs(true, (error) => {
    if (error)
      console.warn('sinkaway: the best games kept in this browser could not be read:', error);
    removeRunDependency('sinkaway-kept');
  });
});
addEventListener('pagehide', () => sinkawayKept.flush());

(function () {
  const input = document.createElement('input');
  input.type = 'file';
  input.id = 'replay-file';
  input.accept = '.txt,text/plain';
  input.hidden = true;
  input.addEventListener('change', () => {
    if (input.files.length > 0)
      sinkawayKept.bring(input.files[0]);
    input.value = '';
    Module.canvas.focus();
  });
  document.body.appendChild(input);
  // A file dropped anywhere on the page is the game's, rather than a page the browser opens.
  addEventListener('dragover', (e) => {
    e.preventDefault();
    e.dataTransfer.dropEffect = 'copy';
  });
  addEventListener('drop', (e) => {
    e.preventDefault();
    if (e.dataTransfer.files.length > 0)
      sinkawayKept.bring(e.dataTransfer.files[0]);
  });
})();
